#include "KarvelSatSolver.h"

#include <cadical.hpp>

namespace karvel::detail {

namespace {

int ExternalLiteral(TLiteral l) {
  const int v = VariableOf(l) + 1;
  return (l & 1u) ? -v : v;
}

}  // namespace

struct TSatSolver::TImpl : CaDiCaL::Terminator {
  explicit TImpl(TSatSolver& owner) : Owner(owner) {}
  bool terminate() override { return Owner.ShouldStop && Owner.ShouldStop(); }
  // Switches off the last call's constraint; not at once, since adding a
  // clause discards the model.
  void Retire() {
    if (Selector == 0) return;
    Solver.add(-Selector);
    Solver.add(0);
    Selector = 0;
  }
  TSatSolver& Owner;
  CaDiCaL::Solver Solver;
  int Variables = 0;
  int Selector = 0;
};

TSatSolver::TSatSolver(int variables) : FImpl(std::make_unique<TImpl>(*this)) {
  FImpl->Variables = variables;
  FImpl->Solver.set("quiet", 1);
  // Measured on random attack graphs with rules about rules: restarting
  // more often, and backtracking all the way after a conflict, finds the
  // few models of these clause sets faster than the defaults.
  FImpl->Solver.set("restartint", 10);
  FImpl->Solver.set("chrono", 0);
  // Eliminating variables early costs more than it saves on these clause
  // sets, which are mostly binary already.
  FImpl->Solver.set("elimint", 20000);
  // Every variable exists even if no clause names it, so that Value is
  // defined for all of them.
  if (variables > 0) FImpl->Solver.reserve(variables);
  FImpl->Solver.connect_terminator(FImpl.get());
}

TSatSolver::~TSatSolver() { FImpl->Solver.disconnect_terminator(); }

void TSatSolver::AddClause(const std::vector<TLiteral>& literals) {
  FImpl->Retire();
  for (TLiteral l : literals) FImpl->Solver.add(ExternalLiteral(l));
  FImpl->Solver.add(0);
}

void TSatSolver::Prefer(TLiteral literal) { FImpl->Solver.phase(ExternalLiteral(literal)); }

TSolveResult TSatSolver::Solve(const std::vector<TLiteral>& constraint) {
  FImpl->Retire();
  // The constraint is a clause switched on by a fresh variable assumed for
  // this call, and switched off for good before the next clause or call: the
  // library's own one-call constraint made these searches several times
  // slower.
  int selector = 0;
  if (!constraint.empty()) {
    selector = ++FImpl->Variables;
    FImpl->Solver.add(-selector);
    for (TLiteral l : constraint) FImpl->Solver.add(ExternalLiteral(l));
    FImpl->Solver.add(0);
    FImpl->Selector = selector;
  }
  for (;;) {
    if (selector) FImpl->Solver.assume(selector);
    switch (FImpl->Solver.solve()) {
      case 10:
        break;
      case 20:
        return TSolveResult::Unsatisfiable;
      default:
        return TSolveResult::Stopped;
    }
    const TClauseList violated = CheckAssignment ? CheckAssignment() : TClauseList{};
    if (violated.empty()) return TSolveResult::Model;
    for (const auto& clause : violated) AddClause(clause);
  }
}

int TSatSolver::Assignment(int variable) const { return FImpl->Solver.val(variable + 1) > 0 ? 1 : -1; }

}  // namespace karvel::detail
