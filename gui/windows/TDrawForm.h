// The empty window of the diagram unit; its creation sets the diagram
// metrics. Never shown.
#pragma once

#include <QWidget>

#include "TDiagramMetrics.h"

namespace ostrel {

class TDrawForm final : public QWidget {
  Q_OBJECT

 public:
  explicit TDrawForm(QWidget* parent = nullptr);
  TDrawForm(const TDrawForm&) = delete;
  TDrawForm& operator=(const TDrawForm&) = delete;

  //! Creation handler: initialises the diagram metrics.
  void FormCreate();
  [[nodiscard]] diagram::TDiagramMetrics& Metrics() { return FMetrics; }

 private:
  diagram::TDiagramMetrics FMetrics;
};

}  // namespace ostrel
