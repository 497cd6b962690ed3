// The closure of a changing set of base texts over the text graph: the
// grounded fixpoint and the depth-first search grow and shrink it one
// assumption at a time. Internal to the interpretation search.
#pragma once

#include <cstddef>
#include <functional>
#include <vector>

#include "KarvelTextGraph.h"

namespace karvel::detail {

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

}  // namespace karvel::detail
