// Sentence model of the Karvel logic: the three kinds of sentence, the
// non-owning sentence lists and the text-identity lookups every other part of
// the program uses.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace karvel {

class TKarvelSentence;

//! Ordered, non-owning list of sentences.
using TListOfKarvelSentences = std::vector<TKarvelSentence*>;
//! Ordered list of sentence lists (the set of interpretations).
using TListOfListOfKarvelSentences = std::vector<TListOfKarvelSentences>;

//! Run-time kind of a sentence object; Plain is the kind-less placeholder.
enum class TSentenceKind : std::uint8_t { Plain, Elementary, DialecticalNegation, Conditional };

//! Deepest nesting of sentence parts the parser and the file reader accept.
//! Every text holds the texts of all its parts, so memory grows with the
//! square of the depth; deeper input is treated as malformed.
inline constexpr int kMaxNestingDepth = 256;

//! Common base of all sentences. Two sentences are the same sentence exactly
//! when their texts are equal.
class TKarvelSentence {
 public:
  std::string Text;
  bool IsAssumption = false;
  bool IsIssue = false;
  bool IsJustified = false;
  bool IsDefeated = false;
  std::vector<std::string> Variables;

  TKarvelSentence() = default;
  TKarvelSentence(const TKarvelSentence&) = delete;
  TKarvelSentence& operator=(const TKarvelSentence&) = delete;

  //! The run-time kind of this object.
  [[nodiscard]] TSentenceKind Kind() const { return FKind; }

 protected:
  explicit TKarvelSentence(TSentenceKind kind) : FKind(kind) {}

 private:
  TSentenceKind FKind = TSentenceKind::Plain;
};

//! An atomic statement; its text is the statement.
class TKarvelElementarySentence final : public TKarvelSentence {
 public:
  TKarvelElementarySentence() : TKarvelSentence(TSentenceKind::Elementary) {}
};

//! x(S): the negated sentence is defeated.
class TKarvelDialecticalNegation final : public TKarvelSentence {
 public:
  explicit TKarvelDialecticalNegation(TKarvelSentence* placeholder)
      : TKarvelSentence(TSentenceKind::DialecticalNegation), NegatedSentence(placeholder) {}
  TKarvelSentence* NegatedSentence;
};

//! if(A1, ..., An, C): when all antecedents hold, the consequent holds.
class TKarvelConditional final : public TKarvelSentence {
 public:
  explicit TKarvelConditional(TKarvelSentence* placeholder)
      : TKarvelSentence(TSentenceKind::Conditional), Consequent(placeholder) {}
  TListOfKarvelSentences Antecedents;
  TKarvelSentence* Consequent;
};

//! Kind tests; the As* forms return nullptr for other kinds.
inline bool IsElementary(const TKarvelSentence* s) { return s->Kind() == TSentenceKind::Elementary; }
inline bool IsNegation(const TKarvelSentence* s) { return s->Kind() == TSentenceKind::DialecticalNegation; }
inline bool IsConditional(const TKarvelSentence* s) { return s->Kind() == TSentenceKind::Conditional; }
TKarvelDialecticalNegation* AsNegation(TKarvelSentence* s);
TKarvelConditional* AsConditional(TKarvelSentence* s);
const TKarvelDialecticalNegation* AsNegation(const TKarvelSentence* s);
const TKarvelConditional* AsConditional(const TKarvelSentence* s);

//! Owns every sentence object of one generation (one loaded document).
//! Objects stay at a fixed address until the arena is destroyed.
class TSentenceArena {
 public:
  TSentenceArena() = default;
  TSentenceArena(const TSentenceArena&) = delete;
  TSentenceArena& operator=(const TSentenceArena&) = delete;

  //! A kind-less sentence with empty text.
  TKarvelSentence* NewPlain();
  //! An elementary sentence with the given text.
  TKarvelElementarySentence* NewElementary(std::string text = {});
  //! A negation whose negated sentence is a new plain placeholder.
  TKarvelDialecticalNegation* NewNegation();
  //! A conditional with no antecedents and a plain placeholder consequent.
  TKarvelConditional* NewConditional();

  //! Number of objects created so far.
  [[nodiscard]] std::size_t Size() const;
  //! Whether this arena created the object; a linear scan, for checks that a
  //! list holds no object of another generation.
  [[nodiscard]] bool Owns(const TKarvelSentence* sentence) const;

 private:
  std::deque<TKarvelSentence> FPlain;
  std::deque<TKarvelElementarySentence> FElementary;
  std::deque<TKarvelDialecticalNegation> FNegations;
  std::deque<TKarvelConditional> FConditionals;
};

//! Index of the first item with the sentence's text, or -1.
int IndexOfSentence(const TListOfKarvelSentences& list, const TKarvelSentence* sentence);
//! Index of the first item with this text, or -1.
int IndexOfText(const TListOfKarvelSentences& list, std::string_view text);

//! Levels of parts of a sentence: 1 for an elementary one, one more than its
//! deepest part for a compound; the reader accepts up to kMaxNestingDepth.
//! Counts no further than limit + 1.
int NestingDepth(const TKarvelSentence* sentence, int limit = kMaxNestingDepth);

//! Text of the dialectical negation of a sentence with this text.
std::string NegationText(std::string_view text);
//! If the text has the form "x(" S ")", S; otherwise nothing.
bool NegatedText(std::string_view text, std::string_view& inner);

}  // namespace karvel
