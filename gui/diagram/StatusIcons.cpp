#include "StatusIcons.h"

#include <QImage>
#include <array>

namespace ostrel::diagram {

namespace {

using TPixelArt = std::array<const char*, kStatusIconSize>;

// Drawn as pixel art so the marks stay crisp at their small size. The dot
// sits high enough to stay clear of an attack's cross on the box's edge.
constexpr TPixelArt kExclamationMark = {
    "................", ".......##.......", ".......##.......", ".......##.......",
    ".......##.......", ".......##.......", ".......##.......", ".......##.......",
    ".......##.......", "................", ".......##.......", ".......##.......",
    "................", "................", "................", "................",
};
constexpr TPixelArt kQuestionMark = {
    "................", "......####......", ".....##..##.....", ".....##..##.....",
    ".........##.....", "........##......", ".......##.......", ".......##.......",
    ".......##.......", "................", ".......##.......", ".......##.......",
    "................", "................", "................", "................",
};

QPixmap Draw(const TPixelArt& art) {
  QImage image(kStatusIconSize, kStatusIconSize, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  for (int y = 0; y < kStatusIconSize; ++y)
    for (int x = 0; x < kStatusIconSize; ++x)
      if (art[y][x] == '#') image.setPixel(x, y, qRgb(0, 0, 0));
  return QPixmap::fromImage(image);
}

}  // namespace

const QPixmap& StatusIcon(int index) {
  static const std::array<QPixmap, kStatusIconCount> icons = {Draw(kExclamationMark), Draw(kQuestionMark)};
  return icons.at(static_cast<std::size_t>(index));
}

}  // namespace ostrel::diagram
