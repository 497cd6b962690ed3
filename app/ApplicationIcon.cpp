#include "ApplicationIcon.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

#include "ApplicationIconSvg.h"

namespace ostrel {

QByteArray ApplicationIconSvg() { return QByteArray(kApplicationIconSvg); }

QImage ApplicationIconImage(int side) {
  QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QSvgRenderer renderer(ApplicationIconSvg());
  QPainter painter(&image);
  renderer.render(&painter, QRectF(0, 0, side, side));
  return image;
}

QIcon ApplicationIcon() {
  // Drawn here rather than through an icon engine plugin, which a machine
  // may lack.
  QIcon icon;
  for (const int side : {16, 24, 32, 48, 64, 128})
    icon.addPixmap(QPixmap::fromImage(ApplicationIconImage(side)));
  return icon;
}

}  // namespace ostrel
