// Graphics item type numbers of the diagram's items, in one place so they
// never collide.
#pragma once

#include <QGraphicsItem>

namespace ostrel::diagram {

enum TDiagramItemType {
  kShapeItemType = QGraphicsItem::UserType + 1,
  kLineItemType = QGraphicsItem::UserType + 2,
  kStatusImageItemType = QGraphicsItem::UserType + 3,
  kLabelItemType = QGraphicsItem::UserType + 4,
  kGroupItemType = QGraphicsItem::UserType + 5,
};

//! Whether the item is one the diagram created (box, line, strip, stroke,
//! label, mark or icon, or a group holding a run of them).
inline bool IsDiagramItem(const QGraphicsItem* item) {
  const int type = item->type();
  return type >= kShapeItemType && type <= kGroupItemType;
}

//! Whether the item only holds a run of diagram items.
inline bool IsDiagramGroup(const QGraphicsItem* item) { return item->type() == kGroupItemType; }

}  // namespace ostrel::diagram
