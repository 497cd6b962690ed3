#include <gtest/gtest.h>

#include "ReferenceEnumeration.h"
#include "TestTheory.h"

namespace karvel {
namespace {

using testing::Texts;
using V = std::vector<std::string>;
using VV = std::vector<V>;

class InterpretationTest : public ::testing::Test {
 protected:
  VV Interpretations(const V& assumptions) {
    theory = std::make_unique<TKarvelTheory>();
    testing::AddAssumptions(*theory, assumptions);
    TListOfListOfKarvelSentences result;
    theory->ComputeInterpretations(result);
    interpretations = result;
    return Texts(result);
  }
  V Grounded() {
    TListOfKarvelSentences g;
    theory->ComputeGroundedAssumptions(g);
    return Texts(g);
  }
  std::unique_ptr<TKarvelTheory> theory;
  TListOfListOfKarvelSentences interpretations;
};

TEST_F(InterpretationTest, NegationDefeatsItsSentence) {
  EXPECT_EQ(Interpretations({"p", "x(p)"}), (VV{{"x(p)"}}));
  EXPECT_EQ(Grounded(), (V{"x(p)"}));
  theory->SetStatuses(interpretations[0]);
  EXPECT_TRUE(theory->Assumptions[1]->IsJustified);
  EXPECT_TRUE(theory->Assumptions[0]->IsDefeated);
  EXPECT_FALSE(theory->Assumptions[0]->IsJustified);
}

TEST_F(InterpretationTest, MutualAttackGivesTwoInOrder) {
  const V a{"p", "q", "if(p, x(q))", "if(q, x(p))"};
  EXPECT_EQ(Interpretations(a),
            (VV{{"if(p, x(q))", "if(q, x(p))", "q"}, {"if(p, x(q))", "if(q, x(p))", "p"}}));
  EXPECT_EQ(Grounded(), (V{"if(p, x(q))", "if(q, x(p))"}));
}

TEST_F(InterpretationTest, SelfAttackAndInconsistentGroundHaveNone) {
  EXPECT_TRUE(Interpretations({"p", "if(p, x(p))"}).empty());
  theory->SetStatuses({});
  EXPECT_FALSE(theory->Assumptions[0]->IsJustified || theory->Assumptions[0]->IsDefeated);

  EXPECT_TRUE(Interpretations({"a", "if(a, r)", "if(a, x(r))"}).empty());
  EXPECT_EQ(Grounded(), (V{"a", "if(a, r)", "if(a, x(r))"}));
}

TEST_F(InterpretationTest, NoAssumptionsGiveOneEmptyInterpretation) {
  EXPECT_EQ(Interpretations({}), (VV{V{}}));
}

TEST_F(InterpretationTest, GroundedOrderIsByStepThenTheoryOrder) {
  // c is free at once, a once c has defeated b.
  EXPECT_EQ(Interpretations({"a", "b", "c", "if(b, x(a))", "if(c, x(b))"}),
            (VV{{"c", "if(b, x(a))", "if(c, x(b))", "a"}}));
  EXPECT_EQ(Grounded(), (V{"c", "if(b, x(a))", "if(c, x(b))", "a"}));
}

TEST_F(InterpretationTest, AttackOnTextsAlsoFromElementarySentences) {
  // With parsing off an elementary "x(p)" attacks p all the same.
  theory = std::make_unique<TKarvelTheory>();
  for (TKarvelSentence* s : {theory->Arena().NewElementary("p"), theory->Arena().NewElementary("x(p)")})
    theory->Assumptions.push_back(s);
  TListOfListOfKarvelSentences result;
  theory->ComputeInterpretations(result);
  EXPECT_EQ(Texts(result), (VV{{"x(p)"}}));
}

TEST_F(InterpretationTest, OnlyConditionalMembersOfTheClosureFire) {
  // The elementary "if(a, b)" comes first, so the conditional of the same
  // text that c derives is not added and b never follows.
  TSentenceArena arena;
  TListOfKarvelSentences input{arena.NewElementary("if(a, b)"), ParseSentence("a", arena),
                               ParseSentence("c", arena), ParseSentence("if(c, if(a, b))", arena)};
  TListOfKarvelSentences closure;
  DeductiveClosure(input, closure);
  EXPECT_EQ(Texts(closure), (V{"if(a, b)", "a", "c", "if(c, if(a, b))"}));
  // The other way round the derived conditional fires.
  std::swap(input[0], input[3]);
  input[3] = ParseSentence("b0", arena);
  DeductiveClosure(input, closure);
  EXPECT_EQ(Texts(closure), (V{"if(c, if(a, b))", "a", "c", "b0", "if(a, b)", "b"}));
}

TEST_F(InterpretationTest, AmbiguousTextsFollowThePlainEnumeration) {
  // An assumed elementary "if(p, x(q))" next to the rule of that text inside
  // another assumption: the closure does not grow with its input, and the
  // plain enumeration is used.
  theory = std::make_unique<TKarvelTheory>();
  auto& arena = theory->Arena();
  for (TKarvelSentence* s : {static_cast<TKarvelSentence*>(arena.NewElementary("if(p, x(q))")),
                             ParseSentence("p", arena), ParseSentence("q", arena), ParseSentence("r", arena),
                             ParseSentence("if(r, if(p, x(q)))", arena), ParseSentence("if(q, x(r))", arena)})
    theory->Assumptions.push_back(s);
  TListOfListOfKarvelSentences fast, plain;
  theory->ComputeInterpretations(fast);
  reference::ComputeInterpretations(*theory, plain);
  EXPECT_EQ(Texts(fast), Texts(plain));
}

TEST(ClosureTest, PassesAppendInExaminationOrder) {
  TSentenceArena arena;
  // In one pass a later rule sees what an earlier one appended; an earlier
  // rule that becomes ready waits for the next pass.
  const auto input = testing::Parse(arena, {"if(b, c)", "a", "if(a, b)", "if(c, d)", "if(b, e)"});
  TListOfKarvelSentences closure, expected;
  DeductiveClosure(input, closure);
  reference::DeductiveClosure(input, expected);
  EXPECT_EQ(Texts(closure), Texts(expected));
  EXPECT_EQ(Texts(closure), (V{"if(b, c)", "a", "if(a, b)", "if(c, d)", "if(b, e)", "b", "e", "c", "d"}));
}

TEST(ClosureTest, CulpritIsTheFirstAttackedInClosureOrder) {
  TSentenceArena arena;
  TKarvelSentence* culprit = nullptr;
  EXPECT_TRUE(IsConsistent(testing::Parse(arena, {"a", "x(b)"}), culprit));
  EXPECT_EQ(culprit, nullptr);
  EXPECT_FALSE(IsConsistent(testing::Parse(arena, {"x(b)", "a", "if(a, b)", "x(a)"}), culprit));
  ASSERT_NE(culprit, nullptr);
  EXPECT_EQ(culprit->Text, "a");
}

TEST(ClosureTest, ConditionalWithoutAntecedentsFires) {
  TSentenceArena arena;
  auto* c = arena.NewConditional();
  c->Consequent = arena.NewElementary("z");
  ComposeText(c);
  TListOfKarvelSentences closure;
  DeductiveClosure({c}, closure);
  EXPECT_EQ(Texts(closure), (V{"if(, z)", "z"}));
}

TEST(NextCombinationTest, MostSignificantBitFirst) {
  std::vector<bool> none;
  EXPECT_FALSE(NextCombination(none));
  std::vector<bool> bits{false, false};
  std::vector<std::vector<bool>> seen;
  while (NextCombination(bits)) seen.push_back(bits);
  EXPECT_EQ(seen, (std::vector<std::vector<bool>>{{false, true}, {true, false}, {true, true}}));
  EXPECT_EQ(bits, (std::vector<bool>{true, true}));
}

TEST(StatusTest, IssuesAreJustifiedDefeatedOrUnsettled) {
  TKarvelTheory theory;
  testing::AddAssumptions(theory, {"a", "if(a, b)", "if(a, x(c))"});
  for (auto* s : testing::Parse(theory.Arena(), {"b", "c", "d", "if(a, x(c))"})) {
    s->IsIssue = true;
    theory.Issues.push_back(s);
  }
  TListOfListOfKarvelSentences result;
  theory.ComputeInterpretations(result);
  ASSERT_EQ(result.size(), 1u);
  theory.SetStatuses(result[0]);
  EXPECT_TRUE(theory.Issues[0]->IsJustified);
  EXPECT_TRUE(theory.Issues[1]->IsDefeated);
  EXPECT_FALSE(theory.Issues[2]->IsJustified || theory.Issues[2]->IsDefeated);
  // Parts get statuses too: the x(c) inside the issue is justified.
  auto* part = AsConditional(theory.Issues[3])->Consequent;
  EXPECT_TRUE(part->IsJustified);
  EXPECT_FALSE(part->IsAssumption || part->IsIssue);  // roles are not touched
}

TEST(StatusTest, OnlyTheFirstObjectOfATextIsCollected) {
  // In if(p, p) the antecedent object is a second p: it keeps its flags.
  TKarvelTheory theory;
  testing::AddAssumptions(theory, {"p", "if(p, p)"});
  auto* rule = AsConditional(theory.Assumptions[1]);
  rule->Antecedents[0]->IsDefeated = true;
  theory.SetStatuses({theory.Assumptions[0]});
  EXPECT_TRUE(rule->Consequent->IsJustified);
  EXPECT_TRUE(rule->Antecedents[0]->IsDefeated);
  EXPECT_FALSE(rule->Antecedents[0]->IsJustified);
}

}  // namespace
}  // namespace karvel
