// The depth-first search that preceded clause learning, kept out of the
// unit to check the search against on theories too big for the plain
// enumeration, and to time it against.
#pragma once

#include "KarvelSentence.h"

namespace karvel::reference {

//! Decides the undecided assumptions in theory order, pruning dead
//! branches; the interpretations in the order of the plain enumeration.
//! Unambiguous theories only.
void BacktrackingInterpretations(const TListOfKarvelSentences& assumptions,
                                 TListOfListOfKarvelSentences& interpretations);

}  // namespace karvel::reference
