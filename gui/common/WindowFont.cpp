#include "WindowFont.h"

#include <QStringList>

namespace ostrel {

QFont WindowFont() {
  // The first family is the design font; the others are metric-compatible or
  // common substitutes on Linux desktops, so 8 point stays legible and compact.
  QFont font;
  font.setFamilies(
      QStringList{"MS Sans Serif", "Microsoft Sans Serif", "Liberation Sans", "Arial", "DejaVu Sans"});
  font.setStyleHint(QFont::SansSerif);
  font.setPointSize(8);
  return font;
}

}  // namespace ostrel
