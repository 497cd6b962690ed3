// The summary of all interpretations against what listing them gives: on the
// random and knotty theories of the differential tests (ambiguous texts
// included), on hand-built duplicates, on theories too big for the plain
// enumeration, and on the edge cases of none, one and no assumptions.
#include <gtest/gtest.h>

#include <random>

#include "KarvelTextGraph.h"
#include "KnottyTheory.h"
#include "RandomTheory.h"
#include "ReferenceEnumeration.h"
#include "TestTheory.h"

namespace karvel {
namespace {

using Entry = TTheorySummary::TEntry;
using testing::Texts;

// The summary by definition: the statuses of every listed interpretation.
TTheorySummary EnumeratedSummary(const TKarvelTheory& theory, const TListOfListOfKarvelSentences& all) {
  TTheorySummary summary;
  summary.Interpretations = all.empty()       ? TMultiplicity::None
                            : all.size() == 1 ? TMultiplicity::One
                                              : TMultiplicity::Several;
  summary.Assumptions.assign(theory.Assumptions.size(), {});
  summary.Issues.assign(theory.Issues.size(), {});
  std::vector<TKarvelTheory::TStatus> a, i;
  for (std::size_t n = 0; n < all.size(); ++n) {
    theory.StatusesOf(all[n], a, i);
    const auto merge = [n](std::vector<Entry>& entries, const std::vector<TKarvelTheory::TStatus>& statuses) {
      for (std::size_t k = 0; k < entries.size(); ++k) {
        const auto one = [n](TExtent& extent, bool holds) {
          if (n == 0)
            extent = holds ? TExtent::All : TExtent::None;
          else if ((extent == TExtent::All) != holds)
            extent = TExtent::Some;
        };
        one(entries[k].Justified, statuses[k].Justified);
        one(entries[k].Defeated, statuses[k].Defeated);
      }
    };
    merge(summary.Assumptions, a);
    merge(summary.Issues, i);
  }
  return summary;
}

std::string Describe(const TKarvelTheory& theory) {
  return ::testing::PrintToString(Texts(theory.Assumptions)) + " / " +
         ::testing::PrintToString(Texts(theory.Issues));
}

// How often the generated theories reach each kind of answer, so that a
// generator that drifts cannot leave the interesting cases untested.
struct TCoverage {
  int None = 0, One = 0, Several = 0, Some = 0, Ambiguous = 0;
  void Count(const TKarvelTheory& theory, const TTheorySummary& summary) {
    None += summary.Interpretations == TMultiplicity::None;
    One += summary.Interpretations == TMultiplicity::One;
    Several += summary.Interpretations == TMultiplicity::Several;
    for (const auto* list : {&summary.Assumptions, &summary.Issues})
      for (const auto& e : *list) Some += e.Justified == TExtent::Some || e.Defeated == TExtent::Some;
    Ambiguous += detail::TTextGraph(theory.Assumptions).Ambiguous();
  }
};

void ExpectSummaryMatches(TKarvelTheory& theory, unsigned seed) {
  TListOfListOfKarvelSentences all;
  reference::ComputeInterpretations(theory, all);
  TTheorySummary summary;
  ASSERT_EQ(theory.Summarize(summary), TSearchOutcome::Complete);
  ASSERT_EQ(summary, EnumeratedSummary(theory, all)) << "seed " << seed << ": " << Describe(theory);
}

// Issues of every kind the statuses read: parts of the assumptions, their
// negations, rules, and texts the closure can never reach.
void AddIssues(TKarvelTheory& theory, std::mt19937& random, const std::vector<std::string>& pool) {
  const int count = testing::RandomPick(random, 6);
  for (int k = 0; k < count; ++k) {
    std::string text =
        pool[static_cast<std::size_t>(testing::RandomPick(random, static_cast<int>(pool.size())))];
    if (testing::RandomPick(random, 3) == 0) text = "x(" + text + ")";
    theory.Issues.push_back(ParseSentence(text, theory.Arena()));
  }
}

std::vector<std::string> PoolOf(const TKarvelTheory& theory) {
  std::vector<std::string> pool = Texts(theory.Assumptions);
  pool.push_back("nowhere");
  pool.push_back("x(nowhere)");
  return pool;
}

TEST(SummaryTest, RandomTheoriesMatchTheEnumeration) {
  TCoverage coverage;
  for (unsigned seed = 1; seed <= 3000; ++seed) {
    testing::TRandomTheory random(seed);
    TKarvelTheory theory;
    Fill(theory, random, seed % 5 == 0);
    std::mt19937 issues(seed);
    AddIssues(theory, issues, PoolOf(theory));
    ExpectSummaryMatches(theory, seed);
    TTheorySummary summary;
    theory.Summarize(summary);
    coverage.Count(theory, summary);
  }
  EXPECT_GT(coverage.None, 200);
  EXPECT_GT(coverage.One, 200);
  EXPECT_GT(coverage.Several, 200);
  EXPECT_GT(coverage.Some, 600);
}

TEST(SummaryTest, KnottyTheoriesMatchTheEnumeration) {
  // Loops of support (the solver's loop check), attacks on rules and texts
  // that stand for two structures (each model confirmed by the closure).
  TCoverage coverage;
  for (unsigned seed = 1; seed <= 3000; ++seed) {
    testing::TKnottyTheory random(seed);
    TKarvelTheory theory;
    random.Fill(theory, seed % 3 == 0);
    std::mt19937 issues(seed);
    AddIssues(theory, issues, PoolOf(theory));
    ExpectSummaryMatches(theory, seed);
    TTheorySummary summary;
    theory.Summarize(summary);
    coverage.Count(theory, summary);
  }
  EXPECT_GT(coverage.Several, 100);
  EXPECT_GT(coverage.Ambiguous, 300);
  EXPECT_GT(coverage.Some, 300);
}

TEST(SummaryTest, DuplicateAssumptionsAreCountedByTheirObjects) {
  // Two objects of one text: the reader never makes these, but the lists
  // may hold them, and then only listing the candidates counts them.
  for (unsigned seed = 1; seed <= 400; ++seed) {
    testing::TRandomTheory random(seed);
    TKarvelTheory theory;
    Fill(theory, random, false);
    auto* twin = ParseSentence(
        theory
            .Assumptions[static_cast<std::size_t>(random.Pick(static_cast<int>(theory.Assumptions.size())))]
            ->Text,
        theory.Arena());
    twin->IsAssumption = true;
    theory.Assumptions.push_back(twin);
    std::mt19937 issues(seed);
    AddIssues(theory, issues, PoolOf(theory));
    ExpectSummaryMatches(theory, seed);
  }
}

// Attack graphs of 40 to 70 assumptions with mutual attacks and rules about
// rules: far too many candidates for the plain enumeration, so the summary
// is checked against the listed interpretations of the search.
TEST(SummaryTest, LargerTheoriesMatchTheListedInterpretations) {
  int several = 0;
  for (unsigned seed = 1; seed <= 40; ++seed) {
    std::mt19937 random(seed);
    const int n = 40 + testing::RandomPick(random, 31);
    std::vector<std::string> texts;
    for (int i = 0; i < n; ++i) texts.push_back("a" + std::to_string(i));
    const auto atom = [&] { return "a" + std::to_string(testing::RandomPick(random, n)); };
    for (int k = 0; k < n; ++k) {
      const std::string a = atom(), b = atom(), attack = "if(" + a + ", x(" + b + "))";
      switch (testing::RandomPick(random, 5)) {
        case 0:
          texts.push_back("if(" + atom() + ", " + attack + ")");
          break;
        case 1:
          texts.push_back("if(" + atom() + ", x(" + attack + "))");
          texts.push_back(attack);
          break;
        case 2:
          texts.push_back(attack);
          texts.push_back("if(" + b + ", x(" + a + "))");
          break;
        default:
          texts.push_back(attack);
          break;
      }
    }
    TKarvelTheory theory;
    for (const auto& t : texts)
      if (IndexOfText(theory.Assumptions, t) < 0) testing::AddAssumptions(theory, {t});
    AddIssues(theory, random, PoolOf(theory));
    TListOfListOfKarvelSentences all;
    theory.ComputeInterpretations(all);
    TTheorySummary summary;
    ASSERT_EQ(theory.Summarize(summary), TSearchOutcome::Complete);
    ASSERT_EQ(summary, EnumeratedSummary(theory, all)) << "seed " << seed;
    several += all.size() > 1;
  }
  EXPECT_GT(several, 10);
}

TTheorySummary SummaryOf(const std::vector<std::string>& assumptions,
                         const std::vector<std::string>& issues) {
  TKarvelTheory theory;
  testing::AddAssumptions(theory, assumptions);
  theory.Issues = testing::Parse(theory.Arena(), issues);
  TTheorySummary summary;
  EXPECT_EQ(theory.Summarize(summary), TSearchOutcome::Complete);
  return summary;
}

TEST(SummaryTest, NoneOneAndSeveral) {
  constexpr auto All = TExtent::All, Some = TExtent::Some, None = TExtent::None;
  // A mutual attack: each side in one of the two interpretations, defeated
  // in the other; the rules themselves always hold.
  const auto two = SummaryOf({"a", "b", "if(a, x(b))", "if(b, x(a))"}, {"x(a)", "c"});
  EXPECT_EQ(two.Interpretations, TMultiplicity::Several);
  EXPECT_EQ(two.Assumptions, (std::vector<Entry>{{Some, Some}, {Some, Some}, {All, None}, {All, None}}));
  EXPECT_EQ(two.Issues, (std::vector<Entry>{{Some, None}, {None, None}}));
  // One interpretation: what it holds, it holds in all.
  const auto one = SummaryOf({"a", "if(a, x(b))", "b"}, {"x(b)"});
  EXPECT_EQ(one.Interpretations, TMultiplicity::One);
  EXPECT_EQ(one.Assumptions, (std::vector<Entry>{{All, None}, {All, None}, {None, All}}));
  EXPECT_EQ(one.Issues, (std::vector<Entry>{{All, None}}));
  // A self-attack leaves no interpretation: everything reads none twice.
  const auto none = SummaryOf({"a", "if(a, x(a))"}, {"x(a)"});
  EXPECT_EQ(none.Interpretations, TMultiplicity::None);
  EXPECT_EQ(none.Assumptions, (std::vector<Entry>{{None, None}, {None, None}}));
  EXPECT_EQ(none.Issues, (std::vector<Entry>{{None, None}}));
  // No assumptions: the one empty interpretation justifies nothing.
  const auto empty = SummaryOf({}, {"p", "x(p)"});
  EXPECT_EQ(empty.Interpretations, TMultiplicity::One);
  EXPECT_EQ(empty.Issues, (std::vector<Entry>{{None, None}, {None, None}}));
}

TEST(SummaryTest, TwentyConflictsNeedNoListing) {
  // 2^20 interpretations; progress counts models, so a summary that listed
  // them would be stopped here long before its end.
  std::vector<std::string> texts;
  for (int i = 0; i < 20; ++i) {
    const std::string p = "p" + std::to_string(i), q = "q" + std::to_string(i);
    texts.insert(texts.end(), {p, q, "if(" + p + ", x(" + q + "))", "if(" + q + ", x(" + p + "))"});
  }
  TKarvelTheory theory;
  testing::AddAssumptions(theory, texts);
  TTheorySummary summary;
  ASSERT_EQ(theory.Summarize(summary, [](std::size_t models) { return models < 1000; }),
            TSearchOutcome::Complete);
  EXPECT_EQ(summary.Interpretations, TMultiplicity::Several);
  EXPECT_EQ(summary.Assumptions[0], (Entry{TExtent::Some, TExtent::Some}));
  EXPECT_EQ(summary.Assumptions[2], (Entry{TExtent::All, TExtent::None}));
  // Stopped at once, it says so.
  EXPECT_EQ(theory.Summarize(summary, [](std::size_t) { return false; }), TSearchOutcome::Stopped);
}

}  // namespace
}  // namespace karvel
