#include "CommandMenus.h"

#include <QAction>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QMainWindow>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>

#include <utility>

namespace ostrel {

namespace {

constexpr int kButtonHeight = 21;

// The captions keep the translation context they have always had.
QString Tr(const char* text) { return QCoreApplication::translate("ostrel::TMainForm", text); }

struct TEditItemEntry {
  const char* Caption;  // nullptr for a separator
  const char* EditName;
  const char* PopupName;
};

// Both menus hold these in this order; separators carry their own names.
constexpr TEditItemEntry kEditItems[] = {
    {"Set as &assumption", "Setasassumption2MenuItem", "Setasassumption1MenuItem"},
    {"Set as &issue", "Setasissue2MenuItem", "Setasissue1MenuItem"},
    {nullptr, "N5", "N4"},
    {"&Change elementary sentence", "Changeelementarysentence2MenuItem", "Changeelementarysentence1MenuItem"},
    {"Add c&onjunct", "Addconjunct2MenuItem", "Addconjunct1MenuItem"},
    {nullptr, "N6", "N1"},
    {"Add &elementary sentence", "Addstatement2MenuITem", "AddElementarySentence1MenuITem"},
    {"Add dialectical &negation", "Adddialecticalnegation2MenuItem", "Adddialecticalnegation1MenuItem"},
    {nullptr, "N7", "N2"},
    {"&Support", "Givesupport2MenuItem", "Givesupport1MenuItem"},
    {"&Attack", "Attack2MenuItem", "Attack1MenuItem"},
    {nullptr, "N8", "N3"},
    {"&Delete", "Delete2MenuItem", "Delete1MenuItem"},
    {nullptr, "N12", "N9"},
    {"&Match", "Match2MenuItem", "Match1MenuItem"},
    {"In&stantiate", "Instantiate2MenuItem", "Instantiate1MenuItem"},
    {nullptr, "N10", "N11"},
    {"&Properties", "Properties2MenuItem", "Properties1MenuItem"},
};

QAction* NewItem(QMainWindow& window, const char* caption, const char* name,
                 const std::function<void()>& handler) {
  auto* item = new QAction(Tr(caption), &window);
  item->setObjectName(QString::fromLatin1(name));
  QObject::connect(item, &QAction::triggered, &window, handler);
  return item;
}

// Checkable items invert their mark themselves before triggered fires.
QAction* NewOption(QMainWindow& window, const char* caption, const char* name, bool checked,
                   const std::function<void()>& handler) {
  QAction* option = NewItem(window, caption, name, handler);
  option->setCheckable(true);
  option->setChecked(checked);
  return option;
}

QMenu* NewMenu(QMainWindow& window, const char* title, const char* name) {
  auto* menu = new QMenu(Tr(title), &window);
  menu->setObjectName(QString::fromLatin1(name));
  return menu;
}

}  // namespace

TCommandMenus::TCommandMenus(QMainWindow& window, const THandlers& handlers) {
  QAction* new1 = NewItem(window, "&New", "New1", handlers.New);
  QAction* open1 = NewItem(window, "&Open...", "Open1", handlers.Open);
  QAction* saveas1 = NewItem(window, "Save &as...", "Saveas1", handlers.SaveAs);
  QAction* exportdiagram1 = NewItem(window, "E&xport diagram...", "Exportdiagram1", handlers.ExportDiagram);
  Showstructureonly1 =
      NewOption(window, "&Show structure only", "Showstructureonly1", false, handlers.ShowStructureOnly);
  Parsesentences1 = NewOption(window, "&Parse sentences", "Parsesentences1", true, handlers.ParseSentences);
  Showdialecticalnegations1 = NewOption(window, "Show dialectical &negations", "Showdialecticalnegations1",
                                        true, handlers.ShowDialecticalNegations);
  QAction* test2 = NewItem(window, "&Test", "Test2", handlers.Test);

  QMenu* file1 = NewMenu(window, "&File", "File1");
  for (QAction* item : {new1, open1, saveas1, exportdiagram1}) file1->addAction(item);

  createEditMenus(window, handlers);

  QMenu* options1 = NewMenu(window, "&Options", "Options1");
  for (QAction* option : {Showstructureonly1, Parsesentences1, Showdialecticalnegations1})
    options1->addAction(option);

  QMenu* test1 = NewMenu(window, "&Test", "Test1");
  test1->addAction(test2);
  test1->menuAction()->setVisible(false);

  // The control bar takes the place of a menu bar: the menus drop down from
  // its tool buttons.
  auto* controlBar1 = new QWidget(&window);
  controlBar1->setObjectName(QStringLiteral("ControlBar1"));
  controlBar1->setFixedHeight(27);
  auto* barLayout = new QHBoxLayout(controlBar1);
  barLayout->setContentsMargins(0, 0, 0, 0);
  barLayout->setSpacing(0);

  auto* toolBar1 = new QToolBar(controlBar1);
  toolBar1->setObjectName(QStringLiteral("ToolBar1"));
  toolBar1->setMovable(false);
  toolBar1->setFloatable(false);
  toolBar1->setToolButtonStyle(Qt::ToolButtonTextOnly);
  barLayout->addWidget(toolBar1);
  barLayout->addStretch(1);

  const auto addMenuButton = [toolBar1](const char* name, QMenu* menu) {
    auto* button = new QToolButton(toolBar1);
    button->setObjectName(QString::fromLatin1(name));
    // The button's own text keeps the ampersand, which gives it Alt+letter.
    button->setText(menu->title());
    button->setMenu(menu);
    button->setPopupMode(QToolButton::InstantPopup);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setAutoRaise(true);
    button->setMinimumHeight(kButtonHeight);
    // No drop-down arrow: the buttons read like the items of a menu bar.
    button->setStyleSheet(QStringLiteral("QToolButton::menu-indicator { image: none; width: 0px; }"));
    return toolBar1->addWidget(button);
  };
  addMenuButton("ToolButton2", file1);
  addMenuButton("ToolButton3", Edit1);
  addMenuButton("ToolButton4", options1);
  // A widget on a tool bar is hidden through its action.
  addMenuButton("ToolButton1", test1)->setVisible(false);

  window.setMenuWidget(controlBar1);
}

void TCommandMenus::createEditMenus(QMainWindow& window, const THandlers& handlers) {
  Edit1 = NewMenu(window, "&Edit", "Edit1");
  QObject::connect(Edit1, &QMenu::aboutToShow, &window, handlers.EditMenuOpens);
  PopupMenu1 = new QMenu(&window);
  PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
  // Separators are always shown.
  Edit1->setSeparatorsCollapsible(false);
  PopupMenu1->setSeparatorsCollapsible(false);

  int command = 0;
  for (const TEditItemEntry& entry : kEditItems) {
    if (entry.Caption == nullptr) {
      Edit1->addSeparator()->setObjectName(QString::fromLatin1(entry.EditName));
      PopupMenu1->addSeparator()->setObjectName(QString::fromLatin1(entry.PopupName));
      continue;
    }
    const bool shownAtStart = static_cast<TEditCommand>(command) == TEditCommand::Addstatement;
    QAction* editItem = Edit1->addAction(Tr(entry.Caption));
    editItem->setObjectName(QString::fromLatin1(entry.EditName));
    editItem->setVisible(shownAtStart);
    QAction* popupItem = PopupMenu1->addAction(Tr(entry.Caption));
    popupItem->setObjectName(QString::fromLatin1(entry.PopupName));
    popupItem->setVisible(shownAtStart);
    FEditMenuItems[static_cast<std::size_t>(command)] = editItem;
    FPopupMenuItems[static_cast<std::size_t>(command)] = popupItem;
    ++command;
  }
}

QAction* TCommandMenus::EditMenuItem(TEditCommand command) const {
  return FEditMenuItems.at(static_cast<std::size_t>(command));
}

QAction* TCommandMenus::PopupMenuItem(TEditCommand command) const {
  return FPopupMenuItems.at(static_cast<std::size_t>(command));
}

void TCommandMenus::ApplyVisibility(const TMenuVisibility& menus) const {
  for (int i = 0; i < kEditCommandCount; ++i) {
    const auto command = static_cast<TEditCommand>(i);
    EditMenuItem(command)->setVisible(menus.Edit.Shown(command));
    PopupMenuItem(command)->setVisible(menus.Popup.Shown(command));
  }
}

void TCommandMenus::ExecPopup(const QPoint& global) const { PopupMenu1->exec(global); }

bool TCommandMenus::ShowStructureOnly() const { return Showstructureonly1->isChecked(); }

bool TCommandMenus::ParseSentences() const { return Parsesentences1->isChecked(); }

void TCommandMenus::SetParseSentences(bool parse) const { Parsesentences1->setChecked(parse); }

bool TCommandMenus::ShowDialecticalNegations() const { return Showdialecticalnegations1->isChecked(); }

}  // namespace ostrel
