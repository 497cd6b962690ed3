#include "ApplicationIcon.h"

#include <QPainter>
#include <QPixmap>

namespace ostrel {

QIcon ApplicationIcon() {
  QPixmap pixmap(32, 32);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(QColor(0, 0, 255), 2));
  painter.drawRect(9, 2, 14, 8);
  painter.drawRect(2, 22, 12, 8);
  painter.setPen(QPen(QColor(255, 0, 0), 2));
  painter.drawRect(18, 22, 12, 8);
  painter.setPen(QPen(Qt::black, 2));
  painter.drawPolyline(QPolygon({QPoint(8, 22), QPoint(8, 16), QPoint(24, 16), QPoint(24, 22)}));
  painter.drawLine(16, 16, 16, 10);
  painter.drawPolyline(QPolygon({QPoint(12, 14), QPoint(16, 10), QPoint(20, 14)}));
  painter.end();
  return QIcon(pixmap);
}

}  // namespace ostrel
