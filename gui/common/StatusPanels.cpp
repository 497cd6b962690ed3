#include "StatusPanels.h"

#include <QLabel>
#include <QStatusBar>

namespace ostrel {

std::array<QLabel*, 2> AddStatusPanels(QStatusBar& statusBar) {
  constexpr int kPanelWidth = 50;
  std::array<QLabel*, 2> panels{};
  for (std::size_t i = 0; i < panels.size(); ++i) {
    auto* panel = new QLabel(&statusBar);
    panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setMinimumWidth(kPanelWidth);
    panels[i] = panel;
  }
  panels[0]->setFixedWidth(kPanelWidth);
  statusBar.addWidget(panels[0], 0);
  statusBar.addWidget(panels[1], 1);
  return panels;
}

}  // namespace ostrel
