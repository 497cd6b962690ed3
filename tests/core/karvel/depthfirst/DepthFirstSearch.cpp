// The depth-first search grows the closure of the chosen assumptions and
// shrinks the closure of what may still be chosen, one undecided assumption
// at a time, and gives up on a branch as soon as an assumption left out can
// no longer be attacked.
#include "DepthFirstSearch.h"

#include <cstddef>
#include <utility>
#include <vector>

#include "KarvelGrounded.h"
#include "KarvelHornClosure.h"
#include "KarvelTextGraph.h"

namespace karvel::reference {

using detail::GroundedIndexes;
using detail::THornClosure;
using detail::TTextGraph;

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
  detail::TTextGraph graph(assumptions);
  TInterpretationSearch(graph, assumptions, interpretations).Run();
}

}  // namespace karvel::reference
