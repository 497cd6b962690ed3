#include "KarvelClauseSolver.h"

#include <algorithm>

namespace karvel::detail {

namespace {

constexpr int kNoReason = -1;
constexpr double kVariableDecay = 0.99;
constexpr double kClauseDecay = 0.999;
constexpr std::uint64_t kRestartUnit = 20000;
constexpr std::uint64_t kPollInterval = 256;

// 1, 1, 2, 1, 1, 2, 4, ...: restart intervals that keep both short and
// long runs.
std::uint64_t Luby(std::uint64_t i) {
  std::uint64_t size = 1, sequence = 0;
  while (size < i + 1) {
    ++sequence;
    size = 2 * size + 1;
  }
  while (size - 1 != i) {
    size = (size - 1) >> 1;
    --sequence;
    i %= size;
  }
  return std::uint64_t{1} << sequence;
}

}  // namespace

int TClauseSolver::NewVariable(bool decision, double priority, bool preferTrue) {
  const int v = static_cast<int>(FValue.size());
  FValue.push_back(0);
  FLevel.push_back(0);
  FReason.push_back(kNoReason);
  FDecision.push_back(decision);
  FPhase.push_back(preferTrue);
  FSeen.push_back(false);
  FActivity.push_back(priority);
  FHeapIndex.push_back(-1);
  FWatches.emplace_back();
  FWatches.emplace_back();
  FImplications.emplace_back();
  FImplications.emplace_back();
  if (decision) HeapInsert(v);
  return v;
}

void TClauseSolver::Assign(TLiteral literal, int reason) {
  const int v = VariableOf(literal);
  FValue[v] = (literal & 1u) ? -1 : 1;
  FLevel[v] = DecisionLevel();
  FReason[v] = reason;
  FTrail.push_back(literal);
}

int TClauseSolver::Attach(std::vector<TLiteral> literals, bool learnt) {
  const int index = static_cast<int>(FClauses.size());
  if (literals.size() == 2) {
    FImplications[literals[0]].push_back({literals[1], index});
    FImplications[literals[1]].push_back({literals[0], index});
  } else {
    FWatches[literals[0]].push_back({index, literals[1]});
    FWatches[literals[1]].push_back({index, literals[0]});
  }
  TClause clause;
  clause.Start = FLiterals.size();
  clause.Size = static_cast<std::uint32_t>(literals.size());
  clause.Learnt = learnt;
  FLiterals.insert(FLiterals.end(), literals.begin(), literals.end());
  FClauses.push_back(clause);
  if (learnt) ++FLearntCount;
  return index;
}

void TClauseSolver::AddClause(std::vector<TLiteral> literals) {
  if (FUnsatisfiable) return;
  Backtrack(0);
  FAfterModel = false;
  std::sort(literals.begin(), literals.end());
  literals.erase(std::unique(literals.begin(), literals.end()), literals.end());
  std::size_t kept = 0;
  for (std::size_t i = 0; i < literals.size(); ++i) {
    const TLiteral l = literals[i];
    if (LiteralValue(l) > 0 || (i + 1 < literals.size() && literals[i + 1] == Negated(l))) return;
    if (LiteralValue(l) == 0) literals[kept++] = l;
  }
  literals.resize(kept);
  if (literals.empty()) {
    FUnsatisfiable = true;
  } else if (literals.size() == 1) {
    Assign(literals[0], kNoReason);
    if (Propagate() != kNoReason) FUnsatisfiable = true;
  } else {
    Attach(std::move(literals), false);
  }
}

int TClauseSolver::Propagate() {
  while (FHead < FTrail.size()) {
    const TLiteral falsified = Negated(FTrail[FHead++]);
    for (const TImplication& implication : FImplications[falsified]) {
      const int value = LiteralValue(implication.Implied);
      if (value > 0) continue;
      if (value < 0) {
        FHead = FTrail.size();
        return implication.Clause;
      }
      Assign(implication.Implied, implication.Clause);
    }
    std::vector<TWatcher>& watchers = FWatches[falsified];
    std::size_t kept = 0;
    for (std::size_t i = 0; i < watchers.size(); ++i) {
      const TWatcher w = watchers[i];
      if (LiteralValue(w.Blocker) > 0) {
        watchers[kept++] = w;
        continue;
      }
      const TClause& clause = FClauses[static_cast<std::size_t>(w.Clause)];
      if (clause.Deleted) continue;
      TLiteral* lits = FLiterals.data() + clause.Start;
      if (lits[0] == falsified) std::swap(lits[0], lits[1]);
      const TLiteral other = lits[0];
      if (other != w.Blocker && LiteralValue(other) > 0) {
        watchers[kept++] = {w.Clause, other};
        continue;
      }
      bool moved = false;
      for (std::uint32_t k = 2; k < clause.Size; ++k) {
        if (LiteralValue(lits[k]) < 0) continue;
        std::swap(lits[1], lits[k]);
        FWatches[lits[1]].push_back({w.Clause, other});
        moved = true;
        break;
      }
      if (moved) continue;
      watchers[kept++] = {w.Clause, other};
      if (LiteralValue(other) < 0) {
        for (++i; i < watchers.size(); ++i) watchers[kept++] = watchers[i];
        watchers.resize(kept);
        FHead = FTrail.size();
        return w.Clause;
      }
      Assign(other, w.Clause);
    }
    watchers.resize(kept);
  }
  return kNoReason;
}

void TClauseSolver::Bump(int variable) {
  if ((FActivity[variable] += FIncrement) > 1e100) {
    for (double& a : FActivity) a *= 1e-100;
    FIncrement *= 1e-100;
  }
  if (FHeapIndex[variable] >= 0) HeapUp(static_cast<std::size_t>(FHeapIndex[variable]));
}

// A literal of the learnt clause is redundant when its reason holds only
// literals the clause already has (or fixed ones).
bool TClauseSolver::Redundant(TLiteral literal) const {
  const int self = VariableOf(literal);
  const int reason = FReason[self];
  if (reason == kNoReason) return false;
  const TLiteral* lits = LiteralsOf(reason);
  for (std::uint32_t k = 0; k < FClauses[static_cast<std::size_t>(reason)].Size; ++k) {
    const int v = VariableOf(lits[k]);
    if (v != self && !FSeen[v] && FLevel[v] > 0) return false;
  }
  return true;
}

// First unique implication point: resolve the conflict with the reasons of
// the current level's literals until one of them is left.
void TClauseSolver::Analyze(int conflict, std::vector<TLiteral>& learnt, int& backjumpLevel) {
  learnt.assign(1, 0);
  int pending = 0;
  std::size_t index = FTrail.size();
  TLiteral resolved = 0;
  bool first = true;
  do {
    TClause& clause = FClauses[static_cast<std::size_t>(conflict)];
    if (clause.Learnt && (clause.Activity += FClauseIncrement) > 1e20) {
      for (TClause& c : FClauses)
        if (c.Learnt) c.Activity *= 1e-20;
      FClauseIncrement *= 1e-20;
    }
    const TLiteral* lits = LiteralsOf(conflict);
    for (std::uint32_t k = 0; k < clause.Size; ++k) {
      const TLiteral q = lits[k];
      const int v = VariableOf(q);
      // A reason holds the literal it implied: that one is being resolved.
      if ((!first && v == VariableOf(resolved)) || FSeen[v] || FLevel[v] == 0) continue;
      FSeen[v] = true;
      Bump(v);
      if (FLevel[v] >= DecisionLevel())
        ++pending;
      else
        learnt.push_back(q);
    }
    first = false;
    while (!FSeen[VariableOf(FTrail[--index])]) {
    }
    resolved = FTrail[index];
    conflict = FReason[VariableOf(resolved)];
    FSeen[VariableOf(resolved)] = false;
    --pending;
  } while (pending > 0);
  learnt[0] = Negated(resolved);

  std::vector<TLiteral> marked(learnt.begin() + 1, learnt.end());
  std::size_t kept = 1;
  for (std::size_t i = 1; i < learnt.size(); ++i)
    if (!Redundant(learnt[i])) learnt[kept++] = learnt[i];
  learnt.resize(kept);
  for (TLiteral l : marked) FSeen[VariableOf(l)] = false;

  backjumpLevel = 0;
  for (std::size_t i = 1; i < learnt.size(); ++i) {
    if (FLevel[VariableOf(learnt[i])] > backjumpLevel) {
      backjumpLevel = FLevel[VariableOf(learnt[i])];
      std::swap(learnt[1], learnt[i]);
    }
  }
}

bool TClauseSolver::ResolveConflict(int conflict) {
  ++FConflicts;
  if (DecisionLevel() == 0) {
    FUnsatisfiable = true;
    return false;
  }
  // Nothing is left under the levels already enumerated.
  if (DecisionLevel() <= FFloor) return NextSubspace(FFloor);
  std::vector<TLiteral> learnt;
  int level = 0;
  Analyze(conflict, learnt, level);
  // The enumerated part of the search is kept: learnt clauses are
  // consequences of the clauses alone, so asserting late is sound.
  Backtrack(std::max(level, FFloor));
  if (learnt.size() == 1) {
    Assign(learnt[0], kNoReason);
    if (FFloor > 0) FFloorUnits.push_back(learnt[0]);
  } else {
    std::vector<int> levels;
    for (TLiteral l : learnt) levels.push_back(FLevel[VariableOf(l)]);
    std::sort(levels.begin(), levels.end());
    const auto glue = std::unique(levels.begin(), levels.end()) - levels.begin();
    const TLiteral asserted = learnt[0];
    const int index = Attach(std::move(learnt), true);
    FClauses[index].Glue = static_cast<std::uint32_t>(glue);
    FClauses[index].Activity = FClauseIncrement;
    Assign(asserted, index);
  }
  FIncrement /= kVariableDecay;
  FClauseIncrement /= kClauseDecay;
  return true;
}

// A clause every literal of which is false: assert its last literal where it
// becomes unit, or treat it as a conflict where two of its literals fall.
bool TClauseSolver::AddFalsifiedClause(std::vector<TLiteral> literals) {
  std::sort(literals.begin(), literals.end());
  literals.erase(std::unique(literals.begin(), literals.end()), literals.end());
  std::stable_sort(literals.begin(), literals.end(),
                   [this](TLiteral a, TLiteral b) { return FLevel[VariableOf(a)] > FLevel[VariableOf(b)]; });
  if (literals.empty() || FLevel[VariableOf(literals[0])] == 0) {
    FUnsatisfiable = true;
    return false;
  }
  const int top = FLevel[VariableOf(literals[0])];
  if (top <= FFloor) {
    if (literals.size() > 1) Attach(std::move(literals), false);
    return NextSubspace(FFloor);
  }
  if (literals.size() == 1) {
    Backtrack(FFloor);
    Assign(literals[0], kNoReason);
    if (FFloor > 0) FFloorUnits.push_back(literals[0]);
    return true;
  }
  const int second = FLevel[VariableOf(literals[1])];
  if (second < top) {
    Backtrack(std::max(second, FFloor));
    const TLiteral asserted = literals[0];
    Assign(asserted, Attach(std::move(literals), false));
    return true;
  }
  Backtrack(top);
  return ResolveConflict(Attach(std::move(literals), false));
}

void TClauseSolver::Backtrack(int level) {
  if (DecisionLevel() <= level) return;
  const std::size_t start = FLevelStart[static_cast<std::size_t>(level)];
  for (std::size_t i = FTrail.size(); i-- > start;) {
    const int v = VariableOf(FTrail[i]);
    FPhase[v] = FValue[v] > 0;
    FValue[v] = 0;
    FReason[v] = kNoReason;
    if (FDecision[v] && FHeapIndex[v] < 0) HeapInsert(v);
  }
  FTrail.resize(start);
  FLevelStart.resize(static_cast<std::size_t>(level));
  FFlipped.resize(static_cast<std::size_t>(level));
  FHead = FTrail.size();
}

int TClauseSolver::PickDecision() {
  while (!FHeap.empty()) {
    const int v = HeapPop();
    if (FValue[v] == 0) return v;
  }
  return -1;
}

// Halves the learnt clauses, keeping those with the fewest levels (they
// prune most) and those that are reasons of the current assignment.
void TClauseSolver::ReduceLearnts() {
  std::vector<int> candidates;
  for (int i = 0; i < static_cast<int>(FClauses.size()); ++i) {
    const TClause& c = FClauses[static_cast<std::size_t>(i)];
    if (!c.Learnt || c.Deleted || c.Glue <= 2) continue;
    if (c.Size == 2) continue;
    const int v = VariableOf(LiteralsOf(i)[0]);
    if (FValue[v] != 0 && FReason[v] == i) continue;
    candidates.push_back(i);
  }
  std::sort(candidates.begin(), candidates.end(), [this](int a, int b) {
    const TClause &x = FClauses[static_cast<std::size_t>(a)], &y = FClauses[static_cast<std::size_t>(b)];
    return x.Glue != y.Glue ? x.Glue > y.Glue : x.Activity < y.Activity;
  });
  candidates.resize(candidates.size() / 2);
  for (int i : candidates) {
    TClause& c = FClauses[static_cast<std::size_t>(i)];
    c.Deleted = true;
    FGarbage += c.Size;
    --FLearntCount;
  }
  if (2 * FGarbage > FLiterals.size()) CollectGarbage();
}

// Moves the live clauses together; the watched literals stay first in each.
void TClauseSolver::CollectGarbage() {
  std::vector<TLiteral> compact;
  compact.reserve(FLiterals.size() - FGarbage);
  for (TClause& c : FClauses) {
    if (c.Deleted) {
      c.Size = 0;
      c.Start = compact.size();
      continue;
    }
    const std::size_t start = compact.size();
    compact.insert(compact.end(), FLiterals.begin() + static_cast<std::ptrdiff_t>(c.Start),
                   FLiterals.begin() + static_cast<std::ptrdiff_t>(c.Start + c.Size));
    c.Start = start;
  }
  FLiterals = std::move(compact);
  FGarbage = 0;
  for (auto& watchers : FWatches) watchers.clear();
  for (int i = 0; i < static_cast<int>(FClauses.size()); ++i) {
    const TClause& c = FClauses[static_cast<std::size_t>(i)];
    if (c.Deleted || c.Size < 3) continue;
    const TLiteral* lits = LiteralsOf(i);
    FWatches[lits[0]].push_back({i, lits[1]});
    FWatches[lits[1]].push_back({i, lits[0]});
  }
}

// Every model under the deepest unflipped decision (at or below `from`)
// has been found: flip it, and keep the search above it from then on.
// Flipped levels below it were exhausted too.
bool TClauseSolver::NextSubspace(int from) {
  for (int level = from; level > 0; --level) {
    if (FFlipped[static_cast<std::size_t>(level - 1)]) continue;
    const TLiteral decision = FTrail[FLevelStart[static_cast<std::size_t>(level - 1)]];
    Backtrack(level - 1);
    // Units learnt above this level hold everywhere.
    bool feasible = true;
    std::erase_if(FFloorUnits, [&](TLiteral unit) {
      if (LiteralValue(unit) < 0) feasible = false;
      if (LiteralValue(unit) == 0) Assign(unit, kNoReason);
      return level == 1;
    });
    if (!feasible) {
      from = level - 1;
      level = from + 1;
      continue;
    }
    FLevelStart.push_back(FTrail.size());
    FFlipped.push_back(true);
    Assign(Negated(decision), kNoReason);
    FFloor = level;
    return true;
  }
  FUnsatisfiable = true;
  return false;
}

void TClauseSolver::ExcludeModelBy(std::vector<TLiteral> clause) {
  FExclusion = std::move(clause);
  FHaveExclusion = true;
}

TSolveResult TClauseSolver::Solve() {
  if (FUnsatisfiable) return TSolveResult::Unsatisfiable;
  if (FAfterModel) {
    FAfterModel = false;
    const bool more =
        FHaveExclusion ? AddFalsifiedClause(std::move(FExclusion)) : NextSubspace(DecisionLevel());
    FHaveExclusion = false;
    if (!more) return TSolveResult::Unsatisfiable;
  }
  if (FLearntLimit == 0) FLearntLimit = std::max<std::size_t>(2000, FClauses.size() / 3);
  std::uint64_t restarts = 0, conflictsHere = 0;
  std::uint64_t restartAt = kRestartUnit * Luby(restarts);
  for (;;) {
    if (ShouldStop && ++FPolls % kPollInterval == 0 && ShouldStop()) return TSolveResult::Stopped;
    const int conflict = Propagate();
    if (conflict != kNoReason) {
      if (!ResolveConflict(conflict)) return TSolveResult::Unsatisfiable;
      ++conflictsHere;
      continue;
    }
    if (conflictsHere >= restartAt) {
      conflictsHere = 0;
      restartAt = kRestartUnit * Luby(++restarts);
      Backtrack(FFloor);
      continue;
    }
    if (FLearntCount >= FLearntLimit) {
      ReduceLearnts();
      FLearntLimit += 300;
    }
    const int v = PickDecision();
    if (v >= 0) {
      FLevelStart.push_back(FTrail.size());
      FFlipped.push_back(false);
      Assign(FPhase[v] ? PositiveLiteral(v) : NegativeLiteral(v), kNoReason);
      continue;
    }
    TClauseList violated = CheckAssignment ? CheckAssignment() : TClauseList{};
    if (violated.empty()) {
      FAfterModel = true;
      return TSolveResult::Model;
    }
    // Rare (only cyclic support). One lesson at a time: the assignment
    // changes with it, and the check finds the others again if they still
    // apply.
    if (!AddFalsifiedClause(std::move(violated.front()))) return TSolveResult::Unsatisfiable;
  }
}

void TClauseSolver::HeapInsert(int variable) {
  FHeapIndex[variable] = static_cast<int>(FHeap.size());
  FHeap.push_back(variable);
  HeapUp(FHeap.size() - 1);
}

void TClauseSolver::HeapUp(std::size_t position) {
  const int v = FHeap[position];
  while (position > 0) {
    const std::size_t parent = (position - 1) / 2;
    if (FActivity[FHeap[parent]] >= FActivity[v]) break;
    FHeap[position] = FHeap[parent];
    FHeapIndex[FHeap[position]] = static_cast<int>(position);
    position = parent;
  }
  FHeap[position] = v;
  FHeapIndex[v] = static_cast<int>(position);
}

void TClauseSolver::HeapDown(std::size_t position) {
  const int v = FHeap[position];
  for (;;) {
    std::size_t child = 2 * position + 1;
    if (child >= FHeap.size()) break;
    if (child + 1 < FHeap.size() && FActivity[FHeap[child + 1]] > FActivity[FHeap[child]]) ++child;
    if (FActivity[FHeap[child]] <= FActivity[v]) break;
    FHeap[position] = FHeap[child];
    FHeapIndex[FHeap[position]] = static_cast<int>(position);
    position = child;
  }
  FHeap[position] = v;
  FHeapIndex[v] = static_cast<int>(position);
}

int TClauseSolver::HeapPop() {
  const int top = FHeap.front();
  FHeapIndex[top] = -1;
  FHeap.front() = FHeap.back();
  FHeap.pop_back();
  if (!FHeap.empty()) {
    FHeapIndex[FHeap.front()] = 0;
    HeapDown(0);
  }
  return top;
}

}  // namespace karvel::detail
