// The layout on its own: roots, the walk of each tree, registration and the
// pixel geometry of every control, against a recording sink.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "KarvelUnit.h"
#include "RecordingSink.h"
#include "TDiagramLayout.h"

namespace ostrel::diagram {
namespace {

using karvel::TKarvelSentence;
using karvel::TListOfKarvelSentences;
using testing::TRecordingSink;
using V = std::vector<std::string>;

class DiagramLayoutTest : public ::testing::Test {
 protected:
  // Parses each text and collects it with its parts into the argument list,
  // first object of each text kept, as the main window's list is built.
  void Argument(std::initializer_list<std::string> texts) {
    karvel::TSentenceCollector collector(sentences);
    for (const std::string& text : texts) collector.Collect(Parse(text));
  }
  TKarvelSentence* Parse(const std::string& text) { return karvel::ParseSentence(text, theory.Arena()); }
  //! The entry of the argument list with this text.
  TKarvelSentence* Entry(const std::string& text) {
    const int i = karvel::IndexOfText(sentences, text);
    return i < 0 ? nullptr : sentences[i];
  }
  void Draw(int firstRow = 0, std::size_t bound = TDiagramLayout::kDefaultElementBound) {
    sink = TRecordingSink();
    TDiagramLayout layout(sink, theory, options, {}, bound);
    rowCount = layout.DrawDiagram(sentences, firstRow, 0, drawn);
    nodes = layout.DrawnNodes();
    cut = layout.CutNodes();
  }
  //! A drawing, then what the refresh makes of it.
  void DrawAndRegister() {
    Draw();
    RegisterDrawnSentences(theory, drawn);
  }
  V DrawnTexts() const {
    V texts;
    for (const TKarvelSentence* s : drawn) texts.push_back(s->Text);
    return texts;
  }
  //! Boxes as "text row,column width".
  V Boxes() const {
    V boxes;
    for (std::size_t i = 0; i < sink.Controls.size(); ++i) {
      const TDiagramControl& c = sink.Controls[i];
      if (c.Kind != TControlKind::Box) continue;
      boxes.push_back(drawn.at(c.Tag)->Text + " " + std::to_string(c.Row) + "," + std::to_string(c.Column) +
                      " " + std::to_string(c.Width));
    }
    return boxes;
  }

  karvel::TKarvelTheory theory;
  TListOfKarvelSentences sentences;
  TListOfKarvelSentences drawn;
  TRecordingSink sink;
  TDiagramOptions options;
  int rowCount = -1;
  std::size_t nodes = 0, cut = 0;
};

// --- The two worked examples, control by control ---------------------------

TEST_F(DiagramLayoutTest, SupportAndAttackOfOneSentence) {
  Argument({"s", "a", "b", "c", "if(a, b, s)", "if(c, x(s))"});
  Draw();
  EXPECT_EQ(sink.Lines(), (V{
                              "image 4,5 16x16 #1",
                              "label 23,6 w6 's' neither",
                              "box 2,2 36x22 tag 0 cell 0,0 neither",
                              // The attack takes the right column, drops to row 1 and turns into c.
                              "line 27,43 11x1 tag 1 neither",
                              "strip 27,41 11x5 tag 1",
                              "line 27,24 1x19 tag 1 neither",
                              "strip 25,24 5x19 tag 1",
                              "stroke (24,20)-(31,27) tag 1 neither",
                              "stroke (23,27)-(31,19) tag 1 neither",
                              "image 40,35 16x16 #1",
                              "label 59,36 w6 'c' neither",
                              "box 38,32 33x22 tag 2 cell 1,2 neither",
                              // The support drops in column 0 below the attack's rows.
                              "line 9,73 11x1 tag 3 neither",
                              "strip 9,71 11x5 tag 3",
                              "line 9,24 1x49 tag 3 neither",
                              "strip 7,24 5x49 tag 3",
                              "stroke (9,24)-(14,29) tag 3 neither",
                              "stroke (9,24)-(4,29) tag 3 neither",
                              "image 22,65 16x16 #1",
                              "label 41,66 w6 'a' neither",
                              "box 20,62 33x22 tag 4 cell 2,1 neither",
                              "image 22,95 16x16 #1",
                              "label 41,96 w6 'b' neither",
                              "box 20,92 33x22 tag 5 cell 3,1 neither",
                              // The link to the second conjunct, from the bottom of row 1.
                              "line 9,103 11x1 tag 3 neither",
                              "strip 9,101 11x5 tag 3",
                              "line 9,54 1x49 tag 3 neither",
                              "strip 7,54 5x49 tag 3",
                          }));
  EXPECT_EQ(DrawnTexts(), (V{"s", "if(c, x(s))", "c", "if(a, b, s)", "a", "b"}));
  EXPECT_EQ(rowCount, 4);
  // The supporters' conjuncts are the list's own objects, not the rule's parts.
  EXPECT_EQ(drawn[4], Entry("a"));
  EXPECT_EQ(drawn[5], Entry("b"));
}

TEST_F(DiagramLayoutTest, RulesAboutARuleBranchOffItsLine) {
  Argument({"s", "a", "d", "e", "if(a, s)", "if(d, if(a, s))", "if(e, x(if(a, s)))"});
  Draw();
  EXPECT_EQ(sink.Lines(), (V{
                              "image 4,5 16x16 #1",
                              "label 23,6 w6 's' neither",
                              "box 2,2 33x22 tag 0 cell 0,0 neither",
                              // R2: its conjunct d, then its branch line in row 1.
                              "image 22,35 16x16 #1",
                              "label 41,36 w6 'd' neither",
                              "box 20,32 33x22 tag 2 cell 1,1 neither",
                              "line 9,43 11x1 tag 1 neither",
                              "strip 9,41 11x5 tag 1",
                              "stroke (10,43)-(15,48) tag 1 neither",
                              "stroke (10,43)-(15,38) tag 1 neither",
                              // R3 in row 2, crossing R1's line.
                              "image 22,65 16x16 #1",
                              "label 41,66 w6 'e' neither",
                              "box 20,62 33x22 tag 4 cell 2,1 neither",
                              "line 9,73 11x1 tag 3 neither",
                              "strip 9,71 11x5 tag 3",
                              "stroke (6,70)-(13,77) tag 3 neither",
                              "stroke (13,69)-(5,77) tag 3 neither",
                              // R1 itself, past the rows of the rules about it.
                              "line 9,103 11x1 tag 5 neither",
                              "strip 9,101 11x5 tag 5",
                              "line 9,24 1x79 tag 5 neither",
                              "strip 7,24 5x79 tag 5",
                              "stroke (9,24)-(14,29) tag 5 neither",
                              "stroke (9,24)-(4,29) tag 5 neither",
                              "image 22,95 16x16 #1",
                              "label 41,96 w6 'a' neither",
                              "box 20,92 33x22 tag 6 cell 3,1 neither",
                          }));
  EXPECT_EQ(DrawnTexts(), (V{"s", "if(d, if(a, s))", "d", "if(e, x(if(a, s)))", "e", "if(a, s)", "a"}));
  EXPECT_EQ(rowCount, 4);
}

// --- Roots -------------------------------------------------------------------

TEST_F(DiagramLayoutTest, EmptyListClearsTheDrawnListInPlace) {
  drawn.push_back(Parse("left over"));
  const TListOfKarvelSentences* before = &drawn;
  Draw(7);
  EXPECT_TRUE(drawn.empty());
  EXPECT_EQ(&drawn, before);
  EXPECT_EQ(rowCount, 7);
  EXPECT_TRUE(sink.Controls.empty());
}

TEST_F(DiagramLayoutTest, RootsComeInGroupsAndTreesStackWithoutGaps) {
  // r is used only as a reason, so it comes after n, q and p although it is
  // listed first; the negation nothing concludes comes last.
  Argument({"r", "x(n)", "q", "if(r, p)", "p"});
  Draw(2);
  EXPECT_EQ(Boxes(), (V{"n 2,0 33", "q 3,0 33", "p 4,0 33", "r 5,1 33", "x(n) 6,0 51"}));
  EXPECT_EQ(DrawnTexts(), (V{"n", "q", "p", "if(r, p)", "r", "x(n)"}));
  EXPECT_EQ(rowCount, 7);
}

TEST_F(DiagramLayoutTest, NegationConcludedByADrawnAttackIsNoRoot) {
  Argument({"s", "if(c, x(s))", "x(s)", "x(t)"});
  Draw();
  EXPECT_EQ(DrawnTexts(), (V{"s", "if(c, x(s))", "c", "t", "x(t)"}));
  EXPECT_EQ(Boxes(), (V{"s 0,0 33", "c 1,1 33", "t 2,0 33", "x(t) 3,0 51"}));
}

TEST_F(DiagramLayoutTest, UndrawnConditionalBecomesARootWithItsOwnRules) {
  // Nothing concludes q, so the rule about the rule has no tree to hang in
  // but the rule's own box.
  Argument({"if(p, q)", "if(d, if(p, q))"});
  sentences.erase(sentences.begin() + karvel::IndexOfText(sentences, "q"));
  Draw();
  EXPECT_EQ(Boxes(), (V{"p 0,0 33", "d 1,0 33", "if(p, q) 2,0 75", "d 3,1 33"}));
  EXPECT_EQ(DrawnTexts(), (V{"p", "d", "if(p, q)", "if(d, if(p, q))"}));
  // Its supporter drops from the conditional's box like from any sentence.
  const auto lines = sink.Lines(TControlKind::Stroke);
  EXPECT_EQ(lines.back(), "stroke (9,84)-(4,89) tag 3 neither");
}

// --- Repetitions and sharing -----------------------------------------------

TEST_F(DiagramLayoutTest, RuleConcludingItsOwnAntecedentIsCutWithAMark) {
  Argument({"s", "if(s, s)"});
  Draw();
  EXPECT_EQ(Boxes(), (V{"s 0,0 33", "s 1,1 33"}));
  // Only the second occurrence has the mark, created before its box.
  EXPECT_EQ(sink.Lines(TControlKind::RepetitionMark), (V{"mark 41,48 w18 '...'"}));
  const auto all = sink.Lines();
  EXPECT_EQ(all[all.size() - 4], "mark 41,48 w18 '...'");
  EXPECT_EQ(all.back(), "box 20,32 33x22 tag 0 cell 1,1 neither");
  EXPECT_EQ(sink.Count(TControlKind::Stroke), 2);
  EXPECT_EQ(rowCount, 2);
}

TEST_F(DiagramLayoutTest, RepeatedBoxIgnoresItsRuleColumns) {
  // The repeated q would need two columns, yet it is not expanded again.
  Argument({"p", "if(q, p)", "if(p, q)", "if(r, q)"});
  Draw();
  EXPECT_EQ(Boxes()[0], "p 0,0 33");
  EXPECT_EQ(Boxes()[1], "q 1,1 36");
  EXPECT_EQ(Boxes()[2], "p 2,3 33");  // on its own path: cut
  EXPECT_EQ(sink.Count(TControlKind::RepetitionMark), 1);
}

TEST_F(DiagramLayoutTest, SharedReasonIsExpandedInEveryTreeWithOneTag) {
  Argument({"p", "q", "if(r, p)", "if(r, q)", "if(t, r)"});
  Draw();
  EXPECT_EQ(Boxes(), (V{"p 0,0 33", "r 1,1 33", "t 2,2 33", "q 3,0 33", "r 4,1 33", "t 5,2 33"}));
  std::vector<int> rTags;
  for (const TDiagramControl& c : sink.Controls)
    if (c.Kind == TControlKind::Box && drawn[c.Tag]->Text == "r") rTags.push_back(c.Tag);
  EXPECT_EQ(rTags, (std::vector<int>{2, 2}));
  EXPECT_EQ(drawn.size(), 7u);
  EXPECT_EQ(sink.Count(TControlKind::RepetitionMark), 0);
}

// --- Columns -----------------------------------------------------------------

TEST_F(DiagramLayoutTest, ThreeSupportersTakeColumnsTwoOneZero) {
  Argument({"s", "if(a, s)", "if(b, s)", "if(c, s)"});
  Draw();
  // A one-letter text would give 33 px; three rule columns need 54.
  EXPECT_EQ(Boxes(), (V{"s 0,0 54", "a 1,3 33", "b 2,2 33", "c 3,1 33"}));
  V verticals;
  for (const std::string& line : sink.Lines(TControlKind::ConnectorLine))
    if (line.find(" 1x") != std::string::npos) verticals.push_back(line);
  EXPECT_EQ(verticals, (V{"line 45,24 1x19 tag 1 neither", "line 27,24 1x49 tag 3 neither",
                          "line 9,24 1x79 tag 5 neither"}));
}

TEST_F(DiagramLayoutTest, AttacksTakeTheRightColumnsAndComeFirst) {
  Argument({"s", "if(a, s)", "if(b, x(s))", "if(c, x(s))"});
  Draw();
  EXPECT_EQ(Boxes(), (V{"s 0,0 54", "b 1,3 33", "c 2,2 33", "a 3,1 33"}));
}

TEST_F(DiagramLayoutTest, BranchRuleConjunctsClearItsOwnRuleColumns) {
  // R2 has two antecedents and one rule about it: its conjuncts go to column
  // 0 + 1 + 2 = 3; the one-antecedent rule about it puts its conjunct at 1.
  Argument({"s", "if(a, s)", "if(d, f, if(a, s))", "if(g, if(d, f, if(a, s)))"});
  Draw();
  EXPECT_EQ(Boxes(), (V{"s 0,0 33", "d 1,3 33", "f 2,3 33", "g 3,2 33", "a 4,1 33"}));
  // The branch line of R2 runs from column 0 to its conjunct column.
  const std::string r2 = "if(d, f, if(a, s))";
  const int r2Tag = karvel::IndexOfText(drawn, r2);
  V r2Lines;
  for (std::size_t i = 0; i < sink.Controls.size(); ++i)
    if (sink.Controls[i].Kind == TControlKind::ConnectorLine && sink.Controls[i].Tag == r2Tag)
      r2Lines.push_back(testing::Describe(sink.Controls[i], ""));
  EXPECT_EQ(r2Lines, (V{// The link between its conjuncts, line-drop style from row 1's middle.
                        "line 45,73 11x1 tag 1 neither", "line 45,43 1x30 tag 1 neither",
                        "line 9,43 47x1 tag 1 neither"}));
  // The rule about R2 hangs below its branch line in column 1.
  EXPECT_EQ(sink.Lines(TControlKind::Stroke)[2], "stroke (27,44)-(32,49) tag 4 neither");
}

TEST_F(DiagramLayoutTest, BranchRuleWithOneAntecedentAndNoRulesUsesTheNextColumn) {
  Argument({"s", "if(a, s)", "if(d, if(a, s))"});
  Draw();
  EXPECT_EQ(Boxes()[1], "d 1,1 33");
}

// --- Registration ------------------------------------------------------------

TEST_F(DiagramLayoutTest, RegistrationMarksAndAppendsToTheTheory) {
  TKarvelSentence* assumed = Parse("a");
  assumed->IsAssumption = true;
  theory.Assumptions.push_back(assumed);
  Argument({"s", "if(a, s)"});
  TKarvelSentence* listA = Entry("a");
  ASSERT_NE(listA, assumed);
  DrawAndRegister();
  // The list's own a takes the assumption's role; s and the rule, neither
  // assumption nor issue before, become issues in order of drawing.
  EXPECT_TRUE(listA->IsAssumption);
  EXPECT_FALSE(listA->IsIssue);
  ASSERT_EQ(theory.Issues.size(), 2u);
  EXPECT_EQ(theory.Issues[0]->Text, "s");
  EXPECT_EQ(theory.Issues[1]->Text, "if(a, s)");
  EXPECT_TRUE(Entry("s")->IsIssue);
  // The assumption gets the exclamation mark and the issues the question mark.
  EXPECT_EQ(sink.Lines(TControlKind::StatusImage), (V{"image 4,5 16x16 #1", "image 22,35 16x16 #0"}));
}

TEST_F(DiagramLayoutTest, LayoutLeavesTheTheoryAndTheSentencesAsTheyAre) {
  TKarvelSentence* assumed = Parse("a");
  assumed->IsAssumption = true;
  theory.Assumptions.push_back(assumed);
  Argument({"s", "if(a, s)"});
  Draw();
  EXPECT_TRUE(theory.Issues.empty());
  for (const TKarvelSentence* s : sentences) EXPECT_FALSE(s->IsAssumption || s->IsIssue) << s->Text;
  // Yet the boxes show what registration will make of them.
  EXPECT_EQ(sink.Lines(TControlKind::StatusImage), (V{"image 4,5 16x16 #1", "image 22,35 16x16 #0"}));
  // Registering a second time finds nothing left to mark.
  DrawAndRegister();
  EXPECT_FALSE(RegisterDrawnSentences(theory, drawn));
  EXPECT_EQ(theory.Issues.size(), 2u);
}

TEST_F(DiagramLayoutTest, SecondObjectOfADrawnTextIsNotMarked) {
  // Attack conjuncts are not taken from the list, so under q the second
  // rule's own c is drawn although c was registered under p.
  Argument({"p", "q", "if(c, x(p))", "if(c, x(q))"});
  TKarvelSentence* secondC = karvel::AsConditional(Entry("if(c, x(q))"))->Antecedents[0];
  ASSERT_NE(secondC, Entry("c"));
  DrawAndRegister();
  EXPECT_EQ(Boxes(), (V{"p 0,0 33", "c 1,1 33", "q 2,0 33", "c 3,1 33"}));
  EXPECT_EQ(theory.Issues.size(), 5u);
  EXPECT_FALSE(secondC->IsIssue);
  EXPECT_EQ(karvel::IndexOfSentence(theory.Issues, secondC), 2);  // the first c only
  // Its box still looks like the theory's c.
  EXPECT_EQ(sink.Lines(TControlKind::StatusImage)[3], "image 22,95 16x16 #1");
}

TEST_F(DiagramLayoutTest, AttackConjunctIsTheTheorysAssumption) {
  TKarvelSentence* assumed = Parse("c");
  assumed->IsAssumption = true;
  theory.Assumptions.push_back(assumed);
  Argument({"s", "if(c, x(s))"});
  Draw();
  EXPECT_EQ(drawn.at(2), assumed);
}

// --- Looks -------------------------------------------------------------------

TEST_F(DiagramLayoutTest, StatusDecidesLookAndBoxWidth) {
  Argument({"s", "if(a, s)", "if(b, x(s))"});
  Entry("s")->IsJustified = true;
  Entry("a")->IsJustified = true;
  Entry("a")->IsDefeated = true;  // both: defeated wins
  Entry("if(b, x(s))")->IsDefeated = true;
  Draw();
  const auto labels = sink.Lines(TControlKind::Label);
  EXPECT_EQ(labels[0], "label 23,6 w7 's' justified");
  EXPECT_EQ(labels[2], "label 41,66 w7 'a' defeated");
  // The bold width is measured: 7 + 11 + 16.
  EXPECT_EQ(Boxes()[2], "a 2,1 34");
  // A defeated rule hanging from a box: both lines dotted; strokes solid in
  // the status colour.
  const auto lines = sink.Lines(TControlKind::ConnectorLine);
  EXPECT_EQ(lines[0], "line 27,43 11x1 tag 1 defeated dotted");
  EXPECT_EQ(lines[1], "line 27,24 1x19 tag 1 defeated dotted");
  EXPECT_EQ(lines[2], "line 9,73 11x1 tag 3 neither");
  EXPECT_EQ(sink.Lines(TControlKind::Stroke)[0], "stroke (24,20)-(31,27) tag 1 defeated");
}

TEST_F(DiagramLayoutTest, DefeatedRuleFromABranchLineHasASolidVerticalLine) {
  Argument({"s", "if(a, s)", "if(d, if(a, s))", "if(e, if(d, if(a, s)))"});
  Entry("if(e, if(d, if(a, s)))")->IsDefeated = true;
  Draw();
  const int tag = karvel::IndexOfText(drawn, "if(e, if(d, if(a, s)))");
  V lines;
  for (std::size_t i = 0; i < sink.Controls.size(); ++i)
    if (sink.Controls[i].Kind == TControlKind::ConnectorLine && sink.Controls[i].Tag == tag)
      lines.push_back(testing::Describe(sink.Controls[i], ""));
  EXPECT_EQ(lines, (V{"line 27,73 11x1 tag 3 defeated dotted", "line 27,43 1x30 tag 3 defeated"}));
}

TEST_F(DiagramLayoutTest, StructureOnlyDrawsNoIconsNoColoursNoIconRoom) {
  options.ShowStructureOnly = true;
  Argument({"s", "if(s, s)"});
  Entry("if(s, s)")->IsDefeated = true;
  Draw();
  EXPECT_EQ(sink.Count(TControlKind::StatusImage), 0);
  EXPECT_EQ(sink.Lines(TControlKind::Label), (V{"label 7,6 w6 's' plain", "label 25,36 w6 's' plain"}));
  EXPECT_EQ(sink.Lines(TControlKind::RepetitionMark), (V{"mark 25,48 w18 '...'"}));
  EXPECT_EQ(Boxes(), (V{"s 0,0 18", "s 1,1 17"}));
  for (const std::string& line : sink.Lines(TControlKind::ConnectorLine))
    EXPECT_EQ(line.find("dotted"), std::string::npos) << line;
  EXPECT_EQ(sink.Lines(TControlKind::Stroke)[0], "stroke (9,24)-(14,29) tag 1 plain");
}

TEST_F(DiagramLayoutTest, HiddenNegationsKeepTheLayout) {
  Argument({"s", "if(x(t), s)", "if(x(t), x(x(t)))"});
  Draw();
  const V linesWith = sink.Lines(TControlKind::ConnectorLine);
  const V marksWith = sink.Lines(TControlKind::RepetitionMark);
  const V drawnWith = DrawnTexts();
  const int rowsWith = rowCount;
  V boxesWithout;
  for (const std::string& box : Boxes())
    if (box.rfind("x(", 0) != 0) boxesWithout.push_back(box);

  for (TKarvelSentence* s : drawn) s->IsIssue = false;
  theory.Issues.clear();
  options.ShowDialecticalNegations = false;
  Draw();
  EXPECT_EQ(Boxes(), boxesWithout);
  EXPECT_EQ(sink.Lines(TControlKind::ConnectorLine), linesWith);
  EXPECT_EQ(sink.Lines(TControlKind::RepetitionMark), marksWith);
  EXPECT_FALSE(marksWith.empty());
  EXPECT_EQ(DrawnTexts(), drawnWith);
  EXPECT_EQ(rowCount, rowsWith);
  // No label or icon of a negation either.
  EXPECT_EQ(sink.Count(TControlKind::Label), static_cast<int>(boxesWithout.size()));
  EXPECT_EQ(sink.Count(TControlKind::StatusImage), static_cast<int>(boxesWithout.size()));
}

TEST_F(DiagramLayoutTest, PlaceholderIsDrawnWithABlankLabel) {
  const std::string placeholder(kPlaceholderSentenceText);
  Argument({"s", "if(" + placeholder + ", s)"});
  Draw();
  EXPECT_EQ(sink.Lines(TControlKind::Label)[1], "label 41,36 w18 '   ' neither");
  EXPECT_EQ(Boxes()[1], placeholder + " 1,1 45");
}

TEST_F(DiagramLayoutTest, BoxLooksLikeTheTheorysEntryIssueWinning) {
  TKarvelSentence* assumed = Parse("s");
  TKarvelSentence* asked = Parse("s");
  assumed->IsAssumption = true;
  asked->IsIssue = true;
  asked->IsJustified = true;
  theory.Assumptions.push_back(assumed);
  theory.Issues.push_back(asked);
  Argument({"s"});
  Draw();
  EXPECT_EQ(sink.Lines(), (V{"image 4,5 16x16 #1", "label 23,6 w7 's' justified",
                             "box 2,2 34x22 tag 0 cell 0,0 justified"}));
}

// --- Bounds ------------------------------------------------------------------

// Layers of diamonds: every sentence of a layer has two rules whose single
// conjunct is a sentence of the next layer, so a full expansion doubles per
// layer.
void Diamonds(TListOfKarvelSentences& sentences, karvel::TKarvelTheory& theory, int layers) {
  karvel::TSentenceCollector collector(sentences);
  collector.Collect(karvel::ParseSentence("top", theory.Arena()));
  std::string upper = "top";
  for (int layer = 0; layer < layers; ++layer) {
    const std::string left = "l" + std::to_string(layer), right = "r" + std::to_string(layer);
    const std::string next = "n" + std::to_string(layer);
    for (const std::string& rule : {"if(" + left + ", " + upper + ")", "if(" + right + ", " + upper + ")",
                                    "if(" + next + ", " + left + ")", "if(" + next + ", " + right + ")"})
      collector.Collect(karvel::ParseSentence(rule, theory.Arena()));
    upper = next;
  }
}

TEST_F(DiagramLayoutTest, ExponentialShapeIsCutAtTheElementBound) {
  Diamonds(sentences, theory, 12);  // 2^13 occurrences of the last layer in full
  Draw(0, 300);
  EXPECT_GT(cut, 0u);
  EXPECT_LT(nodes, 400u);
  EXPECT_EQ(static_cast<std::size_t>(sink.Count(TControlKind::RepetitionMark)), cut);
  // Every sentence is still drawn somewhere, as a root if need be.
  EXPECT_EQ(drawn.size(), sentences.size());
  for (TKarvelSentence* s : sentences) EXPECT_GE(karvel::IndexOfText(drawn, s->Text), 0);
}

// How fast this draws is BM_DiamondsDrawn's business; here only the bound.
TEST_F(DiagramLayoutTest, DefaultBoundCutsDeepDiamonds) {
  Diamonds(sentences, theory, 40);  // 2^40 occurrences unbounded
  Draw();
  EXPECT_LE(nodes, TDiagramLayout::kDefaultElementBound + 2 * sentences.size());
  EXPECT_GT(cut, 0u);
}

TEST_F(DiagramLayoutTest, BelowTheBoundNothingIsCut) {
  Diamonds(sentences, theory, 3);
  Draw();
  EXPECT_EQ(cut, 0u);
  EXPECT_EQ(sink.Count(TControlKind::RepetitionMark), 0);
}

TEST_F(DiagramLayoutTest, LongChainIsCutAtTheDepthBound) {
  // c0 <- c1 <- ... : every link nests the layout one level deeper.
  const int length = TDiagramLayout::kMaxDepth + 500;
  karvel::TSentenceCollector collector(sentences);
  for (int i = 0; i < length; ++i)
    collector.Collect(Parse("if(c" + std::to_string(i + 1) + ", c" + std::to_string(i) + ")"));
  Draw();
  EXPECT_EQ(cut, 1u);
  EXPECT_EQ(drawn.size(), sentences.size());
  // The chain runs down one row and one column per link until the cut.
  const std::string half = std::to_string(TDiagramLayout::kMaxDepth / 2);
  EXPECT_EQ(Boxes()[TDiagramLayout::kMaxDepth / 2], "c" + half + " " + half + "," + half + " 57");
}

}  // namespace
}  // namespace ostrel::diagram
