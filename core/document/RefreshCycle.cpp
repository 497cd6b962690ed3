#include "RefreshCycle.h"

#include <algorithm>

namespace ostrel {

bool RunRefresh(TheoryDocument& document, const std::string& fileName, const TRefreshOptions& options,
                TRefreshView& view) {
  // Reading discards the old document; the diagram items carry only indices,
  // so removing them after the discard is safe.
  view.RemoveDiagram();
  view.EmptyTextViews();
  try {
    document.Read(fileName, options.ParseSentences);
    document.File().SaveToFile(kTemporaryFileName);
  } catch (const karvel::TFileError& error) {
    view.AbandonRefresh(error);
    return false;
  }
  view.InitDiagramMetrics();

  view.SetStatusPanel1({});
  document.ComputeInterpretations(options.ShowStructureOnly, view.SearchProgress());
  const auto count = static_cast<int>(document.Interpretations().size());
  std::string status = document.StatusText();
  if (document.InterpretationsComputed() && count > kMaxInterpretationButtons) {
    status += " Buttons show the first " + std::to_string(kMaxInterpretationButtons) + ".";
  }
  view.SetStatusPanel1(status);
  if (document.InterpretationsComputed() && count >= 2) {
    view.ShowInterpretationButtons(std::min(count, kMaxInterpretationButtons));
  } else {
    view.RemoveInterpretationButtons();
  }

  document.CollectArgumentSentences();
  view.DrawDiagram();
  view.FillTextViews();
  document.RefreshVariables();
  return true;
}

}  // namespace ostrel
