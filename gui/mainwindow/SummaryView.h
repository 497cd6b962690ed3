// The summary of all interpretations in the window: an "All" choice before
// the interpretation buttons that draws every box by what holds in all, some
// or none of them, with a legend, and a "Summary" page listing the same as
// `ostrel-report --summary`. The summary is computed only when one of them
// is asked for, so a refresh costs what it did, and nothing else of the
// window changes while neither is chosen.
#pragma once

#include <QString>

#include <functional>
#include <vector>

#include "TheoryDocument.h"

class QAction;
class QActionGroup;
class QGraphicsItem;
class QLabel;
class QTabWidget;
class QTextEdit;
class QToolBar;
class QWidget;

namespace ostrel {

class TDiagramView;
namespace diagram {
class TShapeWithDoubleClicks;
}

class TSummaryView {
 public:
  //! What the view needs of the window.
  struct THost {
    TheoryDocument* Document = nullptr;
    TDiagramView* Diagram = nullptr;
    //! The bar of the interpretation buttons (the "All" choice goes first)
    //! and their group.
    QToolBar* ButtonBar = nullptr;
    QActionGroup* Buttons = nullptr;
    QTabWidget* Pages = nullptr;
    //! Draws the diagram from the sentences' flags.
    std::function<void()> Redraw;
    //! The drawn boxes and the drawn sentences their tags index.
    std::function<const std::vector<diagram::TShapeWithDoubleClicks*>&()> Boxes;
    std::function<const karvel::TListOfKarvelSentences&()> DrawnSentences;
    //! Whether only the structure is shown (then nothing is summarized).
    std::function<bool()> StructureOnly;
    //! How long a summary runs before its progress dialog shows.
    std::function<int()> DialogDelayMs;
  };
  explicit TSummaryView(THost host);
  ~TSummaryView();
  TSummaryView(const TSummaryView&) = delete;
  TSummaryView& operator=(const TSummaryView&) = delete;

  //! A refresh begins: the summary, its drawing and its legend are gone.
  void Reset();
  //! A refresh ended: the page is filled if it is the one shown.
  void Refreshed();
  //! A numbered button was pressed: the "All" choice gives way.
  void Leave();

  [[nodiscard]] QAction* AllButton() const { return FAll; }
  [[nodiscard]] QWidget* Page() const { return FPage; }
  [[nodiscard]] bool Chosen() const { return FChosen; }
  //! The summary of the current document, computing it first; null when
  //! there is none (structure only, no assumptions) or it was cancelled.
  const karvel::TTheorySummary* Summary();

 private:
  void ChooseAll();
  void DrawFrames();
  void RemoveFrames();
  void FillPage();

  THost FHost;
  QAction* FAll = nullptr;
  QWidget* FPage = nullptr;
  QTextEdit* FText = nullptr;
  QLabel* FLegend = nullptr;
  std::vector<QGraphicsItem*> FFrames;
  bool FComputed = false;
  bool FPageFilled = false;
  bool FChosen = false;
};

//! The lines of the Summary page for a theory and its summary (null: none
//! computed).
std::vector<std::string> SummaryLines(const karvel::TKarvelTheory& theory,
                                      const karvel::TTheorySummary* summary, bool cancelled);

}  // namespace ostrel
