// Explanations checked as derivations by the rules a reader follows, written
// here from the definitions: each step an assumption of the interpretation or
// the consequent of an earlier conditional step whose antecedents are
// earlier steps, the goal last, nothing unused. The closure they are checked
// against is the plain one.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "RandomTheory.h"
#include "ReferenceEnumeration.h"
#include "TestTheory.h"

namespace karvel {
namespace {

using V = std::vector<std::string>;

// The plain closure of an interpretation, by text.
struct TPlainClosure {
  std::map<std::string, const TKarvelSentence*> ByText;
  std::set<std::string> Assumed;

  explicit TPlainClosure(const TListOfKarvelSentences& interpretation) {
    TListOfKarvelSentences closure;
    reference::DeductiveClosure(interpretation, closure);
    for (const auto* s : closure) ByText.emplace(s->Text, s);
    for (const auto* s : interpretation) Assumed.insert(s->Text);
  }
  [[nodiscard]] bool Has(const std::string& text) const { return ByText.count(text) > 0; }
};

// What is wrong with the steps as a derivation of goal; empty when nothing.
std::string Fault(const TPlainClosure& closure, const std::string& goal, const TDerivation& steps) {
  if (steps.empty()) return "no steps";
  std::set<std::string> seen;
  std::vector<bool> used(steps.size(), false);
  for (std::size_t i = 0; i < steps.size(); ++i) {
    const TDerivationStep& step = steps[i];
    const std::string& text = step.Sentence->Text;
    const std::string at = "step " + std::to_string(i) + " (" + text + "): ";
    if (!seen.insert(text).second) return at + "text derived twice";
    if (step.Rule < 0) {
      if (!closure.Assumed.count(text)) return at + "not an assumption of the interpretation";
      if (!step.Premises.empty()) return at + "assumption with premises";
      continue;
    }
    // An assumption derived anew is a detour.
    if (closure.Assumed.count(text)) return at + "derives an assumption";
    if (static_cast<std::size_t>(step.Rule) >= i) return at + "rule not earlier";
    // Whether a text acts as a rule is up to the object the closure holds
    // for it: an elementary sentence whose text looks like a rule does not.
    const auto rule = closure.ByText.find(steps[step.Rule].Sentence->Text);
    if (rule == closure.ByText.end()) return at + "rule outside the closure";
    const auto* conditional = AsConditional(rule->second);
    if (!conditional) return at + "rule is not a conditional";
    if (conditional->Consequent->Text != text) return at + "not the rule's consequent";
    if (step.Premises.size() != conditional->Antecedents.size()) return at + "premise count";
    for (std::size_t j = 0; j < step.Premises.size(); ++j) {
      const int p = step.Premises[j];
      if (p < 0 || static_cast<std::size_t>(p) >= i) return at + "premise not earlier";
      if (steps[p].Sentence->Text != conditional->Antecedents[j]->Text) return at + "premise out of order";
      used[p] = true;
    }
    used[step.Rule] = true;
  }
  if (steps.back().Sentence->Text != goal) return "goal not last";
  for (std::size_t i = 0; i + 1 < steps.size(); ++i)
    if (!used[i]) return "step " + std::to_string(i) + " is a detour";
  return {};
}

// The plain statuses: justified first, as the reports name them.
TExplainedStatus PlainStatus(const TPlainClosure& closure, const std::string& text) {
  if (closure.Has(text)) return TExplainedStatus::Justified;
  if (closure.Has(NegationText(text))) return TExplainedStatus::Defeated;
  return TExplainedStatus::Neither;
}

// Every text of the argument (assumptions, issues, parts) and the negation
// of each, so that goals outside the argument are asked for too.
V Questions(const TKarvelTheory& theory) {
  std::set<std::string> texts;
  for (const auto* s : theory.StatusSentences()) {
    texts.insert(s->Text);
    texts.insert(NegationText(s->Text));
  }
  return {texts.begin(), texts.end()};
}

// Support-heavy theories over more atoms: long chains, several rules for
// one text, rules that derive rules. The differential generator is mostly
// attack, so its derivations are short.
V ChainAssumptions(testing::TRandomTheory& random) {
  const auto atom = [&] { return "q" + std::to_string(random.Pick(8)); };
  V texts;
  for (int i = 1 + random.Pick(2); i > 0; --i) texts.push_back(atom());
  for (int i = 6 + random.Pick(10); i > 0; --i) {
    std::string rule = "if(" + atom() + (random.Pick(3) == 0 ? ", " + atom() : "") + ", ";
    switch (random.Pick(6)) {
      case 0:
        rule += "x(" + atom() + ")";
        break;
      case 1:
        rule += "if(" + atom() + ", " + atom() + ")";
        break;
      default:
        rule += atom();
        break;
    }
    texts.push_back(rule + ")");
  }
  return texts;
}

struct TReached {
  int Justified = 0, Defeated = 0, Neither = 0, DerivedRule = 0, LongChain = 0, NotUtf8 = 0, Ambiguous = 0;
};

void CheckTheory(TKarvelTheory& theory, unsigned seed, TReached& reached) {
  TListOfListOfKarvelSentences interpretations;
  theory.ComputeInterpretations(interpretations);
  const V questions = Questions(theory);
  for (const auto& interpretation : interpretations) {
    const TPlainClosure closure(interpretation);
    const TClosureDerivations derivations(interpretation);
    for (const std::string& text : questions) {
      const TExplanation e = Explain(derivations, text);
      ASSERT_EQ(e.Status, PlainStatus(closure, text)) << "seed " << seed << ": " << text;
      switch (e.Status) {
        case TExplainedStatus::Justified:
          ASSERT_EQ(e.Goal, text);
          ++reached.Justified;
          break;
        case TExplainedStatus::Defeated:
          ASSERT_EQ(e.Goal, NegationText(text));
          ++reached.Defeated;
          break;
        case TExplainedStatus::Neither:
          ASSERT_TRUE(e.Goal.empty() && e.Steps.empty()) << "seed " << seed;
          ++reached.Neither;
          continue;
      }
      ASSERT_EQ(Fault(closure, e.Goal, e.Steps), "") << "seed " << seed << ", goal " << e.Goal;
      for (const auto& step : e.Steps)
        if (step.Rule >= 0 && !e.Steps[step.Rule].IsAssumption()) ++reached.DerivedRule;
      reached.LongChain += e.Steps.size() >= 6;
      reached.NotUtf8 += e.Goal.find('\xE9') != std::string::npos;
      reached.Ambiguous += seed % 5 == 0;
    }
    // The statuses the window shows come from StatusesOf.
    std::vector<TKarvelTheory::TStatus> assumptions, issues;
    theory.StatusesOf(interpretation, assumptions, issues);
    for (std::size_t i = 0; i < assumptions.size(); ++i) {
      const TExplainedStatus status = Explain(derivations, theory.Assumptions[i]->Text).Status;
      ASSERT_EQ(status == TExplainedStatus::Justified, assumptions[i].Justified) << "seed " << seed;
      ASSERT_EQ(status == TExplainedStatus::Defeated, assumptions[i].Defeated && !assumptions[i].Justified);
    }
  }
}

TEST(DerivationTest, RandomTheoriesGiveValidDerivationsAndTheWindowsStatuses) {
  TReached reached;
  for (unsigned seed = 1; seed <= 3000; ++seed) {
    testing::TRandomTheory random(seed);
    TKarvelTheory theory;
    // Every other theory is mostly support; every fifth keeps some rule
    // texts elementary; every seventh spells its atoms 1 with a byte that
    // is not UTF-8.
    for (std::string t : seed % 2 == 0 ? ChainAssumptions(random) : random.Assumptions()) {
      if (seed % 7 == 0) std::replace(t.begin(), t.end(), '1', '\xE9');
      if (IndexOfText(theory.Assumptions, t) >= 0) continue;
      TKarvelSentence* s = seed % 5 == 0 && random.Pick(3) == 0 ? theory.Arena().NewElementary(t)
                                                                : ParseSentence(t, theory.Arena());
      s->IsAssumption = true;
      theory.Assumptions.push_back(s);
    }
    ASSERT_NO_FATAL_FAILURE(CheckTheory(theory, seed, reached));
  }
  // The generator must reach every kind of case, or the test proves little.
  EXPECT_GT(reached.Justified, 1000);
  EXPECT_GT(reached.Defeated, 1000);
  EXPECT_GT(reached.Neither, 1000);
  EXPECT_GT(reached.DerivedRule, 50);
  EXPECT_GT(reached.LongChain, 100);
  EXPECT_GT(reached.NotUtf8, 50);
  EXPECT_GT(reached.Ambiguous, 500);
}

// Derivations of the same goal in two loads of the same theory.
TEST(DerivationTest, SameTheoryGivesTheSameSteps) {
  for (unsigned seed = 1; seed <= 300; ++seed) {
    std::vector<std::vector<std::string>> runs[2];
    for (auto& run : runs) {
      testing::TRandomTheory random(seed);
      TKarvelTheory theory;
      testing::Fill(theory, random, false);
      TListOfListOfKarvelSentences interpretations;
      theory.ComputeInterpretations(interpretations);
      for (const auto& interpretation : interpretations) {
        const TClosureDerivations derivations(interpretation);
        for (const std::string& text : Questions(theory)) {
          std::vector<std::string> lines;
          for (const auto& step : Explain(derivations, text).Steps) {
            std::string line = step.Sentence->Text + " <- " + std::to_string(step.Rule);
            for (int p : step.Premises) line += " " + std::to_string(p);
            lines.push_back(line);
          }
          run.push_back(lines);
        }
      }
    }
    ASSERT_EQ(runs[0], runs[1]) << "seed " << seed;
  }
}

class ShortDerivationTest : public ::testing::Test {
 protected:
  // The step texts of the derivation of goal from the assumptions.
  V Steps(const V& assumptions, const std::string& goal) {
    testing::AddAssumptions(theory, assumptions);
    steps = TClosureDerivations(theory.Assumptions).Derive(goal);
    V texts;
    for (const auto& step : steps) texts.push_back(step.Sentence->Text);
    return texts;
  }
  TKarvelTheory theory;
  TDerivation steps;
};

TEST_F(ShortDerivationTest, AnAssumptionIsItsOwnDerivation) {
  EXPECT_EQ(Steps({"a", "if(a, b)", "if(b, a)"}, "a"), (V{"a"}));
  EXPECT_TRUE(steps[0].IsAssumption());
  EXPECT_TRUE(Steps({}, "c").empty());
}

TEST_F(ShortDerivationTest, ADirectRuleBeatsTheChainThatReachedTheTextFirst) {
  // The passes reach d through b and c before if(a, d) has its turn.
  EXPECT_EQ(Steps({"a", "if(a, b)", "if(b, c)", "if(c, d)", "if(a, d)"}, "d"), (V{"a", "if(a, d)", "d"}));
  EXPECT_EQ(steps[2].Rule, 1);
  EXPECT_EQ(steps[2].Premises, (std::vector<int>{0}));
}

TEST_F(ShortDerivationTest, OfEqualRulesTheOneThatFiredFirstIsTaken) {
  EXPECT_EQ(Steps({"b", "a", "if(a, c)", "if(b, c)"}, "c"), (V{"a", "if(a, c)", "c"}));
}

TEST_F(ShortDerivationTest, ASharedPremiseIsDerivedOnce) {
  const V assumptions{"a", "if(a, b)", "if(b, c)", "if(b, c, d)"};
  EXPECT_EQ(Steps(assumptions, "d"), (V{"a", "if(a, b)", "if(b, c)", "if(b, c, d)", "b", "c", "d"}));
  EXPECT_EQ(steps[6].Premises, (std::vector<int>{4, 5}));
}

TEST_F(ShortDerivationTest, ADerivedRuleIsAStepBeforeItsConsequent) {
  EXPECT_EQ(Steps({"a", "b", "if(a, if(b, x(c)))"}, "x(c)"),
            (V{"a", "b", "if(a, if(b, x(c)))", "if(b, x(c))", "x(c)"}));
  EXPECT_EQ(steps[4].Rule, 3);
  EXPECT_EQ(steps[3].Rule, 2);
}

TEST_F(ShortDerivationTest, AnElementaryRuleTextDerivesNothing) {
  TKarvelSentence* rule = theory.Arena().NewElementary("if(a, b)");
  testing::AddAssumptions(theory, {"a"});
  theory.Assumptions.push_back(rule);
  EXPECT_TRUE(TClosureDerivations(theory.Assumptions).Derive("b").empty());
  EXPECT_EQ(Explain(theory.Assumptions, "b").Status, TExplainedStatus::Neither);
}

}  // namespace
}  // namespace karvel
