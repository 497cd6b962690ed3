#include <gtest/gtest.h>

#include "TestTheory.h"

namespace karvel {
namespace {

using V = std::vector<std::string>;

struct TMatchCase {
  const char* Template;
  const char* Text;
  bool Matches;
  V Values;
};

class MatchTemplateTest : public ::testing::TestWithParam<TMatchCase> {};

TEST_P(MatchTemplateTest, ValuesAndResult) {
  const TMatchCase& c = GetParam();
  TSentenceArena arena;
  TKarvelSentence* t = ParseSentence(c.Template, arena);
  V values{"stale"};
  EXPECT_EQ(MatchTemplate(t->Text, c.Text, t->Variables, values), c.Matches) << c.Template << " / " << c.Text;
  EXPECT_EQ(values, c.Values) << c.Template << " / " << c.Text;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MatchTemplateTest,
    ::testing::Values(TMatchCase{"aa<x>bbb<x>cc", "aaxbbbxcc", true, {"x", "x"}},
                      TMatchCase{"aa<x>bbb<x>cc", "aaxbbbycc", false, {"x", "y"}},
                      TMatchCase{"<x> is a bird", "Tweety is a bird", true, {"Tweety"}},
                      TMatchCase{"aa<x>cc", "aacc", true, {""}},
                      TMatchCase{"aa<x>cc", "aaxcc!", false, {"x"}}, TMatchCase{"<x>b", "abab", false, {"a"}},
                      TMatchCase{"a<x><y>", "a12", true, {"12", ""}}, TMatchCase{"plain", "plain", true, {}},
                      TMatchCase{"plain", "plain!", false, {}}, TMatchCase{"aa<x>", "bbx", false, {}},
                      TMatchCase{"if(p<x>, q<y>)", "if(p1, q2)", false, {}},
                      TMatchCase{"if(p<x>, q<y>)", "if(p<x>, q2)", true, {"2)", ""}}));

TEST(MatchTemplateTest, AbsentVariableShortensTheRest) {
  // A variable that the template does not contain leaves an empty piece and
  // drops one character less than the token from the rest.
  V values;
  EXPECT_TRUE(MatchTemplate("abcd", "abcd", {"<zz>"}, values));
  EXPECT_EQ(values, V{"abc"});
  EXPECT_TRUE(MatchTemplate("abcd", "xbcd", {"<zz>"}, values));
  EXPECT_EQ(values, V{"xbc"});
}

TEST(InstantiateTest, ReplacesOccurrencesAndParses) {
  TSentenceArena arena;
  TKarvelSentence* flies = ParseSentence("<x> flies", arena);
  TKarvelSentence* r = InstantiateSentence(flies, {"Tweety"}, arena);
  EXPECT_TRUE(IsElementary(r));
  EXPECT_EQ(r->Text, "Tweety flies");

  TKarvelSentence* rule = ParseSentence("if(<x> is a bird, <x> flies)", arena);
  r = InstantiateSentence(rule, {"Tweety", "Tweety"}, arena);
  ASSERT_TRUE(IsConditional(r));
  EXPECT_EQ(r->Text, "if(Tweety is a bird, Tweety flies)");
  EXPECT_FALSE(r->IsAssumption || r->IsIssue);
  EXPECT_EQ(rule->Text, "if(<x> is a bird, <x> flies)");

  // Equal parts list their variables once, so only the first occurrence in
  // the text is replaced.
  TKarvelSentence* same = ParseSentence("if(<x> a, <x> a)", arena);
  EXPECT_EQ(InstantiateSentence(same, {"1"}, arena)->Text, "if(1 a, <x> a)");
}

}  // namespace
}  // namespace karvel
