#include "TDiagramMetrics.h"

namespace ostrel::diagram {

// Initialised here as well, so a build before InitDiagramMetrics still has a
// usable grid.
int TopMargin = 2, RowHeight = 22, RowGap = 8, HalfRowHeight = 11, TextTop = 4, LeftMargin = 2,
    ColumnWidth = 18, ConnectorOffset = 7, TextPadding = 5, HitHalfWidth = 2, LineWidth = 1;

void InitDiagramMetrics() {
  TopMargin = 2;
  RowHeight = 22;
  RowGap = 8;
  HalfRowHeight = RowHeight / 2;
  TextTop = 4;
  LeftMargin = 2;
  ColumnWidth = 18;
  ConnectorOffset = 7;
  TextPadding = 5;
  HitHalfWidth = 2;
  LineWidth = 1;
}

TDiagramMetrics TDiagramMetrics::Current() {
  TDiagramMetrics m;
  m.TopMargin = diagram::TopMargin;
  m.RowHeight = diagram::RowHeight;
  m.RowGap = diagram::RowGap;
  m.HalfRowHeight = diagram::HalfRowHeight;
  m.TextTop = diagram::TextTop;
  m.LeftMargin = diagram::LeftMargin;
  m.ColumnWidth = diagram::ColumnWidth;
  m.ConnectorOffset = diagram::ConnectorOffset;
  m.TextPadding = diagram::TextPadding;
  m.HitHalfWidth = diagram::HitHalfWidth;
  m.LineWidth = diagram::LineWidth;
  return m;
}

}  // namespace ostrel::diagram
