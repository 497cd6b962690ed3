// The window's side of the summary view: what it lends the view.
#include "SummaryView.h"
#include "TMainForm.h"

namespace ostrel {

void TMainForm::createSummaryView() {
  TSummaryView::THost host;
  host.Document = &FDocument;
  host.Diagram = ScrollBox1;
  host.ButtonBar = ToolBar2;
  host.Buttons = FInterpretationGroup;
  host.Pages = TextBasedKarvelPageControl;
  host.Redraw = [this] { DrawArgumentDiagram(); };
  host.Boxes = [this]() -> const std::vector<diagram::TShapeWithDoubleClicks*>& { return FBoxes; };
  host.DrawnSentences = [this]() -> const karvel::TListOfKarvelSentences& {
    return FDiagramPlan.DiagramSentences;
  };
  host.StructureOnly = [this] { return Showstructureonly1->isChecked(); };
  host.DialogDelayMs = [this] { return FSearchDialogDelayMs; };
  FSummaryView = std::make_unique<TSummaryView>(std::move(host));
}

}  // namespace ostrel
