// The interpretation search: every text of the closure and every undecided
// assumption becomes a variable of a clause set whose models are exactly the
// interpretations, and a clause-learning solver lists them. The models are
// sorted into the order of the plain enumeration a bounded number at a time:
// where the choices of the first undecided assumptions leave more models
// than the bound, the search is split on the next one and each half listed
// in turn, the half without it first.
//
// The closure is a least fixpoint, so a text may only be in it with a
// founded derivation. Clark's completion (a text is in only if an assumption
// or a firing rule puts it there) says exactly that when no text supports
// itself through a loop of rules; otherwise every full assignment is also
// checked for texts that only hold each other up, and the clauses that rule
// such a loop out are added.
//
// Where equal texts stand for different structures the closure depends on
// which object of a text enters first, and adding an assumption may take a
// derivation away. There each ambiguous text gets one variable per meaning,
// the clauses hold for whichever meaning the closure ends up with, and every
// model is confirmed by the closure itself before it counts.
#include <algorithm>
#include <cstdint>
#include <numeric>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "KarvelClauseSolver.h"
#include "KarvelGrounded.h"
#include "KarvelInterpretationSearch.h"
#include "KarvelSatSolver.h"
#include "KarvelTextGraph.h"

namespace karvel::detail {

namespace {

// Constants stand in for literals while the clauses are built.
constexpr TLiteral kTrue = 0xFFFFFFFFu;
constexpr TLiteral kFalse = 0xFFFFFFFEu;
TLiteral Not(TLiteral l) { return l == kTrue ? kFalse : l == kFalse ? kTrue : Negated(l); }

enum class TRole : std::uint8_t { Undecided, Grounded, Defeated };

// Rule bodies as sets of texts (the rule's own text and its antecedents).
struct TRuleBodies {
  explicit TRuleBodies(const TTextGraph& graph)
      : Bodies(graph.Rules().size()), Watching(static_cast<std::size_t>(graph.Size())) {
    for (std::size_t r = 0; r < graph.Rules().size(); ++r) {
      const auto& rule = graph.Rules()[r];
      auto& body = Bodies[r];
      body.push_back(rule.Text);
      body.insert(body.end(), rule.Antecedents.begin(), rule.Antecedents.end());
      std::sort(body.begin(), body.end());
      body.erase(std::unique(body.begin(), body.end()), body.end());
      for (int t : body) Watching[static_cast<std::size_t>(t)].push_back(static_cast<int>(r));
    }
  }
  //! The texts derivable from the base texts with every rule switched on.
  std::vector<char> Closure(const TTextGraph& graph, const std::vector<int>& base) const {
    std::vector<char> in(static_cast<std::size_t>(graph.Size()), 0);
    std::vector<std::size_t> missing(Bodies.size());
    for (std::size_t r = 0; r < Bodies.size(); ++r) missing[r] = Bodies[r].size();
    std::vector<int> queue(base);
    while (!queue.empty()) {
      const int t = queue.back();
      queue.pop_back();
      if (in[static_cast<std::size_t>(t)]) continue;
      in[static_cast<std::size_t>(t)] = 1;
      for (int r : Watching[static_cast<std::size_t>(t)])
        if (--missing[static_cast<std::size_t>(r)] == 0)
          queue.push_back(graph.Rules()[static_cast<std::size_t>(r)].Consequent);
    }
    return in;
  }
  std::vector<std::vector<int>> Bodies;
  std::vector<std::vector<int>> Watching;
};

// The models found so far, each a row of bits over the undecided assumptions
// (the first one most significant), so that sorting rows numerically is the
// order of the plain enumeration.
class TRows {
 public:
  explicit TRows(std::size_t bits) : FWords((bits + 63) / 64) {}
  std::uint64_t* Add() {
    FBits.resize(FBits.size() + FWords, 0);
    ++FCount;
    return FBits.data() + FBits.size() - FWords;
  }
  void Set(std::uint64_t* row, std::size_t bit) { row[bit / 64] |= std::uint64_t{1} << (63 - bit % 64); }
  [[nodiscard]] bool Test(std::size_t row, std::size_t bit) const {
    return (FBits[row * FWords + bit / 64] >> (63 - bit % 64)) & 1u;
  }
  [[nodiscard]] std::size_t Count() const { return FCount; }
  //! Puts the rows in ascending order of their bits.
  void Sort() {
    if (FWords == 1) {
      // The common case: rows are plain numbers.
      std::sort(FBits.begin(), FBits.end());
      return;
    }
    std::vector<std::size_t> order(FCount);
    std::iota(order.begin(), order.end(), std::size_t{0});
    const auto row = [this](std::size_t r) {
      return FBits.begin() + static_cast<std::ptrdiff_t>(r * FWords);
    };
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
      return std::lexicographical_compare(row(a), row(a + 1), row(b), row(b + 1));
    });
    std::vector<std::uint64_t> sorted;
    sorted.reserve(FBits.size());
    for (std::size_t r : order) sorted.insert(sorted.end(), row(r), row(r + 1));
    FBits = std::move(sorted);
  }

 private:
  std::size_t FWords;
  std::vector<std::uint64_t> FBits;
  std::size_t FCount = 0;
};

class TClauseSearch {
 public:
  TClauseSearch(const TTextGraph& graph, const std::vector<int>& grounded, const std::vector<TRole>& roles,
                bool ambiguous)
      : FGraph(graph), FBodies(graph), FAmbiguous(ambiguous) {
    const auto& ids = graph.AssumptionIds();
    const std::size_t texts = static_cast<std::size_t>(graph.Size());
    std::vector<int> groundedTexts, possibleTexts;
    FUndecidedWithText.assign(texts, -1);
    for (int i : grounded) groundedTexts.push_back(ids[static_cast<std::size_t>(i)]);
    possibleTexts = groundedTexts;
    if (ambiguous) FGroundedTexts = groundedTexts;
    for (std::size_t i = 0; i < ids.size(); ++i) {
      if (roles[i] != TRole::Undecided) continue;
      FUndecidedWithText[static_cast<std::size_t>(ids[i])] = static_cast<int>(FUndecided.size());
      FUndecided.push_back(static_cast<int>(i));
      possibleTexts.push_back(ids[i]);
    }
    FPossible = FBodies.Closure(graph, possibleTexts);
    // Unambiguous: what the grounded assumptions derive holds in every
    // candidate, so it needs no variable.
    FCertain = ambiguous ? std::vector<char>(texts, 0) : FBodies.Closure(graph, groundedTexts);
    for (std::size_t t = 0; t < texts; ++t) {
      const int negation = graph.NegationOf(static_cast<int>(t));
      if (FCertain[t] && negation >= 0 && FCertain[static_cast<std::size_t>(negation)]) FImpossible = true;
    }
    if (FImpossible) return;
    Encode(grounded, roles);
  }

  //! The grounded assumptions are already inconsistent.
  [[nodiscard]] bool Impossible() const { return FImpossible; }
  [[nodiscard]] const std::vector<int>& Undecided() const { return FUndecided; }
  //! The literal that is true exactly when the text (an id, or -1 for a
  //! text no assumption holds) is in the closure: kTrue or kFalse where
  //! that is the same for every candidate.
  [[nodiscard]] TLiteral TextLiteral(int text) const { return Atom(text); }

  // Bits of what the models have given a question.
  static constexpr std::uint8_t kSeenTrue = 1, kSeenFalse = 2, kSeenBoth = 3;

  //! Answers every question (a literal over the texts) both ways: whether
  //! some interpretation makes it true, and whether some makes it false,
  //! into seen. Once one interpretation is known, each call of the library
  //! solver asks for a model that gives at least one open question the value
  //! no model has given it yet: a model answers all it can at once, and
  //! "none" answers every open question together. So the calls number at
  //! most the questions, and mostly far fewer, however many interpretations
  //! there are.
  //!
  //! Unambiguous, a model's values are its interpretation's closure. Where
  //! texts are ambiguous they need not be: confirm then checks the choice by
  //! the closure itself, marks what it gives into seen and says whether it is
  //! an interpretation; its choice is ruled out afterwards, so another model
  //! of the same choice cannot come back. The closure of each interpretation
  //! is one of the models of its choice, so a question no model can flip
  //! has no interpretation that flips it.
  //!
  //! found tells whether there is an interpretation at all. False when
  //! progress stopped the search.
  template <class Confirm>
  bool Answer(const std::vector<TLiteral>& questions, std::vector<std::uint8_t>& seen, bool& found,
              const TSearchProgress& progress, Confirm confirm) const {
    TSatSolver sat(FVariables);
    for (const auto& clause : FClauses) sat.AddClause(clause);
    for (int v : FInVariable) sat.Prefer(PositiveLiteral(v));
    if (!FTight) sat.CheckAssignment = [this, &sat] { return UnfoundedLoops(sat); };
    std::size_t models = 0;
    std::uint64_t polls = 0;
    sat.ShouldStop = [&] { return progress && ++polls % 256 == 0 && !progress(models); };
    std::vector<std::size_t> open;
    for (std::size_t q = 0; q < questions.size(); ++q)
      if (questions[q] != kTrue && questions[q] != kFalse) open.push_back(q);
    std::vector<bool> chosen(FUndecided.size());
    std::vector<TLiteral> wanted;
    for (;;) {
      wanted.clear();
      if (found) {
        std::erase_if(open, [&](std::size_t q) { return seen[q] == kSeenBoth; });
        for (std::size_t q : open)
          wanted.push_back((seen[q] & kSeenTrue) ? Negated(questions[q]) : questions[q]);
        if (wanted.empty()) return true;
        std::sort(wanted.begin(), wanted.end());
        wanted.erase(std::unique(wanted.begin(), wanted.end()), wanted.end());
      }
      switch (sat.Solve(wanted)) {
        case TSolveResult::Stopped:
          return false;
        case TSolveResult::Unsatisfiable:
          return true;
        case TSolveResult::Model:
          break;
      }
      ++models;
      for (std::size_t k = 0; k < FUndecided.size(); ++k) chosen[k] = sat.Value(FInVariable[k]);
      if (FAmbiguous) {
        found = confirm(chosen) || found;
        sat.ExcludeModelBy(Exclusion(chosen));
      } else {
        for (std::size_t q = 0; q < questions.size(); ++q)
          seen[q] |= Holds(sat, questions[q]) ? kSeenTrue : kSeenFalse;
        found = true;
      }
      if (progress && !progress(models)) return false;
    }
  }

  //! How a run ended: every model listed, stopped by progress, or more
  //! models accepted than the run may hold.
  enum class TRunEnd { Complete, Stopped, Full };

  //! The literal that puts the k-th undecided assumption in or out.
  [[nodiscard]] TLiteral Choice(std::size_t k, bool in) const {
    return in ? PositiveLiteral(FInVariable[k]) : NegativeLiteral(FInVariable[k]);
  }

  //! Runs the search on the models whose first undecided assumptions are
  //! chosen as in prefix; accept receives each model's choice of undecided
  //! assumptions and says whether it counts. Stops once rows holds more
  //! than limit rows.
  //!
  //! The small solver lists many models cheaply (it flips decisions instead
  //! of growing a clause set), but on clause sets with few models that take
  //! many conflicts the library solver is several times faster. So the small
  //! solver starts, and when its conflicts far outnumber its models the
  //! library solver takes over, with a clause against each choice found.
  template <class Accept>
  TRunEnd Run(TRows& rows, const std::vector<bool>& prefix, std::size_t limit,
              const TSearchProgress& progress, const TSearchTuning& tuning, Accept accept) {
    std::size_t models = 0;
    std::vector<bool> chosen;
    bool handOver = tuning.HandOverConflicts == 0;
    bool full = false;
    const auto accepted = [&](const std::vector<bool>& choice) {
      if (!accept(choice)) return false;
      full = rows.Count() >= limit;
      return true;
    };
    if (!handOver) {
      TClauseSolver solver;
      // Every variable may be chosen: texts that only hold each other up are
      // left open by propagation, and choosing texts prunes well.
      for (int v = 0; v < FVariables; ++v)
        solver.NewVariable(true, FOccurrences[static_cast<std::size_t>(v)]);
      for (const auto& clause : FClauses) solver.AddClause(clause);
      for (std::size_t k = 0; k < prefix.size(); ++k) solver.AddClause({Choice(k, prefix[k])});
      if (!FTight) solver.CheckAssignment = [this, &solver] { return UnfoundedLoops(solver); };
      solver.ShouldStop = [&] {
        if (solver.Conflicts() > tuning.HandOverConflicts + tuning.ConflictsPerModel * models)
          handOver = true;
        return handOver || (progress && !progress(rows.Count()));
      };
      // It moves past a model by flipping decisions; a model is ruled out
      // as a whole choice only where one choice may have several models.
      if (ListModels(solver, FAmbiguous, rows, progress, accepted, chosen, models, full))
        return full ? TRunEnd::Full : TRunEnd::Complete;
      // handOver is only set by a poll that stops the solver; otherwise the
      // progress callback stopped the search.
      if (!handOver) return TRunEnd::Stopped;
    }
    TSatSolver sat(FVariables);
    chosen.resize(FUndecided.size());
    for (const auto& clause : FClauses) sat.AddClause(clause);
    for (std::size_t k = 0; k < prefix.size(); ++k) sat.AddClause({Choice(k, prefix[k])});
    // An interpretation takes in every assumption it is not forced to leave
    // out, so trying assumptions in first reaches one in far fewer conflicts
    // than the solver's own phases do: about a third less time on random
    // attack graphs with rules about rules, more without them.
    for (int v : FInVariable) sat.Prefer(PositiveLiteral(v));
    // Choices the small solver rejected are found and rejected once more.
    for (std::size_t row = 0; row < rows.Count(); ++row) {
      for (std::size_t k = 0; k < FUndecided.size(); ++k) chosen[k] = rows.Test(row, k);
      sat.AddClause(Exclusion(chosen));
    }
    // Texts held up only by a loop: ruled out, and the solver looks again.
    if (!FTight) sat.CheckAssignment = [this, &sat] { return UnfoundedLoops(sat); };
    std::uint64_t polls = 0;
    sat.ShouldStop = [&] { return progress && ++polls % 256 == 0 && !progress(rows.Count()); };
    if (!ListModels(sat, true, rows, progress, accepted, chosen, models, full)) return TRunEnd::Stopped;
    return full ? TRunEnd::Full : TRunEnd::Complete;
  }

 private:
  // Lists the solver's models into rows, each ruled out by the clause
  // against its choice when excludeEach, until there are none left or rows
  // are full (true) or the solver's stop or the progress callback ends the
  // search (false).
  template <ModelSolver Solver, class Accept>
  bool ListModels(Solver& solver, bool excludeEach, TRows& rows, const TSearchProgress& progress,
                  Accept& accept, std::vector<bool>& chosen, std::size_t& models, const bool& full) const {
    for (;;) {
      if (full) return true;
      switch (solver.Solve()) {
        case TSolveResult::Stopped:
          return false;
        case TSolveResult::Unsatisfiable:
          return true;
        case TSolveResult::Model:
          break;
      }
      ++models;
      Found(solver, rows, accept, chosen);
      if (excludeEach) solver.ExcludeModelBy(Exclusion(chosen));
      if (progress && !progress(rows.Count())) return false;
    }
  }

  // Reads a model's choice into chosen, and keeps it if accepted.
  template <class Solver, class Accept>
  void Found(const Solver& solver, TRows& rows, Accept& accept, std::vector<bool>& chosen) const {
    chosen.resize(FUndecided.size());
    for (std::size_t k = 0; k < FUndecided.size(); ++k) chosen[k] = solver.Value(FInVariable[k]);
    if (accept(chosen)) {
      std::uint64_t* row = rows.Add();
      for (std::size_t k = 0; k < chosen.size(); ++k)
        if (chosen[k]) rows.Set(row, k);
    }
  }
  // The clause that excludes this choice of assumptions (whatever the
  // meanings of texts outside the closure).
  //
  // Where the closure grows with the assumptions, no interpretation holds
  // another: the assumptions the larger one adds would be attacked by the
  // smaller one's closure, so by its own. Then "one of those left out comes
  // in" and "one of those in goes out" each exclude only this choice among
  // the interpretations, and the shorter clause prunes more.
  std::vector<TLiteral> Exclusion(const std::vector<bool>& chosen) const {
    std::vector<TLiteral> clause;
    const auto in = static_cast<std::size_t>(std::count(chosen.begin(), chosen.end(), true));
    const bool keepIn = FAmbiguous || 2 * in <= chosen.size();
    const bool keepOut = FAmbiguous || !keepIn;
    for (std::size_t k = 0; k < chosen.size(); ++k) {
      if (chosen[k] && keepIn) clause.push_back(NegativeLiteral(FInVariable[k]));
      if (!chosen[k] && keepOut) clause.push_back(PositiveLiteral(FInVariable[k]));
    }
    return clause;
  }

  struct TLiveRule {
    int Rule = -1;
    int Head = -1;
    int Meaning = -1;          // its meaning's variable, or -1
    std::vector<int> Atoms;    // body texts that have variables
    TLiteral Support = kTrue;  // true exactly when the rule fires
  };

  int NewVariable() {
    FOccurrences.push_back(0);
    return FVariables++;
  }
  TLiteral Atom(int text) const {
    const auto t = static_cast<std::size_t>(text);
    if (text < 0 || !FPossible[t]) return kFalse;
    if (FCertain[t]) return kTrue;
    return FAtomLiteral[t];
  }
  template <class Solver>
  static bool Holds(const Solver& solver, TLiteral l) {
    return l == kTrue || (l != kFalse && ValueIn(solver, l) > 0);
  }
  //! 1 true, -1 false, 0 open.
  template <class Solver>
  static int ValueIn(const Solver& solver, TLiteral l) {
    const int v = solver.Assignment(VariableOf(l));
    return (l & 1u) ? -v : v;
  }
  void Clause(std::vector<TLiteral> literals) {
    std::size_t kept = 0;
    for (TLiteral l : literals) {
      if (l == kTrue) return;
      if (l != kFalse) literals[kept++] = l;
    }
    literals.resize(kept);
    for (TLiteral l : literals) FOccurrences[static_cast<std::size_t>(VariableOf(l))] += 1;
    FClauses.push_back(std::move(literals));
  }

  void Encode(const std::vector<int>& grounded, const std::vector<TRole>& roles) {
    const auto& ids = FGraph.AssumptionIds();
    const std::size_t texts = static_cast<std::size_t>(FGraph.Size());
    for (std::size_t k = 0; k < FUndecided.size(); ++k) FInVariable.push_back(NewVariable());
    FAtomLiteral.assign(texts, kFalse);
    FMeaningVariable.assign(texts, -1);
    // Texts that are the same variable as an assumption: the negation of an
    // undecided assumption is in exactly when the assumption is out (in, it
    // may not be attacked; out, it must be), and the text of one that no
    // rule can derive is in exactly when the assumption is.
    std::vector<char> derivable(texts, 0);
    for (std::size_t r = 0; r < FGraph.Rules().size(); ++r)
      if (std::all_of(FBodies.Bodies[r].begin(), FBodies.Bodies[r].end(),
                      [&](int t) { return FPossible[static_cast<std::size_t>(t)] != 0; }))
        derivable[static_cast<std::size_t>(FGraph.Rules()[r].Consequent)] = 1;
    for (std::size_t k = 0; k < FUndecided.size(); ++k) {
      const int negation = FGraph.NegationOf(ids[static_cast<std::size_t>(FUndecided[k])]);
      if (negation >= 0 && FPossible[static_cast<std::size_t>(negation)] &&
          !FCertain[static_cast<std::size_t>(negation)])
        FAtomLiteral[static_cast<std::size_t>(negation)] = NegativeLiteral(FInVariable[k]);
    }
    for (std::size_t k = 0; k < FUndecided.size(); ++k) {
      const auto text = static_cast<std::size_t>(ids[static_cast<std::size_t>(FUndecided[k])]);
      if (!FCertain[text] && !derivable[text] && FAtomLiteral[text] == kFalse)
        FAtomLiteral[text] = PositiveLiteral(FInVariable[k]);
    }
    for (std::size_t t = 0; t < texts; ++t) {
      if (!FPossible[t] || FCertain[t]) continue;
      if (FAtomLiteral[t] == kFalse) FAtomLiteral[t] = PositiveLiteral(NewVariable());
      const std::size_t meanings = FGraph.Meanings(static_cast<int>(t)).size();
      if (!FAmbiguous || meanings < 2) continue;
      FMeaningVariable[t] = NewVariable();
      for (std::size_t m = 1; m < meanings; ++m) NewVariable();
      // Exactly one meaning.
      std::vector<TLiteral> some;
      for (std::size_t m = 0; m < meanings; ++m) {
        some.push_back(PositiveLiteral(FMeaningVariable[t] + static_cast<int>(m)));
        for (std::size_t o = m + 1; o < meanings; ++o)
          Clause({NegativeLiteral(FMeaningVariable[t] + static_cast<int>(m)),
                  NegativeLiteral(FMeaningVariable[t] + static_cast<int>(o))});
      }
      Clause(std::move(some));
    }
    // An assumption in puts its text (and, first of its text, its meaning)
    // into the closure.
    const auto meaningOf = [&](std::size_t i) {
      const int first = FMeaningVariable[static_cast<std::size_t>(ids[i])];
      return first < 0 ? kTrue : PositiveLiteral(first + FGraph.AssumptionMeaning(static_cast<int>(i)));
    };
    for (int i : grounded) {
      Clause({Atom(ids[static_cast<std::size_t>(i)])});
      Clause({meaningOf(static_cast<std::size_t>(i))});
    }
    for (std::size_t k = 0; k < FUndecided.size(); ++k) {
      const auto i = static_cast<std::size_t>(FUndecided[k]);
      const TLiteral in = PositiveLiteral(FInVariable[k]);
      Clause({Not(in), Atom(ids[i])});
      Clause({Not(in), meaningOf(i)});
      // Left out, it must be attacked.
      Clause({in, Atom(FGraph.NegationOf(ids[i]))});
    }
    for (std::size_t i = 0; i < ids.size(); ++i)
      if (roles[i] == TRole::Defeated) Clause({Atom(FGraph.NegationOf(ids[i]))});
    EncodeRules();
    // Nothing attacked may be in.
    for (std::size_t t = 0; t < texts; ++t) {
      const int negation = FGraph.NegationOf(static_cast<int>(t));
      if (negation >= 0) Clause({Not(Atom(static_cast<int>(t))), Not(Atom(negation))});
    }
    FTight = Acyclic();
  }

  void EncodeRules() {
    const std::size_t texts = static_cast<std::size_t>(FGraph.Size());
    std::vector<std::vector<TLiteral>> supports(texts);
    for (std::size_t r = 0; r < FGraph.Rules().size(); ++r) {
      const auto& rule = FGraph.Rules()[r];
      const TLiteral head = Atom(rule.Consequent);
      if (head == kTrue) continue;
      TLiveRule live;
      live.Rule = static_cast<int>(r);
      live.Head = rule.Consequent;
      std::vector<TLiteral> body;
      bool possible = true;
      for (int t : FBodies.Bodies[r]) {
        const TLiteral l = Atom(t);
        if (l == kFalse) possible = false;
        if (l == kTrue || l == kFalse) continue;
        body.push_back(l);
        live.Atoms.push_back(t);
      }
      if (!possible) continue;
      if (const int first = FMeaningVariable[static_cast<std::size_t>(rule.Text)]; first >= 0) {
        const auto& meanings = FGraph.Meanings(rule.Text);
        const auto m = std::find(meanings.begin(), meanings.end(), static_cast<int>(r)) - meanings.begin();
        live.Meaning = first + static_cast<int>(m);
        body.push_back(PositiveLiteral(live.Meaning));
      }
      if (body.size() == 1) {
        live.Support = body[0];
      } else if (body.size() > 1) {
        const int fires = NewVariable();
        live.Support = PositiveLiteral(fires);
        std::vector<TLiteral> all{live.Support};
        for (TLiteral l : body) {
          Clause({Negated(live.Support), l});
          all.push_back(Negated(l));
        }
        Clause(std::move(all));
      }
      Clause({Not(live.Support), head});
      supports[static_cast<std::size_t>(rule.Consequent)].push_back(live.Support);
      FLive.push_back(std::move(live));
    }
    // A text is in only if an assumption or a firing rule puts it there.
    std::vector<char> grounded(texts, 0);
    for (int t : FGroundedTexts) grounded[static_cast<std::size_t>(t)] = 1;
    for (std::size_t t = 0; t < texts; ++t) {
      if (!FPossible[t] || FCertain[t] || grounded[t]) continue;
      std::vector<TLiteral> why{Not(FAtomLiteral[t])};
      if (const int k = FUndecidedWithText[t]; k >= 0)
        why.push_back(PositiveLiteral(FInVariable[static_cast<std::size_t>(k)]));
      why.insert(why.end(), supports[t].begin(), supports[t].end());
      Clause(std::move(why));
    }
  }

  // Whether no text can hold itself up through a loop of live rules.
  bool Acyclic() const {
    const std::size_t texts = static_cast<std::size_t>(FGraph.Size());
    std::vector<int> indegree(texts, 0);
    std::vector<std::vector<int>> heads(texts);
    for (const auto& live : FLive)
      for (int t : live.Atoms) {
        heads[static_cast<std::size_t>(t)].push_back(live.Head);
        ++indegree[static_cast<std::size_t>(live.Head)];
      }
    std::vector<int> ready;
    for (std::size_t t = 0; t < texts; ++t)
      if (indegree[t] == 0) ready.push_back(static_cast<int>(t));
    std::size_t done = 0;
    while (!ready.empty()) {
      const int t = ready.back();
      ready.pop_back();
      ++done;
      for (int h : heads[static_cast<std::size_t>(t)])
        if (--indegree[static_cast<std::size_t>(h)] == 0) ready.push_back(h);
    }
    return done == texts;
  }

  // Texts the assignment holds (or leaves open) that the chosen assumptions
  // do not derive form an unfounded set: each of them needs a support from
  // outside the set, which it does not have.
  template <class Solver>
  TClauseList UnfoundedLoops(const Solver& solver) const {
    const std::size_t texts = static_cast<std::size_t>(FGraph.Size());
    std::vector<char> derived(texts, 0);
    std::vector<int> queue(FGroundedTexts);
    for (std::size_t k = 0; k < FUndecided.size(); ++k)
      if (solver.Value(FInVariable[k]))
        queue.push_back(FGraph.AssumptionIds()[static_cast<std::size_t>(FUndecided[k])]);
    std::vector<std::vector<std::size_t>> watching(texts);
    std::vector<std::size_t> missing(FLive.size());
    for (std::size_t r = 0; r < FLive.size(); ++r) {
      const auto& live = FLive[r];
      if (live.Meaning >= 0 && !solver.Value(live.Meaning)) {
        missing[r] = SIZE_MAX;
        continue;
      }
      missing[r] = live.Atoms.size();
      for (int t : live.Atoms) watching[static_cast<std::size_t>(t)].push_back(r);
      if (live.Atoms.empty()) queue.push_back(live.Head);
    }
    while (!queue.empty()) {
      const auto t = static_cast<std::size_t>(queue.back());
      queue.pop_back();
      if (derived[t]) continue;
      derived[t] = 1;
      for (std::size_t r : watching[t])
        if (--missing[r] == 0) queue.push_back(FLive[r].Head);
    }
    std::vector<char> unfounded(texts, 0);
    std::vector<int> set;
    for (std::size_t t = 0; t < texts; ++t) {
      if (!FPossible[t] || FCertain[t] || derived[t] || ValueIn(solver, FAtomLiteral[t]) < 0) continue;
      unfounded[t] = 1;
      set.push_back(static_cast<int>(t));
    }
    if (set.empty()) return {};
    std::vector<TLiteral> external;
    for (int t : set)
      if (const int k = FUndecidedWithText[static_cast<std::size_t>(t)]; k >= 0)
        external.push_back(PositiveLiteral(FInVariable[static_cast<std::size_t>(k)]));
    for (const auto& live : FLive) {
      if (!unfounded[static_cast<std::size_t>(live.Head)]) continue;
      const bool inside = std::any_of(live.Atoms.begin(), live.Atoms.end(),
                                      [&](int t) { return unfounded[static_cast<std::size_t>(t)] != 0; });
      if (!inside && live.Support != kFalse && live.Support != kTrue) external.push_back(live.Support);
    }
    TClauseList loops;
    for (int t : set) {
      std::vector<TLiteral> clause{Not(FAtomLiteral[static_cast<std::size_t>(t)])};
      clause.insert(clause.end(), external.begin(), external.end());
      loops.push_back(std::move(clause));
    }
    return loops;
  }

  const TTextGraph& FGraph;
  TRuleBodies FBodies;
  bool FAmbiguous;
  bool FImpossible = false;
  bool FTight = true;
  std::vector<int> FUndecided, FUndecidedWithText;
  std::vector<int> FGroundedTexts;  // ambiguous only: their texts have variables
  std::vector<char> FPossible, FCertain;
  std::vector<int> FInVariable, FMeaningVariable;
  std::vector<TLiteral> FAtomLiteral;  // by text, for texts that may be in
  std::vector<double> FOccurrences;
  int FVariables = 0;
  TClauseList FClauses;
  std::vector<TLiveRule> FLive;
};

// The grounded assumptions by the closure itself, for ambiguous theories.
bool PlainGrounded(TKarvelTheory& theory, TListOfKarvelSentences& grounded, const TSearchProgress& progress) {
  grounded.clear();
  while (theory.ExtendGroundedAssumptions(grounded))
    if (progress && !progress(0)) return false;
  return true;
}

}  // namespace

bool IsInterpretation(const TListOfKarvelSentences& assumptions, const TListOfKarvelSentences& candidate) {
  if (!IsConsistent(candidate)) return false;
  const auto attacked = NegatedTexts(candidate);
  std::unordered_set<std::string_view> members;
  for (auto* c : candidate) members.insert(c->Text);
  return std::all_of(assumptions.begin(), assumptions.end(),
                     [&](auto* a) { return members.count(a->Text) || attacked.count(a->Text); });
}

TSearchOutcome EnumerateInterpretations(TKarvelTheory& theory, const TInterpretationVisitor& visit,
                                        const TSearchProgress& progress) {
  TListOfKarvelSentences grounded;
  if (!PlainGrounded(theory, grounded, progress)) return TSearchOutcome::Stopped;
  if (!IsConsistent(grounded)) return TSearchOutcome::Complete;
  const auto attackedByG = NegatedTexts(grounded);
  std::unordered_set<std::string_view> inG;
  for (auto* g : grounded) inG.insert(g->Text);
  TListOfKarvelSentences undecided;
  for (auto* a : theory.Assumptions)
    if (!inG.count(a->Text) && !attackedByG.count(a->Text)) undecided.push_back(a);
  std::vector<bool> bits(undecided.size(), false);
  std::size_t found = 0;
  do {
    TListOfKarvelSentences candidate = grounded;
    for (std::size_t i = 0; i < bits.size(); ++i)
      if (bits[i]) candidate.push_back(undecided[i]);
    if (IsInterpretation(theory.Assumptions, candidate)) {
      visit(candidate);
      ++found;
    }
    if (progress && !progress(found)) return TSearchOutcome::Stopped;
  } while (NextCombination(bits));
  return TSearchOutcome::Complete;
}

namespace {

// The assumptions before the search: grounded, defeated by the grounded
// ones, or undecided. False when progress stopped it, or (impossible set)
// when the grounded assumptions are inconsistent.
bool PrepareRoles(TKarvelTheory& theory, const TTextGraph& graph, std::vector<TRole>& roles,
                  std::vector<int>& grounded, bool& impossible, const TSearchProgress& progress) {
  const TListOfKarvelSentences& assumptions = theory.Assumptions;
  const std::size_t n = assumptions.size();
  roles.assign(n, TRole::Undecided);
  grounded.clear();
  impossible = false;
  if (!graph.Ambiguous()) {
    grounded = GroundedIndexes(graph);
    for (int i : grounded) roles[static_cast<std::size_t>(i)] = TRole::Grounded;
    // What the grounded assumptions attack is out of every candidate.
    std::vector<char> attacked;
    {
      TRuleBodies bodies(graph);
      std::vector<int> texts;
      for (int i : grounded) texts.push_back(graph.AssumptionIds()[static_cast<std::size_t>(i)]);
      attacked = bodies.Closure(graph, texts);
    }
    for (std::size_t i = 0; i < n; ++i) {
      const int negation = graph.NegationOf(graph.AssumptionIds()[i]);
      if (roles[i] == TRole::Undecided && negation >= 0 && attacked[static_cast<std::size_t>(negation)])
        roles[i] = TRole::Defeated;
    }
    return true;
  }
  TListOfKarvelSentences list;
  if (!PlainGrounded(theory, list, progress)) return false;
  if (!IsConsistent(list)) {
    impossible = true;
    return true;
  }
  std::unordered_map<const TKarvelSentence*, int> index;
  for (std::size_t i = 0; i < n; ++i) index.emplace(assumptions[i], static_cast<int>(i));
  for (auto* g : list) {
    grounded.push_back(index.at(g));
    roles[static_cast<std::size_t>(grounded.back())] = TRole::Grounded;
  }
  const auto attacked = NegatedTexts(list);
  for (std::size_t i = 0; i < n; ++i)
    if (roles[i] == TRole::Undecided && attacked.count(assumptions[i]->Text)) roles[i] = TRole::Defeated;
  return true;
}

}  // namespace

TSearchOutcome SearchInterpretations(TKarvelTheory& theory, const TInterpretationVisitor& visit,
                                     const TSearchProgress& progress, const TSearchTuning& tuning) {
  const TListOfKarvelSentences& assumptions = theory.Assumptions;
  TTextGraph graph(assumptions);
  // Two assumptions of one text: candidates may hold either object, which
  // the rows below cannot tell apart.
  if (graph.DuplicateAssumptions()) return EnumerateInterpretations(theory, visit, progress);

  std::vector<TRole> roles;
  std::vector<int> grounded;
  bool impossible = false;
  if (!PrepareRoles(theory, graph, roles, grounded, impossible, progress)) return TSearchOutcome::Stopped;
  if (impossible) return TSearchOutcome::Complete;
  TClauseSearch search(graph, grounded, roles, graph.Ambiguous());
  if (search.Impossible()) return TSearchOutcome::Complete;
  const auto& undecided = search.Undecided();
  // One list for every candidate: the grounded prefix is laid once, and
  // only the chosen assumptions change from one to the next.
  TListOfKarvelSentences candidate;
  for (int i : grounded) candidate.push_back(assumptions[static_cast<std::size_t>(i)]);
  const std::size_t prefix = candidate.size();
  const auto candidateOf = [&](const auto& chosen) -> const TListOfKarvelSentences& {
    candidate.resize(prefix);
    for (std::size_t k = 0; k < undecided.size(); ++k)
      if (chosen(k)) candidate.push_back(assumptions[static_cast<std::size_t>(undecided[k])]);
    return candidate;
  };
  TRows rows(undecided.size());
  // The rows one run may hold; the order of the plain enumeration is that
  // of the rows, so a run over a prefix that holds them all can be sorted
  // and handed over before the next prefix is searched.
  const std::size_t words = (undecided.size() + 63) / 64;
  const std::size_t limit = std::max<std::size_t>(tuning.RowsPerRun, 1) / std::max<std::size_t>(words, 1);
  std::size_t handed = 0;
  const TSearchProgress counted = [&](std::size_t found) { return !progress || progress(handed + found); };
  // Prefixes still to search, the next one last.
  std::vector<std::vector<bool>> prefixes{{}};
  while (!prefixes.empty()) {
    std::vector<bool> prefix = std::move(prefixes.back());
    prefixes.pop_back();
    TRows rows(undecided.size());
    const auto end = search.Run(
        rows, prefix, limit, progress ? counted : TSearchProgress{}, tuning,
        [&](const std::vector<bool>& chosen) {
          return !graph.Ambiguous() ||
                 IsInterpretation(assumptions, candidateOf([&](std::size_t k) { return chosen[k]; }));
        });
    if (end == TClauseSearch::TRunEnd::Full && prefix.size() < undecided.size()) {
      // Too many to hold: the half with the next assumption in comes after
      // the half without it.
      prefix.push_back(true);
      prefixes.push_back(prefix);
      prefix.back() = false;
      prefixes.push_back(std::move(prefix));
      continue;
    }
    rows.Sort();
    for (std::size_t row = 0; row < rows.Count(); ++row)
      visit(candidateOf([&](std::size_t k) { return rows.Test(row, k); }));
    handed += rows.Count();
    if (end == TClauseSearch::TRunEnd::Stopped) return TSearchOutcome::Stopped;
  }
  return TSearchOutcome::Complete;
}

namespace {

// What the interpretations gave each sentence so far: two questions per
// assumption and issue, in list order, justified then defeated, each with
// the bits of TClauseSearch (true seen, false seen).
class TSummaryAnswers {
 public:
  explicit TSummaryAnswers(const TKarvelTheory& theory)
      : FAssumptions(theory.Assumptions.size()), Seen(2 * (FAssumptions + theory.Issues.size()), 0) {}

  //! Marks the statuses one interpretation gives.
  void Mark(const std::vector<TKarvelTheory::TStatus>& assumptions,
            const std::vector<TKarvelTheory::TStatus>& issues) {
    std::size_t q = 0;
    for (const auto* list : {&assumptions, &issues})
      for (const auto& status : *list) {
        Seen[q++] |= status.Justified ? TClauseSearch::kSeenTrue : TClauseSearch::kSeenFalse;
        Seen[q++] |= status.Defeated ? TClauseSearch::kSeenTrue : TClauseSearch::kSeenFalse;
      }
  }
  //! The summary the answers give, with the number of interpretations.
  void Fill(TTheorySummary& summary, TMultiplicity interpretations) const {
    const auto extent = [this](std::size_t q) {
      if (Seen[q] == TClauseSearch::kSeenBoth) return TExtent::Some;
      return Seen[q] == TClauseSearch::kSeenTrue ? TExtent::All : TExtent::None;
    };
    summary.Interpretations = interpretations;
    summary.Assumptions.clear();
    summary.Issues.clear();
    for (std::size_t q = 0; q < Seen.size(); q += 2) {
      auto& list = q / 2 < FAssumptions ? summary.Assumptions : summary.Issues;
      list.push_back({extent(q), extent(q + 1)});
    }
  }

 private:
  std::size_t FAssumptions;

 public:
  std::vector<std::uint8_t> Seen;
};

// The negation's text, as the closure's statuses read it.
std::string NegationText(std::string_view text) {
  std::string negation = "x(";
  negation += text;
  negation += ')';
  return negation;
}

}  // namespace

TSearchOutcome SummarizeInterpretations(TKarvelTheory& theory, TTheorySummary& summary,
                                        const TSearchProgress& progress) {
  const TListOfKarvelSentences& assumptions = theory.Assumptions;
  TSummaryAnswers answers(theory);
  answers.Fill(summary, TMultiplicity::None);
  std::vector<TKarvelTheory::TStatus> assumptionStatuses, issueStatuses;
  TTextGraph graph(assumptions);
  if (graph.DuplicateAssumptions()) {
    // Candidates of one text may differ only in which object they hold, so
    // only listing them counts them. Theories are read without duplicates;
    // only hand-built lists reach this.
    std::size_t count = 0;
    const auto outcome = EnumerateInterpretations(
        theory,
        [&](const TListOfKarvelSentences& interpretation) {
          ++count;
          theory.StatusesOf(interpretation, assumptionStatuses, issueStatuses);
          answers.Mark(assumptionStatuses, issueStatuses);
        },
        progress);
    answers.Fill(summary, count == 0   ? TMultiplicity::None
                          : count == 1 ? TMultiplicity::One
                                       : TMultiplicity::Several);
    return outcome;
  }

  std::vector<TRole> roles;
  std::vector<int> grounded;
  bool impossible = false;
  if (!PrepareRoles(theory, graph, roles, grounded, impossible, progress)) return TSearchOutcome::Stopped;
  if (impossible) return TSearchOutcome::Complete;
  const TClauseSearch search(graph, grounded, roles, graph.Ambiguous());
  if (search.Impossible()) return TSearchOutcome::Complete;

  std::vector<TLiteral> questions;
  questions.reserve(answers.Seen.size());
  for (const auto* list : {&theory.Assumptions, &theory.Issues})
    for (const auto* s : *list) {
      questions.push_back(search.TextLiteral(graph.Find(s->Text)));
      questions.push_back(search.TextLiteral(graph.Find(NegationText(s->Text))));
    }
  // Ambiguous: each model's choice is checked and read by the closure itself.
  const auto& undecided = search.Undecided();
  TListOfKarvelSentences candidate;
  const auto confirm = [&](const std::vector<bool>& chosen) {
    candidate.clear();
    for (int i : grounded) candidate.push_back(assumptions[static_cast<std::size_t>(i)]);
    for (std::size_t k = 0; k < undecided.size(); ++k)
      if (chosen[k]) candidate.push_back(assumptions[static_cast<std::size_t>(undecided[k])]);
    if (!IsInterpretation(assumptions, candidate)) return false;
    theory.StatusesOf(candidate, assumptionStatuses, issueStatuses);
    answers.Mark(assumptionStatuses, issueStatuses);
    return true;
  };
  bool found = false;
  if (!search.Answer(questions, answers.Seen, found, progress, confirm)) return TSearchOutcome::Stopped;
  if (!found) return TSearchOutcome::Complete;
  // Two interpretations differ in an assumption one of them leaves out;
  // left out, it is attacked, so its text is not in that closure (which is
  // consistent), while the other holds it. So there are several exactly when
  // some assumption is justified in some interpretations only.
  answers.Fill(summary, TMultiplicity::One);
  const bool several = std::any_of(summary.Assumptions.begin(), summary.Assumptions.end(),
                                   [](const auto& entry) { return entry.Justified == TExtent::Some; });
  if (several) summary.Interpretations = TMultiplicity::Several;
  return TSearchOutcome::Complete;
}

}  // namespace karvel::detail
