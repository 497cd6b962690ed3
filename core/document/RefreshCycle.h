// The refresh cycle, the one road by which a change reaches the views: read a
// theory file, rewrite the working file, compute the interpretations, collect
// the argument, draw it and fill the text views, in this order. The window and
// the headless session supply what each step shows.
#pragma once

#include <string>
#include <string_view>

#include "TheoryDocument.h"

namespace ostrel {

//! The three options of the Options menu.
struct TRefreshOptions {
  bool ShowStructureOnly = false;
  bool ParseSentences = true;
  bool ShowDialecticalNegations = true;
};

//! The visible side of a refresh.
class TRefreshView {
 public:
  virtual ~TRefreshView() = default;
  //! Removes every box, label, line and image of the diagram.
  virtual void RemoveDiagram() = 0;
  virtual void EmptyTextViews() = 0;
  virtual void InitDiagramMetrics() = 0;
  virtual void SetStatusPanel1(std::string_view text) = 0;
  //! One numbered, checkable button per interpretation, "1" pressed.
  virtual void ShowInterpretationButtons(int count) = 0;
  //! Hides the button bar and destroys its buttons.
  virtual void RemoveInterpretationButtons() = 0;
  //! Draws the document's argument sentences anew.
  virtual void DrawDiagram() = 0;
  //! The file view and the theory view with its report.
  virtual void FillTextViews() = 0;
  //! Called as the interpretation search goes on; false stops it. The
  //! default lets every search run to its end.
  [[nodiscard]] virtual karvel::TSearchProgress SearchProgress() { return {}; }
  //! The file could not be read or "~tmp.kvl" not written: leave an empty,
  //! consistent document and tell the user.
  virtual void AbandonRefresh(const karvel::TFileError& error) = 0;
};

//! A refresh builds at most this many interpretation buttons; the Theory
//! view still lists every interpretation.
inline constexpr int kMaxInterpretationButtons = 10000;

//! Rebuilds the document and every view from fileName. False when the refresh
//! was abandoned; the view has then reported the error.
bool RunRefresh(TheoryDocument& document, const std::string& fileName, const TRefreshOptions& options,
                TRefreshView& view);

}  // namespace ostrel
