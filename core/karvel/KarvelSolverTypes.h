// What the two solvers of the interpretation search have in common: their
// literals, their answers and their callbacks, so that the search lists the
// models of either with the same code. Not part of the unit's interface.
#pragma once

#include <concepts>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

namespace karvel::detail {

//! A literal: variable v is 2v when true, 2v + 1 when false.
using TLiteral = std::uint32_t;
inline TLiteral PositiveLiteral(int variable) { return 2u * static_cast<TLiteral>(variable); }
inline TLiteral NegativeLiteral(int variable) { return 2u * static_cast<TLiteral>(variable) + 1u; }
inline TLiteral Negated(TLiteral literal) { return literal ^ 1u; }
inline int VariableOf(TLiteral literal) { return static_cast<int>(literal >> 1); }

using TClauseList = std::vector<std::vector<TLiteral>>;

//! What a call to Solve found: a model, none left, or the stop callback
//! ended the search first.
enum class TSolveResult { Model, Unsatisfiable, Stopped };

//! Polled now and then during a search; true stops it.
using TStopCheck = std::function<bool()>;
//! Called with a full assignment: the clauses it violates, or none to
//! accept it as a model.
using TAssignmentCheck = std::function<TClauseList()>;

//! A solver the search lists models of: Solve finds the next model of the
//! clauses, less those CheckAssignment rejects, and after a model
//! ExcludeModelBy adds a clause the model violates before the next Solve.
template <class Solver>
concept ModelSolver = requires(Solver& solver, const Solver& solved, int variable,
                               std::vector<TLiteral> clause) {
  { solver.Solve() } -> std::same_as<TSolveResult>;
  { solved.Value(variable) } -> std::same_as<bool>;
  { solved.Assignment(variable) } -> std::same_as<int>;
  solver.ExcludeModelBy(std::move(clause));
  requires std::same_as<decltype(solver.CheckAssignment), TAssignmentCheck>;
  requires std::same_as<decltype(solver.ShouldStop), TStopCheck>;
};

}  // namespace karvel::detail
