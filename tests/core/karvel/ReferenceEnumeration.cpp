#include "ReferenceEnumeration.h"

#include <string>

namespace karvel::reference {

namespace {

bool Contains(const TListOfKarvelSentences& list, const std::string& text) {
  return IndexOfText(list, text) >= 0;
}

bool AttackedBy(const TKarvelSentence* s, const TListOfKarvelSentences& closure) {
  return Contains(closure, "x(" + s->Text + ")");
}

}  // namespace

void DeductiveClosure(const TListOfKarvelSentences& sentences, TListOfKarvelSentences& closure) {
  closure.clear();
  for (auto* s : sentences)
    if (!Contains(closure, s->Text)) closure.push_back(s);
  bool appended = true;
  while (appended) {
    appended = false;
    const std::size_t n = closure.size();
    for (std::size_t i = 0; i < n; ++i) {
      auto* c = AsConditional(closure[i]);
      if (!c || Contains(closure, c->Consequent->Text)) continue;
      bool all = true;
      for (auto* a : c->Antecedents) all = all && Contains(closure, a->Text);
      if (all) {
        closure.push_back(c->Consequent);
        appended = true;
      }
    }
  }
}

bool IsConsistent(const TListOfKarvelSentences& sentences, TKarvelSentence*& culprit) {
  TListOfKarvelSentences closure;
  reference::DeductiveClosure(sentences, closure);
  for (auto* s : closure)
    if (AttackedBy(s, closure)) {
      culprit = s;
      return false;
    }
  return true;
}

namespace {

bool ExtendGrounded(const TKarvelTheory& theory, TListOfKarvelSentences& g) {
  TListOfKarvelSentences closureOfG, u, closureOfU;
  reference::DeductiveClosure(g, closureOfG);
  for (auto* a : theory.Assumptions)
    if (!AttackedBy(a, closureOfG)) u.push_back(a);
  reference::DeductiveClosure(u, closureOfU);
  bool added = false;
  for (auto* a : theory.Assumptions)
    if (!AttackedBy(a, closureOfU) && !Contains(g, a->Text)) {
      g.push_back(a);
      added = true;
    }
  return added;
}

}  // namespace

void ComputeGroundedAssumptions(const TKarvelTheory& theory, TListOfKarvelSentences& grounded) {
  grounded.clear();
  while (ExtendGrounded(theory, grounded)) {
  }
}

bool NextCombination(std::vector<bool>& bits) {
  if (bits.empty()) return false;
  std::vector<bool> tail(bits.begin() + 1, bits.end());
  if (NextCombination(tail)) {
    std::copy(tail.begin(), tail.end(), bits.begin() + 1);
    return true;
  }
  if (bits[0]) return false;
  bits[0] = true;
  for (std::size_t i = 1; i < bits.size(); ++i) bits[i] = false;
  return true;
}

void ComputeInterpretations(const TKarvelTheory& theory, TListOfListOfKarvelSentences& result) {
  result.clear();
  TListOfKarvelSentences g;
  ComputeGroundedAssumptions(theory, g);
  TKarvelSentence* culprit = nullptr;
  if (!reference::IsConsistent(g, culprit)) return;
  TListOfKarvelSentences closureOfG, d, undecided;
  reference::DeductiveClosure(g, closureOfG);
  for (auto* a : theory.Assumptions)
    if (AttackedBy(a, closureOfG)) d.push_back(a);
  for (auto* a : theory.Assumptions)
    if (!Contains(g, a->Text) && !Contains(d, a->Text)) undecided.push_back(a);
  std::vector<bool> bits(undecided.size(), false);
  do {
    TListOfKarvelSentences candidate = g;
    for (std::size_t i = 0; i < bits.size(); ++i)
      if (bits[i]) candidate.push_back(undecided[i]);
    if (!reference::IsConsistent(candidate, culprit)) continue;
    TListOfKarvelSentences closure;
    reference::DeductiveClosure(candidate, closure);
    bool attacksTheRest = true;
    for (auto* a : theory.Assumptions)
      if (!Contains(candidate, a->Text) && !AttackedBy(a, closure)) attacksTheRest = false;
    if (attacksTheRest) result.push_back(candidate);
  } while (NextCombination(bits));
}

}  // namespace karvel::reference
