// The Match command's entries and report without the window: which sentences
// are templates, which seed the other matches, and how variables are bound.
#include "MatchCommand.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "TestTheory.h"
#include "TheoryDocument.h"

namespace ostrel {
namespace {

using karvel::testing::ElementaryFile;
using karvel::testing::Texts;
using V = std::vector<std::string>;

// The lists a refresh leaves behind: parts become issues, variables fresh.
void Load(TheoryDocument& d, const V& assumptions, const V& issues = {}) {
  d.ReadBytes(ElementaryFile(assumptions, issues), true);
  d.CollectArgumentSentences();
  d.RefreshVariables();
}

V InstanceTexts(const TMatchResult& result) {
  V texts;
  for (const TMatchEntry& entry : result.Entries) texts.push_back(entry.InstanceText);
  return texts;
}

TEST(MatchCommandTest, LetterCaseIsIgnoredInTheBindingButNotInTheSubstitution) {
  TheoryDocument d;
  Load(d, {"<x> is a bird", "if(<X> is big, <x> is a bird)"}, {"if(<x> is a bird, <y> sings)"});
  const V assumptions = Texts(d.Theory().Assumptions), issues = Texts(d.Theory().Issues);
  karvel::TSentenceArena arena;
  const TMatchResult result = MatchSentence("Tweety is a bird", d.Theory(), arena);

  ASSERT_EQ(result.ExactCount, 1u);
  EXPECT_EQ(InstanceTexts(result), (V{"Tweety is a bird", "if(Tweety is big, Tweety is a bird)",
                                      "if(Tweety is a bird, <y> sings)"}));
  // <X> takes the value of <x>; replacing case-blind would have put the value
  // of the first <x> where <X> stands.
  EXPECT_EQ(result.Entries[1].Values, (V{"Tweety", "Tweety"}));
  ASSERT_EQ(result.Instances.size(), 2u);
  EXPECT_TRUE(result.Instances[0]->IsAssumption);
  EXPECT_FALSE(result.Instances[0]->IsIssue);
  EXPECT_TRUE(result.Instances[1]->IsIssue);
  EXPECT_FALSE(result.Instances[1]->IsAssumption);
  EXPECT_TRUE(karvel::IsConditional(result.Instances[0]));
  EXPECT_EQ(result.Instances[1]->Variables, V{"<y>"});

  const V lines = MatchReportLines("Tweety is a bird", result);
  const V others(lines.begin() + 10, lines.end());
  EXPECT_EQ(others,
            (V{"Other matches found:", "", "    if(<X> is big, <x> is a bird)",
               "    if(Tweety is big, Tweety is a bird)", "        <x>: Tweety", "        <X>: Tweety", "",
               "    if(<x> is a bird, <y> sings)", "    if(Tweety is a bird, <y> sings)", "        <y>: <y>",
               "        <x>: Tweety", ""}));
  // The theory keeps its sentences; the instances belong to the arena.
  EXPECT_EQ(Texts(d.Theory().Assumptions), assumptions);
  EXPECT_EQ(Texts(d.Theory().Issues), issues);
  EXPECT_TRUE(arena.Owns(result.Instances[0]));
}

TEST(MatchCommandTest, TheStreamedReportIsTheReportOfTheEntries) {
  // Repeated variables, tokens differing in case, sentences holding a
  // template twice, and a template that is itself another's instance.
  TheoryDocument d;
  Load(d,
       {"<x> likes <x>", "<x> likes <y>", "if(<X> likes <x>, x(<y> likes <x>))",
        "if(<x> likes <y>, <x> is glad)"},
       {"if(<x> likes <x>, if(<x> likes <x>, <z> is sad))"});
  for (const std::string text : {"Ann likes Ann", "Ann likes Bob", "nobody", "Ann likes"}) {
    karvel::TSentenceArena arena;
    std::string expected;
    if (karvel::IndexOfText(d.ArgumentSentences(), text) >= 0 || text == "nobody") {
      const TMatchResult result = karvel::IndexOfText(d.ArgumentSentences(), text) >= 0
                                      ? MatchSentence(text, d.Theory(), arena)
                                      : TMatchResult{};
      for (const std::string& line : MatchReportLines(text, result)) expected += line + "\n";
      EXPECT_EQ(MatchReportText(d, text), expected) << text;
    }
  }
  // Matched only when the text is a sentence of the argument.
  karvel::TSentenceArena arena;
  const std::string text = "<x> likes <x>";
  std::string expected;
  for (const std::string& line : MatchReportLines(text, MatchSentence(text, d.Theory(), arena)))
    expected += line + "\n";
  EXPECT_EQ(MatchReportText(d, text), expected);
  EXPECT_GT(std::count(expected.begin(), expected.end(), '\n'), 12);
}

TEST(MatchCommandTest, RepeatedVariablesMustTakeOneValue) {
  std::vector<std::string> values;
  const std::vector<std::string> variables{"<a>", "<b>", "<a>", "<c>", "<b>"};
  EXPECT_TRUE(karvel::MatchTemplate("<a>-<b>-<a>-<c>-<b>", "1-2-1-3-2", variables, values));
  EXPECT_EQ(values, (V{"1", "2", "1", "3", "2"}));
  EXPECT_FALSE(karvel::MatchTemplate("<a>-<b>-<a>-<c>-<b>", "1-2-1-3-4", variables, values));
  EXPECT_FALSE(karvel::MatchTemplate("<a>-<b>-<a>-<c>-<b>", "1-2-5-3-2", variables, values));
}

TEST(MatchCommandTest, OnlyTemplatesWithVariablesMatchAndOnlyExactMatchesSeed) {
  TheoryDocument d;
  // The nested rule contains the first rule's text: seeded by that other
  // match as well, it would be listed twice.
  Load(d, {"Tweety is a bird", "<x> is a bird", "if(<x> is a bird, <x> flies)",
           "if(if(<x> is a bird, <x> flies), <x> sings)"});
  karvel::TSentenceArena arena;
  const TMatchResult result = MatchSentence("Tweety is a bird", d.Theory(), arena);
  EXPECT_EQ(result.ExactCount, 1u);
  EXPECT_EQ(InstanceTexts(result), (V{"Tweety is a bird", "if(Tweety is a bird, Tweety flies)",
                                      "if(if(Tweety is a bird, Tweety flies), Tweety sings)"}));
  EXPECT_EQ(result.Entries[0].TemplateText, "<x> is a bird");
}

}  // namespace
}  // namespace ostrel
