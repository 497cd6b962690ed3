// The refresh, the one road by which a change reaches the views: read a
// theory file, rewrite the working file, collect the argument, compute the
// interpretations and set the statuses of the first, in this order. It
// returns what the views need as one value; the window, the tools, the
// reports and the headless session only render it.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
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

//! A refresh builds at most this many interpretation buttons; the Theory
//! view still lists every interpretation.
inline constexpr int kMaxInterpretationButtons = 10000;

//! What one refresh reads and how it treats the interpretations.
struct TRefreshRequest {
  //! The file to read, unless Bytes is given.
  std::string FileName;
  //! The bytes of a file already in memory.
  std::optional<std::string_view> Bytes;
  TRefreshOptions Options;
  //! Whether the rewritten theory replaces "~tmp.kvl" (the window and the
  //! sessions); the tools write no file.
  bool WriteWorkingFile = true;
  //! Whether interpretations are searched for at all (the match report
  //! needs none).
  bool SearchInterpretations = true;
  //! Called as the search goes on; false stops it, keeping what was found.
  karvel::TSearchProgress Progress;
  //! When set, each interpretation is handed over as the search yields it
  //! and none is kept: the document then holds no interpretations and the
  //! statuses stay unset.
  karvel::TInterpretationVisitor Visit;
  //! With Visit: a theory without assumptions is searched too, giving its
  //! one empty interpretation (the interpretation lines list it).
  bool SearchWithoutAssumptions = false;
  //! Whether the summary of all interpretations is computed too, without
  //! listing them (TheoryDocument::ComputeSummary), once the lists are
  //! final; with SearchInterpretations false it is all the search there is.
  bool Summarize = false;
  //! Called once the argument's lists are final, before the search starts:
  //! a streaming writer puts them out ahead of the interpretations.
  std::function<void()> ListsReady;
};

//! The result of one refresh. The sentences belong to the document and live
//! until its next refresh.
struct TRefreshResult {
  //! Set when the file could not be read or "~tmp.kvl" not written; the
  //! document is then empty.
  std::optional<karvel::TFileError> Error;
  //! Whether interpretations were searched for (not with structure only,
  //! nor without assumptions).
  bool InterpretationsComputed = false;
  //! Whether the search was stopped before its end.
  bool SearchStopped = false;
  //! Interpretations found (kept or handed over).
  std::size_t InterpretationCount = 0;
  //! Numbered buttons to show: none below two interpretations, at most
  //! kMaxInterpretationButtons.
  int ButtonCount = 0;
  //! Text of status panel 1 ("" when no interpretations were computed).
  std::string StatusText;

  const karvel::TKarvelTheory* Theory = nullptr;
  const karvel::TListOfKarvelSentences* ArgumentSentences = nullptr;
  //! The summary, when asked for and computed: null with structure only,
  //! without assumptions, and when the progress callback stopped it.
  const karvel::TTheorySummary* Summary = nullptr;
  bool SummaryStopped = false;
  //! Empty when the interpretations were handed over instead.
  const karvel::TListOfListOfKarvelSentences* Interpretations = nullptr;

  [[nodiscard]] bool Loaded() const { return !Error.has_value(); }
};

//! Rebuilds the document from the request's file and returns what it holds.
TRefreshResult Refresh(TheoryDocument& document, const TRefreshRequest& request);

//! The request of a tool: reads fileName (or bytes) with the options and
//! writes no file.
TRefreshRequest ToolRequest(std::string fileName, const TRefreshOptions& options = {});
TRefreshRequest ToolRequestFromBytes(std::string_view bytes, const TRefreshOptions& options = {});

//! The visible side of a refresh in a window or a session that stands for one.
class TRefreshView {
 public:
  virtual ~TRefreshView() = default;
  //! Removes every box, label, line and image of the diagram.
  virtual void RemoveDiagram() = 0;
  virtual void EmptyTextViews() = 0;
  virtual void SetStatusPanel1(std::string_view text) = 0;
  //! One numbered, checkable button per interpretation, "1" pressed.
  virtual void ShowInterpretationButtons(int count) = 0;
  //! Hides the button bar and destroys its buttons.
  virtual void RemoveInterpretationButtons() = 0;
  //! Draws the refreshed argument anew; returns the drawn sentences.
  virtual const karvel::TListOfKarvelSentences& DrawDiagram(const TRefreshResult& result) = 0;
  //! The file view and the theory view with its report.
  virtual void FillTextViews(const TRefreshResult& result) = 0;
  //! Called as the interpretation search goes on; false stops it. The
  //! default lets every search run to its end.
  [[nodiscard]] virtual karvel::TSearchProgress SearchProgress() { return {}; }
  //! The file could not be read or "~tmp.kvl" not written: leave an empty,
  //! consistent document and tell the user.
  virtual void AbandonRefresh(const karvel::TFileError& error) = 0;
};

//! The refresh of a window: empties the views, refreshes the document from
//! fileName (rewriting "~tmp.kvl") and renders the result. False when the
//! refresh was abandoned; the view has then reported the error.
bool RunRefresh(TheoryDocument& document, const std::string& fileName, const TRefreshOptions& options,
                TRefreshView& view);

}  // namespace ostrel
