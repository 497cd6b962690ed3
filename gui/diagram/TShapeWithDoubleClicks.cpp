#include "TShapeWithDoubleClicks.h"

#include <QPainter>

#include "PixelPainting.h"

namespace ostrel::diagram {

TShapeWithDoubleClicks::TShapeWithDoubleClicks(const QRect& rect, const QPen& pen, int tag)
    : FSize(rect.size()), FPen(pen), FTag(tag) {
  setPos(rect.topLeft());
  setAcceptedMouseButtons(Qt::NoButton);
  if (pen.style() == Qt::NoPen) setFlag(ItemHasNoContents);
}

void TShapeWithDoubleClicks::Reset(const QRect& rect, const QPen& pen, int tag) {
  if (rect.size() != FSize) {
    prepareGeometryChange();
    FSize = rect.size();
  }
  if (pos() != QPointF(rect.topLeft())) setPos(rect.topLeft());
  if (pen != FPen) {
    FPen = pen;
    setFlag(ItemHasNoContents, pen.style() == Qt::NoPen);
    update();
  }
  FTag = tag;
  FIsBox = false;
  FRow = FColumn = 0;
}

QRectF TShapeWithDoubleClicks::boundingRect() const { return QRectF(QPointF(0, 0), FSize); }

QRect TShapeWithDoubleClicks::Rect() const { return QRect(pos().toPoint(), FSize); }

void TShapeWithDoubleClicks::SetBoxCell(int row, int column) {
  FIsBox = true;
  FRow = row;
  FColumn = column;
}

void TShapeWithDoubleClicks::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) {
  const int w = FSize.width(), h = FSize.height();
  if (FPen.style() == Qt::NoPen || w <= 0 || h <= 0) return;
  const QColor color = FPen.color();
  if (FPen.style() != Qt::DotLine) {
    // The outline of the rectangle, inside it; a 1 px high or wide shape is
    // a line.
    painter->fillRect(0, 0, w, 1, color);
    painter->fillRect(0, h - 1, w, 1, color);
    painter->fillRect(0, 0, 1, h, color);
    painter->fillRect(w - 1, 0, 1, h, color);
    return;
  }
  const int left = static_cast<int>(pos().x()), top = static_cast<int>(pos().y());
  auto dot = [&](int x, int y) {
    if (DotAt(left + x, top + y)) painter->fillRect(x, y, 1, 1, color);
  };
  for (int x = 0; x < w; ++x) {
    dot(x, 0);
    if (h > 1) dot(x, h - 1);
  }
  for (int y = 1; y + 1 < h; ++y) {
    dot(0, y);
    if (w > 1) dot(w - 1, y);
  }
}

}  // namespace ostrel::diagram
