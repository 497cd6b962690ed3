// The main window's editing side: the diagram's presses, the in-place editor
// and the menus, wired to the Qt-free session that runs the commands, and the
// window as the host of that session and of the refresh cycle.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGraphicsScene>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTextEdit>

#include <algorithm>

#include "DisplayText.h"
#include "TDiagramView.h"
#include "TMainForm.h"

#include "SummaryView.h"
#include "TShapeWithDoubleClicks.h"

namespace ostrel {

using C = TEditCommand;

void TMainForm::createEditingConnections() {
  ScrollBox1->OnPress = [this](QPoint point) { ScrollBox1MouseDown(point); };
  ScrollBox1->OnDoubleClick = [this](QPoint point) { ScrollBox1DblClick(point); };
  // The press before the popup has selected what lies under the pointer.
  ScrollBox1->OnPopup = [this](QPoint global) {
    if (QApplication::activeWindow() == this) PopupMenu1->exec(global);
  };
  // The typed text is the editor's; it is never inserted into the list.
  ComboBox1->setInsertPolicy(QComboBox::NoInsert);
  ComboBox1->installEventFilter(this);
  if (ComboBox1->lineEdit() != nullptr) ComboBox1->lineEdit()->installEventFilter(this);
  // Both menus share each command's handler; separators are always shown.
  Edit1->setSeparatorsCollapsible(false);
  PopupMenu1->setSeparatorsCollapsible(false);

  const std::pair<C, void (TEditSession::*)()> handlers[] = {
      {C::Setasassumption, &TEditSession::Setasassumption1Click},
      {C::Setasissue, &TEditSession::Setasissue1Click},
      {C::Addconjunct, &TEditSession::Addconjunct1Click},
      {C::Addstatement, &TEditSession::Addstatement1Click},
      {C::Adddialecticalnegation, &TEditSession::Adddialecticalnegation2Click},
      {C::Givesupport, &TEditSession::Givesupport1Click},
      {C::Attack, &TEditSession::Attack1Click},
      {C::Delete, &TEditSession::Delete1Click},
  };
  for (const auto& [command, handler] : handlers) {
    for (QAction* item : {EditMenuItem(command), PopupMenuItem(command)})
      connect(item, &QAction::triggered, this,
              [this, h = handler] { AsStep([this, h] { (FSession.*h)(); }); });
  }
  for (QAction* item :
       {EditMenuItem(C::Changeelementarysentence), PopupMenuItem(C::Changeelementarysentence)})
    connect(item, &QAction::triggered, this,
            [this] { AsStep([this] { FSession.Changeelementarysentence1Click(); }); });
  const std::pair<C, void (TMainForm::*)()> windowCommands[] = {
      {C::Match, &TMainForm::Match1MenuItemClick},
      {C::Instantiate, &TMainForm::Instantiate1MenuItemClick},
      {C::Properties, &TMainForm::Properties1MenuItemClick},
  };
  for (const auto& [command, handler] : windowCommands) {
    for (QAction* item : {EditMenuItem(command), PopupMenuItem(command)})
      connect(item, &QAction::triggered, this, handler);
  }
}

// ---- selection ---------------------------------------------------------------

void TMainForm::ScrollBox1MouseDown(QPoint point) {
  // The match window's diagram and modal dialogs leave this window inactive.
  if (QApplication::activeWindow() != this) return;
  const diagram::TDiagramHit hit = diagram::DiagramHitAt(ScrollBox1->Scene(), point);
  switch (hit.Target) {
    case diagram::TDiagramHitTarget::Box:
    case diagram::TDiagramHitTarget::Connector:
      FConnectorPressed = hit.Target == diagram::TDiagramHitTarget::Connector;
      FSession.MouseDownOnShape(hit.Tag, point.x(), point.y());
      break;
    case diagram::TDiagramHitTarget::None:
      FSession.MouseDownOnFreeArea(point.x(), point.y());
      break;
    case diagram::TDiagramHitTarget::Inert:
    case diagram::TDiagramHitTarget::Other:
      break;  // labels, marks and icons carry no handlers
  }
  UpdateSelectionMark();
}

void TMainForm::ScrollBox1DblClick(QPoint point) {
  if (QApplication::activeWindow() != this) return;
  const diagram::TDiagramHit hit = diagram::DiagramHitAt(ScrollBox1->Scene(), point);
  if (hit.Target == diagram::TDiagramHitTarget::None) {
    AsStep([this] { FSession.DoubleClick(-1); });
    return;
  }
  if (hit.Target != diagram::TDiagramHitTarget::Box) return;  // connectors take no double click
  int box = -1;
  for (std::size_t i = 0; i < FBoxes.size(); ++i) {
    if (FBoxes[i]->Rect() == hit.Rect && FBoxes[i]->Tag() == hit.Tag && FBoxes[i]->isVisible()) {
      box = static_cast<int>(i);
    }
  }
  AsStep([this, box] { FSession.DoubleClick(box); });
}

// ---- the in-place editor -----------------------------------------------------

bool TMainForm::ComboBox1KeyDown(int key) {
  if (key == Qt::Key_Escape) {
    AsStep([this] { FSession.EscapePressed(); });
    return true;
  }
  if (key != Qt::Key_Return && key != Qt::Key_Enter) return false;
  // What is shown goes back to the bytes it came from; new text is UTF-8,
  // which shows as itself.
  const QString shown = ComboBox1->currentText();
  std::string bytes;
  const auto known = std::find_if(FEditorBytes.begin(), FEditorBytes.end(),
                                  [&](const auto& entry) { return entry.first == shown; });
  if (known != FEditorBytes.end()) {
    bytes = known->second;
  } else {
    const QByteArray utf8 = shown.toUtf8();
    bytes.assign(utf8.constData(), static_cast<std::size_t>(utf8.size()));
  }
  AsStep([this, &bytes] { FSession.EnterPressed(bytes); });
  return true;
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
  if ((watched == ComboBox1 || watched == ComboBox1->lineEdit()) && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (ComboBox1KeyDown(key->key())) return true;
  }
  return QMainWindow::eventFilter(watched, event);
}

void TMainForm::OpenEditor(const TEditorPlacement& placement, std::string_view text,
                           const std::vector<std::string>& choices) {
  ScrollBox1->PlaceChild(ComboBox1, QRect(placement.Left, placement.Top, placement.Width, 21));
  ComboBox1->clear();
  FEditorBytes.clear();
  QStringList items;
  items.reserve(static_cast<qsizetype>(choices.size()));
  for (const std::string& choice : choices) {
    items << diagram::DisplayText(choice);
    FEditorBytes.emplace_back(items.back(), choice);
  }
  ComboBox1->addItems(items);
  // The simple style: no list button while there is nothing to choose.
  ComboBox1->setStyleSheet(
      choices.empty() ? QStringLiteral("QComboBox::drop-down { width: 0px; border: none; }") : QString());
  ComboBox1->setProperty("simpleStyle", choices.empty());
  const QString shown = diagram::DisplayText(text);
  FEditorBytes.emplace_back(shown, std::string(text));
  ComboBox1->setCurrentIndex(-1);
  ComboBox1->setEditText(shown);
  ComboBox1->show();
  ComboBox1->raise();
  ComboBox1->setFocus();
  // An editor below the last row must be reachable by scrolling.
  ScrollBox1->UpdateExtent();
  UpdateHistoryItems();
}

void TMainForm::HideEditor() {
  ComboBox1->hide();
  ScrollBox1->UpdateExtent();
  UpdateHistoryItems();
}

// ---- the host of the editing session -----------------------------------------------

bool TMainForm::LoadTheoryFile(const std::string& fileName) {
  return LoadTheoryFile(QString::fromStdString(fileName));
}

TDiagramBoxPlace TMainForm::DiagramBox(std::size_t index) const {
  const diagram::TShapeWithDoubleClicks* box = FBoxes.at(index);
  return {box->Tag(), box->Row(), box->Column()};
}

void TMainForm::HideDiagramBox(std::size_t index) {
  FBoxes.at(index)->hide();
  FDiagramItems.SomeHidden = true;
  UpdateSelectionMark();
}

void TMainForm::ShowAllDiagramShapes() {
  const QList<QGraphicsItem*> items = ScrollBox1->Scene().items();
  for (QGraphicsItem* item : items)
    if (diagram::IsDiagramItem(item)) item->show();
  UpdateSelectionMark();
}

int TMainForm::Selection() const { return ScrollBox1->Tag(); }

void TMainForm::SetSelection(int index) {
  ScrollBox1->SetTag(index);
  UpdateSelectionMark();
}

void TMainForm::UpdateSelectionMark() {
  std::vector<QRect> marked;
  const int selection = ScrollBox1->Tag();
  if (selection >= 0 && selection < static_cast<int>(FDiagramPlan.DiagramSentences.size())) {
    const auto collect = [&](const std::vector<diagram::TShapeWithDoubleClicks*>& shapes, bool onRow) {
      for (const diagram::TShapeWithDoubleClicks* shape : shapes) {
        if (shape->Tag() == selection && shape->isVisible() && (!onRow || shape->Row() == FSession.MouseRow))
          marked.push_back(shape->Rect());
      }
    };
    if (!FConnectorPressed) collect(FBoxes, true);
    if (marked.empty()) collect(FConnectors, false);
    if (marked.empty()) collect(FBoxes, false);
  }
  ScrollBox1->SetSelectionMark(std::move(marked));
}

int TMainForm::ContainerWidth() const { return ScrollBox1->width(); }

void TMainForm::SetStatusPanel(int panel, std::string_view text) {
  FStatusPanels.at(panel == 0 ? 0 : 1)->setText(diagram::DisplayText(text));
}

void TMainForm::ApplyMenuVisibility(const TMenuVisibility& menus) {
  for (int i = 0; i < kEditCommandCount; ++i) {
    const auto command = static_cast<C>(i);
    EditMenuItem(command)->setVisible(menus.Edit.Shown(command));
    PopupMenuItem(command)->setVisible(menus.Popup.Shown(command));
  }
}

void TMainForm::ReportError(const std::string& message) { ReportError(diagram::DisplayText(message)); }

void TMainForm::CollectDiagramBoxes(const diagram::TDiagramItems& drawing) {
  FBoxes.clear();
  FConnectors.clear();
  // Hit strips are shapes too, but draw nothing and take no mark.
  for (std::size_t i = 0; i < drawing.Items.size(); ++i) {
    if (drawing.Controls[i].Kind == diagram::TControlKind::Box) {
      FBoxes.push_back(static_cast<diagram::TShapeWithDoubleClicks*>(drawing.Items[i]));
    } else if (drawing.Controls[i].Kind == diagram::TControlKind::ConnectorLine) {
      FConnectors.push_back(static_cast<diagram::TShapeWithDoubleClicks*>(drawing.Items[i]));
    }
  }
}

// ---- the visible side of the refresh -----------------------------------------------

void TMainForm::RemoveDiagram() {
  // The items stay in the scene, unseen and untouched, until the new drawing
  // takes them over: making and deleting a hundred thousand items costs more
  // than the rest of a refresh. No event is handled in between unless the
  // search's dialog shows, and that finishes the removal first.
  if (FSummaryView) FSummaryView->Reset();
  FBoxes.clear();
  FConnectors.clear();
  ScrollBox1->SetSelectionMark({});
  FDiagramRetired = true;
}

void TMainForm::FinishDiagramRemoval() {
  if (!FDiagramRetired) return;
  FDiagramRetired = false;
  FDiagramItems = {};
  diagram::RemoveDiagramItems(ScrollBox1->Scene());
}


void TMainForm::SetStatusPanel1(std::string_view text) { SetStatusPanel(1, text); }

const karvel::TListOfKarvelSentences& TMainForm::DrawDiagram(const TRefreshResult&) {
  DrawArgumentDiagram();
  return FDiagramPlan.DiagramSentences;
}

void TMainForm::AbandonRefresh(const karvel::TFileError& error) {
  AbandonRefresh(diagram::DisplayText(error.what()));
}

}  // namespace ostrel
