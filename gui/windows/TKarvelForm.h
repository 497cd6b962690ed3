// The empty window of the logic unit; created at start-up, never shown.
#pragma once

#include <QWidget>

namespace ostrel {

class TKarvelForm final : public QWidget {
  Q_OBJECT

 public:
  explicit TKarvelForm(QWidget* parent = nullptr);
  TKarvelForm(const TKarvelForm&) = delete;
  TKarvelForm& operator=(const TKarvelForm&) = delete;
};

}  // namespace ostrel
