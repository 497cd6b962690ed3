// The program's window icon, drawn at start-up (no image files to ship).
#pragma once

#include <QIcon>

namespace ostrel {

//! A small argument: a supported claim with one support and one attack.
QIcon ApplicationIcon();

}  // namespace ostrel
