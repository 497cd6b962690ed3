#include "DiagramPlan.h"

#include "TDiagramLayout.h"

namespace ostrel::diagram {

namespace {

class TPlanSink final : public TDiagramSink {
 public:
  TPlanSink(std::vector<TDiagramControl>& controls, TDiagramSink& toolkit)
      : FControls(controls), FToolkit(toolkit) {}
  int TextWidth(std::string_view text, TStatusLook look) override { return FToolkit.TextWidth(text, look); }
  void Add(const TDiagramControl& control) override {
    FControls.push_back(control);
    FToolkit.Add(control);
  }

 private:
  std::vector<TDiagramControl>& FControls;
  TDiagramSink& FToolkit;
};

}  // namespace

TDiagramOptions DiagramOptionsOf(const TRefreshOptions& options) {
  TDiagramOptions diagramOptions;
  diagramOptions.ShowStructureOnly = options.ShowStructureOnly;
  diagramOptions.ShowDialecticalNegations = options.ShowDialecticalNegations;
  return diagramOptions;
}

TDiagramPlan PlanDiagram(const karvel::TListOfKarvelSentences& sentences, const karvel::TKarvelTheory& theory,
                         const TDiagramOptions& options, const TDiagramMetrics& metrics,
                         TDiagramSink& toolkit, int firstRow, int column) {
  TDiagramPlan plan;
  plan.Metrics = metrics;
  TPlanSink sink(plan.Controls, toolkit);
  TDiagramLayout layout(sink, theory, options, metrics);
  plan.DiagramRowCount = layout.DrawDiagram(sentences, firstRow, column, plan.DiagramSentences);
  return plan;
}

TDiagramPlan PlanDiagram(const TRefreshResult& result, const TDiagramOptions& options,
                         const TDiagramMetrics& metrics, TDiagramSink& toolkit) {
  if (!result.Loaded()) {
    TDiagramPlan empty;
    empty.Metrics = metrics;
    return empty;
  }
  return PlanDiagram(*result.ArgumentSentences, *result.Theory, options, metrics, toolkit);
}

}  // namespace ostrel::diagram
