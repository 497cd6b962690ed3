// The diagram container's viewport and its scrollable extent.
#include <QGraphicsItem>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QSize>
#include <QVariant>

#include <algorithm>

#include "DiagramItemTypes.h"
#include "DrawUnit.h"

namespace ostrel::diagram {

namespace {

// Room below the lowest control when scrolled to the end.
constexpr int kVerticalScrollMargin = 3;

// The visible items' far edges, kept on the scene: an empty extent is a null
// scene rectangle, which the scene answers by measuring all its items.
constexpr const char* kExtentProperty = "ostrelDiagramExtent";

void SetExtent(QGraphicsScene& container, int right, int bottom) {
  container.setProperty(kExtentProperty, QSize(right, bottom));
  container.setSceneRect(0, 0, right, bottom > 0 ? bottom + kVerticalScrollMargin : 0);
}

}  // namespace

void ConfigureDiagramView(QGraphicsView& view) {
  view.setAlignment(Qt::AlignLeft | Qt::AlignTop);
  view.setBackgroundBrush(Qt::white);
  view.setRenderHints(QPainter::TextAntialiasing);
  view.setTransformationAnchor(QGraphicsView::NoAnchor);
  view.setResizeAnchor(QGraphicsView::NoAnchor);
  view.setDragMode(QGraphicsView::NoDrag);
  view.resetTransform();
}

QSize VisibleItemsExtent(const QGraphicsScene& container) {
  int right = 0, bottom = 0;
  const QList<QGraphicsItem*> items = container.items();
  for (const QGraphicsItem* item : items) {
    // A run's rectangle also holds its hidden items; an item's own children
    // lie within it.
    const QGraphicsItem* parent = item->parentItem();
    if (!item->isVisible() || IsDiagramGroup(item) || (parent != nullptr && !IsDiagramGroup(parent)))
      continue;
    const QRect r = item->sceneBoundingRect().toAlignedRect();
    right = std::max(right, r.right() + 1);
    bottom = std::max(bottom, r.bottom() + 1);
  }
  return {right, bottom};
}

void UpdateDiagramExtent(QGraphicsScene& container) {
  const QSize extent = VisibleItemsExtent(container);
  SetExtent(container, extent.width(), extent.height());
}

void UpdateDiagramExtentTo(QGraphicsScene& container, int right, int bottom) {
  SetExtent(container, right, bottom);
}

void ExtendDiagramExtent(QGraphicsScene& container, int right, int bottom) {
  const QVariant kept = container.property(kExtentProperty);
  if (!kept.isValid()) {
    UpdateDiagramExtent(container);
    return;
  }
  const QSize extent = kept.toSize();
  SetExtent(container, std::max(right, extent.width()), std::max(bottom, extent.height()));
}

}  // namespace ostrel::diagram
