#include "TDiagramView.h"

#include <QContextMenuEvent>
#include <QGraphicsScene>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <cmath>

#include <algorithm>

#include "DrawUnit.h"

namespace ostrel {

TDiagramView::TDiagramView(QWidget* parent) : QGraphicsView(parent), FScene(new QGraphicsScene(this)) {
  // The whole drawing is replaced on every refresh: a spatial index would be
  // rebuilt for a quarter of a million items each time, while a linear pass
  // over them per paint or press costs a few milliseconds.
  FScene->setItemIndexMethod(QGraphicsScene::NoIndex);
  setScene(FScene);
  // White, with cell 0, 0 at the top-left corner however small the diagram is.
  diagram::ConfigureDiagramView(*this);
  FScene->setBackgroundBrush(Qt::white);
  diagram::UpdateDiagramExtent(*FScene);
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
  diagram::UpdateDiagramExtent(*FScene);
  RepositionChildren();
}

void TDiagramView::scrollContentsBy(int dx, int dy) {
  QGraphicsView::scrollContentsBy(dx, dy);
  RepositionChildren();
}

namespace {

QPoint DiagramPoint(const QGraphicsView& view, QPointF viewportPoint) {
  const QPointF scene = view.mapToScene(viewportPoint.toPoint());
  return QPoint(static_cast<int>(std::floor(scene.x())), static_cast<int>(std::floor(scene.y())));
}

}  // namespace

void TDiagramView::mousePressEvent(QMouseEvent* event) {
  if (OnPress) OnPress(DiagramPoint(*this, event->position()));
  event->accept();
}

void TDiagramView::mouseDoubleClickEvent(QMouseEvent* event) {
  if (OnDoubleClick) OnDoubleClick(DiagramPoint(*this, event->position()));
  event->accept();
}

void TDiagramView::contextMenuEvent(QContextMenuEvent* event) {
  if (OnPopup) OnPopup(event->globalPos());
  event->accept();
}

void TDiagramView::SetSelectionMark(std::vector<QRect> rects) {
  if (rects == FSelectionMark) return;
  FSelectionMark = std::move(rects);
  viewport()->update();
}

void TDiagramView::drawForeground(QPainter* painter, const QRectF& rect) {
  if (FSelectionMark.empty()) return;
  // Two pixels clear of the box, so its outline keeps its status colour.
  QPen pen(QColor(0, 0, 128), 1, Qt::DotLine);
  pen.setCosmetic(true);
  painter->save();
  painter->setPen(pen);
  painter->setBrush(Qt::NoBrush);
  for (const QRect& marked : FSelectionMark) {
    const QRect frame = marked.adjusted(-2, -2, 1, 1);
    if (rect.intersects(QRectF(frame).adjusted(-1, -1, 1, 1))) painter->drawRect(frame);
  }
  painter->restore();
}

void TDiagramView::RepositionChildren() {
  std::erase_if(FChildren, [](const auto& entry) { return entry.first.isNull(); });
  for (const auto& [widget, geometry] : FChildren) {
    widget->move(mapFromScene(geometry.topLeft()));
  }
}

}  // namespace ostrel
