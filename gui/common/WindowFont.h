// The one font every window of the program uses.
#pragma once

#include <QFont>

namespace ostrel {

//! "MS Sans Serif" at 8 point where the machine has it, otherwise the closest
//! sans-serif family available (the list is tried in order).
QFont WindowFont();

}  // namespace ostrel
