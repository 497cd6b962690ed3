// An incremental SAT solver from a library, for the clause sets of the
// interpretation search whose models are few but hard to find: there its
// preprocessing and search outrun the small solver. Models are listed by
// adding a clause against each. Not part of the unit's interface.
#pragma once

#include <memory>
#include <vector>

#include "KarvelSolverTypes.h"

namespace karvel::detail {

class TSatSolver {
 public:
  //! A solver over variables 0 .. variables-1 (literals as TLiteral).
  explicit TSatSolver(int variables);
  ~TSatSolver();
  TSatSolver(const TSatSolver&) = delete;
  TSatSolver& operator=(const TSatSolver&) = delete;

  void AddClause(const std::vector<TLiteral>& literals);
  //! Whenever the literal's variable is to be decided, decides it this way
  //! first, whatever the solver learned to prefer.
  void Prefer(TLiteral literal);
  //! The next model of the clauses added so far that CheckAssignment
  //! accepts; the clauses it returns instead are added, and the search goes
  //! on. A constraint, when given, holds for this call only: the model must
  //! also satisfy it.
  TSolveResult Solve(const std::vector<TLiteral>& constraint = {});
  //! After a model: exclude it by this clause (false under the model).
  void ExcludeModelBy(const std::vector<TLiteral>& clause) { AddClause(clause); }
  [[nodiscard]] bool Value(int variable) const { return Assignment(variable) > 0; }
  //! 1 true, -1 false in the current model.
  [[nodiscard]] int Assignment(int variable) const;

  TAssignmentCheck CheckAssignment;
  TStopCheck ShouldStop;

 private:
  struct TImpl;
  std::unique_ptr<TImpl> FImpl;
};

}  // namespace karvel::detail
