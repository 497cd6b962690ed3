// A rectangle of the diagram: a sentence box, a connector line or a
// connector's invisible hit strip. Carries the tag of its sentence; boxes
// also their grid cell and report double clicks.
#pragma once

#include <QGraphicsItem>
#include <QPen>
#include <QRect>

#include "DiagramItemTypes.h"

namespace ostrel::diagram {

class TShapeWithDoubleClicks final : public QGraphicsItem {
 public:
  enum { Type = kShapeItemType };

  //! rect in container coordinates; a pen of Qt::NoPen paints nothing.
  TShapeWithDoubleClicks(const QRect& rect, const QPen& pen, int tag);

  //! Takes the state a new shape with these arguments would have (not a box
  //! until SetBoxCell), repainting only what changed.
  void Reset(const QRect& rect, const QPen& pen, int tag);

  [[nodiscard]] int type() const override { return Type; }
  [[nodiscard]] QRectF boundingRect() const override;
  void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

  [[nodiscard]] int Tag() const { return FTag; }
  [[nodiscard]] int Row() const { return FRow; }
  [[nodiscard]] int Column() const { return FColumn; }
  //! Makes this a sentence box in the given grid cell.
  void SetBoxCell(int row, int column);
  //! Sentence boxes report double clicks; lines and strips do not.
  [[nodiscard]] bool IsBox() const { return FIsBox; }
  [[nodiscard]] const QPen& Pen() const { return FPen; }
  //! The control's rectangle in container coordinates.
  [[nodiscard]] QRect Rect() const;

 private:
  QSize FSize;
  QPen FPen;
  int FTag;
  int FRow = 0;
  int FColumn = 0;
  bool FIsBox = false;
};

}  // namespace ostrel::diagram
