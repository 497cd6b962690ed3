#include "TLine.h"

#include <QPainter>
#include <algorithm>
#include <cstdlib>

namespace ostrel::diagram {

TLine::TLine(int x1, int y1, int x2, int y2, const QColor& color, int tag)
    : FX1(x1), FX2(x2), FY1(y1), FY2(y2), FColor(color), FTag(tag) {
  setPos(std::min(x1, x2), std::min(y1, y2));
  setAcceptedMouseButtons(Qt::NoButton);
}

void TLine::Reset(int x1, int y1, int x2, int y2, const QColor& color, int tag) {
  FTag = tag;
  if (x1 == FX1 && y1 == FY1 && x2 == FX2 && y2 == FY2 && color == FColor) return;
  const QSize size(std::abs(x1 - x2), std::abs(y1 - y2));
  if (size != Rect().size()) prepareGeometryChange();
  FX1 = x1;
  FY1 = y1;
  FX2 = x2;
  FY2 = y2;
  FColor = color;
  setPos(std::min(x1, x2), std::min(y1, y2));
  update();
}

QRect TLine::Rect() const {
  return QRect(std::min(FX1, FX2), std::min(FY1, FY2), std::abs(FX1 - FX2), std::abs(FY1 - FY2));
}

QRectF TLine::boundingRect() const { return QRectF(QPointF(0, 0), Rect().size()); }

bool TLine::FallsToTheRight() const { return (FX1 > FX2 && FY1 > FY2) || (FX1 <= FX2 && FY1 <= FY2); }

std::vector<QPoint> TLine::Pixels() const {
  const int w = std::abs(FX1 - FX2), h = std::abs(FY1 - FY2);
  // From (0, 0) to (w, h), or from (0, h) to (w, 0).
  const int x0 = 0, y0 = FallsToTheRight() ? 0 : h;
  const int x1 = w, y1 = FallsToTheRight() ? h : 0;
  std::vector<QPoint> pixels;
  const int dx = x1 - x0, dy = std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
  int err = dx - dy, x = x0, y = y0;
  // Bresenham, the end point left out as a line-to leaves it.
  while (x != x1 || y != y1) {
    if (x >= 0 && x < w && y >= 0 && y < h) pixels.emplace_back(x, y);
    const int e2 = 2 * err;
    if (e2 > -dy) {
      err -= dy;
      ++x;
    }
    if (e2 < dx) {
      err += dx;
      y += sy;
    }
  }
  return pixels;
}

void TLine::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) {
  // Only the colour is the stroke's own; width and style stay solid 1 px.
  for (const QPoint& p : Pixels()) painter->fillRect(p.x(), p.y(), 1, 1, FColor);
}

}  // namespace ostrel::diagram
