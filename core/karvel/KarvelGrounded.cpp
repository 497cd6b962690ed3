// The grounded assumptions, by events on the text graph where every text has
// one meaning and by the closure itself where it does not, and the texts a
// closure attacks, which both the grounded step and the interpretation
// search test candidates by.
#include "KarvelGrounded.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

#include "KarvelHornClosure.h"
#include "KarvelTheory.h"

namespace karvel {

namespace detail {

// Grounded assumptions by events: the closure of G grows, the closure of the
// assumptions G does not attack shrinks, and each step takes, in theory
// order, the assumptions that the latter no longer attacks.
std::vector<int> GroundedIndexes(const TTextGraph& graph) {
  const auto& ids = graph.AssumptionIds();
  const int n = static_cast<int>(ids.size());
  std::unordered_map<int, std::vector<int>> assumptionsNegatedBy;  // x(a) text -> a's indexes
  for (int i = 0; i < n; ++i)
    if (graph.NegationOf(ids[i]) >= 0) assumptionsNegatedBy[graph.NegationOf(ids[i])].push_back(i);

  THornClosure closureOfG(graph), closureOfU(graph);
  std::vector<int> newlyAttackedByG, newlyFreeOfU;
  closureOfG.OnChange = [&](int t, bool entered) {
    if (!entered) return;
    if (auto it = assumptionsNegatedBy.find(t); it != assumptionsNegatedBy.end())
      newlyAttackedByG.insert(newlyAttackedByG.end(), it->second.begin(), it->second.end());
  };
  closureOfU.OnChange = [&](int t, bool entered) {
    if (entered) return;
    if (auto it = assumptionsNegatedBy.find(t); it != assumptionsNegatedBy.end())
      newlyFreeOfU.insert(newlyFreeOfU.end(), it->second.begin(), it->second.end());
  };
  for (int i = 0; i < n; ++i) closureOfU.AddBase(ids[i]);

  std::vector<bool> inG(n, false), inU(n, true);
  std::vector<int> order;
  std::vector<int> ready;
  for (int i = 0; i < n; ++i)
    if (!closureOfU.Contains(graph.NegationOf(ids[i]))) ready.push_back(i);
  for (;;) {
    // U := the assumptions not attacked by the current G.
    for (int i : newlyAttackedByG)
      if (inU[i]) {
        inU[i] = false;
        closureOfU.RemoveBase(ids[i]);
      }
    newlyAttackedByG.clear();
    ready.insert(ready.end(), newlyFreeOfU.begin(), newlyFreeOfU.end());
    newlyFreeOfU.clear();
    std::sort(ready.begin(), ready.end());
    ready.erase(std::unique(ready.begin(), ready.end()), ready.end());
    std::vector<int> step;
    for (int i : ready)
      if (!inG[i] && !closureOfU.Contains(graph.NegationOf(ids[i]))) step.push_back(i);
    ready.clear();
    if (step.empty()) break;
    for (int i : step) {
      inG[i] = true;
      order.push_back(i);
      closureOfG.AddBase(ids[i]);
    }
  }
  return order;
}

//! The texts the closure of the sentences attacks.
std::unordered_set<std::string_view> NegatedTexts(const TListOfKarvelSentences& sentences) {
  TListOfKarvelSentences closure;
  DeductiveClosure(sentences, closure);
  std::unordered_set<std::string_view> negated;
  for (auto* s : closure) {
    std::string_view inner;
    if (NegatedText(s->Text, inner)) negated.insert(inner);
  }
  return negated;
}

}  // namespace detail

namespace {

// The grounded step by the closure itself (ambiguous theories).
bool AttackedBy(const TKarvelSentence* s, const std::unordered_set<std::string_view>& negated) {
  return negated.count(s->Text) != 0;
}

}  // namespace

bool TKarvelTheory::ExtendGroundedAssumptions(TListOfKarvelSentences& list) {
  const auto attackedByG = detail::NegatedTexts(list);
  TListOfKarvelSentences u;
  for (auto* a : Assumptions)
    if (!AttackedBy(a, attackedByG)) u.push_back(a);
  const auto attackedByU = detail::NegatedTexts(u);
  std::unordered_set<std::string_view> inG;
  for (auto* g : list) inG.insert(g->Text);
  bool added = false;
  for (auto* a : Assumptions) {
    if (AttackedBy(a, attackedByU) || inG.count(a->Text)) continue;
    list.push_back(a);
    inG.insert(a->Text);
    added = true;
  }
  return added;
}

void TKarvelTheory::ComputeGroundedAssumptions(TListOfKarvelSentences& list) {
  list.clear();
  detail::TTextGraph graph(Assumptions);
  if (graph.Ambiguous()) {
    while (ExtendGroundedAssumptions(list)) {
    }
    return;
  }
  for (int i : detail::GroundedIndexes(graph)) list.push_back(Assumptions[i]);
}

}  // namespace karvel
