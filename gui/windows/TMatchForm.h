// MatchUnit: the match window, a textual report and a diagram of the
// instances the Match command found.
#pragma once

#include <QWidget>

#include <array>
#include <memory>
#include <string_view>

#include "DiagramOptions.h"
#include "KarvelUnit.h"

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
  ~TMatchForm() override;
  TMatchForm(const TMatchForm&) = delete;
  TMatchForm& operator=(const TMatchForm&) = delete;

  //! One run of the Match command for the selected sentence's text against
  //! the main document's theory: the report, the drawing of the instances of
  //! the other matches, and the window shown, not modal. The drawing has a
  //! theory and a list of drawn sentences of its own, so the main document
  //! and the main diagram's list stay as they are.
  void ShowMatches(std::string_view text, karvel::TKarvelTheory& theory,
                   const diagram::TDiagramOptions& options);

  [[nodiscard]] QTextEdit* Report() const { return RichEdit1; }
  [[nodiscard]] TDiagramView* Diagram() const { return ScrollBox1; }
  //! The sentences the drawing shows, indexed by its items' tags.
  [[nodiscard]] const karvel::TListOfKarvelSentences& DiagramSentences() const { return FDiagramSentences; }

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

  // The drawing's own theory: its arena owns the instances and their parts
  // for as long as they are shown, and the layout registers parts in it.
  std::unique_ptr<karvel::TKarvelTheory> FTheory;
  karvel::TListOfKarvelSentences FInstances;
  karvel::TListOfKarvelSentences FDiagramSentences;
};

}  // namespace ostrel
