#include "TDiagramLabel.h"

#include <QFontMetrics>
#include <QPainter>

namespace ostrel::diagram {

TDiagramLabel::TDiagramLabel(const QPoint& topLeft, int width, int height, const QString& text,
                             const QFont& font, const QColor& color, bool opaque)
    : FSize(width, height), FText(text), FFont(font), FColor(color), FOpaque(opaque) {
  setPos(topLeft);
  setAcceptedMouseButtons(Qt::NoButton);
}

void TDiagramLabel::Reset(const QPoint& topLeft, int width, int height, const QString& text,
                          const QFont& font, const QColor& color, bool opaque) {
  const QSize size(width, height);
  if (size != FSize) {
    prepareGeometryChange();
    FSize = size;
  }
  if (pos() != QPointF(topLeft)) setPos(topLeft);
  if (text != FText || font != FFont || color != FColor || opaque != FOpaque) {
    FText = text;
    FFont = font;
    FColor = color;
    FOpaque = opaque;
    update();
  }
}

QRectF TDiagramLabel::boundingRect() const { return QRectF(QPointF(0, 0), FSize); }

QRect TDiagramLabel::Rect() const { return QRect(pos().toPoint(), FSize); }

void TDiagramLabel::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) {
  const QRect bounds(QPoint(0, 0), FSize);
  painter->save();
  // A label keeps its text inside its own rectangle, as the box is sized
  // from it; an italic overhang must not spill onto the box outline.
  painter->setClipRect(bounds);
  if (FOpaque) painter->fillRect(bounds, Qt::white);
  painter->setFont(FFont);
  painter->setPen(FColor);
  painter->drawText(QPointF(0, QFontMetrics(FFont).ascent()), FText);
  painter->restore();
}

}  // namespace ostrel::diagram
