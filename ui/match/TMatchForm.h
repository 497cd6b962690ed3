// MatchUnit: the match window, a textual report and a diagram of the
// instances the Match command found.
#pragma once

#include <QWidget>

#include <array>

class QLabel;
class QStatusBar;
class QTabWidget;
class QTextEdit;

namespace ostrel {

class TDiagramView;

class TMatchForm final : public QWidget {
  Q_OBJECT

 public:
  explicit TMatchForm(QWidget* parent = nullptr);
  TMatchForm(const TMatchForm&) = delete;
  TMatchForm& operator=(const TMatchForm&) = delete;

  [[nodiscard]] QTextEdit* Report() const { return RichEdit1; }
  [[nodiscard]] TDiagramView* Diagram() const { return ScrollBox1; }

 private:
  void createPages();
  void createStatusBar();

  QTabWidget* PageControl1 = nullptr;
  QWidget* TabSheet1 = nullptr;
  QWidget* TabSheet2 = nullptr;
  QTextEdit* RichEdit1 = nullptr;
  TDiagramView* ScrollBox1 = nullptr;
  QStatusBar* MainStatusBar = nullptr;
  std::array<QLabel*, 2> FStatusPanels{};
};

}  // namespace ostrel
