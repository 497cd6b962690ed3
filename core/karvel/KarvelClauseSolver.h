// A small conflict-driven clause-learning solver that enumerates models: the
// engine of the interpretation search. Not part of the unit's interface.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "KarvelSolverTypes.h"

namespace karvel::detail {

//! Propagates every consequence of a choice, learns a clause from every
//! conflict, chooses the most active decision variable next, and after each
//! model excludes it so that the next call finds another one.
class TClauseSolver {
 public:
  //! A new variable. Only decision variables are chosen; the others must
  //! follow from them by propagation. Models are complete only if every
  //! variable that propagation may leave open is a decision variable.
  int NewVariable(bool decision, double priority = 0, bool preferTrue = false);
  //! Adds a permanent clause; between searches only.
  void AddClause(std::vector<TLiteral> literals);
  //! The next model, or Unsatisfiable when there is none left.
  TSolveResult Solve();
  //! After a model: exclude it by this clause (false under the model), a
  //! restriction that may exclude others too, instead of moving on to the
  //! next model by flipping its last decision.
  void ExcludeModelBy(std::vector<TLiteral> clause);
  //! The value of a variable in the current model.
  [[nodiscard]] bool Value(int variable) const { return FValue[variable] > 0; }
  //! 1 true, -1 false, 0 not yet decided (for CheckAssignment).
  [[nodiscard]] int Assignment(int variable) const { return FValue[variable]; }
  [[nodiscard]] int VariableCount() const { return static_cast<int>(FValue.size()); }
  [[nodiscard]] std::uint64_t Conflicts() const { return FConflicts; }

  //! Called when every decision variable has a value without conflict.
  TAssignmentCheck CheckAssignment;
  TStopCheck ShouldStop;

 private:
  // Literals live in one array; a clause is a range of it.
  struct TClause {
    std::size_t Start = 0;
    std::uint32_t Size = 0;
    std::uint32_t Glue = 0;
    double Activity = 0;
    bool Learnt = false;
    bool Deleted = false;
  };
  struct TWatcher {
    int Clause;
    TLiteral Blocker;
  };
  // Two-literal clauses propagate without touching the clause.
  struct TImplication {
    TLiteral Implied;
    int Clause;
  };
  [[nodiscard]] TLiteral* LiteralsOf(int clause) {
    return FLiterals.data() + FClauses[static_cast<std::size_t>(clause)].Start;
  }
  [[nodiscard]] const TLiteral* LiteralsOf(int clause) const {
    return FLiterals.data() + FClauses[static_cast<std::size_t>(clause)].Start;
  }

  [[nodiscard]] int LiteralValue(TLiteral l) const {
    const int v = FValue[VariableOf(l)];
    return (l & 1u) ? -v : v;
  }
  [[nodiscard]] int DecisionLevel() const { return static_cast<int>(FLevelStart.size()); }
  void Assign(TLiteral literal, int reason);
  int Attach(std::vector<TLiteral> literals, bool learnt);
  int Propagate();
  void Analyze(int conflict, std::vector<TLiteral>& learnt, int& backjumpLevel);
  bool Redundant(TLiteral literal) const;
  bool ResolveConflict(int conflict);
  bool AddFalsifiedClause(std::vector<TLiteral> literals);
  bool NextSubspace(int from);
  void Backtrack(int level);
  int PickDecision();
  void Bump(int variable);
  void ReduceLearnts();
  void CollectGarbage();
  // Binary heap of decision variables by activity.
  void HeapInsert(int variable);
  void HeapUp(std::size_t position);
  void HeapDown(std::size_t position);
  int HeapPop();

  std::vector<TClause> FClauses;
  std::vector<TLiteral> FLiterals;
  std::size_t FGarbage = 0;                              // literals of deleted clauses
  std::vector<std::vector<TWatcher>> FWatches;           // by literal
  std::vector<std::vector<TImplication>> FImplications;  // by literal
  std::vector<signed char> FValue;                       // by variable: 1, -1 or 0
  std::vector<int> FLevel, FReason;
  std::vector<bool> FDecision, FPhase, FSeen;
  std::vector<double> FActivity;
  std::vector<TLiteral> FTrail;
  std::vector<std::size_t> FLevelStart;
  // Models are listed by flipping decisions; a flipped level is never undone
  // by a backjump, only when everything under it has been searched.
  std::vector<char> FFlipped;  // by level
  int FFloor = 0;              // deepest flipped level
  std::vector<TLiteral> FFloorUnits;
  std::size_t FHead = 0;
  std::vector<int> FHeap, FHeapIndex;
  double FIncrement = 1;
  double FClauseIncrement = 1;
  std::uint64_t FConflicts = 0;
  std::uint64_t FPolls = 0;  // across calls: one model may take few steps
  std::size_t FLearntCount = 0;
  std::size_t FLearntLimit = 0;
  bool FUnsatisfiable = false;
  bool FAfterModel = false;
  std::vector<TLiteral> FExclusion;
  bool FHaveExclusion = false;
};

}  // namespace karvel::detail
