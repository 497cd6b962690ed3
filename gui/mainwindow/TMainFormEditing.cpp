// The main window's editing side: the diagram's presses, the in-place editor
// and the menus, wired to the Qt-free session that runs the commands, and the
// window as the host of that session.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

#include <string>
#include <utility>

#include "CommandMenus.h"
#include "DiagramPage.h"
#include "DisplayText.h"
#include "TDiagramView.h"
#include "TMainForm.h"
#include "WindowHistory.h"

namespace ostrel {

using C = TEditCommand;

void TMainForm::createEditingConnections() {
  TDiagramView& view = FDiagram->View();
  view.OnPress = [this](QPoint point) { ScrollBox1MouseDown(point); };
  view.OnDoubleClick = [this](QPoint point) { ScrollBox1DblClick(point); };
  // The press before the popup has selected what lies under the pointer.
  view.OnPopup = [this](QPoint global) {
    if (QApplication::activeWindow() == this) FMenus->ExecPopup(global);
  };
  // The typed text is the editor's; it is never inserted into the list.
  QComboBox& editor = FDiagram->Editor();
  editor.setInsertPolicy(QComboBox::NoInsert);
  editor.installEventFilter(this);
  if (editor.lineEdit() != nullptr) editor.lineEdit()->installEventFilter(this);

  // Both menus share each command's handler.
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
  const diagram::TDiagramHit hit = FDiagram->HitAt(point);
  switch (hit.Target) {
    case diagram::TDiagramHitTarget::Box:
    case diagram::TDiagramHitTarget::Connector:
      FDiagram->SetConnectorPressed(hit.Target == diagram::TDiagramHitTarget::Connector);
      FSession.MouseDownOnShape(hit.Tag, point.x(), point.y());
      break;
    case diagram::TDiagramHitTarget::None:
      FSession.MouseDownOnFreeArea(point.x(), point.y());
      break;
    case diagram::TDiagramHitTarget::Inert:
    case diagram::TDiagramHitTarget::Other:
      break;  // labels, marks and icons carry no handlers
  }
  FDiagram->UpdateSelectionMark();
}

void TMainForm::ScrollBox1DblClick(QPoint point) {
  if (QApplication::activeWindow() != this) return;
  const diagram::TDiagramHit hit = FDiagram->HitAt(point);
  if (hit.Target == diagram::TDiagramHitTarget::None) {
    AsStep([this] { FSession.DoubleClick(-1); });
    return;
  }
  if (hit.Target != diagram::TDiagramHitTarget::Box) return;  // connectors take no double click
  const int box = FDiagram->ShownBoxAt(hit);
  AsStep([this, box] { FSession.DoubleClick(box); });
}

// ---- the in-place editor -----------------------------------------------------

bool TMainForm::ComboBox1KeyDown(int key) {
  if (key == Qt::Key_Escape) {
    AsStep([this] { FSession.EscapePressed(); });
    return true;
  }
  if (key != Qt::Key_Return && key != Qt::Key_Enter) return false;
  const std::string bytes = FDiagram->EditorBytes();
  AsStep([this, &bytes] { FSession.EnterPressed(bytes); });
  return true;
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
  const QComboBox& editor = FDiagram->Editor();
  if ((watched == &editor || watched == editor.lineEdit()) && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (ComboBox1KeyDown(key->key())) return true;
  }
  return QMainWindow::eventFilter(watched, event);
}

void TMainForm::OpenEditor(const TEditorPlacement& placement, std::string_view text,
                           const std::vector<std::string>& choices) {
  FDiagram->OpenEditor(placement, text, choices);
  FHistory->UpdateItems();
}

void TMainForm::HideEditor() {
  FDiagram->HideEditor();
  FHistory->UpdateItems();
}

// ---- the host of the editing session -----------------------------------------------

bool TMainForm::LoadTheoryFile(const std::string& fileName) {
  return LoadTheoryFile(QString::fromStdString(fileName));
}

const diagram::TDiagramPlan& TMainForm::DiagramPlan() const { return FDiagram->Plan(); }

std::size_t TMainForm::DiagramBoxCount() const { return FDiagram->BoxCount(); }

TDiagramBoxPlace TMainForm::DiagramBox(std::size_t index) const { return FDiagram->Box(index); }

void TMainForm::HideDiagramBox(std::size_t index) { FDiagram->HideBox(index); }

void TMainForm::ShowAllDiagramShapes() { FDiagram->ShowAllShapes(); }

int TMainForm::Selection() const { return FDiagram->Selection(); }

void TMainForm::SetSelection(int index) { FDiagram->SetSelection(index); }

int TMainForm::ContainerWidth() const { return FDiagram->ContainerWidth(); }

void TMainForm::SetStatusPanel(int panel, std::string_view text) {
  FStatusPanels.at(panel == 0 ? 0 : 1)->setText(diagram::DisplayText(text));
}

void TMainForm::ApplyMenuVisibility(const TMenuVisibility& menus) { FMenus->ApplyVisibility(menus); }

void TMainForm::ReportError(const std::string& message) { ReportError(diagram::DisplayText(message)); }

}  // namespace ostrel
