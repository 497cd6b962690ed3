// The document: one loaded theory file with its interpretations, argument
// sentences and theory view. Refresh (Refresh.h) runs its steps in order;
// nothing else does outside the tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "KarvelUnit.h"

namespace ostrel {

//! The minimal document written by File > New.
inline constexpr const char* kMinimalDocument = "<KARVEL>\r\n</KARVEL>\r\n";
//! The working file every load rewrites.
inline constexpr const char* kTemporaryFileName = "~tmp.kvl";
//! The placeholder sentence the two-phase commands wait with; the diagram
//! shows it blank.
inline constexpr std::string_view kPlaceholderSentenceText =
    "***This sentence occurs for technical reasons. If you see it you may have encountered a bug "
    "in the program.***";

class TheoryDocument {
 public:
  TheoryDocument();
  TheoryDocument(const TheoryDocument&) = delete;
  TheoryDocument& operator=(const TheoryDocument&) = delete;

  //! File > New: an empty theory whose file text is the minimal document.
  void ResetToMinimal();
  //! Abandoned refresh: empty theory, empty file text, no interpretations.
  //! Unlike a load it keeps the previous generation alive.
  void Clear();

  //! While a pin lives, no generation of sentences is freed: an editing
  //! command holds sentences across several reloads, some of which may fail.
  class TGenerationPin {
   public:
    explicit TGenerationPin(TheoryDocument& document);
    ~TGenerationPin();
    TGenerationPin(const TGenerationPin&) = delete;
    TGenerationPin& operator=(const TGenerationPin&) = delete;

   private:
    TheoryDocument& FDocument;
  };
  //! Pins every generation from now until the returned guard is destroyed.
  [[nodiscard]] TGenerationPin PinGenerations() { return TGenerationPin(*this); }
  //! Generations kept alive: the current one, the previous one and the pinned.
  [[nodiscard]] std::size_t LiveGenerations() const;

  //! Discards the document, reads fileName, parses it and rewrites the file
  //! text from the theory. Throws karvel::TFileError(Open); the document is
  //! then left cleared.
  void Read(const std::string& fileName, bool parseSentences);
  //! The same from the bytes of a file already in memory.
  void ReadBytes(std::string_view bytes, bool parseSentences);

  //! Computes the interpretations unless structure only is shown or there are
  //! no assumptions, and sets the statuses of the first (or clears them).
  //! progress, when given, is called while the search runs; when it returns
  //! false the document keeps the interpretations found so far, in order,
  //! and SearchStopped() tells so.
  void ComputeInterpretations(bool showStructureOnly, const karvel::TSearchProgress& progress = {});
  //! The search whatever the options, each interpretation handed to visit
  //! as it comes and none kept; the statuses stay unset. A theory without
  //! assumptions has one interpretation, the empty one.
  void StreamInterpretations(const karvel::TInterpretationVisitor& visit,
                             const karvel::TSearchProgress& progress = {});
  //! The summary of every interpretation, found without listing them,
  //! unless structure only is shown or there are no assumptions (then there
  //! is none, as there are no interpretations).
  void ComputeSummary(bool showStructureOnly, const karvel::TSearchProgress& progress = {});
  //! The last refresh's summary; null when none was computed or progress
  //! stopped it.
  [[nodiscard]] const karvel::TTheorySummary* Summary() const { return FSummary ? &*FSummary : nullptr; }
  [[nodiscard]] bool SummaryStopped() const { return FSummaryStopped; }
  //! Collects every sentence of the argument and makes every part that is
  //! neither assumption nor issue an issue.
  void CollectArgumentSentences();
  //! The theory view: assumptions, issues and the consequences report. The
  //! sentences' statuses are left as they were. progress,
  //! when given, is called after each interpretation's section with the
  //! number done so far, so that a window can stay responsive. Sections
  //! stop once the lines hold kTheoryViewBytes, or at the interpretations
  //! kept, and a last line says how many of how many it lists.
  std::vector<std::string> TheoryViewLines(const std::function<void(std::size_t done)>& progress = {});
  //! The theory view's lines one at a time, sections stopping once the lines
  //! exceed maxBytes; unbounded (SIZE_MAX), every interpretation found is
  //! listed, searched for again when more were found than kept.
  using TViewLine = std::function<void(std::string line)>;
  void WriteTheoryView(const TViewLine& line, std::size_t maxBytes = SIZE_MAX,
                       const std::function<void(std::size_t done)>& progress = {});
  //! The theory view of a window holds at most about this many bytes.
  static constexpr std::size_t kTheoryViewBytes = std::size_t{32} << 20;
  //! What drawing the argument makes of it, in the order drawn: a drawn
  //! sentence that neither list marks becomes an assumption or an issue as
  //! its text is in the lists (the issue winning), and one whose text is in
  //! neither is appended to the issues.
  void RegisterDrawnSentences(const karvel::TListOfKarvelSentences& drawn);
  //! Refreshes the variables of every assumption and issue and their parts.
  void RefreshVariables();
  //! Sets the statuses of the interpretation with this index (0-based).
  void ApplyInterpretation(int index);

  //! Text of status panel 1 after ComputeInterpretations ("" if none computed).
  [[nodiscard]] std::string StatusText() const;
  //! Whether interpretations were computed by the last refresh.
  [[nodiscard]] bool InterpretationsComputed() const { return FComputed; }
  //! Whether the last refresh's search was stopped before its end.
  [[nodiscard]] bool SearchStopped() const { return FStopped; }
  //! Interpretations the last search found, kept or streamed; of those
  //! Interpretations() keeps the first ones, as far as 64 MiB of member
  //! lists go.
  [[nodiscard]] std::size_t InterpretationCount() const { return FCount; }

  //! The working file every refresh and command rewrites: "~tmp.kvl" in the
  //! current folder unless the window keeps one of its own elsewhere.
  [[nodiscard]] const std::string& WorkingFileName() const { return FWorkingFileName; }
  void SetWorkingFileName(std::string fileName) { FWorkingFileName = std::move(fileName); }

  [[nodiscard]] karvel::TKarvelFile& File() { return *FKarvelFile; }
  [[nodiscard]] karvel::TKarvelTheory& Theory() { return *FTheory; }
  [[nodiscard]] karvel::TListOfKarvelSentences& ArgumentSentences() { return FArgumentSentences; }
  [[nodiscard]] const karvel::TListOfListOfKarvelSentences& Interpretations() const {
    return FInterpretations;
  }

  //! The file text split into lines at CR LF, without the empty piece after
  //! the final line break.
  [[nodiscard]] std::vector<std::string> FileLines() const;

 private:
  void Discard();

  std::unique_ptr<karvel::TKarvelFile> FKarvelFile;
  karvel::TListOfKarvelSentences FArgumentSentences;
  karvel::TListOfListOfKarvelSentences FInterpretations;
  std::unique_ptr<karvel::TKarvelTheory> FTheory;
  // The flags each interpretation gave the sentences SetStatuses visits, once
  // a button has shown it: pressing it again copies them back instead of
  // closing the interpretation anew. Emptied whenever the lists may change.
  struct TStatusCache {
    karvel::TListOfKarvelSentences Sentences;
    std::vector<std::vector<std::uint8_t>> Flags;  // by interpretation; empty: not kept
    std::size_t Bytes = 0;
  } FStatusCache;
  // Commands may hold sentences of the previous generation across one reload.
  std::shared_ptr<karvel::TSentenceArena> FPreviousArena;
  // Every generation discarded while a command pinned them.
  std::vector<std::shared_ptr<karvel::TSentenceArena>> FPinnedArenas;
  int FPins = 0;
  std::optional<karvel::TTheorySummary> FSummary;
  bool FSummaryStopped = false;
  std::string FWorkingFileName = kTemporaryFileName;
  std::size_t FCount = 0;
  bool FComputed = false;
  bool FStopped = false;
};

//! TheoryDocument::RegisterDrawnSentences on a theory of its own; false
//! when every drawn sentence was marked already.
bool RegisterDrawnSentences(karvel::TKarvelTheory& theory, const karvel::TListOfKarvelSentences& drawn);

//! The status text of a search that found n interpretations (or was
//! stopped after n).
std::string InterpretationCountText(std::size_t n, bool stopped);

}  // namespace ostrel
