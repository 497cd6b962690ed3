#include "TStatusImage.h"

#include <QPainter>

#include "StatusIcons.h"

namespace ostrel::diagram {

TStatusImage::TStatusImage(const QPoint& topLeft, int index) : FIndex(index) {
  setPos(topLeft);
  setAcceptedMouseButtons(Qt::NoButton);
}

void TStatusImage::Reset(const QPoint& topLeft, int index) {
  if (pos() != QPointF(topLeft)) setPos(topLeft);
  if (index != FIndex) {
    FIndex = index;
    update();
  }
}

QRectF TStatusImage::boundingRect() const { return QRectF(0, 0, kStatusIconSize, kStatusIconSize); }

QRect TStatusImage::Rect() const { return QRect(pos().toPoint(), QSize(kStatusIconSize, kStatusIconSize)); }

void TStatusImage::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) {
  // The icon is drawn onto a white image, so the control is an opaque white
  // square even where the icon is transparent, and when there is none.
  painter->fillRect(0, 0, kStatusIconSize, kStatusIconSize, Qt::white);
  if (FIndex >= 0 && FIndex < kStatusIconCount) painter->drawPixmap(0, 0, StatusIcon(FIndex));
}

}  // namespace ostrel::diagram
