// The layout's result as a value: what the diagram shows of one refresh, for
// the scene builder, the headless session and the export to render.
#pragma once

#include <vector>

#include "DiagramOptions.h"
#include "KarvelUnit.h"
#include "Refresh.h"
#include "TDiagramControl.h"
#include "TDiagramMetrics.h"
#include "TDiagramSink.h"

namespace ostrel::diagram {

//! One drawing: its controls in creation order, the sentences their tags
//! index, the first free row below it and the metrics it was laid out with.
//! Captions point into the sentences, which live until the next refresh.
struct TDiagramPlan {
  std::vector<TDiagramControl> Controls;
  //! The drawn sentences, indexed by the controls' tags.
  karvel::TListOfKarvelSentences DiagramSentences;
  int DiagramRowCount = 0;
  TDiagramMetrics Metrics;
};

//! The drawing options of the Options menu.
TDiagramOptions DiagramOptionsOf(const TRefreshOptions& options);

//! Lays out every argument tree of sentences from firstRow, column down.
//! Reads the sentences and the theory without changing them. The toolkit
//! that will draw the plan measures its texts, and sees each control as
//! the plan gets it.
TDiagramPlan PlanDiagram(const karvel::TListOfKarvelSentences& sentences, const karvel::TKarvelTheory& theory,
                         const TDiagramOptions& options, const TDiagramMetrics& metrics,
                         TDiagramSink& toolkit, int firstRow = 0, int column = 0);
//! The plan of a refreshed argument, from row 0, column 0.
TDiagramPlan PlanDiagram(const TRefreshResult& result, const TDiagramOptions& options,
                         const TDiagramMetrics& metrics, TDiagramSink& toolkit);

}  // namespace ostrel::diagram
