#include "TMainForm.h"

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QResizeEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QStringDecoder>
#include <QTabWidget>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "DisplayText.h"
#include "FileNameBytes.h"
#include "SearchProgressDialog.h"
#include "StatusIcons.h"
#include "StatusPanels.h"
#include "SummaryView.h"
#include "TDiagramView.h"
#include "WindowFont.h"

namespace ostrel {

namespace {

const QString kInitialCaption = QStringLiteral("Ostrel - an argument assistant based on Karvel");
const QString kCaptionPrefix = QStringLiteral("Ostrel - ");
const QString kKarvelFilter = QStringLiteral("Karvel file (*.kvl)");
constexpr int kButtonHeight = 21;

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

// Texts up to this many characters go into a view at once, shown or not.
constexpr qsizetype kImmediateViewTextSize = 32 * 1024;

QString JoinLines(const std::vector<std::string>& lines) {
  std::size_t size = 0;
  for (const std::string& line : lines) size += line.size() + 1;
  std::string joined;
  joined.reserve(size);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) joined += '\n';
    joined += lines[i];
  }
  // Each line reads as the diagram reads its texts: one line that is not
  // UTF-8 must not turn every other line to Latin-1. A line break cannot sit
  // inside a UTF-8 sequence, so a whole that decodes is decoded per line too.
  QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text = decoder(QByteArrayView(joined.data(), static_cast<qsizetype>(joined.size())));
  if (!decoder.hasError()) return text;
  text.clear();
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += QLatin1Char('\n');
    text += diagram::DisplayText(lines[i]);
  }
  return text;
}

QTextEdit* NewTextView(QWidget* page, const char* name, bool bothScrollBars) {
  auto* view = new QTextEdit(page);
  view->setObjectName(QString::fromLatin1(name));
  view->setAcceptRichText(false);
  if (bothScrollBars) {
    // With a horizontal bar long sentences stay on one line each.
    view->setLineWrapMode(QTextEdit::NoWrap);
    view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  }
  auto* layout = new QVBoxLayout(page);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(view);
  return view;
}

}  // namespace

TMainForm::TDialogs TMainForm::StandardDialogs() {
  TDialogs dialogs;
  dialogs.ShowError = [](QWidget* parent, const QString& message) {
    QMessageBox::critical(parent, QStringLiteral("Ostrel"), message);
  };
  dialogs.ChooseFileToOpen = [](QWidget* parent) {
    return QFileDialog::getOpenFileName(parent, QString(), QString(), kKarvelFilter);
  };
  dialogs.ChooseFileToSave = [](QWidget* parent) {
    QFileDialog dialog(parent, QStringLiteral("Save as"), QString(), kKarvelFilter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // Appending the suffix inside the dialog lets it ask before overwriting
    // the file that will really be written.
    dialog.setDefaultSuffix(QStringLiteral("kvl"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    return dialog.selectedFiles().constFirst();
  };
  dialogs.ChooseFileToExport = &TMainForm::ChooseExportFile;
  return dialogs;
}

TMainForm::TMainForm(TDialogs dialogs, QWidget* parent) : QMainWindow(parent), FDialogs(std::move(dialogs)) {
  setObjectName(QStringLiteral("MainForm"));
  diagram::InitDiagramMetrics(FMetrics);
  setFont(WindowFont());
  setWindowTitle(kInitialCaption);
  // The frame position is the given one; the window manager adds its frame
  // around the given size.
  move(66, 23);
  resize(724, 574);

  createActions();
  createMenus();
  createToolBars();
  createPages();
  createStatusBar();
  createStatusIcons();
  createSummaryView();
  createEditingConnections();
  createHistoryKeys();
  FormCreate();
}

TMainForm::~TMainForm() = default;

void TMainForm::createActions() {
  New1 = new QAction(tr("&New"), this);
  New1->setObjectName(QStringLiteral("New1"));
  connect(New1, &QAction::triggered, this, [this] { AsStep([this] { New1Click(); }); });

  Open1 = new QAction(tr("&Open..."), this);
  Open1->setObjectName(QStringLiteral("Open1"));
  connect(Open1, &QAction::triggered, this, [this] { AsStep([this] { Open1Click(); }); });

  Saveas1 = new QAction(tr("Save &as..."), this);
  Saveas1->setObjectName(QStringLiteral("Saveas1"));
  connect(Saveas1, &QAction::triggered, this, &TMainForm::Saveas1Click);

  Exportdiagram1 = new QAction(tr("E&xport diagram..."), this);
  Exportdiagram1->setObjectName(QStringLiteral("Exportdiagram1"));
  connect(Exportdiagram1, &QAction::triggered, this, &TMainForm::Exportdiagram1Click);

  // Checkable actions invert their mark themselves before triggered fires.
  Showstructureonly1 = new QAction(tr("&Show structure only"), this);
  Showstructureonly1->setObjectName(QStringLiteral("Showstructureonly1"));
  Showstructureonly1->setCheckable(true);
  connect(Showstructureonly1, &QAction::triggered, this,
          [this] { AsStep([this] { Showstructureonly1Click(); }); });

  Parsesentences1 = new QAction(tr("&Parse sentences"), this);
  Parsesentences1->setObjectName(QStringLiteral("Parsesentences1"));
  Parsesentences1->setCheckable(true);
  Parsesentences1->setChecked(true);
  connect(Parsesentences1, &QAction::triggered, this,
          [this] { AsStep([this] { Parsesentences1Click(); }, /*parseToggled=*/true); });

  Showdialecticalnegations1 = new QAction(tr("Show dialectical &negations"), this);
  Showdialecticalnegations1->setObjectName(QStringLiteral("Showdialecticalnegations1"));
  Showdialecticalnegations1->setCheckable(true);
  Showdialecticalnegations1->setChecked(true);
  connect(Showdialecticalnegations1, &QAction::triggered, this,
          [this] { AsStep([this] { Showdialecticalnegations1Click(); }); });

  Test2 = new QAction(tr("&Test"), this);
  Test2->setObjectName(QStringLiteral("Test2"));
  connect(Test2, &QAction::triggered, this, &TMainForm::Test2Click);
}

void TMainForm::createMenus() {
  File1 = new QMenu(tr("&File"), this);
  File1->setObjectName(QStringLiteral("File1"));
  File1->addAction(New1);
  File1->addAction(Open1);
  File1->addAction(Saveas1);
  File1->addAction(Exportdiagram1);

  Edit1 = new QMenu(tr("&Edit"), this);
  Edit1->setObjectName(QStringLiteral("Edit1"));
  connect(Edit1, &QMenu::aboutToShow, this, &TMainForm::Edit1Click);

  PopupMenu1 = new QMenu(this);
  PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
  createHistoryItems();

  int command = 0;
  for (const TEditItemEntry& entry : kEditItems) {
    if (entry.Caption == nullptr) {
      Edit1->addSeparator()->setObjectName(QString::fromLatin1(entry.EditName));
      PopupMenu1->addSeparator()->setObjectName(QString::fromLatin1(entry.PopupName));
      continue;
    }
    const bool shownAtStart = static_cast<TEditCommand>(command) == TEditCommand::Addstatement;
    QAction* editItem = Edit1->addAction(tr(entry.Caption));
    editItem->setObjectName(QString::fromLatin1(entry.EditName));
    editItem->setVisible(shownAtStart);
    QAction* popupItem = PopupMenu1->addAction(tr(entry.Caption));
    popupItem->setObjectName(QString::fromLatin1(entry.PopupName));
    popupItem->setVisible(shownAtStart);
    FEditMenuItems[static_cast<std::size_t>(command)] = editItem;
    FPopupMenuItems[static_cast<std::size_t>(command)] = popupItem;
    ++command;
  }

  Options1 = new QMenu(tr("&Options"), this);
  Options1->setObjectName(QStringLiteral("Options1"));
  Options1->addAction(Showstructureonly1);
  Options1->addAction(Parsesentences1);
  Options1->addAction(Showdialecticalnegations1);

  Test1 = new QMenu(tr("&Test"), this);
  Test1->setObjectName(QStringLiteral("Test1"));
  Test1->addAction(Test2);
  Test1->menuAction()->setVisible(false);
}

void TMainForm::createToolBars() {
  // The control bar takes the place of a menu bar: the menus drop down from
  // its tool buttons.
  ControlBar1 = new QWidget(this);
  ControlBar1->setObjectName(QStringLiteral("ControlBar1"));
  ControlBar1->setFixedHeight(27);
  auto* barLayout = new QHBoxLayout(ControlBar1);
  barLayout->setContentsMargins(0, 0, 0, 0);
  barLayout->setSpacing(0);

  ToolBar1 = new QToolBar(ControlBar1);
  ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
  ToolBar1->setMovable(false);
  ToolBar1->setFloatable(false);
  ToolBar1->setToolButtonStyle(Qt::ToolButtonTextOnly);
  barLayout->addWidget(ToolBar1);
  barLayout->addStretch(1);

  const auto addMenuButton = [this](const char* name, QMenu* menu) {
    auto* button = new QToolButton(ToolBar1);
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
    return std::pair{button, ToolBar1->addWidget(button)};
  };
  ToolButton2 = addMenuButton("ToolButton2", File1).first;
  ToolButton3 = addMenuButton("ToolButton3", Edit1).first;
  ToolButton4 = addMenuButton("ToolButton4", Options1).first;
  auto [testButton, testButtonAction] = addMenuButton("ToolButton1", Test1);
  ToolButton1 = testButton;
  // A widget on a tool bar is hidden through its action.
  testButtonAction->setVisible(false);

  setMenuWidget(ControlBar1);
}

void TMainForm::createPages() {
  TextBasedKarvelPageControl = new QTabWidget(this);
  TextBasedKarvelPageControl->setObjectName(QStringLiteral("TextBasedKarvelPageControl"));
  setCentralWidget(TextBasedKarvelPageControl);

  FileTabSheet = new QWidget;
  FileTabSheet->setObjectName(QStringLiteral("FileTabSheet"));
  RichEdit1 = NewTextView(FileTabSheet, "RichEdit1", true);
  TextBasedKarvelPageControl->addTab(FileTabSheet, tr("F&ile"));

  TheoryTabSheet = new QWidget;
  TheoryTabSheet->setObjectName(QStringLiteral("TheoryTabSheet"));
  RichEdit2 = NewTextView(TheoryTabSheet, "RichEdit2", true);
  TextBasedKarvelPageControl->addTab(TheoryTabSheet, tr("T&heory"));

  ConsequencesTabSheet = new QWidget;
  ConsequencesTabSheet->setObjectName(QStringLiteral("ConsequencesTabSheet"));
  RichEdit3 = NewTextView(ConsequencesTabSheet, "RichEdit3", false);
  TextBasedKarvelPageControl->addTab(ConsequencesTabSheet, tr("&Consequences"));

  TabSheet1 = new QWidget;
  TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
  createDiagramPage(TabSheet1);
  TextBasedKarvelPageControl->addTab(TabSheet1, tr("&Dialectical arguments"));

  TextBasedKarvelPageControl->setCurrentWidget(TabSheet1);
  FViewTexts[0].View = RichEdit1;
  FViewTexts[1].View = RichEdit2;
  connect(TextBasedKarvelPageControl, &QTabWidget::currentChanged, this, &TMainForm::ShowPendingViewTexts);
}

void TMainForm::createDiagramPage(QWidget* page) {
  auto* layout = new QVBoxLayout(page);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);

  ScrollBox1 = new TDiagramView(page);
  ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
  layout->addWidget(ScrollBox1, 1);

  // The in-place editor and the unused edit box live on the container, not in
  // the scene, so diagram rebuilds never touch them.
  ComboBox1 = new QComboBox;
  ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
  ComboBox1->setEditable(true);
  ComboBox1->setInsertPolicy(QComboBox::InsertAlphabetically);
  ComboBox1->hide();
  ScrollBox1->PlaceChild(ComboBox1, QRect(2, 2, 241, 21));

  Edit2 = new QLineEdit;
  Edit2->setObjectName(QStringLiteral("Edit2"));
  Edit2->hide();
  ScrollBox1->PlaceChild(Edit2, QRect(160, 192, 241, 21));

  // The interpretation buttons scroll sideways when they do not fit, so that
  // every one of thousands can be reached.
  FInterpretationBar = new QScrollArea(page);
  FInterpretationBar->setObjectName(QStringLiteral("InterpretationBar"));
  FInterpretationBar->setFrameShape(QFrame::NoFrame);
  FInterpretationBar->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  FInterpretationBar->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  FInterpretationBar->setWidgetResizable(false);
  ToolBar2 = new QToolBar;
  ToolBar2->setObjectName(QStringLiteral("ToolBar2"));
  ToolBar2->setMovable(false);
  ToolBar2->setFloatable(false);
  ToolBar2->setToolButtonStyle(Qt::ToolButtonTextOnly);
  FInterpretationBar->setWidget(ToolBar2);
  connect(FInterpretationBar->horizontalScrollBar(), &QScrollBar::rangeChanged, this,
          &TMainForm::FitInterpretationBar);
  ToolBar2->hide();
  FInterpretationBar->hide();
  layout->addWidget(FInterpretationBar);

  FInterpretationGroup = new QActionGroup(this);
  FInterpretationGroup->setExclusive(true);
  connect(FInterpretationGroup, &QActionGroup::triggered, this, &TMainForm::InterpretationButtonClick);
}

void TMainForm::createStatusBar() {
  MainStatusBar = new QStatusBar(this);
  MainStatusBar->setObjectName(QStringLiteral("MainStatusBar"));
  MainStatusBar->setFixedHeight(19);
  FStatusPanels = AddStatusPanels(*MainStatusBar);
  setStatusBar(MainStatusBar);
}

void TMainForm::createStatusIcons() {
  // The diagram draws the images; the window's list names them.
  for (int i = 0; i < diagram::kStatusIconCount; ++i) FStatusIcons << diagram::StatusIcon(i);
}

void TMainForm::FormCreate() {
  TextBasedKarvelPageControl->setTabVisible(TextBasedKarvelPageControl->indexOf(ConsequencesTabSheet), false);
  FSession.Marks.AddingSentence = false;
  FSession.Marks.ChangingSentence = false;
  FSession.Marks.AddingSupportOrAttack = false;
  FSession.MouseColumn = -1;
  FSession.MouseRow = -1;
  // The start-up's New replaces whatever the last session left in the
  // working file; that argument stays one Undo away.
  std::optional<TWorkingState> previous = PreviousSessionState();
  New1Click();
  if (previous && FHistory.Record(std::move(*previous), CurrentWorkingState()))
    SetStatusPanel(1, "The previous working file was replaced; Undo brings it back.");
  UpdateHistoryItems();
}

void TMainForm::New1Click() {
  setWindowTitle(kInitialCaption);
  FDocument.ResetToMinimal();
  EmptyTextViews();
  try {
    FDocument.File().SaveToFile(kTemporaryFileName);
  } catch (const karvel::TFileError& error) {
    // Loading now would bring back whatever an older working file holds.
    AbandonRefresh(diagram::DisplayText(error.what()));
    return;
  }
  LoadTheoryFile(QString::fromLatin1(kTemporaryFileName));
}

void TMainForm::Open1Click() {
  const QString fileName = FDialogs.ChooseFileToOpen(this);
  if (fileName.isEmpty()) return;
  LoadTheoryFile(fileName);
}

void TMainForm::Saveas1Click() {
  QString fileName = FDialogs.ChooseFileToSave(this);
  if (fileName.isEmpty()) return;
  if (QFileInfo(fileName).suffix().isEmpty()) fileName += QStringLiteral(".kvl");
  try {
    FDocument.File().SaveToFile(FileNameBytes(fileName), /*flushToDisk=*/true);
  } catch (const karvel::TFileError& error) {
    ReportError(diagram::DisplayText(error.what()));
    return;
  }
  setWindowTitle(kCaptionPrefix + QFileInfo(fileName).fileName());
}

bool TMainForm::LoadTheoryFile(const QString& FileName) {
  if (FileName != QLatin1String(kTemporaryFileName)) {
    setWindowTitle(kCaptionPrefix + QFileInfo(FileName).fileName());
  }
  TRefreshOptions options;
  options.ShowStructureOnly = Showstructureonly1->isChecked();
  options.ParseSentences = Parsesentences1->isChecked();
  options.ShowDialecticalNegations = Showdialecticalnegations1->isChecked();
  TSearchProgressDialog progress(this, FSearchDialogDelayMs);
  progress.SetBeforeShow([this] { FinishDiagramRemoval(); });
  FSearchDialog = &progress;
  const bool loaded = RunRefresh(FDocument, FileNameBytes(FileName), options, *this);
  FSearchDialog = nullptr;
  return loaded;
}

karvel::TSearchProgress TMainForm::SearchProgress() {
  return [this](std::size_t found) { return FSearchDialog == nullptr || FSearchDialog->Searching(found); };
}

void TMainForm::InterpretationButtonClick(QAction* button) {
  if (button == nullptr || !FInterpretationGroup->actions().contains(button)) return;
  const int index = button->data().toInt();
  if (index < 0 || index >= static_cast<int>(FDocument.Interpretations().size())) return;
  FSummaryView->Leave();
  button->setChecked(true);
  FDocument.ApplyInterpretation(index);
  // Only statuses changed: the drawing updates its items where it can.
  DrawArgumentDiagram();
}

void TMainForm::Showstructureonly1Click() { LoadTheoryFile(QString::fromLatin1(kTemporaryFileName)); }

void TMainForm::Parsesentences1Click() { LoadTheoryFile(QString::fromLatin1(kTemporaryFileName)); }

void TMainForm::Showdialecticalnegations1Click() { LoadTheoryFile(QString::fromLatin1(kTemporaryFileName)); }

void TMainForm::Edit1Click() { FSession.Edit1Click(); }

void TMainForm::FormResize() {
  QRect geometry = ScrollBox1->ChildGeometry(ComboBox1);
  geometry.setWidth(FSession.EditorWidthAfterResize());
  ScrollBox1->PlaceChild(ComboBox1, geometry);
}

void TMainForm::Test2Click() {
  if (FTestForm == nullptr) return;
  FTestForm->show();
  FTestForm->raise();
  FTestForm->activateWindow();
}

diagram::TDiagramOptions TMainForm::DiagramOptions() const {
  diagram::TDiagramOptions options;
  options.ShowStructureOnly = Showstructureonly1->isChecked();
  options.ShowDialecticalNegations = Showdialecticalnegations1->isChecked();
  return options;
}

QString TMainForm::StatusPanelText(int panel) const {
  return FStatusPanels.at(static_cast<std::size_t>(panel))->text();
}

QList<QAction*> TMainForm::InterpretationButtons() const { return FInterpretationGroup->actions(); }

QAction* TMainForm::EditMenuItem(TEditCommand command) const {
  return FEditMenuItems.at(static_cast<std::size_t>(command));
}

QAction* TMainForm::PopupMenuItem(TEditCommand command) const {
  return FPopupMenuItems.at(static_cast<std::size_t>(command));
}

void TMainForm::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  FormResize();
}

void TMainForm::EmptyTextViews() {
  for (TViewText& view : FViewTexts) SetViewText(view, QString());
  RichEdit3->clear();
}

void TMainForm::FillTextViews(const TRefreshResult&) {
  SetViewText(FViewTexts[0], JoinLines(FDocument.FileLines()));
  SetViewText(FViewTexts[1], JoinLines(FDocument.TheoryViewLines([this](std::size_t done) {
                if (FSearchDialog != nullptr) FSearchDialog->Reporting(done);
              })));
  FSummaryView->Refreshed();
}

void TMainForm::SetViewText(TViewText& view, QString text) {
  // Building and laying out a long document costs far more than the rest of
  // a refresh, so a view whose page is not shown gets its text when the page
  // is. A short text is set at once: it costs little, and the view is then
  // always current for whoever reads it.
  const bool shown = TextBasedKarvelPageControl->currentWidget() == view.View->parentWidget();
  if (shown || text.size() + view.View->document()->characterCount() < kImmediateViewTextSize) {
    view.Pending = false;
    view.Text.clear();
    // One assignment per view: appending line by line costs a layout pass each.
    view.View->setPlainText(text);
  } else {
    view.Pending = true;
    view.Text = std::move(text);
  }
}

void TMainForm::ShowPendingViewTexts() {
  for (TViewText& view : FViewTexts) {
    if (view.Pending && TextBasedKarvelPageControl->currentWidget() == view.View->parentWidget()) {
      view.Pending = false;
      view.View->setPlainText(std::exchange(view.Text, QString()));
    }
  }
}

void TMainForm::DrawArgumentDiagram() {
  FDiagramRetired = false;
  FDiagramPlan = diagram::RedrawDiagram(ScrollBox1->Scene(), FDocument.ArgumentSentences(), FDocument.Theory(),
                                        DiagramOptions(), FMetrics, FDiagramItems);
  CollectDiagramBoxes(FDiagramItems);
  UpdateSelectionMark();
  // The drawing set the extent; the editor follows it.
  ScrollBox1->RepositionChildren();
}

void TMainForm::ShowInterpretationButtons(int count) {
  // The buttons of the last refresh are kept as far as they go: they differ
  // from new ones in nothing, and thousands cost a while to make and delete.
  const QList<QAction*> existing = FInterpretationGroup->actions();
  for (qsizetype i = existing.size() - 1; i >= count; --i) delete existing[i];
  for (int i = static_cast<int>(std::min<qsizetype>(existing.size(), count)); i < count; ++i) {
    auto* button = new QAction(QString::number(i + 1), ToolBar2);
    button->setObjectName(QStringLiteral("InterpretationButton%1").arg(i + 1));
    button->setCheckable(true);
    button->setData(i);  // the button's Tag
    FInterpretationGroup->addAction(button);
    ToolBar2->addAction(button);
    if (QWidget* widget = ToolBar2->widgetForAction(button)) widget->setMinimumHeight(kButtonHeight);
  }
  FInterpretationGroup->actions().constFirst()->setChecked(true);
  ToolBar2->adjustSize();
  ToolBar2->show();
  FInterpretationBar->show();
  FitInterpretationBar();
}

void TMainForm::FitInterpretationBar() {
  const QScrollBar* bar = FInterpretationBar->horizontalScrollBar();
  const int scrollBarHeight = bar->maximum() > 0 ? bar->sizeHint().height() : 0;
  FInterpretationBar->setFixedHeight(ToolBar2->sizeHint().height() + scrollBarHeight);
}

void TMainForm::RemoveInterpretationButtons() {
  ToolBar2->hide();
  FInterpretationBar->hide();
  // Deleting an action removes it from the group and its button from the bar.
  const QList<QAction*> buttons = FInterpretationGroup->actions();
  for (QAction* button : buttons) delete button;
}

void TMainForm::AbandonRefresh(const QString& message) {
  // Consistent first: the error box runs an event loop that repaints the window.
  FDocument.Clear();
  RemoveInterpretationButtons();
  ScrollBox1->SetTag(-1);
  FStatusPanels[1]->clear();
  EmptyTextViews();
  RemoveDiagram();
  // An empty drawing also empties the diagram's sentence list, which would
  // otherwise keep pointing into the discarded document.
  DrawArgumentDiagram();
  ReportError(message);
}

void TMainForm::ReportError(const QString& message) { FDialogs.ShowError(this, message); }

}  // namespace ostrel
