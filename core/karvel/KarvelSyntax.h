// Text form of sentences: the lenient parser, the canonical printer and the
// variables ("<...>" tokens) of a sentence, and the collection of a
// sentence's parts, which composing and collecting variables build on.
#pragma once

#include <string>
#include <string_view>
#include "KarvelSentence.h"
#include "KarvelTextIndex.h"

namespace karvel {

//! Whether a byte counts as white space (code 32 or less).
inline bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }
//! The text without leading and trailing white space.
std::string_view Trim(std::string_view text);
std::string_view TrimLeft(std::string_view text);

//! Parses a whole text into a new sentence; malformed forms fall back to
//! elementary sentences, text after a complete top-level form is ignored.
//! A form nested deeper than maxDepth, or one whose sentences would hold more
//! text than a well-formed sentence of that length can, makes the whole text
//! one elementary sentence.
TKarvelSentence* ParseSentence(std::string_view text, TSentenceArena& arena, int maxDepth = kMaxNestingDepth);

//! The NestingDepth of the sentence ParseSentence(text) would build, without
//! building it: limit + 1 when the text nests deeper than limit allows.
int ParsedNestingDepth(std::string_view text, int limit = kMaxNestingDepth);
//! The text of the sentence ParseSentence(text) would build, without
//! building its parts.
std::string ParsedText(std::string_view text);

//! Sets the text of a negation or conditional from its parts' texts.
void ComposeText(TKarvelSentence* sentence);
//! Refills Variables of a sentence (elementary parts in collection order).
void CollectVariables(TKarvelSentence* sentence);
//! Refills Variables of a sentence from its own text.
void CollectElementaryVariables(TKarvelSentence* sentence);

//! A list of sentences with a hash index of its texts, for collecting
//! subsentences into large lists without quadratic lookups.
class TSentenceCollector {
 public:
  explicit TSentenceCollector(TListOfKarvelSentences& list);
  //! CollectSubsentences into the list.
  void Collect(TKarvelSentence* sentence);
  //! Appends the sentence unless its text is present; true if appended.
  bool Add(TKarvelSentence* sentence);
  [[nodiscard]] bool Contains(std::string_view text) const { return FTexts.Contains(text); }

 private:
  TListOfKarvelSentences& FList;
  TTextIndex FTexts;
};

//! Appends the sentence and all its parts (consequent before antecedents)
//! whose texts are not yet in the list; descends into parts regardless.
void CollectSubsentences(TKarvelSentence* sentence, TListOfKarvelSentences& list);
//! Whether the sentence or one of its parts, at any depth, has Part's text.
bool HasSubsentence(TKarvelSentence* sentence, const TKarvelSentence* part);
//! A new negation of the very object given, with composed text and variables.
TKarvelDialecticalNegation* DialecticalNegationOf(TKarvelSentence* sentence, TSentenceArena& arena);

}  // namespace karvel
