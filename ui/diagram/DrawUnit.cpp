#include "DrawUnit.h"

#include <QCoreApplication>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <algorithm>

#include "TDiagramLabel.h"
#include "TDiagramLayout.h"
#include "TLine.h"
#include "TSceneBuilder.h"
#include "TShapeWithDoubleClicks.h"
#include "TStatusImage.h"

namespace ostrel::diagram {

karvel::TListOfKarvelSentences DiagramSentences;
int DiagramRowCount = 0;

namespace {

// Room below the lowest control when scrolled to the end.
constexpr int kVerticalScrollMargin = 3;

}  // namespace

void RemoveDiagramItems(QGraphicsScene& container) {
  // Deleting items one at a time costs a search of the scene's lists per
  // item, quadratic on a large diagram; clearing is linear. So the few items
  // that are not the diagram's are taken out, the scene cleared, and they are
  // put back in their stacking order.
  std::vector<QGraphicsItem*> kept;
  bool any = false;
  const QList<QGraphicsItem*> items = container.items(Qt::AscendingOrder);
  for (QGraphicsItem* item : items) {
    if (item->parentItem() != nullptr) continue;
    if (IsDiagramItem(item))
      any = true;
    else
      kept.push_back(item);
  }
  if (!any) return;
  // Items added since the event loop last ran wait in a list of items to
  // polish that every single removal searches; polishing them first keeps a
  // second rebuild within one command linear.
  QCoreApplication::sendPostedEvents(&container, QEvent::MetaCall);
  for (QGraphicsItem* item : kept) container.removeItem(item);
  container.clear();
  for (QGraphicsItem* item : kept) container.addItem(item);
  UpdateDiagramExtent(container);
}

int DrawDiagramInto(QGraphicsScene& container, const karvel::TListOfKarvelSentences& sentences,
                    int firstRow, int column, karvel::TKarvelTheory& theory,
                    const TDiagramOptions& options, karvel::TListOfKarvelSentences& drawn) {
  TSceneBuilder builder(container);
  TDiagramLayout layout(builder, theory, options, TDiagramMetrics::Current());
  const int rowCount = layout.DrawDiagram(sentences, firstRow, column, drawn);
  UpdateDiagramExtent(container);
  return rowCount;
}

void DrawDiagram(QGraphicsScene& container, const karvel::TListOfKarvelSentences& sentences,
                 int firstRow, int column, karvel::TKarvelTheory& theory,
                 const TDiagramOptions& options) {
  DiagramRowCount =
      DrawDiagramInto(container, sentences, firstRow, column, theory, options, DiagramSentences);
}

TDiagramHit DiagramHitAt(const QGraphicsScene& container, QPoint point) {
  // Candidates by bounding rectangle, then the exact half-open pixel test:
  // a control of width w at x covers the pixels x .. x + w - 1.
  const QList<QGraphicsItem*> candidates =
      container.items(QRectF(point, QSizeF(1, 1)), Qt::IntersectsItemBoundingRect,
                      Qt::DescendingOrder);
  for (QGraphicsItem* item : candidates) {
    if (!item->isVisible()) continue;
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
