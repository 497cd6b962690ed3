// Which diagram control a press lands on: the topmost one holding the pixel.
#include <QGraphicsScene>

#include "DrawUnit.h"
#include "TDiagramLabel.h"
#include "TLine.h"
#include "TShapeWithDoubleClicks.h"
#include "TStatusImage.h"

namespace ostrel::diagram {

TDiagramHit DiagramHitAt(const QGraphicsScene& container, QPoint point) {
  // Candidates by bounding rectangle, then the exact half-open pixel test:
  // a control of width w at x covers the pixels x .. x + w - 1.
  const QList<QGraphicsItem*> candidates =
      container.items(QRectF(point, QSizeF(1, 1)), Qt::IntersectsItemBoundingRect, Qt::DescendingOrder);
  for (QGraphicsItem* item : candidates) {
    if (!item->isVisible() || IsDiagramGroup(item)) continue;
    TDiagramHit hit;
    if (auto* shape = qgraphicsitem_cast<TShapeWithDoubleClicks*>(item)) {
      hit.Rect = shape->Rect();
      if (!hit.Rect.contains(point)) continue;
      hit.Target = shape->IsBox() ? TDiagramHitTarget::Box : TDiagramHitTarget::Connector;
      hit.Tag = shape->Tag();
      hit.Row = shape->Row();
      hit.Column = shape->Column();
    } else if (auto* stroke = qgraphicsitem_cast<TLine*>(item)) {
      hit.Rect = stroke->Rect();
      if (!hit.Rect.contains(point)) continue;
      hit.Target = TDiagramHitTarget::Connector;
      hit.Tag = stroke->Tag();
    } else if (auto* label = qgraphicsitem_cast<TDiagramLabel*>(item)) {
      hit.Rect = label->Rect();
      if (!hit.Rect.contains(point)) continue;
      hit.Target = TDiagramHitTarget::Inert;
    } else if (auto* image = qgraphicsitem_cast<TStatusImage*>(item)) {
      hit.Rect = image->Rect();
      if (!hit.Rect.contains(point)) continue;
      hit.Target = TDiagramHitTarget::Inert;
    } else {
      hit.Rect = item->sceneBoundingRect().toAlignedRect();
      if (!item->sceneBoundingRect().contains(QPointF(point) + QPointF(0.5, 0.5))) continue;
      hit.Target = TDiagramHitTarget::Other;
    }
    return hit;
  }
  return {};
}

}  // namespace ostrel::diagram
