#include <gtest/gtest.h>

#include "TestTheory.h"

namespace karvel {
namespace {

using testing::Texts;

struct TParseCase {
  const char* Input;
  TSentenceKind Kind;
  const char* Text;
};

class ParseTest : public ::testing::TestWithParam<TParseCase> {};

TEST_P(ParseTest, KindAndCanonicalText) {
  TSentenceArena arena;
  const TParseCase& c = GetParam();
  TKarvelSentence* s = ParseSentence(c.Input, arena);
  EXPECT_EQ(s->Kind(), c.Kind) << c.Input;
  EXPECT_EQ(s->Text, c.Text) << c.Input;
}

constexpr auto E = TSentenceKind::Elementary;
constexpr auto N = TSentenceKind::DialecticalNegation;
constexpr auto C = TSentenceKind::Conditional;

INSTANTIATE_TEST_SUITE_P(
    Forms, ParseTest,
    ::testing::Values(TParseCase{"x(p)", N, "x(p)"}, TParseCase{"  x( p )  ", N, "x(p)"},
                      TParseCase{"if(a,b)", C, "if(a, b)"}, TParseCase{"if( a ,\tb )", C, "if(a, b)"},
                      TParseCase{"if(a, b, c)", C, "if(a, b, c)"}, TParseCase{"if(a)", E, "if(a)"},
                      TParseCase{"x(a", E, "x(a"}, TParseCase{"a, b", E, "a, b"},
                      TParseCase{"f(a)", E, "f(a)"}, TParseCase{"x(p) q", N, "x(p)"},
                      TParseCase{"if(x(a), b)", C, "if(x(a), b)"},
                      // After a compound item the remainder is not trimmed before the comma test.
                      TParseCase{"if(x(a) , b)", E, "if(x(a) , b)"}, TParseCase{"if(a , b)", C, "if(a, b)"},
                      TParseCase{"X(p)", E, "X(p)"}, TParseCase{"x (p)", E, "x (p)"},
                      TParseCase{"IF(a, b)", E, "IF(a, b)"}, TParseCase{"", E, ""},
                      TParseCase{"x(x(p)", E, "x(x(p)"}, TParseCase{"x(x(x(p)))", N, "x(x(x(p)))"},
                      // A failed inner form keeps the text of its own level, up to the end.
                      TParseCase{"if(x(a, b)", C, "if(x(a, b), b)"},
                      // An item with no delimiter before ")" takes its level's whole text.
                      TParseCase{"if(a,)", C, "if(a, ))"},
                      TParseCase{"if(if(a, b), x(c), d) tail", C, "if(if(a, b), x(c), d)"}));

TEST(ParseStructureTest, PartsAreInOrder) {
  TSentenceArena arena;
  auto* c = AsConditional(ParseSentence("if(a, x(b), if(c, d))", arena));
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(Texts(c->Antecedents), (std::vector<std::string>{"a", "x(b)"}));
  EXPECT_EQ(c->Consequent->Text, "if(c, d)");
  auto* n = AsNegation(c->Antecedents[1]);
  ASSERT_NE(n, nullptr);
  EXPECT_TRUE(IsElementary(n->NegatedSentence));
  EXPECT_TRUE(IsConditional(c->Consequent));
}

TEST(ParseStructureTest, CanonicalTextsAreFixedPoints) {
  TSentenceArena arena;
  for (const char* text : {"if( x( a ) ,b,  c)", "x(if(a ,b))", "if(if(a,b),x(x(c)),d)"}) {
    auto* once = ParseSentence(text, arena);
    auto* twice = ParseSentence(once->Text, arena);
    EXPECT_EQ(once->Text, twice->Text);
    EXPECT_EQ(once->Kind(), twice->Kind());
  }
}

// depth negations around the leaf: depth + 1 levels.
std::string Nested(int depth, const std::string& leaf = "p") {
  std::string s;
  for (int i = 0; i < depth; ++i) s += "x(";
  return s + leaf + std::string(static_cast<std::size_t>(depth), ')');
}

TEST(ParseLimitsTest, NestingBeyondTheLimitIsOneElementarySentence) {
  TSentenceArena arena;
  // The leaf counts as a level.
  auto* deepest = ParseSentence(Nested(kMaxNestingDepth - 1), arena);
  EXPECT_EQ(deepest->Kind(), TSentenceKind::DialecticalNegation);
  auto* tooDeep = ParseSentence(Nested(kMaxNestingDepth), arena);
  EXPECT_EQ(tooDeep->Kind(), TSentenceKind::Elementary);
  EXPECT_EQ(tooDeep->Text, Nested(kMaxNestingDepth));
  // Far deeper input neither overflows the stack nor allocates per level.
  auto* huge = ParseSentence(Nested(100000), arena);
  EXPECT_EQ(huge->Kind(), TSentenceKind::Elementary);
  EXPECT_LT(arena.Size(), 10000u);
}

TEST(ParseLimitsTest, RepeatedFallbackTextsStayBounded) {
  // Each failed "x(a," keeps the whole rest as its text: the texts grow with
  // the square of the input unless the parser gives up.
  std::string small = "if(", large = "if(";
  for (int i = 0; i < 20; ++i) small += "x(a,";
  for (int i = 0; i < 2000; ++i) large += "x(a,";
  small += " b)";
  large += " b)";
  TSentenceArena arena;
  auto* s = AsConditional(ParseSentence(small, arena));
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->Antecedents.size(), 20u);
  EXPECT_EQ(s->Antecedents[19]->Text, "x(a, b)");
  auto* l = ParseSentence(large, arena);
  EXPECT_EQ(l->Kind(), TSentenceKind::Elementary);
  EXPECT_EQ(l->Text, large);
}

// Bytes of all the elementary parts of a sentence: what the file and the
// reports write out.
std::size_t ElementaryBytes(TKarvelSentence* s) {
  TListOfKarvelSentences parts;
  std::size_t bytes = 0;
  std::vector<TKarvelSentence*> stack{s};
  while (!stack.empty()) {
    TKarvelSentence* p = stack.back();
    stack.pop_back();
    if (auto* n = AsNegation(p)) {
      stack.push_back(n->NegatedSentence);
    } else if (auto* c = AsConditional(p)) {
      stack.insert(stack.end(), c->Antecedents.begin(), c->Antecedents.end());
      stack.push_back(c->Consequent);
    } else {
      bytes += p->Text.size();
    }
  }
  return bytes;
}

TEST(ParseLimitsTest, FallbacksKeepNoMoreTextThanASmallMultipleOfTheInput) {
  // Between 20 and 2000 repetitions the fallbacks' texts were allowed up to
  // 512 times the input, which the file and every report then repeat.
  for (int n : {20, 100, 300, 1000, 2000}) {
    std::string text = "if(";
    for (int i = 0; i < n; ++i) text += "x(a,";
    text += " b)";
    TSentenceArena arena;
    TKarvelSentence* s = ParseSentence(text, arena);
    EXPECT_LE(ElementaryBytes(s), 2 * text.size() + 65536) << n;
    std::string tagged;
    TKarvelTheory::AppendTaggedLines(s, tagged);
    EXPECT_LE(tagged.size(), 64 * text.size() + 65536) << n;
  }
  // Well-formed text keeps its structure at any length and depth.
  std::string wide = "if(";
  for (int i = 0; i < 20000; ++i) wide += "x(a" + std::to_string(i) + "), ";
  wide += "b)";
  TSentenceArena arena;
  auto* c = AsConditional(ParseSentence(wide, arena));
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->Antecedents.size(), 20000u);
  std::string leaf(100000, 'q');
  auto* deep = ParseSentence(Nested(kMaxNestingDepth - 1, leaf), arena);
  EXPECT_EQ(deep->Kind(), TSentenceKind::DialecticalNegation);
  EXPECT_EQ(ParsedNestingDepth(Nested(kMaxNestingDepth - 1, leaf)), kMaxNestingDepth);
  EXPECT_EQ(ParsedText(Nested(kMaxNestingDepth - 1, leaf)), deep->Text);
}

TEST(ParseLimitsTest, ParsedDepthAndTextAreThoseOfTheParsedSentence) {
  for (std::string text : {"a", " x( a )", "if(a,x(b),  c)", "if(x(a, b)", "x(if(a, x(x(b))))", "if(a)"}) {
    TSentenceArena arena;
    TKarvelSentence* s = ParseSentence(text, arena);
    EXPECT_EQ(ParsedText(text), s->Text) << text;
    EXPECT_EQ(ParsedNestingDepth(text), NestingDepth(s)) << text;
  }
  EXPECT_EQ(ParsedNestingDepth(Nested(kMaxNestingDepth)), kMaxNestingDepth + 1);
  EXPECT_EQ(ParsedNestingDepth(Nested(10), 5), 6);
}

TEST(VariablesTest, ElementaryTokens) {
  TSentenceArena arena;
  const auto vars = [&](const char* t) { return ParseSentence(t, arena)->Variables; };
  using V = std::vector<std::string>;
  EXPECT_EQ(vars("aa<x>bbb<x>cc"), (V{"<x>", "<x>"}));
  EXPECT_EQ(vars("a<b<c>d"), (V{"<b<c>"}));
  EXPECT_EQ(vars("a<b"), V{});
  EXPECT_EQ(vars("<>"), (V{"<>"}));
  EXPECT_EQ(vars("<a person> meets <x>"), (V{"<a person>", "<x>"}));
}

TEST(VariablesTest, CompoundsFollowCollectionOrder) {
  TSentenceArena arena;
  using V = std::vector<std::string>;
  EXPECT_EQ(ParseSentence("if(p<x>, q<y>)", arena)->Variables, (V{"<y>", "<x>"}));
  // Equal parts contribute once.
  EXPECT_EQ(ParseSentence("if(p<x>, p<x>)", arena)->Variables, (V{"<x>"}));
  EXPECT_EQ(ParseSentence("x(if(a<1>, b<2>, c<3>))", arena)->Variables, (V{"<3>", "<1>", "<2>"}));
  EXPECT_EQ(ParseSentence("if(x(a<v>), a<v>, b)", arena)->Variables, (V{"<v>"}));
}

TEST(VariablesTest, CollectVariablesRefreshesStaleLists) {
  TSentenceArena arena;
  auto* s = ParseSentence("if(a<x>, b)", arena);
  auto* a = AsConditional(s)->Antecedents[0];
  a->Variables = {"stale"};
  s->Variables = {"stale"};
  CollectVariables(s);
  EXPECT_EQ(s->Variables, std::vector<std::string>{"<x>"});
  EXPECT_EQ(a->Variables, std::vector<std::string>{"<x>"});
  // A kind-less sentence has no variables.
  auto* plain = arena.NewPlain();
  plain->Text = "<x>";
  CollectVariables(plain);
  EXPECT_TRUE(plain->Variables.empty());
}

TEST(ComposeTextTest, RecomposesFromParts) {
  TSentenceArena arena;
  auto* c = arena.NewConditional();
  c->Antecedents = {arena.NewElementary("a, b")};
  c->Consequent = arena.NewElementary("c");
  ComposeText(c);
  EXPECT_EQ(c->Text, "if(a, b, c)");
  auto* e = arena.NewElementary(" keep ");
  ComposeText(e);
  EXPECT_EQ(e->Text, " keep ");
}

}  // namespace
}  // namespace karvel
