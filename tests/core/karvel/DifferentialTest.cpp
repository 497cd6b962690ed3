// The fast closure, grounded assumptions and interpretations against the
// plain implementation, on many seeded random theories.
#include <gtest/gtest.h>

#include <random>

#include "ReferenceEnumeration.h"
#include "TestTheory.h"

namespace karvel {
namespace {

using testing::Texts;

// Random texts over a few atoms: facts, negations, rules whose consequents
// are atoms, negations of atoms or of rules, and rules about rules.
class TRandomTheory {
 public:
  explicit TRandomTheory(unsigned seed) : FRandom(seed) {}

  std::string Atom() { return "p" + std::to_string(Pick(4)); }
  std::string Rule(int depth) {
    std::string text = "if(";
    const int antecedents = 1 + Pick(depth > 0 ? 1 : 2);
    for (int i = 0; i < antecedents; ++i) text += (Pick(4) == 0 ? "x(" + Atom() + ")" : Atom()) + ", ";
    switch (Pick(depth > 0 ? 2 : 4)) {
      case 0: text += Atom(); break;
      case 1: text += "x(" + Atom() + ")"; break;
      case 2: text += "x(" + Rule(depth + 1) + ")"; break;
      default: text += Rule(depth + 1); break;
    }
    return text + ")";
  }
  // Mostly attacks between assumed atoms, so that cycles of attack (several
  // interpretations, or none) are common; some support and rules about rules.
  std::vector<std::string> Assumptions() {
    std::vector<std::string> texts;
    const int atoms = 2 + Pick(4);
    for (int i = 0; i < atoms; ++i) texts.push_back(Atom());
    const int rules = 1 + Pick(6);
    for (int i = 0; i < rules; ++i) {
      switch (Pick(8)) {
        case 0: texts.push_back("x(" + Atom() + ")"); break;
        case 1: case 2: texts.push_back(Rule(0)); break;
        default: {
          const std::string a = Atom(), b = Atom();
          texts.push_back("if(" + a + ", x(" + b + "))");
          if (Pick(2) == 0) texts.push_back("if(" + b + ", x(" + a + "))");
          break;
        }
      }
    }
    return texts;
  }
  int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(FRandom); }

 private:
  std::mt19937 FRandom;
};

// Assumptions with unique texts, as the reader makes them; sometimes one is
// kept elementary although its text is a rule, to reach the plain method.
void Fill(TKarvelTheory& theory, TRandomTheory& random, bool ambiguous) {
  std::vector<std::string> texts = random.Assumptions();
  for (const auto& t : texts) {
    if (IndexOfText(theory.Assumptions, t) >= 0) continue;
    TKarvelSentence* s = ambiguous && random.Pick(3) == 0 ? theory.Arena().NewElementary(t)
                                                         : ParseSentence(t, theory.Arena());
    s->IsAssumption = true;
    theory.Assumptions.push_back(s);
  }
}

TEST(DifferentialTest, InterpretationsMatchThePlainEnumeration) {
  int withSeveral = 0, withNone = 0;
  for (unsigned seed = 1; seed <= 4000; ++seed) {
    TRandomTheory random(seed);
    TKarvelTheory theory;
    Fill(theory, random, seed % 5 == 0);
    TListOfListOfKarvelSentences fast, plain;
    theory.ComputeInterpretations(fast);
    reference::ComputeInterpretations(theory, plain);
    ASSERT_EQ(Texts(fast), Texts(plain)) << "seed " << seed << ": " << ::testing::PrintToString(Texts(theory.Assumptions));
    // The lists hold the theory's own assumption objects.
    for (const auto& i : fast)
      for (auto* s : i) ASSERT_GE(IndexOfSentence(theory.Assumptions, s), 0);
    TListOfKarvelSentences g1, g2;
    theory.ComputeGroundedAssumptions(g1);
    reference::ComputeGroundedAssumptions(theory, g2);
    ASSERT_EQ(g1, g2) << "seed " << seed;
    withSeveral += fast.size() > 1;
    withNone += fast.empty();
  }
  // The generator must reach the interesting cases, or the test proves little.
  EXPECT_GT(withSeveral, 200);
  EXPECT_GT(withNone, 200);
}

TEST(DifferentialTest, ClosureAndCulpritMatchThePlainPasses) {
  for (unsigned seed = 1; seed <= 3000; ++seed) {
    TRandomTheory random(seed);
    TSentenceArena arena;
    TListOfKarvelSentences input;
    for (const auto& t : random.Assumptions())
      input.push_back(seed % 3 == 0 && random.Pick(4) == 0 ? arena.NewElementary(t)
                                                           : ParseSentence(t, arena));
    TListOfKarvelSentences fast, plain;
    DeductiveClosure(input, fast);
    reference::DeductiveClosure(input, plain);
    ASSERT_EQ(fast, plain) << "seed " << seed;
    TKarvelSentence *c1 = nullptr, *c2 = nullptr;
    ASSERT_EQ(IsConsistent(input, c1), reference::IsConsistent(input, c2));
    ASSERT_EQ(c1, c2) << "seed " << seed;
  }
}

TEST(DifferentialTest, NextCombinationMatchesTheRecursiveDefinition) {
  for (std::size_t size = 0; size <= 6; ++size) {
    std::vector<bool> a(size, false), b(size, false);
    bool more = true;
    while (more) {
      more = NextCombination(a);
      ASSERT_EQ(more, reference::NextCombination(b));
      ASSERT_EQ(a, b);
    }
  }
}

}  // namespace
}  // namespace karvel
