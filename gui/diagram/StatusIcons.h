// The status icons: 16 x 16 images on a transparent background, drawn once.
#pragma once

#include <QPixmap>

namespace ostrel::diagram {

inline constexpr int kStatusIconSize = 16;
//! Image 0 marks an assumption ("!"), image 1 an issue ("?").
inline constexpr int kStatusIconCount = 2;

//! The image with this index (0 <= index < kStatusIconCount). Needs a
//! QGuiApplication.
const QPixmap& StatusIcon(int index);

}  // namespace ostrel::diagram
