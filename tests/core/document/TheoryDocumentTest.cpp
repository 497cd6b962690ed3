#include "TheoryDocument.h"

#include "Refresh.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "TestTheory.h"

namespace ostrel {
namespace {

using karvel::testing::ElementaryFile;
using karvel::testing::Texts;
using V = std::vector<std::string>;

const std::string kThree = ElementaryFile({"p", "q", "r", "if(p, x(q))", "if(q, x(p))", "if(q, x(r))",
                                           "if(r, x(q))", "if(p, x(r))", "if(r, x(p))"});

// One refresh of the bytes; the theory view it gives.
V RefreshedView(TheoryDocument& d, const std::string& bytes, bool structureOnly = false, bool parse = true) {
  TRefreshOptions options;
  options.ShowStructureOnly = structureOnly;
  options.ParseSentences = parse;
  Refresh(d, ToolRequestFromBytes(bytes, options));
  return d.TheoryViewLines();
}

TEST(TheoryDocumentTest, EmptyTheoryView) {
  TheoryDocument d;
  d.ResetToMinimal();
  EXPECT_EQ(d.File().Text, kMinimalDocument);
  EXPECT_EQ(RefreshedView(d, kMinimalDocument),
            (V{"ASSUMPTIONS", "", "", "", "ISSUES", "", "", "",
               "THERE IS NO DIALECTICAL INTERPRETATION OF THE ASSUMPTIONS", ""}));
  EXPECT_EQ(d.StatusText(), "");
  EXPECT_FALSE(d.InterpretationsComputed());
  EXPECT_EQ(d.FileLines(),
            (V{"<KARVEL>", "<THEORY>", "", "</THEORY>", "<ISSUES>", "", "</ISSUES>", "</KARVEL>"}));
}

TEST(TheoryDocumentTest, StatusTexts) {
  TheoryDocument d;
  RefreshedView(d, kThree);
  EXPECT_EQ(d.StatusText(), "There are 3 dialectical interpretations.");
  RefreshedView(d, ElementaryFile({"a"}));
  EXPECT_EQ(d.StatusText(), "There is 1 dialectical interpretation.");
  RefreshedView(d, ElementaryFile({"p", "if(p, x(p))"}));
  EXPECT_EQ(d.StatusText(), "There is no dialectical interpretation.");
  RefreshedView(d, ElementaryFile({}, {"q"}));
  EXPECT_EQ(d.StatusText(), "");
  RefreshedView(d, kThree, /*structureOnly=*/true);
  EXPECT_EQ(d.StatusText(), "");
  EXPECT_TRUE(d.Interpretations().empty());
}

TEST(TheoryDocumentTest, UniqueInterpretationReport) {
  TheoryDocument d;
  EXPECT_EQ(RefreshedView(d, ElementaryFile({"a", "b"})),
            (V{"ASSUMPTIONS", "", "a", "b", "", "", "ISSUES", "", "", "", "UNIQUE DIALECTICAL INTERPRETATION",
               "    JUSTIFIED ASSUMPTIONS", "        a", "        b", "    DEFEATED ASSUMPTIONS",
               "    JUSTIFIED ISSUES", "    DEFEATED ISSUES", "    UNSETTLED ISSUES"}));
}

TEST(TheoryDocumentTest, SeveralInterpretationsAreReportedInTurn) {
  TheoryDocument d;
  const V lines = RefreshedView(d, ElementaryFile({"p", "q", "if(p, x(q))", "if(q, x(p))"}, {"s"}));
  const V tail(lines.begin() + 14, lines.end());
  EXPECT_EQ(V(lines.begin(), lines.begin() + 14),
            (V{"ASSUMPTIONS", "", "p", "q", "if(p, x(q))", "if(q, x(p))", "", "", "ISSUES", "", "s", "x(q)",
               "x(p)", ""}));
  EXPECT_EQ(tail, (V{"",
                     "DIALECTICAL INTERPRETATION 1",
                     "    JUSTIFIED ASSUMPTIONS",
                     "        q",
                     "        if(p, x(q))",
                     "        if(q, x(p))",
                     "    DEFEATED ASSUMPTIONS",
                     "        p",
                     "    JUSTIFIED ISSUES",
                     "        x(p)",
                     "    DEFEATED ISSUES",
                     "    UNSETTLED ISSUES",
                     "        s",
                     "        x(q)",
                     "",
                     "",
                     "DIALECTICAL INTERPRETATION 2",
                     "    JUSTIFIED ASSUMPTIONS",
                     "        p",
                     "        if(p, x(q))",
                     "        if(q, x(p))",
                     "    DEFEATED ASSUMPTIONS",
                     "        q",
                     "    JUSTIFIED ISSUES",
                     "        x(q)",
                     "    DEFEATED ISSUES",
                     "    UNSETTLED ISSUES",
                     "        s",
                     "        x(p)",
                     "",
                     ""}));
  // The report leaves the first interpretation's statuses; a button applies another.
  auto& p = *d.Theory().Assumptions[0];
  EXPECT_TRUE(p.IsDefeated);
  d.ApplyInterpretation(1);
  EXPECT_TRUE(p.IsJustified);
  d.ApplyInterpretation(7);  // out of range: nothing changes
  EXPECT_TRUE(p.IsJustified);
}

TEST(TheoryDocumentTest, StructureOnlyStillListsTheTheory) {
  TheoryDocument d;
  const V lines = RefreshedView(d, kThree, /*structureOnly=*/true);
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(V(lines.end() - 2, lines.end()),
            (V{"THERE IS NO DIALECTICAL INTERPRETATION OF THE ASSUMPTIONS", ""}));
  EXPECT_EQ(lines[2], "p");
  for (auto* s : d.ArgumentSentences()) EXPECT_FALSE(s->IsJustified || s->IsDefeated);
}

TEST(TheoryDocumentTest, PartsBecomeIssuesAfterTheInterpretations) {
  TheoryDocument d;
  RefreshedView(d, ElementaryFile({"if(a, b)"}, {"c"}));
  EXPECT_EQ(Texts(d.Theory().Issues), (V{"c", "b", "a"}));
  EXPECT_EQ(Texts(d.ArgumentSentences()), (V{"if(a, b)", "b", "a", "c"}));
  for (auto* s : d.ArgumentSentences()) EXPECT_NE(s->IsAssumption, s->IsIssue) << s->Text;
  // The file text is the one read, not yet rewritten with the new issues.
  const std::string issues = d.File().Text.substr(d.File().Text.find("<ISSUES>"));
  EXPECT_EQ(issues.find("\r\nb\r\n"), std::string::npos);
  EXPECT_NE(issues.find("\r\nc\r\n"), std::string::npos);
}

TEST(TheoryDocumentTest, FileTextIsTheRewrittenBlock) {
  TheoryDocument d;
  RefreshedView(d, "leading words\r\n" + ElementaryFile({"a", "a", "b"}) + "trailing words");
  const V lines = d.FileLines();
  EXPECT_EQ(lines.front(), "<KARVEL>");
  EXPECT_EQ(lines.back(), "</KARVEL>");
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "a"), 1);
}

TEST(TheoryDocumentTest, VariablesAreCurrentAfterTheRefresh) {
  TheoryDocument d;
  RefreshedView(d, ElementaryFile({"if(<x> is a bird, <x> flies)"}));
  EXPECT_EQ(d.Theory().Assumptions[0]->Variables, (V{"<x>", "<x>"}));
}

TEST(TheoryDocumentTest, UnreadableFileLeavesAnEmptyDocument) {
  TheoryDocument d;
  RefreshedView(d, kThree);
  const std::string missing =
      std::filesystem::temp_directory_path() / ("ostrel-missing-" + std::to_string(::getpid()) + ".kvl");
  try {
    d.Read(missing, true);
    FAIL() << "no error";
  } catch (const karvel::TFileError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot open file " + missing);
  }
  EXPECT_TRUE(d.Theory().Assumptions.empty());
  EXPECT_TRUE(d.Interpretations().empty());
  EXPECT_TRUE(d.ArgumentSentences().empty());
  EXPECT_EQ(d.File().Text, "");
}

std::string PairsFile(int pairs) {
  V texts;
  for (int i = 0; i < pairs; ++i) {
    const std::string p = "p" + std::to_string(i), q = "q" + std::to_string(i);
    for (const std::string& t : {p, q, "if(" + p + ", x(" + q + "))", "if(" + q + ", x(" + p + "))"})
      texts.push_back(t);
  }
  return ElementaryFile(texts);
}

TEST(TheoryDocumentTest, StoppedSearchKeepsWhatItFoundAndSaysSo) {
  TheoryDocument d;
  d.ReadBytes(PairsFile(6), true);
  d.ComputeInterpretations(false);
  const auto all = d.Interpretations();
  ASSERT_EQ(all.size(), 64u);
  EXPECT_FALSE(d.SearchStopped());

  d.ComputeInterpretations(false, [](std::size_t found) { return found < 10; });
  EXPECT_TRUE(d.SearchStopped());
  ASSERT_EQ(d.Interpretations().size(), 10u);
  EXPECT_EQ(d.StatusText(), "Search stopped: 10 dialectical interpretations found so far.");
  // What was found comes in the order of the full answer.
  auto at = all.begin();
  for (const auto& i : d.Interpretations()) {
    at = std::find_if(at, all.end(), [&](const auto& a) { return Texts(a) == Texts(i); });
    ASSERT_NE(at, all.end());
    ++at;
  }
  // Statuses are those of the first found.
  const V first = Texts(d.Interpretations().front());
  const bool q0 = std::find(first.begin(), first.end(), "q0") != first.end();
  EXPECT_EQ(d.Theory().Assumptions[1]->IsJustified, q0);
  EXPECT_EQ(d.Theory().Assumptions[0]->IsDefeated, q0);
  EXPECT_NE(d.Theory().Assumptions[0]->IsJustified, q0);

  d.ComputeInterpretations(false, [](std::size_t found) { return found < 1; });
  EXPECT_EQ(d.StatusText(), "Search stopped: 1 dialectical interpretation found so far.");
  // The next refresh starts afresh.
  d.ReadBytes(PairsFile(1), true);
  EXPECT_FALSE(d.SearchStopped());
  d.ComputeInterpretations(false, [](std::size_t) { return true; });
  EXPECT_FALSE(d.SearchStopped());
  EXPECT_EQ(d.StatusText(), "There are 2 dialectical interpretations.");
}

TEST(TheoryDocumentTest, ReportTellsItsProgress) {
  TheoryDocument d;
  d.ReadBytes(kThree, true);
  d.ComputeInterpretations(false);
  std::vector<std::size_t> done;
  const V lines = d.TheoryViewLines([&](std::size_t k) { done.push_back(k); });
  EXPECT_EQ(done, (std::vector<std::size_t>{1, 2, 3}));
  EXPECT_EQ(lines, d.TheoryViewLines());
}

}  // namespace
}  // namespace ostrel
