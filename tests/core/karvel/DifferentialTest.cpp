// The fast closure, grounded assumptions and interpretations against the
// plain implementation, on many seeded random theories.
#include <gtest/gtest.h>

#include <random>

#include "RandomTheory.h"
#include "ReferenceEnumeration.h"
#include "TestTheory.h"

namespace karvel {
namespace {

using testing::Fill;
using testing::Texts;
using testing::TRandomTheory;

TEST(DifferentialTest, InterpretationsMatchThePlainEnumeration) {
  int withSeveral = 0, withNone = 0;
  for (unsigned seed = 1; seed <= 4000; ++seed) {
    TRandomTheory random(seed);
    TKarvelTheory theory;
    Fill(theory, random, seed % 5 == 0);
    TListOfListOfKarvelSentences fast, plain;
    theory.ComputeInterpretations(fast);
    reference::ComputeInterpretations(theory, plain);
    ASSERT_EQ(Texts(fast), Texts(plain))
        << "seed " << seed << ": " << ::testing::PrintToString(Texts(theory.Assumptions));
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
