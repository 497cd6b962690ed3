// One diagonal stroke of an arrowhead or cross. Its bounds span the two end
// points; it paints the diagonal that joins them, whichever way they were
// given.
#pragma once

#include <QColor>
#include <QGraphicsItem>
#include <QRect>
#include <vector>

#include "DiagramItemTypes.h"

namespace ostrel::diagram {

class TLine final : public QGraphicsItem {
 public:
  enum { Type = kLineItemType };

  //! End points in container coordinates.
  TLine(int x1, int y1, int x2, int y2, const QColor& color, int tag);

  //! Takes the state a new stroke with these arguments would have,
  //! repainting only what changed.
  void Reset(int x1, int y1, int x2, int y2, const QColor& color, int tag);

  [[nodiscard]] int type() const override { return Type; }
  [[nodiscard]] QRectF boundingRect() const override;
  void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

  [[nodiscard]] int Tag() const { return FTag; }
  [[nodiscard]] int X1() const { return FX1; }
  [[nodiscard]] int X2() const { return FX2; }
  [[nodiscard]] int Y1() const { return FY1; }
  [[nodiscard]] int Y2() const { return FY2; }
  [[nodiscard]] const QColor& Color() const { return FColor; }
  //! The control's rectangle in container coordinates.
  [[nodiscard]] QRect Rect() const;
  //! Whether the stroke runs from the top-left to the bottom-right corner of
  //! its bounds (both coordinates change the same way).
  [[nodiscard]] bool FallsToTheRight() const;
  //! The pixels the stroke sets, in its own coordinates: the line from its
  //! start corner to its end corner, end excluded, clipped to its bounds.
  [[nodiscard]] std::vector<QPoint> Pixels() const;

 private:
  int FX1, FX2, FY1, FY2;
  QColor FColor;
  int FTag;
};

}  // namespace ostrel::diagram
