// The window's side of the summary view: what it lends the view.
#include "CommandMenus.h"
#include "DiagramPage.h"
#include "InterpretationBar.h"
#include "SummaryView.h"
#include "TMainForm.h"
#include "TextPages.h"

namespace ostrel {

void TMainForm::createSummaryView() {
  TSummaryView::THost host;
  host.Document = &FDocument;
  host.Diagram = &FDiagram->View();
  host.ButtonBar = &FInterpretations->Bar();
  host.Buttons = &FInterpretations->Group();
  host.Pages = &FTextPages->Pages();
  host.Redraw = [this] { DrawArgumentDiagram(); };
  host.Boxes = [this]() -> const std::vector<diagram::TShapeWithDoubleClicks*>& { return FDiagram->Boxes(); };
  host.DrawnSentences = [this]() -> const karvel::TListOfKarvelSentences& {
    return FDiagram->Plan().DiagramSentences;
  };
  host.StructureOnly = [this] { return FMenus->ShowStructureOnly(); };
  host.DialogDelayMs = [this] { return FSearchDialogDelayMs; };
  FSummaryView = std::make_unique<TSummaryView>(std::move(host));
}

}  // namespace ostrel
