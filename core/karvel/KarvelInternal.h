// Helpers shared by the logic's own files; not part of the unit's interface.
#pragma once

#include <cstddef>
#include <unordered_map>
#include <vector>

#include "KarvelSentence.h"

namespace karvel::detail {

//! Bytes of text a sentence parsed from `inputSize` bytes, its parts nested
//! `depth` levels deep, may hold in all its parts. Every byte of a
//! well-formed sentence's text stands in the texts of at most `depth` parts,
//! and its canonical text is at most twice as long as what was typed, so only
//! the fallbacks of malformed input (which keep the rest of the text at every
//! level) can exceed this.
inline std::size_t TextBudget(std::size_t inputSize, int depth = kMaxNestingDepth) {
  return 2 * static_cast<std::size_t>(depth) * inputSize + 65536;
}
//! Bytes the elementary parts of such a sentence may hold together. Those of
//! a well-formed one are pieces of the input that do not overlap; only the
//! fallbacks repeat the rest of the text. The elementary texts are what the
//! file and the reports write out, so they are held to the input's size.
inline std::size_t ElementaryTextBudget(std::size_t inputSize) { return 2 * inputSize + 65536; }

//! Visits a sentence and its parts in the order of CollectSubsentences: the
//! sentence, then (for a conditional) the consequent before the antecedents.
//! visit returns whether to descend into the parts of what it was given.
//! An explicit stack, so that deep structures cannot exhaust the call stack.
template <class Visit>
void WalkParts(TKarvelSentence* sentence, Visit visit) {
  std::vector<TKarvelSentence*> stack{sentence};
  while (!stack.empty()) {
    TKarvelSentence* s = stack.back();
    stack.pop_back();
    if (!visit(s)) continue;
    if (auto* negation = AsNegation(s)) {
      stack.push_back(negation->NegatedSentence);
    } else if (auto* conditional = AsConditional(s)) {
      for (auto it = conditional->Antecedents.rbegin(); it != conditional->Antecedents.rend(); ++it)
        stack.push_back(*it);
      stack.push_back(conditional->Consequent);
    }
  }
}

//! Text hashes of freshly built sentences, so that variable collection does
//! not rehash long compound texts at every level.
using THashCache = std::unordered_map<const TKarvelSentence*, std::size_t>;

//! CollectVariables for a sentence whose parts were all built (and given
//! their variables) just before it; same result, without the quadratic
//! rehashing of deep structures.
void CollectFreshVariables(TKarvelSentence* sentence, THashCache& hashes);

}  // namespace karvel::detail
