// The pixel metrics of the diagram grid, as one value the layout is given
// and its plan hands on to whoever places things on the grid.
#pragma once

namespace ostrel::diagram {

//! Grid and drawing metrics in pixels; defaults are the program's values.
struct TDiagramMetrics {
  int TopMargin = 2;
  int RowHeight = 22;
  int RowGap = 8;
  int HalfRowHeight = 11;
  int TextTop = 4;
  int LeftMargin = 2;
  int ColumnWidth = 18;
  int ConnectorOffset = 7;
  int TextPadding = 5;
  int HitHalfWidth = 2;
  int LineWidth = 1;

  //! Side of a status icon, and the room it takes before the text.
  static constexpr int kIconSize = 16;

  [[nodiscard]] int RowStep() const { return RowHeight + RowGap; }
  //! Left edge of a column.
  [[nodiscard]] int X(int column) const { return LeftMargin + column * ColumnWidth; }
  //! Top edge of a row.
  [[nodiscard]] int Y(int row) const { return TopMargin + row * RowStep(); }
};

//! Sets metrics to the program's values.
void InitDiagramMetrics(TDiagramMetrics& metrics);

}  // namespace ostrel::diagram
