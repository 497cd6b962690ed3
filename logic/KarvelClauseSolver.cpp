#include "KarvelClauseSolver.h"

#include <algorithm>
#include <cassert>

namespace karvel::detail {

namespace {

constexpr int kNoReason = -1;
constexpr double kVariableDecay = 0.95;
constexpr double kClauseDecay = 0.999;
constexpr std::uint64_t kRestartUnit = 100;
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
  FWatches[literals[0]].push_back({index, literals[1]});
  FWatches[literals[1]].push_back({index, literals[0]});
  TClause clause;
  clause.Literals = std::move(literals);
  clause.Learnt = learnt;
  FClauses.push_back(std::move(clause));
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
    std::vector<TWatcher>& watchers = FWatches[falsified];
    std::size_t kept = 0;
    for (std::size_t i = 0; i < watchers.size(); ++i) {
      const TWatcher w = watchers[i];
      if (LiteralValue(w.Blocker) > 0) {
        watchers[kept++] = w;
        continue;
      }
      TClause& clause = FClauses[w.Clause];
      if (clause.Deleted) continue;
      std::vector<TLiteral>& lits = clause.Literals;
      if (lits[0] == falsified) std::swap(lits[0], lits[1]);
      const TLiteral other = lits[0];
      if (other != w.Blocker && LiteralValue(other) > 0) {
        watchers[kept++] = {w.Clause, other};
        continue;
      }
      bool moved = false;
      for (std::size_t k = 2; k < lits.size(); ++k) {
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
  const int reason = FReason[VariableOf(literal)];
  if (reason == kNoReason) return false;
  const auto& lits = FClauses[reason].Literals;
  for (std::size_t k = 1; k < lits.size(); ++k) {
    const int v = VariableOf(lits[k]);
    if (!FSeen[v] && FLevel[v] > 0) return false;
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
    TClause& clause = FClauses[conflict];
    if (clause.Learnt && (clause.Activity += FClauseIncrement) > 1e20) {
      for (TClause& c : FClauses)
        if (c.Learnt) c.Activity *= 1e-20;
      FClauseIncrement *= 1e-20;
    }
    for (std::size_t k = first ? 0 : 1; k < clause.Literals.size(); ++k) {
      const TLiteral q = clause.Literals[k];
      const int v = VariableOf(q);
      if (FSeen[v] || FLevel[v] == 0) continue;
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
  std::vector<TLiteral> learnt;
  int level = 0;
  Analyze(conflict, learnt, level);
  Backtrack(level);
  if (learnt.size() == 1) {
    Assign(learnt[0], kNoReason);
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
  std::stable_sort(literals.begin(), literals.end(), [this](TLiteral a, TLiteral b) {
    return FLevel[VariableOf(a)] > FLevel[VariableOf(b)];
  });
  if (literals.empty() || FLevel[VariableOf(literals[0])] == 0) {
    FUnsatisfiable = true;
    return false;
  }
  const int top = FLevel[VariableOf(literals[0])];
  if (literals.size() == 1) {
    Backtrack(0);
    Assign(literals[0], kNoReason);
    return true;
  }
  const int second = FLevel[VariableOf(literals[1])];
  if (second < top) {
    Backtrack(second);
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
    const int v = VariableOf(c.Literals[0]);
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
    std::vector<TLiteral>().swap(c.Literals);
    --FLearntCount;
  }
}

void TClauseSolver::ExcludeModelBy(std::vector<TLiteral> clause) {
  FExclusion = std::move(clause);
  FHaveExclusion = true;
}

TClauseSolver::TResult TClauseSolver::Solve() {
  if (FUnsatisfiable) return TResult::Unsatisfiable;
  if (FAfterModel) {
    FAfterModel = false;
    std::vector<TLiteral> exclusion;
    if (FHaveExclusion) {
      exclusion = std::move(FExclusion);
    } else {
      for (std::size_t start : FLevelStart) exclusion.push_back(Negated(FTrail[start]));
    }
    FHaveExclusion = false;
    if (!AddFalsifiedClause(std::move(exclusion))) return TResult::Unsatisfiable;
  }
  if (FLearntLimit == 0) FLearntLimit = std::max<std::size_t>(10000, FClauses.size() / 3);
  std::uint64_t restarts = 0, conflictsHere = 0, polls = 0;
  std::uint64_t restartAt = kRestartUnit * Luby(restarts);
  for (;;) {
    if (ShouldStop && ++polls % kPollInterval == 0 && ShouldStop()) return TResult::Stopped;
    const int conflict = Propagate();
    if (conflict != kNoReason) {
      if (!ResolveConflict(conflict)) return TResult::Unsatisfiable;
      ++conflictsHere;
      continue;
    }
    if (conflictsHere >= restartAt) {
      conflictsHere = 0;
      restartAt = kRestartUnit * Luby(++restarts);
      Backtrack(0);
      continue;
    }
    if (FLearntCount >= FLearntLimit) {
      ReduceLearnts();
      FLearntLimit += FLearntLimit / 10;
    }
    const int v = PickDecision();
    if (v >= 0) {
      FLevelStart.push_back(FTrail.size());
      Assign(FPhase[v] ? PositiveLiteral(v) : NegativeLiteral(v), kNoReason);
      continue;
    }
    TClauseList violated = CheckAssignment ? CheckAssignment() : TClauseList{};
    if (violated.empty()) {
      FAfterModel = true;
      return TResult::Model;
    }
    // Rare (only cyclic support): start again from the top with the lessons.
    for (auto& clause : violated) AddClause(std::move(clause));
    if (FUnsatisfiable) return TResult::Unsatisfiable;
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
