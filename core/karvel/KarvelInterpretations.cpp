// Grounded assumptions, dialectical interpretations and statuses.
//
// The interpretations come from the clause-learning search
// (KarvelInterpretationSearch.cpp). The depth-first search that preceded it
// stays here, next to the grounded fixpoint it shares, to compare with.
#include <algorithm>
#include <functional>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "KarvelInternal.h"
#include "KarvelInterpretationSearch.h"
#include "KarvelSyntax.h"
#include "KarvelTheory.h"

namespace karvel {

namespace detail {

namespace {

// The closure of a changing set of base texts: adding a base text chains
// forward; removing one deletes what may depend on it and derives again what
// still follows. Counts pairs of a text and its negation, and reports every
// text entering or leaving.
class THornClosure {
 public:
  explicit THornClosure(const TTextGraph& graph)
      : FGraph(graph), FIn(graph.Size(), false), FBase(graph.Size(), false), FMissing(graph.Size(), 0) {
    for (int id = 0; id < graph.Size(); ++id)
      if (graph.Rule(id)) FMissing[id] = graph.BodySize(id);
  }

  [[nodiscard]] bool Contains(int id) const { return id >= 0 && FIn[id]; }
  [[nodiscard]] bool Consistent() const { return FConflicts == 0; }
  [[nodiscard]] std::size_t TrailSize() const { return FTrail.size(); }

  void AddBase(int id) {
    FBase[id] = true;
    if (!FIn[id]) Insert(id);
  }
  //! Undoes the insertions since a trail mark (for additions only).
  void UndoTo(std::size_t mark, const std::vector<int>& unbase) {
    for (int id : unbase) FBase[id] = false;
    while (FTrail.size() > mark) {
      const int id = FTrail.back();
      FTrail.pop_back();
      Erase(id);
      for (int r : FGraph.Watchers(id)) ++FMissing[r];
    }
  }
  void RemoveBase(int id) {
    FBase[id] = false;
    if (!FIn[id]) return;
    // Over-delete everything derived through the text, then derive again
    // whatever still has a base or a firing rule.
    std::vector<int> deleted;
    std::vector<int> queue{id};
    while (!queue.empty()) {
      const int t = queue.back();
      queue.pop_back();
      if (!FIn[t]) continue;
      Erase(t);
      deleted.push_back(t);
      for (int r : FGraph.Watchers(t)) {
        if (FMissing[r]++ != 0) continue;  // was not firing
        const int c = FGraph.Rule(r)->Consequent;
        if (FIn[c] && !FBase[c]) queue.push_back(c);
      }
    }
    for (int t : deleted) {
      if (FIn[t]) continue;
      bool derivable = FBase[t];
      for (int r : FGraph.Producers(t))
        if (!derivable && FMissing[r] == 0) derivable = true;
      if (derivable) Insert(t);
    }
    FTrail.clear();  // removal is undone by adding the base text again
  }

  //! Called with (id, entered) whenever a text enters or leaves.
  std::function<void(int, bool)> OnChange;

 private:
  void Insert(int id) {
    std::vector<int> queue{id};
    while (!queue.empty()) {
      const int t = queue.back();
      queue.pop_back();
      if (FIn[t]) continue;
      FIn[t] = true;
      FTrail.push_back(t);
      if (Contains(FGraph.NegationOf(t))) ++FConflicts;
      if (Contains(FGraph.NegatedBy(t))) ++FConflicts;
      if (OnChange) OnChange(t, true);
      for (int r : FGraph.Watchers(t)) {
        if (--FMissing[r] != 0) continue;
        const int c = FGraph.Rule(r)->Consequent;
        if (!FIn[c]) queue.push_back(c);
      }
    }
  }
  void Erase(int t) {
    FIn[t] = false;
    if (Contains(FGraph.NegationOf(t))) --FConflicts;
    if (Contains(FGraph.NegatedBy(t))) --FConflicts;
    if (OnChange) OnChange(t, false);
  }

  const TTextGraph& FGraph;
  std::vector<bool> FIn, FBase;
  std::vector<int> FMissing;
  std::vector<int> FTrail;
  int FConflicts = 0;
};

}  // namespace

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

namespace {

class TInterpretationSearch {
 public:
  TInterpretationSearch(const TTextGraph& graph, const TListOfKarvelSentences& assumptions,
                        TListOfListOfKarvelSentences& out)
      : FGraph(graph), FAssumptions(assumptions), FOut(out), FChosen(graph), FMaximum(graph) {}

  void Run() {
    const auto& ids = FGraph.AssumptionIds();
    const int n = static_cast<int>(ids.size());
    FGrounded = GroundedIndexes(FGraph);
    std::vector<bool> inG(n, false);
    for (int i : FGrounded) {
      inG[i] = true;
      FChosen.AddBase(ids[i]);
      FMaximum.AddBase(ids[i]);
    }
    if (!FChosen.Consistent()) return;
    for (int i = 0; i < n; ++i)
      if (!inG[i] && !FChosen.Contains(FGraph.NegationOf(ids[i]))) FUndecided.push_back(i);
    for (int i : FUndecided) FMaximum.AddBase(ids[i]);

    FLeftOut.assign(n, false);
    std::vector<int> assumptionWithText(FGraph.Size(), -1);
    for (int i = 0; i < n; ++i) assumptionWithText[ids[i]] = i;
    // Keeps count of the assumptions left out that what may still be chosen
    // does not attack.
    FMaximum.OnChange = [this, assumptionWithText](int t, bool entered) {
      const int negated = FGraph.NegatedBy(t);
      if (negated < 0) return;
      const int i = assumptionWithText[negated];
      if (i >= 0 && FLeftOut[i]) FUnattacked += entered ? -1 : 1;
    };
    Decide();
  }

 private:
  // Depth-first over the undecided assumptions with an explicit stack, so
  // that long chains of undecided assumptions cannot exhaust the call stack.
  void Decide() {
    struct TFrame {
      std::size_t K;
      int Phase;  // 0 entering, 1 after "out", 2 after "in"
      std::size_t Mark;
    };
    std::vector<TFrame> stack{{0, 0, 0}};
    const auto& ids = FGraph.AssumptionIds();
    while (!stack.empty()) {
      TFrame& frame = stack.back();
      const std::size_t k = frame.K;
      const int i = k < FUndecided.size() ? FUndecided[k] : -1;
      const int id = i >= 0 ? ids[i] : -1;
      switch (frame.Phase) {
        case 0:
          if (FUnattacked > 0 || !FChosen.Consistent()) {
            stack.pop_back();
            break;
          }
          if (k == FUndecided.size()) {
            Emit();
            stack.pop_back();
            break;
          }
          // Out: it must stay attackable by what can still be chosen.
          frame.Phase = 1;
          FLeftOut[i] = true;
          if (!FMaximum.Contains(FGraph.NegationOf(id))) ++FUnattacked;
          FMaximum.RemoveBase(id);
          stack.push_back({k + 1, 0, 0});
          break;
        case 1:
          FMaximum.AddBase(id);
          if (!FMaximum.Contains(FGraph.NegationOf(id))) --FUnattacked;
          FLeftOut[i] = false;
          // In.
          frame.Phase = 2;
          frame.Mark = FChosen.TrailSize();
          FChosen.AddBase(id);
          FIn.push_back(i);
          stack.push_back({k + 1, 0, 0});
          break;
        default:
          FIn.pop_back();
          FChosen.UndoTo(frame.Mark, {id});
          stack.pop_back();
          break;
      }
    }
  }

  void Emit() {
    TListOfKarvelSentences candidate;
    candidate.reserve(FGrounded.size() + FIn.size());
    for (int i : FGrounded) candidate.push_back(FAssumptions[i]);
    for (int i : FIn) candidate.push_back(FAssumptions[i]);
    FOut.push_back(std::move(candidate));
  }

  const TTextGraph& FGraph;
  const TListOfKarvelSentences& FAssumptions;
  TListOfListOfKarvelSentences& FOut;
  THornClosure FChosen;   // G and the assumptions chosen in
  THornClosure FMaximum;  // G, the chosen and all not yet decided
  std::vector<int> FGrounded, FUndecided, FIn;
  std::vector<bool> FLeftOut;
  int FUnattacked = 0;  // assumptions left out that nothing can attack any more
};

}  // namespace

void BacktrackingInterpretations(const TListOfKarvelSentences& assumptions,
                                 TListOfListOfKarvelSentences& interpretations) {
  interpretations.clear();
  TTextGraph graph(assumptions);
  TInterpretationSearch(graph, assumptions, interpretations).Run();
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

void TKarvelTheory::ComputeInterpretations(TListOfListOfKarvelSentences& interpretations) {
  ComputeInterpretations(interpretations, {});
}

TSearchOutcome TKarvelTheory::ComputeInterpretations(TListOfListOfKarvelSentences& interpretations,
                                                     const TSearchProgress& progress) {
  interpretations.clear();
  return ForEachInterpretation(
      [&](const TListOfKarvelSentences& interpretation) { interpretations.push_back(interpretation); },
      progress);
}

TSearchOutcome TKarvelTheory::ForEachInterpretation(const TInterpretationVisitor& visit,
                                                    const TSearchProgress& progress) {
  return detail::SearchInterpretations(*this, visit, progress);
}

namespace {

// Applies fn to the objects CollectSubsentences would collect into a new
// list for this sentence (the first object of every text).
template <class Fn>
void ForEachCollected(TKarvelSentence* sentence, Fn fn) {
  if (IsElementary(sentence)) {
    fn(sentence);
    return;
  }
  TListOfKarvelSentences parts;
  TSentenceCollector collector(parts);
  collector.Collect(sentence);
  for (auto* s : parts) fn(s);
}

}  // namespace

namespace {

TListOfKarvelSentences ClosureOf(const TListOfKarvelSentences& interpretation) {
  TListOfKarvelSentences closure;
  DeductiveClosure(interpretation, closure);
  return closure;
}

// What the closure of an interpretation justifies and defeats, by text.
struct TClosureTexts {
  TListOfKarvelSentences Closure;
  TTextIndex Derived, Negated;

  explicit TClosureTexts(const TListOfKarvelSentences& interpretation)
      : Closure(ClosureOf(interpretation)), Derived(Closure.size()) {
    for (auto* s : Closure) {
      Derived.Insert(s->Text);
      std::string_view inner;
      if (NegatedText(s->Text, inner)) Negated.Insert(inner);
    }
  }
};

}  // namespace

void TKarvelTheory::SetStatuses(const TListOfKarvelSentences& interpretation) {
  const TClosureTexts texts(interpretation);
  // A status depends on the text alone, so one assignment per visit gives
  // what clearing everything and then marking would.
  const auto assign = [&](TKarvelSentence* s) {
    s->IsJustified = texts.Derived.Contains(s->Text);
    s->IsDefeated = texts.Negated.Contains(s->Text);
  };
  for (auto* s : Assumptions) ForEachCollected(s, assign);
  for (auto* s : Issues) ForEachCollected(s, assign);
}

TListOfKarvelSentences TKarvelTheory::StatusSentences() const {
  TListOfKarvelSentences visited;
  const auto add = [&visited](TKarvelSentence* s) { visited.push_back(s); };
  for (auto* s : Assumptions) ForEachCollected(s, add);
  for (auto* s : Issues) ForEachCollected(s, add);
  return visited;
}

void TKarvelTheory::StatusesOf(const TListOfKarvelSentences& interpretation,
                               std::vector<TStatus>& assumptions, std::vector<TStatus>& issues) const {
  // A status depends on the text alone, so the parts need no visit.
  const TClosureTexts texts(interpretation);
  const auto fill = [&texts](const TListOfKarvelSentences& sentences, std::vector<TStatus>& statuses) {
    statuses.clear();
    statuses.reserve(sentences.size());
    for (const auto* s : sentences)
      statuses.push_back({texts.Derived.Contains(s->Text), texts.Negated.Contains(s->Text)});
  };
  fill(Assumptions, assumptions);
  fill(Issues, issues);
}

}  // namespace karvel
