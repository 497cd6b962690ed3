// Pixel-exact painting helpers for the diagram's items: they fill whole
// device pixels so the drawing matches the grid geometry exactly.
#pragma once

#include <QColor>
#include <QPainter>

namespace ostrel::diagram {

//! A dotted line shows this many pixels out of every kDotPeriod.
inline constexpr int kDotPeriod = 3;
inline constexpr int kDotOn = 1;

//! Whether the pixel at container point (x, y) is set in a dotted line. The
//! phase follows container coordinates, so overlapping dotted segments of
//! one rule coincide instead of filling each other's gaps.
inline bool DotAt(int x, int y) { return (x + y) % kDotPeriod < kDotOn; }

}  // namespace ostrel::diagram
