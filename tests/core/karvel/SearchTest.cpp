// The clause-learning search: its solver on random clause sets, the founded
// closure, stopping, and agreement with the plain enumeration on theories
// built to hit loops of support, rules about rules and ambiguous texts, and
// with the depth-first search on theories too big for the plain one.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "DepthFirstSearch.h"
#include "KarvelClauseSolver.h"
#include "KarvelInterpretationSearch.h"
#include "KarvelSatSolver.h"
#include "KarvelTextGraph.h"
#include "KnottyTheory.h"
#include "ReferenceEnumeration.h"
#include "TestTheory.h"

namespace karvel {
namespace {

using testing::Texts;
using testing::TKnottyTheory;
using V = std::vector<std::string>;
using VV = std::vector<V>;
using detail::TClauseSolver;
using detail::TLiteral;

int Pick(std::mt19937& random, int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); }

// --------------------------------------------------------------- the solver

std::vector<std::vector<TLiteral>> RandomClauses(std::mt19937& random, int variables, int clauses) {
  std::vector<std::vector<TLiteral>> set(static_cast<std::size_t>(clauses));
  for (auto& clause : set) {
    const int size = 2 + Pick(random, 2);
    for (int k = 0; k < size; ++k) {
      const int v = Pick(random, variables);
      clause.push_back(Pick(random, 2) ? detail::PositiveLiteral(v) : detail::NegativeLiteral(v));
    }
  }
  return set;
}

bool Satisfies(unsigned model, const std::vector<std::vector<TLiteral>>& set) {
  return std::all_of(set.begin(), set.end(), [&](const auto& clause) {
    return std::any_of(clause.begin(), clause.end(), [&](TLiteral l) {
      return (((model >> detail::VariableOf(l)) & 1u) != 0) == ((l & 1u) == 0);
    });
  });
}

TEST(ClauseSolverTest, ListsEveryModelOnceAsBruteForceDoes) {
  // Flipping decisions after each model while learning and backjumping in
  // between must neither lose nor repeat a model.
  int manyModels = 0;
  for (unsigned seed = 1; seed <= 600; ++seed) {
    std::mt19937 random(seed);
    const int variables = 4 + Pick(random, 9);
    const auto set = RandomClauses(random, variables, 1 + Pick(random, 4 * variables));
    std::vector<unsigned> expected;
    for (unsigned m = 0; m < (1u << variables); ++m)
      if (Satisfies(m, set)) expected.push_back(m);

    TClauseSolver solver;
    for (int v = 0; v < variables; ++v) solver.NewVariable(true, Pick(random, 5));
    for (const auto& clause : set) solver.AddClause(clause);
    std::vector<unsigned> found;
    while (solver.Solve() == detail::TSolveResult::Model) {
      unsigned m = 0;
      for (int v = 0; v < variables; ++v) m |= solver.Value(v) ? 1u << v : 0u;
      found.push_back(m);
    }
    std::sort(found.begin(), found.end());
    ASSERT_EQ(found, expected) << "seed " << seed;
    manyModels += expected.size() > 20;
  }
  EXPECT_GT(manyModels, 100);
}

TEST(ClauseSolverTest, RejectedAssignmentsAndExclusionsAreHonoured) {
  // The check rejects every model with v0 true by the clause "not v0"; the
  // caller excludes each model it sees by a clause of its own.
  for (unsigned seed = 1; seed <= 200; ++seed) {
    std::mt19937 random(seed);
    const int variables = 3 + Pick(random, 6);
    const auto set = RandomClauses(random, variables, variables);
    TClauseSolver solver;
    for (int v = 0; v < variables; ++v) solver.NewVariable(true);
    for (const auto& clause : set) solver.AddClause(clause);
    solver.CheckAssignment = [&] {
      return solver.Value(0) ? detail::TClauseList{{detail::NegativeLiteral(0)}} : detail::TClauseList{};
    };
    std::vector<unsigned> found;
    while (solver.Solve() == detail::TSolveResult::Model) {
      unsigned m = 0;
      std::vector<TLiteral> exclusion;
      for (int v = 0; v < variables; ++v) {
        m |= solver.Value(v) ? 1u << v : 0u;
        exclusion.push_back(solver.Value(v) ? detail::NegativeLiteral(v) : detail::PositiveLiteral(v));
      }
      found.push_back(m);
      solver.ExcludeModelBy(exclusion);
    }
    std::vector<unsigned> expected;
    for (unsigned m = 0; m < (1u << variables); m += 2)
      if (Satisfies(m, set)) expected.push_back(m);
    std::sort(found.begin(), found.end());
    ASSERT_EQ(found, expected) << "seed " << seed;
  }
}

TEST(ClauseSolverTest, LibrarySolverHonoursRejectedAssignmentsAndExclusions) {
  // The same contract as the small solver's: a rejected assignment is never
  // a model, and the search goes on under the clauses the check returned.
  for (unsigned seed = 1; seed <= 200; ++seed) {
    std::mt19937 random(seed);
    const int variables = 3 + Pick(random, 6);
    const auto set = RandomClauses(random, variables, variables);
    detail::TSatSolver solver(variables);
    for (const auto& clause : set) solver.AddClause(clause);
    int checks = 0;
    solver.CheckAssignment = [&] {
      ++checks;
      return solver.Value(0) ? detail::TClauseList{{detail::NegativeLiteral(0)}} : detail::TClauseList{};
    };
    std::vector<unsigned> found;
    while (solver.Solve() == detail::TSolveResult::Model) {
      unsigned m = 0;
      std::vector<TLiteral> exclusion;
      for (int v = 0; v < variables; ++v) {
        m |= solver.Value(v) ? 1u << v : 0u;
        exclusion.push_back(solver.Value(v) ? detail::NegativeLiteral(v) : detail::PositiveLiteral(v));
      }
      found.push_back(m);
      solver.ExcludeModelBy(exclusion);
    }
    std::vector<unsigned> expected;
    for (unsigned m = 0; m < (1u << variables); m += 2)
      if (Satisfies(m, set)) expected.push_back(m);
    std::sort(found.begin(), found.end());
    ASSERT_EQ(found, expected) << "seed " << seed;
    EXPECT_GE(checks, static_cast<int>(found.size())) << "seed " << seed;
  }
}

TEST(ClauseSolverTest, StopsWhenAsked) {
  TClauseSolver solver;
  for (int v = 0; v < 40; ++v) solver.NewVariable(true);
  int polls = 0;
  solver.ShouldStop = [&] { return ++polls == 2; };
  std::size_t models = 0;
  detail::TSolveResult result;
  while ((result = solver.Solve()) == detail::TSolveResult::Model) ++models;
  EXPECT_EQ(result, detail::TSolveResult::Stopped);
  EXPECT_GT(models, 0u);
  EXPECT_EQ(polls, 2);
}

// --------------------------------------------------------------- semantics

VV Interpretations(const V& assumptions) {
  TKarvelTheory theory;
  testing::AddAssumptions(theory, assumptions);
  TListOfListOfKarvelSentences result;
  theory.ComputeInterpretations(result);
  return Texts(result);
}

TEST(SearchTest, LoopsOfRulesDeriveNothing) {
  // u and v only hold each other up: they attack neither p nor r, so
  // leaving both out is no interpretation.
  const V rules{"if(r, x(p))", "if(p, x(r))", "if(u, v)", "if(v, u)", "if(u, x(r))", "if(v, x(p))"};
  V theory{"p", "r"};
  theory.insert(theory.end(), rules.begin(), rules.end());
  V withR = rules, withP = rules;
  withR.push_back("r");
  withP.push_back("p");
  EXPECT_EQ(Interpretations(theory), (VV{withR, withP}));
}

TEST(SearchTest, LoopThroughAnAssumptionIsFounded) {
  // q supports itself through p, but p is assumed: the loop is founded.
  EXPECT_EQ(Interpretations({"p", "if(p, q)", "if(q, p)", "r", "if(q, x(r))", "if(r, x(q))"}),
            (VV{{"p", "if(p, q)", "if(q, p)", "if(q, x(r))", "if(r, x(q))"}}));
}

TEST(SearchTest, ManyInterpretationsComeInEnumerationOrder) {
  // Six independent mutual attacks: the 64 choices, p0 slowest.
  V texts;
  for (int i = 0; i < 6; ++i) {
    const std::string p = "p" + std::to_string(i), q = "q" + std::to_string(i);
    for (const std::string& t : {p, q, "if(" + p + ", x(" + q + "))", "if(" + q + ", x(" + p + "))"})
      texts.push_back(t);
  }
  TKarvelTheory theory;
  testing::AddAssumptions(theory, texts);
  TListOfListOfKarvelSentences fast, plain;
  theory.ComputeInterpretations(fast);
  reference::ComputeInterpretations(theory, plain);
  ASSERT_EQ(fast.size(), 64u);
  EXPECT_EQ(Texts(fast), Texts(plain));
}

TEST(SearchTest, ChoicesWiderThanAWordComeInEnumerationOrder) {
  // An even cycle of 70 attacks: the odd members, then the even ones (the
  // first undecided assumption is the most significant choice).
  V texts, odd, even;
  constexpr int n = 70;
  for (int i = 0; i < n; ++i) texts.push_back("a" + std::to_string(i));
  for (int i = 0; i < n; ++i)
    texts.push_back("if(a" + std::to_string(i) + ", x(a" + std::to_string((i + 1) % n) + "))");
  for (int i = n; i < 2 * n; ++i) odd.push_back(texts[static_cast<std::size_t>(i)]);
  even = odd;
  for (int i = 0; i < n; ++i) (i % 2 ? odd : even).push_back(texts[static_cast<std::size_t>(i)]);
  EXPECT_EQ(Interpretations(texts), (VV{odd, even}));
}

// --------------------------------------------------------------- stopping

void Pairs(TKarvelTheory& theory, int pairs) {
  V texts;
  for (int i = 0; i < pairs; ++i) {
    const std::string p = "p" + std::to_string(i), q = "q" + std::to_string(i);
    for (const std::string& t : {p, q, "if(" + p + ", x(" + q + "))", "if(" + q + ", x(" + p + "))"})
      texts.push_back(t);
  }
  testing::AddAssumptions(theory, texts);
}

// Whether part is a subsequence of whole.
bool InOrderWithin(const VV& part, const VV& whole) {
  auto at = whole.begin();
  for (const auto& p : part) {
    at = std::find(at, whole.end(), p);
    if (at == whole.end()) return false;
    ++at;
  }
  return true;
}

TEST(SearchTest, StoppedSearchKeepsWhatItFoundInOrder) {
  TKarvelTheory theory;
  Pairs(theory, 8);
  TListOfListOfKarvelSentences all, some;
  theory.ComputeInterpretations(all);
  std::size_t last = 0;
  const auto outcome = theory.ComputeInterpretations(some, [&](std::size_t found) {
    EXPECT_GE(found, last);  // the count never goes back
    last = found;
    return found < 100;
  });
  EXPECT_EQ(outcome, TSearchOutcome::Stopped);
  EXPECT_EQ(some.size(), 100u);
  EXPECT_TRUE(InOrderWithin(Texts(some), Texts(all)));
  // Never stopped: complete, and the same as without a callback.
  TListOfListOfKarvelSentences again;
  EXPECT_EQ(theory.ComputeInterpretations(again, [](std::size_t) { return true; }), TSearchOutcome::Complete);
  EXPECT_EQ(Texts(again), Texts(all));
}

TEST(SearchTest, StopsInTheAmbiguousAndThePlainCase) {
  // An elementary text equal to a conditional's makes the theory ambiguous;
  // a second object of an assumption's text takes the plain enumeration.
  for (bool duplicate : {false, true}) {
    TKarvelTheory theory;
    Pairs(theory, 6);
    auto& arena = theory.Arena();
    theory.Assumptions.push_back(arena.NewElementary("if(z, w)"));
    theory.Assumptions.push_back(ParseSentence("if(v, if(z, w))", arena));
    if (duplicate) theory.Assumptions.push_back(ParseSentence("p0", arena));
    TListOfListOfKarvelSentences some, plain;
    const auto outcome = theory.ComputeInterpretations(some, [](std::size_t found) { return found < 5; });
    reference::ComputeInterpretations(theory, plain);
    EXPECT_EQ(outcome, TSearchOutcome::Stopped);
    EXPECT_GE(some.size(), 1u);
    EXPECT_LE(some.size(), 5u);
    EXPECT_TRUE(InOrderWithin(Texts(some), Texts(plain)));
  }
}

TEST(SearchTest, VisitorSeesTheSameListOneAtATime) {
  TKarvelTheory theory;
  Pairs(theory, 5);
  TListOfListOfKarvelSentences all;
  theory.ComputeInterpretations(all);
  VV visited;
  EXPECT_EQ(
      theory.ForEachInterpretation([&](const TListOfKarvelSentences& i) { visited.push_back(Texts(i)); }),
      TSearchOutcome::Complete);
  EXPECT_EQ(visited, Texts(all));
}

// The library solver from the start, and a hand-over after the first
// conflict, whatever the small solver has found by then.
const detail::TSearchTuning kLibraryOnly{0, 0};
const detail::TSearchTuning kEarlyHandOver{1, 0};

VV Search(TKarvelTheory& theory, const detail::TSearchTuning& tuning, TSearchOutcome* outcome = nullptr,
          const TSearchProgress& progress = {}) {
  VV found;
  const auto result = detail::SearchInterpretations(
      theory, [&](const TListOfKarvelSentences& i) { found.push_back(Texts(i)); }, progress, tuning);
  if (outcome) *outcome = result;
  return found;
}

TEST(SearchTest, LibrarySolverRulesOutLoopsAndKeepsTheOrder) {
  TKarvelTheory loops;
  testing::AddAssumptions(
      loops, {"p", "r", "if(r, x(p))", "if(p, x(r))", "if(u, v)", "if(v, u)", "if(u, x(r))", "if(v, x(p))"});
  TListOfListOfKarvelSentences plain;
  reference::ComputeInterpretations(loops, plain);
  EXPECT_EQ(Search(loops, kLibraryOnly), Texts(plain));
  TKarvelTheory pairs;
  Pairs(pairs, 6);
  plain.clear();
  reference::ComputeInterpretations(pairs, plain);
  ASSERT_EQ(plain.size(), 64u);
  EXPECT_EQ(Search(pairs, kLibraryOnly), Texts(plain));
}

TEST(SearchTest, StoppedLibrarySearchKeepsWhatItFoundInOrder) {
  TKarvelTheory theory;
  Pairs(theory, 8);
  TListOfListOfKarvelSentences all;
  theory.ComputeInterpretations(all);
  TSearchOutcome outcome{};
  const VV some = Search(theory, kLibraryOnly, &outcome, [](std::size_t found) { return found < 20; });
  EXPECT_EQ(outcome, TSearchOutcome::Stopped);
  EXPECT_EQ(some.size(), 20u);
  EXPECT_TRUE(InOrderWithin(some, Texts(all)));
}

// --------------------------------------------------------------- differential

TEST(SearchTest, KnottyTheoriesMatchThePlainEnumeration) {
  int ambiguousSeen = 0, several = 0;
  for (unsigned seed = 1; seed <= 3000; ++seed) {
    TKnottyTheory random(seed);
    TKarvelTheory theory;
    random.Fill(theory, seed % 3 == 0);
    TListOfListOfKarvelSentences fast, plain;
    theory.ComputeInterpretations(fast);
    reference::ComputeInterpretations(theory, plain);
    ASSERT_EQ(Texts(fast), Texts(plain))
        << "seed " << seed << ": " << ::testing::PrintToString(Texts(theory.Assumptions));
    for (const auto& tuning : {kLibraryOnly, kEarlyHandOver})
      ASSERT_EQ(Search(theory, tuning), Texts(plain))
          << "seed " << seed << " handing over after " << tuning.HandOverConflicts;
    ambiguousSeen += detail::TTextGraph(theory.Assumptions).Ambiguous();
    several += fast.size() > 1;
  }
  EXPECT_GT(ambiguousSeen, 300);
  EXPECT_GT(several, 100);
}

// Runs that may hold only a few rows: the search splits on the undecided
// assumptions, one after another, and hands over each part in order.
TEST(SearchTest, SplitRunsKeepTheOrderOfThePlainEnumeration) {
  for (std::size_t rows : {1u, 2u, 3u, 7u}) {
    detail::TSearchTuning tight;
    tight.RowsPerRun = rows;
    detail::TSearchTuning tightLibrary = kLibraryOnly;
    tightLibrary.RowsPerRun = rows;
    for (unsigned seed = 1; seed <= 300; ++seed) {
      TKnottyTheory random(seed);
      TKarvelTheory theory;
      random.Fill(theory, seed % 3 == 0);
      TListOfListOfKarvelSentences plain;
      reference::ComputeInterpretations(theory, plain);
      ASSERT_EQ(Search(theory, tight), Texts(plain)) << "seed " << seed << ", " << rows << " rows";
      ASSERT_EQ(Search(theory, tightLibrary), Texts(plain)) << "seed " << seed << ", " << rows << " rows";
    }
    TKarvelTheory pairs;
    Pairs(pairs, 6);
    TListOfListOfKarvelSentences plain;
    reference::ComputeInterpretations(pairs, plain);
    EXPECT_EQ(Search(pairs, tight), Texts(plain)) << rows;
    // Stopped inside a part: what was handed over is in order.
    TSearchOutcome outcome{};
    const VV some = Search(pairs, tight, &outcome, [](std::size_t found) { return found < 20; });
    EXPECT_EQ(outcome, TSearchOutcome::Stopped);
    EXPECT_TRUE(InOrderWithin(some, Texts(plain)));
  }
}

// Random attack graphs of 30 to 60 assumptions with rules about rules: far
// beyond the plain enumeration, within reach of the depth-first search.
TEST(SearchTest, MidSizedTheoriesMatchTheDepthFirstSearch) {
  int several = 0;
  for (unsigned seed = 1; seed <= 60; ++seed) {
    std::mt19937 random(seed);
    const int n = 30 + Pick(random, 31);
    const double density = 0.02 + 0.01 * Pick(random, 4);
    V texts;
    for (int i = 0; i < n; ++i) texts.push_back("a" + std::to_string(i));
    for (int i = 0; i < n; ++i)
      for (int j = 0; j < n; ++j) {
        if (i == j || std::uniform_real_distribution<double>(0, 1)(random) >= density) continue;
        const std::string attack = "if(a" + std::to_string(i) + ", x(a" + std::to_string(j) + "))";
        const std::string other = "a" + std::to_string(Pick(random, n));
        switch (Pick(random, 6)) {
          case 0:
            texts.push_back("if(" + other + ", " + attack + ")");
            break;
          case 1:
            texts.push_back("if(" + other + ", x(" + attack + "))");
            texts.push_back(attack);
            break;
          case 2:
            texts.push_back("if(a" + std::to_string(j) + ", " + other + ")");
            texts.push_back(attack);
            break;
          default:
            texts.push_back(attack);
            break;
        }
      }
    for (int k = 4 + Pick(random, 8); k > 0; --k) {
      const std::string a = "a" + std::to_string(Pick(random, n)), b = "a" + std::to_string(Pick(random, n));
      texts.push_back("if(" + a + ", x(" + b + "))");
      texts.push_back("if(" + b + ", x(" + a + "))");
    }
    TKarvelTheory theory;
    for (const auto& t : texts) {
      if (IndexOfText(theory.Assumptions, t) >= 0) continue;
      testing::AddAssumptions(theory, {t});
    }
    TListOfListOfKarvelSentences fast, previous;
    theory.ComputeInterpretations(fast);
    reference::BacktrackingInterpretations(theory.Assumptions, previous);
    ASSERT_EQ(Texts(fast), Texts(previous)) << "seed " << seed;
    for (const auto& tuning : {kLibraryOnly, kEarlyHandOver})
      ASSERT_EQ(Search(theory, tuning), Texts(previous))
          << "seed " << seed << " handing over after " << tuning.HandOverConflicts;
    several += fast.size() > 1;
  }
  EXPECT_GT(several, 10);
}

}  // namespace
}  // namespace karvel
