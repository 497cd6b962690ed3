// DrawUnit: the argument diagram. The layout plans the argument on the grid
// (Qt-free, DiagramPlan.h); this side measures its texts and realises the
// plan as graphics items in a scene whose coordinates are the container's.
#pragma once

#include <QPoint>
#include <QRect>
#include <vector>

#include "DiagramOptions.h"
#include "DiagramPlan.h"
#include "KarvelUnit.h"
#include "TDiagramControl.h"
#include "TDiagramMetrics.h"

class QGraphicsItem;
class QGraphicsScene;
class QGraphicsView;
class QSize;

namespace ostrel::diagram {

class TDiagramGroup;

//! Removes every box, label, line and image item; other items stay.
void RemoveDiagramItems(QGraphicsScene& container);
//! Lays out every argument tree of sentences from firstRow, column and adds
//! its items to the container. Returns the plan (its DiagramSentences and
//! DiagramRowCount; the controls are the items now).
TDiagramPlan DrawDiagram(QGraphicsScene& container, const karvel::TListOfKarvelSentences& sentences,
                         int firstRow, int column, const karvel::TKarvelTheory& theory,
                         const TDiagramOptions& options, const TDiagramMetrics& metrics);
//! A drawing's items in creation order, with the kind of control each shows:
//! redraws and the window read the kinds without touching the items.
struct TDiagramItems {
  std::vector<QGraphicsItem*> Items;
  //! The control each item shows, captions left out (they point into
  //! sentences that a later refresh may delete).
  std::vector<TDiagramControl> Controls;
  //! Each item's place in the container.
  std::vector<QRect> Bounds;
  //! The runs the items are in, in order.
  std::vector<TDiagramGroup*> Groups;
  //! Set when an item was hidden since the drawing (the in-place editor
  //! hides a box): a redraw then updates every item.
  bool SomeHidden = false;
};
//! DrawDiagram from row 0, column 0 into a container that holds only the
//! diagram's items, given the current ones in creation order (replaced by the
//! new ones). When the new drawing has the same controls in the same order,
//! as after a change of interpretation, the items are updated in place;
//! otherwise the controls take over the current items of their type, in
//! order, and stack as a fresh drawing's would. Returns the plan without its
//! controls, which items now keeps.
TDiagramPlan RedrawDiagram(QGraphicsScene& container, const karvel::TListOfKarvelSentences& sentences,
                           const karvel::TKarvelTheory& theory, const TDiagramOptions& options,
                           const TDiagramMetrics& metrics, TDiagramItems& items);

//! What a press at a container point lands on.
enum class TDiagramHitTarget {
  None,       //!< free area of the container
  Box,        //!< a sentence box: presses and double clicks
  Connector,  //!< a rule's line, hit strip or stroke: presses only
  Inert,      //!< a label, "..." mark or icon on top: no handlers
  Other,      //!< an item that is not the diagram's (the in-place editor)
};
struct TDiagramHit {
  TDiagramHitTarget Target = TDiagramHitTarget::None;
  //! Index into the drawn-sentence list (Box and Connector), else -1.
  int Tag = -1;
  //! Grid cell of a box, else 0.
  int Row = 0, Column = 0;
  //! The hit control's rectangle in container coordinates.
  QRect Rect;
};
//! The topmost visible item whose rectangle holds the pixel at point.
TDiagramHit DiagramHitAt(const QGraphicsScene& container, QPoint point);

//! Sets a view up as the diagram container's viewport: white, scene origin
//! at the top-left corner, no scaling or smoothing of the pixel geometry.
void ConfigureDiagramView(QGraphicsView& view);
//! Sets the scrollable extent to the visible items from (0, 0), plus the
//! container's bottom margin; call again after showing an item below.
void UpdateDiagramExtent(QGraphicsScene& container);
//! Grows the extent set by UpdateDiagramExtent to take in visible items
//! reaching to right, bottom.
void ExtendDiagramExtent(QGraphicsScene& container, int right, int bottom);
//! The far edges of the visible items, from (0, 0), the bottom margin not
//! included.
QSize VisibleItemsExtent(const QGraphicsScene& container);
//! Sets the extent as UpdateDiagramExtent would for visible items reaching to
//! right, bottom, when those are all there are.
void UpdateDiagramExtentTo(QGraphicsScene& container, int right, int bottom);

}  // namespace ostrel::diagram
