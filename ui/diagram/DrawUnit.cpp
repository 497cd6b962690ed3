#include "DrawUnit.h"

#include <QGraphicsScene>

namespace ostrel::diagram {

int TopMargin, RowHeight, RowGap, HalfRowHeight, TextTop, LeftMargin, ColumnWidth, ConnectorOffset,
    TextPadding, HitHalfWidth, LineWidth;
karvel::TListOfKarvelSentences DiagramSentences;
int DiagramRowCount = 0;

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

// Placeholder until the layout lands: the diagram stays empty.
void RemoveDiagramItems(QGraphicsScene&) {}
void DrawDiagram(QGraphicsScene&, const karvel::TListOfKarvelSentences&, int firstRow, int,
                 karvel::TKarvelTheory&, const TDiagramOptions&) {
  DiagramSentences.clear();
  DiagramRowCount = firstRow;
}

}  // namespace ostrel::diagram
