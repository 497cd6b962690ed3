// A plain implementation of the closure, grounded assumptions and the
// enumeration of interpretations, following the definitions step by step
// with linear scans. The fast implementation is checked against it.
#pragma once

#include <vector>

#include "KarvelUnit.h"

namespace karvel::reference {

void DeductiveClosure(const TListOfKarvelSentences& sentences, TListOfKarvelSentences& closure);
bool IsConsistent(const TListOfKarvelSentences& sentences, TKarvelSentence*& culprit);
void ComputeGroundedAssumptions(const TKarvelTheory& theory, TListOfKarvelSentences& grounded);
bool NextCombination(std::vector<bool>& bits);
void ComputeInterpretations(const TKarvelTheory& theory, TListOfListOfKarvelSentences& result);

}  // namespace karvel::reference
