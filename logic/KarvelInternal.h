// Helpers shared by the logic's own files; not part of the unit's interface.
#pragma once

#include <cstddef>
#include <string_view>
#include <unordered_map>

#include "KarvelSentence.h"

namespace karvel::detail {

//! Bytes of text a structure built from `inputSize` bytes may hold in all its
//! sentences before it is treated as malformed: compound texts repeat their
//! parts, and without a bound crafted input could exhaust memory.
inline std::size_t TextBudget(std::size_t inputSize) { return 128 * inputSize + 65536; }

//! Text hashes of freshly built sentences, so that variable collection does
//! not rehash long compound texts at every level.
using THashCache = std::unordered_map<const TKarvelSentence*, std::size_t>;

//! CollectVariables for a sentence whose parts were all built (and given
//! their variables) just before it; same result, without the quadratic
//! rehashing of deep structures.
void CollectFreshVariables(TKarvelSentence* sentence, THashCache& hashes);

}  // namespace karvel::detail
