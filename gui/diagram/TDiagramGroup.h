// A run of consecutive diagram items under one parent that draws nothing and
// whose rectangle holds all of them: painting and hit tests pass over a run
// off screen as one item instead of hundreds, since the scene has no index.
#pragma once

#include <QGraphicsItem>

#include "DiagramItemTypes.h"

namespace ostrel::diagram {

class TDiagramGroup final : public QGraphicsItem {
 public:
  enum { Type = kGroupItemType };
  //! Controls per run: small enough that a visible run paints little that
  //! is not seen, large enough that a long diagram has few runs.
  static constexpr std::size_t kSize = 256;

  TDiagramGroup() { setFlag(ItemContainsChildrenInShape); }

  [[nodiscard]] int type() const override { return Type; }
  [[nodiscard]] QRectF boundingRect() const override { return FBounds; }
  void paint(QPainter*, const QStyleOptionGraphicsItem*, QWidget*) override {}

  //! The rectangle of the items in the run, in container coordinates (the
  //! group stays at the origin, so its children's positions are theirs).
  void SetBounds(const QRect& bounds) {
    if (QRectF(bounds) == FBounds) return;
    prepareGeometryChange();
    FBounds = QRectF(bounds);
  }

 private:
  QRectF FBounds;
};

}  // namespace ostrel::diagram
