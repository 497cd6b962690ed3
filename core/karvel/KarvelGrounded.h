// The grounded assumptions and the texts a closure attacks, shared by the
// theory's grounded step and the interpretation search. Not the unit's
// interface.
#pragma once

#include <string_view>
#include <unordered_set>
#include <vector>

#include "KarvelSentence.h"
#include "KarvelTextGraph.h"

namespace karvel::detail {

//! Indexes of the grounded assumptions in order of appending (unambiguous
//! graphs only).
std::vector<int> GroundedIndexes(const TTextGraph& graph);

//! The texts whose negations the closure of the sentences holds.
std::unordered_set<std::string_view> NegatedTexts(const TListOfKarvelSentences& sentences);

}  // namespace karvel::detail
