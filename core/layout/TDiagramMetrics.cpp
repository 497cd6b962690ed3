#include "TDiagramMetrics.h"

namespace ostrel::diagram {

void InitDiagramMetrics(TDiagramMetrics& metrics) {
  metrics.TopMargin = 2;
  metrics.RowHeight = 22;
  metrics.RowGap = 8;
  metrics.HalfRowHeight = metrics.RowHeight / 2;
  metrics.TextTop = 4;
  metrics.LeftMargin = 2;
  metrics.ColumnWidth = 18;
  metrics.ConnectorOffset = 7;
  metrics.TextPadding = 5;
  metrics.HitHalfWidth = 2;
  metrics.LineWidth = 1;
}

}  // namespace ostrel::diagram
