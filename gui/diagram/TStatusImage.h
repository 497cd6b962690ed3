// The 16 x 16 status icon of a sentence box: a white square holding the
// assumption or issue mark, or nothing.
#pragma once

#include <QGraphicsItem>

#include "DiagramItemTypes.h"

namespace ostrel::diagram {

class TStatusImage final : public QGraphicsItem {
 public:
  enum { Type = kStatusImageItemType };

  //! index 0 assumption mark, 1 issue mark, -1 none.
  TStatusImage(const QPoint& topLeft, int index);

  //! Takes the state a new image with these arguments would have.
  void Reset(const QPoint& topLeft, int index);

  [[nodiscard]] int type() const override { return Type; }
  [[nodiscard]] QRectF boundingRect() const override;
  void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

  [[nodiscard]] int ImageIndex() const { return FIndex; }
  //! The control's rectangle in container coordinates.
  [[nodiscard]] QRect Rect() const;

 private:
  int FIndex;
};

}  // namespace ostrel::diagram
