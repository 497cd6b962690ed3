#include "TDiagramView.h"

#include <QGraphicsScene>
#include <QScrollBar>

#include <algorithm>

#include "DrawUnit.h"

namespace ostrel {

TDiagramView::TDiagramView(QWidget* parent) : QGraphicsView(parent), FScene(new QGraphicsScene(this)) {
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

void TDiagramView::RepositionChildren() {
  std::erase_if(FChildren, [](const auto& entry) { return entry.first.isNull(); });
  for (const auto& [widget, geometry] : FChildren) {
    widget->move(mapFromScene(geometry.topLeft()));
  }
}

}  // namespace ostrel
