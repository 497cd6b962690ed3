#include "TDiagramView.h"

#include <QGraphicsItem>
#include <QGraphicsScene>
#include <QScrollBar>

#include <algorithm>

namespace ostrel {

namespace {
constexpr int kVerticalScrollMargin = 3;
}

TDiagramView::TDiagramView(QWidget* parent) : QGraphicsView(parent), FScene(new QGraphicsScene(this)) {
  setScene(FScene);
  setBackgroundBrush(Qt::white);
  FScene->setBackgroundBrush(Qt::white);
  // Cell 0, 0 must stay at the top-left corner however small the diagram is.
  setAlignment(Qt::AlignLeft | Qt::AlignTop);
  setTransformationAnchor(QGraphicsView::NoAnchor);
  setResizeAnchor(QGraphicsView::NoAnchor);
  FScene->setSceneRect(0, 0, 1, 1);
}

void TDiagramView::PlaceChild(QWidget* child, const QRect& containerGeometry) {
  if (child->parentWidget() != viewport()) child->setParent(viewport());
  auto found = std::find_if(FChildren.begin(), FChildren.end(),
                            [child](const auto& entry) { return entry.first == child; });
  if (found == FChildren.end()) {
    FChildren.emplace_back(child, containerGeometry);
  } else {
    found->second = containerGeometry;
  }
  child->setGeometry(QRect(mapFromScene(containerGeometry.topLeft()), containerGeometry.size()));
}

QRect TDiagramView::ChildGeometry(const QWidget* child) const {
  for (const auto& [widget, geometry] : FChildren) {
    if (widget == child) return geometry;
  }
  return child->geometry();
}

void TDiagramView::UpdateExtent() {
  QRectF extent(0, 0, 1, 1);
  for (const QGraphicsItem* item : FScene->items()) {
    if (item->isVisible()) extent = extent.united(item->sceneBoundingRect());
  }
  // Items never lie left of or above the origin; a stray one must not shift cell 0, 0.
  FScene->setSceneRect(0, 0, extent.right(), extent.bottom() + kVerticalScrollMargin);
  RepositionChildren();
}

void TDiagramView::scrollContentsBy(int dx, int dy) {
  QGraphicsView::scrollContentsBy(dx, dy);
  RepositionChildren();
}

void TDiagramView::RepositionChildren() {
  std::erase_if(FChildren, [](const auto& entry) { return entry.first.isNull(); });
  for (const auto& [widget, geometry] : FChildren) {
    widget->move(mapFromScene(geometry.topLeft()));
  }
}

}  // namespace ostrel
