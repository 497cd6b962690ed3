// The theory (assumptions and issues), its tagged file format, and the
// dialectical interpretations with the statuses they give.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "KarvelSentence.h"

namespace karvel {

//! The largest theory file the program reads.
inline constexpr std::uint64_t kMaxFileBytes = std::uint64_t{256} << 20;

//! A file that could not be read ("Cannot open file NAME") or written
//! ("Cannot create file NAME"), one over kMaxFileBytes ("File too large:
//! NAME"), or one whose contents did not fit into memory ("Not enough memory
//! to read NAME").
class TFileError : public std::runtime_error {
 public:
  enum class TKind { Open, Create, TooLarge, OutOfMemory };
  TFileError(TKind kind, std::string fileName);
  [[nodiscard]] TKind Kind() const { return FKind; }
  [[nodiscard]] const std::string& FileName() const { return FFileName; }

 private:
  TKind FKind;
  std::string FFileName;
};

//! The tagged text of one theory, "<KARVEL>" through "</KARVEL>" CR LF.
class TKarvelFile {
 public:
  std::string Text;

  //! Reads a file: line ends normalised to CR LF, cut to the first
  //! <KARVEL>...</KARVEL> block; Text is unchanged when there is none.
  //! Throws TFileError(Open) when the file cannot be read.
  void LoadFromFile(const std::string& fileName);
  //! Sets Text from raw file bytes exactly as LoadFromFile does.
  void LoadFromBytes(std::string_view bytes);
  //! Writes Text followed by CR LF, replacing the target atomically; with
  //! flushToDisk the bytes reach the disk before the target is replaced.
  //! Throws TFileError(Create) when the file cannot be written.
  void SaveToFile(const std::string& fileName, bool flushToDisk = false) const;
};

//! The bytes of a regular file as they are, opened without blocking.
//! Throws TFileError(Open) for anything but a regular file, (TooLarge)
//! beyond kMaxFileBytes and (OutOfMemory) when the bytes do not fit.
std::string ReadFileBytes(const std::string& fileName);
//! Writes the pieces one after another to a sibling ".NAME.XXXXXX", flushes
//! its data and renames it over the target. Throws TFileError(Create).
void WriteFileAtomically(const std::string& fileName, std::initializer_list<std::string_view> pieces,
                         bool flushToDisk = false);
//! Removes the siblings of fileName that a writer killed before its rename
//! left behind (one being written now is left alone); how many it removed.
std::size_t RemoveStaleTemporaryFiles(const std::string& fileName);

//! A failure the file layer can be made to fake, for tests and fuzzers
//! that check what the program does on a full disk or a failing rename.
enum class TWriteFault { None, NoSpace, RenameFails };
class TWriteFaults {
 public:
  virtual ~TWriteFaults() = default;
  //! Whether the next step of this kind fails.
  virtual bool Next(TWriteFault fault) = 0;
};
//! Installs the faults (null: none) for every later write of the process.
void SetWriteFaults(TWriteFaults* faults);

//! Position (1-based, 0 if none) of the first tag in text; on success rest is
//! the trimmed text after it, otherwise rest is text.
bool TextAfterTag(std::string_view text, std::string_view tag, int& position, std::string_view& rest);

//! Called while a search runs with the number of interpretations found so
//! far, often enough to keep a window responsive; false stops the search.
using TSearchProgress = std::function<bool(std::size_t found)>;
//! Receives the interpretations of a search one at a time, in order.
using TInterpretationVisitor = std::function<void(const TListOfKarvelSentences&)>;
//! Whether a search ran to its end or its progress callback stopped it.
enum class TSearchOutcome { Complete, Stopped };

//! In how many of the interpretations a sentence has a status.
enum class TExtent : std::uint8_t { None, Some, All };
//! How many interpretations a theory has, as far as its summary tells.
enum class TMultiplicity : std::uint8_t { None, One, Several };

//! What holds across all interpretations: for every assumption and issue,
//! in list order, whether it is justified, and whether it is defeated, in
//! all, some or none of them. With no interpretations every extent is None.
struct TTheorySummary {
  struct TEntry {
    TExtent Justified = TExtent::None;
    TExtent Defeated = TExtent::None;
    bool operator==(const TEntry&) const = default;
  };
  TMultiplicity Interpretations = TMultiplicity::None;
  std::vector<TEntry> Assumptions, Issues;
  bool operator==(const TTheorySummary&) const = default;
};

class TKarvelTheory {
 public:
  std::string Text;
  TListOfKarvelSentences Assumptions;
  TListOfKarvelSentences Issues;

  TKarvelTheory();
  TKarvelTheory(const TKarvelTheory&) = delete;
  TKarvelTheory& operator=(const TKarvelTheory&) = delete;

  //! The arena that owns the sentences this theory reads and builds.
  [[nodiscard]] TSentenceArena& Arena() { return *FArena; }
  [[nodiscard]] std::shared_ptr<TSentenceArena> SharedArena() const { return FArena; }

  //! Text := the trimmed text after the first <THEORY> of the file text.
  void LoadFromKarvelFile(const TKarvelFile& file);
  //! Fills Assumptions and Issues from Text. With parseSentences the text of
  //! every elementary element is parsed into a structured sentence.
  void ParseText(bool parseSentences = true);
  //! Removes duplicates from both lists, then writes the flagged entries.
  void SaveToKarvelFile(TKarvelFile& file);
  //! Reads one sentence element from the front of text.
  bool ReadTaggedSentence(std::string_view text, TKarvelSentence*& sentence, std::string_view& rest,
                          bool parseSentences = true);
  //! Sets IsAssumption on every part that equals an assumption.
  void MarkAssumptionsIn(const TListOfKarvelSentences& sentences);
  void MarkAssumptions();
  //! result := prefix + the tagged lines of the sentence.
  static void AppendTaggedSentence(const std::string& prefix, const TKarvelSentence* sentence,
                                   std::string& result);
  //! Appends the tagged lines of the sentence to out.
  static void AppendTaggedLines(const TKarvelSentence* sentence, std::string& out);

  //! One step of the grounded fixpoint; true if it added anything.
  bool ExtendGroundedAssumptions(TListOfKarvelSentences& list);
  //! The least fixpoint of ExtendGroundedAssumptions.
  void ComputeGroundedAssumptions(TListOfKarvelSentences& list);
  //! Every dialectical interpretation, in the order of the plain enumeration.
  void ComputeInterpretations(TListOfListOfKarvelSentences& interpretations);
  //! The same, reporting progress; when stopped, the interpretations found
  //! until then, in the same order.
  TSearchOutcome ComputeInterpretations(TListOfListOfKarvelSentences& interpretations,
                                        const TSearchProgress& progress);
  //! The interpretations in order, built one at a time for the visitor
  //! (after the search: the visits come once it has ended or was stopped).
  TSearchOutcome ForEachInterpretation(const TInterpretationVisitor& visit,
                                       const TSearchProgress& progress = {});
  //! Justified / defeated flags of every assumption, issue and part.
  void SetStatuses(const TListOfKarvelSentences& interpretation);
  //! Every sentence SetStatuses gives flags, in the order it visits them.
  [[nodiscard]] TListOfKarvelSentences StatusSentences() const;
  //! The flags SetStatuses would give the assumptions and the issues
  //! themselves (their parts aside), in list order, changing nothing.
  struct TStatus {
    bool Justified = false;
    bool Defeated = false;
  };
  void StatusesOf(const TListOfKarvelSentences& interpretation, std::vector<TStatus>& assumptions,
                  std::vector<TStatus>& issues) const;
  //! The summary of every interpretation, without listing them: a few
  //! solver calls, each model answering every question it can. Equals what
  //! StatusesOf over the full enumeration gives. When progress stops it the
  //! summary is incomplete.
  TSearchOutcome Summarize(TTheorySummary& summary, const TSearchProgress& progress = {});

 private:
  std::shared_ptr<TSentenceArena> FArena;
};

//! The input without text duplicates, closed under its member conditionals,
//! in the order of repeated passes.
void DeductiveClosure(const TListOfKarvelSentences& sentences, TListOfKarvelSentences& closure);
//! firedBy[k] for closure[k]: kNotFired for an input sentence, else the
//! closure index of the conditional whose firing added it (always below k).
inline constexpr std::size_t kNotFired = static_cast<std::size_t>(-1);
//! The same closure, telling how each sentence first came in.
void DeductiveClosure(const TListOfKarvelSentences& sentences, TListOfKarvelSentences& closure,
                      std::vector<std::size_t>& firedBy);
//! True when no sentence of the closure is attacked by it; otherwise culprit
//! is the first such sentence in closure order.
bool IsConsistent(const TListOfKarvelSentences& sentences, TKarvelSentence*& culprit);
bool IsConsistent(const TListOfKarvelSentences& sentences);
//! Advances bits (bit 0 most significant); false after the last combination.
bool NextCombination(std::vector<bool>& bits);

}  // namespace karvel
