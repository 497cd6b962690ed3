#include <gtest/gtest.h>

#include "TestTheory.h"

namespace karvel {
namespace {

using testing::Texts;

class SentenceTest : public ::testing::Test {
 protected:
  TKarvelSentence* P(const std::string& text) { return ParseSentence(text, arena); }
  TSentenceArena arena;
};

TEST_F(SentenceTest, LookupsFindTheFirstEqualText) {
  TListOfKarvelSentences list;
  EXPECT_EQ(IndexOfSentence(list, P("a")), -1);
  list = {P("b"), P("a"), P("a")};
  EXPECT_EQ(IndexOfSentence(list, P("a")), 1);
  EXPECT_EQ(IndexOfText(list, "b"), 0);
  EXPECT_EQ(IndexOfText(list, "c"), -1);
}

TEST_F(SentenceTest, IdentityIsTheExactText) {
  // An elementary x(p) and the negation of p are one sentence; case and
  // inner spacing make different sentences.
  TListOfKarvelSentences list{arena.NewElementary("x(p)"), arena.NewElementary("if(a,b)")};
  auto* negation = DialecticalNegationOf(P("p"), arena);
  EXPECT_EQ(IndexOfSentence(list, negation), 0);
  EXPECT_EQ(IndexOfSentence(list, P("if(a, b)")), -1);
  EXPECT_EQ(IndexOfText(list, "X(p)"), -1);
  EXPECT_EQ(IndexOfText(list, "if(a,b)"), 1);
}

TEST_F(SentenceTest, NegationKeepsTheVeryObject) {
  auto* p = P("p<v>");
  auto* negation = DialecticalNegationOf(p, arena);
  EXPECT_EQ(negation->NegatedSentence, p);
  EXPECT_EQ(negation->Text, "x(p<v>)");
  EXPECT_EQ(negation->Variables, std::vector<std::string>{"<v>"});
  EXPECT_FALSE(negation->IsAssumption || negation->IsIssue || negation->IsJustified || negation->IsDefeated);
}

TEST_F(SentenceTest, FreshCompoundsHavePlaceholderParts) {
  auto* c = arena.NewConditional();
  EXPECT_TRUE(c->Antecedents.empty());
  EXPECT_EQ(c->Consequent->Kind(), TSentenceKind::Plain);
  EXPECT_EQ(c->Consequent->Text, "");
  EXPECT_EQ(arena.NewNegation()->NegatedSentence->Kind(), TSentenceKind::Plain);
}

TEST_F(SentenceTest, CollectSubsentencesOrderAndDuplicates) {
  TListOfKarvelSentences list;
  CollectSubsentences(P("if(p, p)"), list);
  EXPECT_EQ(Texts(list), (std::vector<std::string>{"if(p, p)", "p"}));

  list.clear();
  CollectSubsentences(P("if(a, b, c)"), list);
  EXPECT_EQ(Texts(list), (std::vector<std::string>{"if(a, b, c)", "c", "a", "b"}));

  // Extending a list that already holds the sentence appends only the
  // missing parts, and still descends into the parts of present ones.
  list = {P("x(if(a, q))"), P("a")};
  CollectSubsentences(P("x(if(a, q))"), list);
  EXPECT_EQ(Texts(list), (std::vector<std::string>{"x(if(a, q))", "a", "if(a, q)", "q"}));
}

TEST_F(SentenceTest, HasSubsentenceAtAnyDepth) {
  auto* s = P("if(a, x(if(b, c)), d)");
  EXPECT_TRUE(HasSubsentence(s, P("c")));
  EXPECT_TRUE(HasSubsentence(s, P("x(if(b, c))")));
  EXPECT_TRUE(HasSubsentence(s, s));
  EXPECT_FALSE(HasSubsentence(s, P("x(c)")));
}

TEST(NegatedTextTest, RecognisesTheNegationForm) {
  std::string_view inner;
  ASSERT_TRUE(NegatedText("x(p q)", inner));
  EXPECT_EQ(inner, "p q");
  ASSERT_TRUE(NegatedText("x()", inner));
  EXPECT_EQ(inner, "");
  EXPECT_FALSE(NegatedText("x(p", inner));
  EXPECT_FALSE(NegatedText("X(p)", inner));
  EXPECT_EQ(NegationText("a"), "x(a)");
}

}  // namespace
}  // namespace karvel
