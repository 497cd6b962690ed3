#include "HeadlessSession.h"

namespace ostrel {

namespace {

// Text widths grow with the text as a real font's do.
class THeadlessToolkit final : public diagram::TDiagramSink {
 public:
  int TextWidth(std::string_view text, diagram::TStatusLook) override {
    return 6 * static_cast<int>(text.size());
  }
  void Add(const diagram::TDiagramControl&) override {}
};

}  // namespace

THeadlessSession::THeadlessSession(int containerWidth)
    : FSession(FDocument, *this), FContainerWidth(containerWidth) {}

bool THeadlessSession::New() {
  FDocument.ResetToMinimal();
  try {
    FDocument.File().SaveToFile(FDocument.WorkingFileName());
  } catch (const karvel::TFileError& error) {
    RemoveDiagram();
    AbandonRefresh(error);
    return false;
  }
  return LoadTheoryFile(FDocument.WorkingFileName());
}

void THeadlessSession::SetOptions(const TRefreshOptions& options) {
  FOptions = options;
  LoadTheoryFile(FDocument.WorkingFileName());
}

void THeadlessSession::InterpretationButtonClick(int index) {
  if (index < 0 || index >= FButtons) return;
  FDocument.ApplyInterpretation(index);
  RemoveDiagram();
  DrawArgument();
}

bool THeadlessSession::LoadTheoryFile(const std::string& fileName) {
  ++FRefreshes;
  FAbandoned = !RunRefresh(FDocument, fileName, FOptions, *this);
  return !FAbandoned;
}

bool THeadlessSession::PressBoxOf(std::string_view text) {
  for (std::size_t i = 0; i < FBoxes.size(); ++i) {
    const auto tag = static_cast<std::size_t>(FBoxes[i].Place.Tag);
    if (tag < FPlan.DiagramSentences.size() && FPlan.DiagramSentences[tag]->Text == text) {
      PressBox(i);
      return true;
    }
  }
  return false;
}

void THeadlessSession::PressBox(std::size_t index) {
  const TBox& box = FBoxes.at(index);
  // The middle of the box's first column, as a user's press would land.
  FSession.MouseDownOnShape(box.Place.Tag, box.Left + 3, box.Top + 11);
}

bool THeadlessSession::PressConnectorOf(std::string_view text) {
  for (int tag : FConnectorTags) {
    if (static_cast<std::size_t>(tag) < FPlan.DiagramSentences.size() &&
        FPlan.DiagramSentences[static_cast<std::size_t>(tag)]->Text == text) {
      // Where on the connector does not matter but for the cell; take row 0.
      FSession.MouseDownOnShape(tag, 0, 0);
      return true;
    }
  }
  return false;
}

void THeadlessSession::ShowAllDiagramShapes() {
  for (TBox& box : FBoxes) box.Visible = true;
}

void THeadlessSession::OpenEditor(const TEditorPlacement& placement, std::string_view text,
                                  const std::vector<std::string>& choices) {
  FEditor.Placement = placement;
  FEditor.Choices = choices;
  FEditor.Text = std::string(text);
  FEditor.Visible = true;
}

void THeadlessSession::SetStatusPanel(int panel, std::string_view text) {
  FStatusPanels[panel == 0 ? 0 : 1] = std::string(text);
}

const std::string& THeadlessSession::StatusPanel(int panel) const {
  return FStatusPanels[panel == 0 ? 0 : 1];
}

void THeadlessSession::RemoveDiagram() {
  FBoxes.clear();
  FConnectorTags.clear();
}

void THeadlessSession::EmptyTextViews() { FTheoryLines.clear(); }

void THeadlessSession::DrawArgument() {
  FBoxes.clear();
  FConnectorTags.clear();
  THeadlessToolkit toolkit;
  FPlan = diagram::PlanDiagram(FDocument.ArgumentSentences(), FDocument.Theory(),
                               diagram::DiagramOptionsOf(FOptions), diagram::TDiagramMetrics{}, toolkit);
  // The boxes and connectors, as the window keeps them.
  for (const diagram::TDiagramControl& c : FPlan.Controls) {
    if (c.Kind == diagram::TControlKind::Box) {
      TBox box;
      box.Place = {c.Tag, c.Row, c.Column};
      box.Left = c.Left;
      box.Top = c.Top;
      box.Width = c.Width;
      FBoxes.push_back(box);
    } else if (c.Kind == diagram::TControlKind::HitStrip) {
      FConnectorTags.push_back(c.Tag);
    }
  }
  // The boxes and tags are all a session reads of the controls.
  FPlan.Controls = {};
}

const karvel::TListOfKarvelSentences& THeadlessSession::DrawDiagram(const TRefreshResult&) {
  DrawArgument();
  return FPlan.DiagramSentences;
}

void THeadlessSession::FillTextViews(const TRefreshResult&) { FTheoryLines = FDocument.TheoryViewLines(); }

void THeadlessSession::AbandonRefresh(const karvel::TFileError& error) {
  FAbandoned = true;
  FDocument.Clear();
  FButtons = 0;
  FSelection = -1;
  SetStatusPanel(1, {});
  FTheoryLines.clear();
  DrawArgument();
  ReportError(error.what());
}

}  // namespace ostrel
