// The diagram container's viewport and its scrollable extent.
#include <QGraphicsItem>
#include <QGraphicsScene>
#include <QGraphicsView>

#include <algorithm>

#include "DrawUnit.h"

namespace ostrel::diagram {

namespace {

// Room below the lowest control when scrolled to the end.
constexpr int kVerticalScrollMargin = 3;

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

void UpdateDiagramExtent(QGraphicsScene& container) {
  int right = 0, bottom = 0;
  const QList<QGraphicsItem*> items = container.items();
  for (const QGraphicsItem* item : items) {
    if (!item->isVisible() || item->parentItem() != nullptr) continue;
    const QRect r = item->sceneBoundingRect().toAlignedRect();
    right = std::max(right, r.right() + 1);
    bottom = std::max(bottom, r.bottom() + 1);
  }
  if (bottom > 0) bottom += kVerticalScrollMargin;
  container.setSceneRect(0, 0, right, bottom);
}

}  // namespace ostrel::diagram
