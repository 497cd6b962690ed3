// The program's icon: the scalable drawing that is also installed into the
// desktop's icon theme, rendered at the usual sizes.
#pragma once

#include <QByteArray>
#include <QIcon>
#include <QImage>

namespace ostrel {

//! The icon's SVG source, compiled into the program.
QByteArray ApplicationIconSvg();
//! The icon drawn on a transparent square of side pixels.
QImage ApplicationIconImage(int side);
//! A small argument: a supported claim with one support and one attack.
QIcon ApplicationIcon();

}  // namespace ostrel
