// DrawUnit: the argument diagram. The layout walks the argument on the grid
// (Qt-free, DiagramLayout.h); this side realises its drawing operations as
// graphics items in a scene whose coordinates are the container's.
#pragma once

#include "KarvelUnit.h"

class QGraphicsScene;

namespace ostrel::diagram {

//! What the drawing reads of the window's options.
struct TDiagramOptions {
  bool ShowStructureOnly = false;
  bool ShowDialecticalNegations = true;
};

//! Diagram metrics, set by InitDiagramMetrics.
extern int TopMargin, RowHeight, RowGap, HalfRowHeight, TextTop, LeftMargin, ColumnWidth,
    ConnectorOffset, TextPadding, HitHalfWidth, LineWidth;
void InitDiagramMetrics();

//! The sentences the last build drew, indexed by the items' tags.
extern karvel::TListOfKarvelSentences DiagramSentences;
//! The first row below the last build.
extern int DiagramRowCount;

//! Removes every box, label, line and image item; other items stay.
void RemoveDiagramItems(QGraphicsScene& container);
//! Lays out and draws every argument tree of sentences into the container.
//! Registration marks drawn sentences in (and appends them to) theory.
void DrawDiagram(QGraphicsScene& container, const karvel::TListOfKarvelSentences& sentences,
                 int firstRow, int column, karvel::TKarvelTheory& theory,
                 const TDiagramOptions& options);

}  // namespace ostrel::diagram
