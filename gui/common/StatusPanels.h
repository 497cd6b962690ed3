// The two-panel status bar both the main and the match window carry.
#pragma once

#include <array>

class QLabel;
class QStatusBar;

namespace ostrel {

//! Adds panel 0 (50 wide) and panel 1 (at least 50, running to the right end).
std::array<QLabel*, 2> AddStatusPanels(QStatusBar& statusBar);

}  // namespace ostrel
