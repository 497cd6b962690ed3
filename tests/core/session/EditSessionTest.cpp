// The editing commands on the headless session: the worked examples phase by
// phase, selection, availability, the editor's completion and its refusals,
// and commands whose refresh fails.
#include "HeadlessSession.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "TestTheory.h"

namespace ostrel {
namespace {

using karvel::testing::ElementaryFile;
using karvel::testing::Texts;
using V = std::vector<std::string>;
using C = TEditCommand;

const std::string P(kPlaceholderSentenceText);

bool IndexOfTextIn(const std::vector<std::string>& texts, const std::string& text) {
  return std::find(texts.begin(), texts.end(), text) != texts.end();
}

class EditSessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // A parameterised test's name holds a slash: a nested folder whose
    // parent the tear-down would leave behind.
    std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    std::replace(name.begin(), name.end(), '/', '-');
    FDirectory =
        std::filesystem::temp_directory_path() / ("ostrel-edit-" + std::to_string(::getpid()) + "-" + name);
    std::filesystem::remove_all(FDirectory);
    std::filesystem::create_directories(FDirectory);
    FPrevious = std::filesystem::current_path();
    std::filesystem::current_path(FDirectory);
    ASSERT_TRUE(W.New());
  }
  void TearDown() override {
    std::filesystem::current_path(FPrevious);
    std::filesystem::permissions(FDirectory, std::filesystem::perms::owner_all);
    std::filesystem::remove_all(FDirectory);
  }

  void Open(const V& assumptions, const V& issues = {}) {
    std::ofstream("theory.kvl", std::ios::binary) << ElementaryFile(assumptions, issues);
    ASSERT_TRUE(W.Open("theory.kvl"));
  }
  V Assumptions() { return Texts(W.Document().Theory().Assumptions); }
  V Issues() { return Texts(W.Document().Theory().Issues); }
  static std::string WorkingFile() {
    std::ifstream in(kTemporaryFileName, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
  }
  // "~tmp.kvl" holds exactly the document: the window's file text, and a
  // fresh read of it gives the same lists.
  void ExpectWorkingFileIsDocument() {
    EXPECT_EQ(WorkingFile(), W.Document().File().Text + "\r\n");
    TheoryDocument fresh;
    fresh.Read(kTemporaryFileName, true);
    fresh.CollectArgumentSentences();
    EXPECT_EQ(Texts(fresh.Theory().Assumptions), Assumptions());
    EXPECT_EQ(Texts(fresh.Theory().Issues), Issues());
  }
  void Press(const std::string& text) { ASSERT_TRUE(W.PressBoxOf(text)) << text; }
  void PressRule(const std::string& text) { ASSERT_TRUE(W.PressConnectorOf(text)) << text; }
  TEditSession& S() { return W.Session(); }
  // The placeholder's visible box count.
  int HiddenBoxes() const {
    int hidden = 0;
    for (const auto& box : W.Boxes()) hidden += box.Visible ? 0 : 1;
    return hidden;
  }

  THeadlessSession W;

 private:
  std::filesystem::path FDirectory, FPrevious;
};

// ---- the worked examples -------------------------------------------------------

// Records the theory after every refresh of one command.
class TPhaseRecorder {
 public:
  explicit TPhaseRecorder(THeadlessSession& w) : FSession(w), FStart(w.Refreshes()) {}
  [[nodiscard]] int Reloads() const { return FSession.Refreshes() - FStart; }

 private:
  THeadlessSession& FSession;
  int FStart;
};

TEST_F(EditSessionTest, SupportOnAnAssumptionThenEnter) {
  Open({"a", "b"});
  Press("a");
  TPhaseRecorder phases(W);
  S().Givesupport1Click();
  EXPECT_EQ(phases.Reloads(), 2);
  EXPECT_EQ(Assumptions(), (V{"if(" + P + ", a)", "b", P}));
  EXPECT_EQ(Issues(), V{"a"});
  ExpectWorkingFileIsDocument();
  // The editor is open, empty, over the placeholder's box, which is hidden.
  ASSERT_TRUE(W.Editor().Visible);
  EXPECT_EQ(W.Editor().Text, "");
  EXPECT_TRUE(S().Marks.AddingSupportOrAttack);
  EXPECT_TRUE(S().Marks.ChangingSentence);
  ASSERT_GE(W.Selection(), 0);
  EXPECT_EQ(W.DiagramSentences()[static_cast<std::size_t>(W.Selection())]->Text, P);
  EXPECT_EQ(HiddenBoxes(), 1);
  for (const auto& choice : W.Editor().Choices) EXPECT_EQ(choice.find(P), std::string::npos);

  W.Type("  r ");
  W.PressEnter();
  EXPECT_EQ(Assumptions(), (V{"if(r, a)", "b", "r"}));
  EXPECT_EQ(Issues(), V{"a"});
  EXPECT_FALSE(W.Editor().Visible);
  EXPECT_EQ(S().Marks, TPendingMarks{});
  EXPECT_EQ(HiddenBoxes(), 0);
  ExpectWorkingFileIsDocument();
}

TEST_F(EditSessionTest, SupportThenEscapeMakesTheSupportedSentenceAnAssumption) {
  Open({"a", "b"});
  Press("a");
  S().Givesupport1Click();
  W.PressEscape();
  EXPECT_EQ(Assumptions(), (V{"b", "a"}));
  EXPECT_EQ(Issues(), V{});
  EXPECT_FALSE(W.Editor().Visible);
  EXPECT_EQ(S().Marks, TPendingMarks{});
  ExpectWorkingFileIsDocument();
}

TEST_F(EditSessionTest, SupportOnAnIssueAppendsTheRuleAndEscapeMakesItAnAssumption) {
  Open({"a"}, {"s"});
  Press("s");
  S().Givesupport1Click();
  EXPECT_EQ(Assumptions(), (V{"a", P, "if(" + P + ", s)"}));
  EXPECT_EQ(Issues(), V{"s"});
  W.PressEscape();
  EXPECT_EQ(Assumptions(), (V{"a", "s"}));
  EXPECT_EQ(Issues(), V{});
}

TEST_F(EditSessionTest, AttackThenEnterAndEscape) {
  Open({"a", "b"});
  Press("b");
  S().Attack1Click();
  EXPECT_EQ(Assumptions(), (V{"a", "b", P, "if(" + P + ", x(b))"}));
  EXPECT_EQ(Issues(), V{"x(b)"});
  ExpectWorkingFileIsDocument();
  W.Type("r");
  W.PressEnter();
  EXPECT_EQ(Assumptions(), (V{"a", "b", "r", "if(r, x(b))"}));
  EXPECT_EQ(Issues(), V{"x(b)"});
  ExpectWorkingFileIsDocument();

  Open({"a", "b"});
  Press("b");
  S().Attack1Click();
  W.PressEscape();
  EXPECT_EQ(Assumptions(), (V{"a", "b", "x(b)"}));
  EXPECT_EQ(Issues(), V{});
  ExpectWorkingFileIsDocument();
}

TEST_F(EditSessionTest, AddConjunctRewritesEveryCompoundThatHoldsTheRule) {
  Open({"if(a, s)", "a", "x(if(a, s))"}, {"s"});
  PressRule("if(a, s)");
  EXPECT_EQ(S().OldConditionalText(), "if(a, s)");
  S().Addconjunct1Click();
  const std::string extended = "if(a, " + P + ", s)";
  EXPECT_EQ(S().NewConditionalText(), extended);
  EXPECT_EQ(Assumptions(), (V{extended, "a", "x(" + extended + ")", P}));
  EXPECT_EQ(Issues(), V{"s"});
  EXPECT_TRUE(S().Marks.AddingConjunct);
  ASSERT_TRUE(W.Editor().Visible);
  ExpectWorkingFileIsDocument();
  W.Type("b");
  W.PressEnter();
  EXPECT_EQ(Assumptions(), (V{"if(a, b, s)", "a", "x(if(a, b, s))", "b"}));
  EXPECT_EQ(S().Marks, TPendingMarks{});
  ExpectWorkingFileIsDocument();
}

TEST_F(EditSessionTest, AddConjunctThenEscapeRemovesWhatWasBuiltOnThePlaceholder) {
  Open({"if(a, s)", "a", "x(if(a, s))"}, {"s"});
  PressRule("if(a, s)");
  S().Addconjunct1Click();
  W.PressEscape();
  EXPECT_EQ(Assumptions(), (V{"if(a, s)", "a"}));
  EXPECT_EQ(Issues(), V{"s"});
  EXPECT_EQ(S().Marks, TPendingMarks{});
  ExpectWorkingFileIsDocument();
}

// ---- one-phase commands ------------------------------------------------------

TEST_F(EditSessionTest, SetAsAssumptionOnAnAssumptionWritesNothing) {
  Open({"a"});
  Press("a");
  const int before = W.Refreshes();
  std::filesystem::remove(kTemporaryFileName);
  S().Setasassumption1Click();
  EXPECT_EQ(W.Refreshes(), before);
  EXPECT_FALSE(std::filesystem::exists(kTemporaryFileName));
}

TEST_F(EditSessionTest, SetAsIssueAndBack) {
  Open({"a", "if(a, s)", "s"});
  Press("s");
  S().Setasissue1Click();
  EXPECT_EQ(Assumptions(), (V{"a", "if(a, s)"}));
  EXPECT_EQ(Issues(), V{"s"});
  Press("s");
  S().Setasassumption1Click();
  EXPECT_EQ(Assumptions(), (V{"a", "if(a, s)", "s"}));
  EXPECT_EQ(Issues(), V{});
  ExpectWorkingFileIsDocument();
}

TEST_F(EditSessionTest, DeleteRemovesEverythingBuiltOnTheSentence) {
  Open({"a", "b", "if(a, s)", "x(a)", "if(b, x(if(a, s)))", "c"}, {"q"});
  Press("a");
  const int selection = W.Selection();
  ASSERT_GE(selection, 0);
  S().Delete1Click();
  EXPECT_EQ(W.Selection(), -1);
  // The consequent stays, as an issue; the rule about the deleted rule goes.
  EXPECT_EQ(Assumptions(), (V{"b", "c"}));
  EXPECT_EQ(Issues(), (V{"q", "s"}));
  ExpectWorkingFileIsDocument();
}

TEST_F(EditSessionTest, DeleteOfAnIssueKeepsTheSelection) {
  Open({"a", "if(a, s)"});
  Press("s");
  const int selection = W.Selection();
  S().Delete1Click();
  EXPECT_EQ(W.Selection(), selection);
  EXPECT_EQ(Assumptions(), V{"a"});
}

// ---- selection and availability -------------------------------------------------

TEST_F(EditSessionTest, PressesSetTheCellThePanelsAndTheSelection) {
  Open({"a", "if(a, s)"});
  W.PressFreeArea(40, 75);
  EXPECT_EQ(W.StatusPanel(0), "(2, 2)");
  EXPECT_EQ(W.StatusPanel(1), "");
  EXPECT_EQ(W.Selection(), -1);
  Press("a");
  EXPECT_EQ(W.StatusPanel(1), "a");
  EXPECT_EQ(W.DiagramSentences()[static_cast<std::size_t>(W.Selection())]->Text, "a");
  PressRule("if(a, s)");
  EXPECT_EQ(W.StatusPanel(1), "if(a, s)");
  EXPECT_EQ(S().OldConditionalText(), "if(a, s)");
}

// Each row: what is pressed, then the items shown in both menus afterwards.
struct TAvailabilityCase {
  const char* Name;
  V Assumptions, Issues;
  std::string Pressed;  // "" for the free area
  bool Connector;
  std::vector<C> Shown;
};

class AvailabilityTest : public EditSessionTest, public ::testing::WithParamInterface<TAvailabilityCase> {};

TEST_P(AvailabilityTest, MenusShowExactlyTheRowsItems) {
  const TAvailabilityCase& row = GetParam();
  Open(row.Assumptions, row.Issues);
  if (row.Pressed.empty()) {
    W.PressFreeArea(500, 500);
  } else if (row.Connector) {
    PressRule(row.Pressed);
  } else {
    Press(row.Pressed);
  }
  const auto check = [&](const TMenuItemStates& menu, const char* which) {
    for (int i = 0; i < kEditCommandCount; ++i) {
      const auto command = static_cast<C>(i);
      const bool expected = std::find(row.Shown.begin(), row.Shown.end(), command) != row.Shown.end();
      EXPECT_EQ(menu.Shown(command), expected) << which << " item " << i;
    }
  };
  check(W.Menus().Popup, "popup");
  check(W.Menus().Edit, "edit after press");
  S().Edit1Click();
  check(W.Menus().Edit, "edit opened");
}

// Match is offered for a sentence without variables, and only for one.
const std::vector<C> kVariablesItems = {C::Addstatement, C::Givesupport, C::Attack, C::Delete, C::Properties};
const std::vector<C> kSentenceItems = {C::Addstatement, C::Givesupport, C::Attack,
                                       C::Delete,       C::Properties,  C::Match};
std::vector<C> With(std::vector<C> items, std::initializer_list<C> more) {
  items.insert(items.end(), more);
  return items;
}

INSTANTIATE_TEST_SUITE_P(
    Table, AvailabilityTest,
    ::testing::Values(
        TAvailabilityCase{"Nothing", {"a"}, {}, "", false, {C::Addstatement}},
        TAvailabilityCase{"ElementaryAssumption",
                          {"a"},
                          {},
                          "a",
                          false,
                          With(kSentenceItems, {C::Setasissue, C::Changeelementarysentence})},
        TAvailabilityCase{"ElementaryIssue",
                          {"a"},
                          {"b"},
                          "b",
                          false,
                          With(kSentenceItems, {C::Setasassumption, C::Changeelementarysentence})},
        TAvailabilityCase{
            "NegationIssue", {"a"}, {"x(b)"}, "x(b)", false, With(kSentenceItems, {C::Setasassumption})},
        TAvailabilityCase{
            "NegationAssumption", {"x(b)"}, {}, "x(b)", false, With(kSentenceItems, {C::Setasissue})},
        TAvailabilityCase{"ConditionalIssue",
                          {"a"},
                          {"if(a, s)"},
                          "if(a, s)",
                          true,
                          With(kSentenceItems, {C::Setasassumption, C::Addconjunct})},
        TAvailabilityCase{"ConditionalAssumption",
                          {"a", "if(a, s)"},
                          {},
                          "if(a, s)",
                          true,
                          With(kSentenceItems, {C::Setasissue, C::Addconjunct})},
        TAvailabilityCase{"WithVariables",
                          {"<x> is a bird"},
                          {},
                          "<x> is a bird",
                          false,
                          With(kVariablesItems, {C::Setasissue, C::Changeelementarysentence})}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(EditSessionTest, EditMenuWithoutValidSelectionKeepsPropertiesAsItWas) {
  Open({"a", "b"});
  Press("a");
  S().Delete1Click();  // clears the selection
  S().Edit1Click();
  EXPECT_TRUE(W.Menus().Edit.Shown(C::Properties));
  EXPECT_TRUE(W.Menus().Edit.Shown(C::Addstatement));
  EXPECT_FALSE(W.Menus().Edit.Shown(C::Delete));
  EXPECT_FALSE(W.Menus().Edit.Shown(C::Setasissue));
  // The popup menu is not touched by opening the Edit menu.
  EXPECT_TRUE(W.Menus().Popup.Shown(C::Delete));
}

TEST_F(EditSessionTest, ReloadKeepsAnIndexBeyondTheDiagramAsNoSelection) {
  Open({"a", "b", "c"});
  Press("c");
  Open({"z"});
  EXPECT_GE(W.Selection(), 1);
  EXPECT_EQ(S().SelectedSentence(), nullptr);
  const int before = W.Refreshes();
  S().Delete1Click();
  S().Setasissue1Click();
  S().Changeelementarysentence1Click();
  EXPECT_EQ(W.Refreshes(), before);
  EXPECT_FALSE(W.Editor().Visible);
  S().Givesupport1Click();  // sets its mark, then finds nothing to do
  EXPECT_TRUE(S().Marks.AddingSupportOrAttack);
  EXPECT_EQ(W.Refreshes(), before);
}

// ---- the in-place editor -----------------------------------------------------

TEST_F(EditSessionTest, AddElementarySentenceBelowTheDiagram) {
  Open({"b", "a"}, {"C"});
  W.PressFreeArea(10, 500);
  S().DoubleClick(-1);
  ASSERT_TRUE(W.Editor().Visible);
  EXPECT_TRUE(S().Marks.AddingSentence);
  EXPECT_EQ(W.Editor().Placement, (TEditorPlacement{2, 30 * W.DiagramRowCount() + 2, 716 - 7}));
  EXPECT_EQ(W.Editor().Choices, (V{"a", "b", "C"}));
  W.Type("  new one\t");
  W.PressEnter();
  EXPECT_EQ(Assumptions(), (V{"b", "a", "new one"}));
  EXPECT_FALSE(W.Editor().Visible);
  ExpectWorkingFileIsDocument();
}

TEST_F(EditSessionTest, NewSentenceWithTheTextOfAnIssueChangesNothing) {
  Open({"a"}, {"q"});
  S().Addstatement1Click();
  W.Type("q");
  W.PressEnter();
  EXPECT_EQ(Assumptions(), V{"a"});
  EXPECT_EQ(Issues(), V{"q"});
}

TEST_F(EditSessionTest, BlankEnterKeepsTheEditorAndDropsTheSupportMark) {
  Open({"a", "b"});
  Press("a");
  S().Givesupport1Click();
  W.Type(" \t ");
  W.PressEnter();
  EXPECT_TRUE(W.Editor().Visible);
  EXPECT_FALSE(S().Marks.AddingSupportOrAttack);
  EXPECT_TRUE(S().Marks.ChangingSentence);
  // Without the mark Escape only reloads: the placeholder stays.
  W.PressEscape();
  EXPECT_EQ(Assumptions(), (V{"if(" + P + ", a)", "b", P}));
  EXPECT_FALSE(W.Editor().Visible);
}

TEST_F(EditSessionTest, ChangeOverABoxRightOfTheFirstColumn) {
  // The reasons of s stand to the right of it.
  Open({"a", "b", "if(a, b, s)"});
  std::size_t index = W.Boxes().size();
  for (std::size_t i = 0; i < W.Boxes().size(); ++i)
    if (W.Boxes()[i].Place.Column > 0) index = i;
  ASSERT_LT(index, W.Boxes().size());
  W.PressBox(index);
  const auto& box = W.Boxes()[index];
  const int column = box.Place.Column;
  S().DoubleClick(static_cast<int>(index));
  EXPECT_TRUE(S().Marks.ChangingSentence);
  EXPECT_EQ(W.Editor().Placement,
            (TEditorPlacement{2 + 18 * column, 30 * box.Place.Row + 3, 716 - 7 - 18 * column}));
  EXPECT_FALSE(W.Boxes()[index].Visible);
  EXPECT_EQ(W.Editor().Text, W.DiagramSentences()[static_cast<std::size_t>(box.Place.Tag)]->Text);
}

TEST_F(EditSessionTest, ChangeRenamesTheSentenceEverywhere) {
  Open({"a", "if(a, s)", "x(a)"});
  Press("a");
  S().Changeelementarysentence1Click();
  W.Type("z");
  W.PressEnter();
  EXPECT_EQ(Assumptions(), (V{"z", "if(z, s)", "x(z)"}));
  EXPECT_FALSE(W.Editor().Visible);
  ExpectWorkingFileIsDocument();
}

TEST_F(EditSessionTest, ChangeToTheTextOfAnIssueMakesItAnIssue) {
  Open({"a", "b"}, {"q"});
  Press("a");
  S().Changeelementarysentence1Click();
  W.Type("q");
  W.PressEnter();
  EXPECT_EQ(Assumptions(), V{"b"});
  EXPECT_EQ(Issues(), V{"q"});
  ExpectWorkingFileIsDocument();
}

TEST_F(EditSessionTest, ChangeOfAnIssueToTheTextOfAnAssumptionMakesItAnAssumption) {
  Open({"a", "b"}, {"q"});
  Press("q");
  S().Changeelementarysentence1Click();
  W.Type("a");
  W.PressEnter();
  EXPECT_EQ(Assumptions(), (V{"a", "b"}));
  EXPECT_EQ(Issues(), V{});
}

TEST_F(EditSessionTest, NewSentenceMarkWinsOverALaterChange) {
  Open({"a"});
  S().Addstatement1Click();
  Press("a");
  S().DoubleClick(0);
  W.Type("n");
  W.PressEnter();
  EXPECT_EQ(Assumptions(), (V{"a", "n"}));
  // The change is still pending.
  EXPECT_TRUE(S().Marks.ChangingSentence);
}

TEST_F(EditSessionTest, EscapeWithoutMarksReloadsAndCloses) {
  Open({"a"});
  const int before = W.Refreshes();
  W.PressEscape();
  EXPECT_EQ(W.Refreshes(), before + 1);
  EXPECT_EQ(Assumptions(), V{"a"});
}

TEST_F(EditSessionTest, ParseOffKeepsTypedFormsElementary) {
  TRefreshOptions options;
  options.ParseSentences = false;
  W.SetOptions(options);
  S().Addstatement1Click();
  W.Type("x(a)");
  W.PressEnter();
  ASSERT_EQ(W.Document().Theory().Assumptions.size(), 1u);
  EXPECT_TRUE(karvel::IsElementary(W.Document().Theory().Assumptions[0]));
}

// ---- mends -------------------------------------------------------------------

TEST_F(EditSessionTest, TextsTheFileCannotCarryAreRefused) {
  for (const std::string tag : {"</KARVEL>", "<THEORY>", "</ELEMENTARYSENTENCE>"}) {
    Open({"a", "b"}, {"q"});
    const std::string before = WorkingFile();
    for (bool change : {false, true}) {
      if (change) {
        Press("b");
        S().Changeelementarysentence1Click();
      } else {
        S().Addstatement1Click();
      }
      const TPendingMarks marks = S().Marks;
      W.Type("x " + tag + " y");
      W.PressEnter();
      EXPECT_TRUE(W.Editor().Visible) << tag;
      EXPECT_EQ(W.Editor().Text, "x " + tag + " y");
      EXPECT_EQ(S().Marks, marks);
      EXPECT_EQ(W.StatusPanel(1), "A sentence may not contain " + tag + ".");
      EXPECT_EQ(WorkingFile(), before) << tag;
      EXPECT_EQ(Assumptions(), (V{"a", "b"}));
      EXPECT_EQ(Issues(), V{"q"});
      W.PressEscape();
    }
  }
  // Other tag words read back unchanged, so they are committed.
  Open({"a"});
  S().Addstatement1Click();
  W.Type("</THEORY> and </SENTENCE>");
  W.PressEnter();
  EXPECT_EQ(Assumptions(), (V{"a", "</THEORY> and </SENTENCE>"}));
}

TEST_F(EditSessionTest, ChangeRewritesOnlySentenceTextLines) {
  // With parsing off a sentence may be named like a tag; renaming it must
  // leave the file's structure alone.
  TRefreshOptions options;
  options.ParseSentences = false;
  W.SetOptions(options);
  Open({"<SENTENCE>", "b"});
  ASSERT_EQ(Assumptions(), (V{"<SENTENCE>", "b"}));
  Press("<SENTENCE>");
  S().Changeelementarysentence1Click();
  W.Type("s");
  W.PressEnter();
  EXPECT_EQ(Assumptions(), (V{"s", "b"}));
  ExpectWorkingFileIsDocument();
}

// ---- failures ------------------------------------------------------------------

TEST_F(EditSessionTest, ACommandWhoseReloadFailsStopsThereWithItsSentencesAlive) {
  Open({"a", "b"});
  Press("a");
  // The working file cannot be replaced: a directory of that name.
  std::filesystem::remove(kTemporaryFileName);
  std::filesystem::create_directory(kTemporaryFileName);
  S().Givesupport1Click();
  ASSERT_EQ(W.Errors().size(), 1u);
  EXPECT_EQ(W.Errors()[0], std::string("Cannot create file ") + kTemporaryFileName);
  EXPECT_FALSE(W.Editor().Visible);
  // Nothing reached the file, so nothing changed: no mark is left waiting
  // for an editor that never opened, and the lists are as they were.
  EXPECT_EQ(S().Marks, TPendingMarks{});
  EXPECT_EQ(Assumptions(), (V{"a", "b"}));
  EXPECT_EQ(W.StatusPanel(1), "The command was undone: the working file could not be written.");
  std::filesystem::remove(kTemporaryFileName);

  // The reload of the first phase fails after the write succeeded.
  Open({"a", "b"});
  Press("a");
  ::chmod(kTemporaryFileName, 0);
  const bool root = ::geteuid() == 0;
  S().Attack1Click();
  ::chmod(kTemporaryFileName, 0644);
  if (!root) {
    ASSERT_EQ(W.Errors().size(), 2u);
    EXPECT_EQ(Assumptions(), V{});
    EXPECT_EQ(W.Selection(), -1);
  }
  // Whatever failed, the session goes on from the working file.
  W.PressEscape();
  ExpectWorkingFileIsDocument();
}

// Fails chosen writes of the file layer: the first `pass` writes go
// through, the next `fail` ones fail the given way.
class TFailingWrites final : public karvel::TWriteFaults {
 public:
  TFailingWrites(karvel::TWriteFault fault, int pass, int fail) : FFault(fault), FPass(pass), FFail(fail) {
    karvel::SetWriteFaults(this);
  }
  ~TFailingWrites() override { karvel::SetWriteFaults(nullptr); }
  bool Next(karvel::TWriteFault fault) override {
    // A write asks once per piece for the disk and once for the rename;
    // each whole write counts as one.
    if (fault == karvel::TWriteFault::RenameFails) ++FWrites;
    if (fault != FFault) return false;
    const int index = fault == karvel::TWriteFault::RenameFails ? FWrites - 1 : FWrites;
    return index >= FPass && index < FPass + FFail;
  }

 private:
  karvel::TWriteFault FFault;
  int FPass, FFail;
  int FWrites = 0;
};

TEST_F(EditSessionTest, AFailedWriteRollsTheCommandBackAndSaysSo) {
  Open({"a", "b"});
  const std::string start = WorkingFile();
  Press("a");
  {
    // A full disk at Attack's first write: nothing is left waiting.
    TFailingWrites full(karvel::TWriteFault::NoSpace, 0, 100);
    S().Attack1Click();
  }
  ASSERT_EQ(W.Errors().size(), 1u);
  EXPECT_EQ(W.Errors()[0], std::string("Cannot create file ") + kTemporaryFileName);
  EXPECT_EQ(S().Marks, TPendingMarks{});
  EXPECT_FALSE(W.Editor().Visible);
  EXPECT_EQ(Assumptions(), (V{"a", "b"}));
  EXPECT_EQ(W.StatusPanel(1), "The command was undone: the working file could not be written.");
  EXPECT_EQ(WorkingFile(), start);
  ExpectWorkingFileIsDocument();
  // With space again, a new sentence brings no placeholder along.
  S().Addstatement1Click();
  W.Type("c");
  W.PressEnter();
  EXPECT_EQ(Assumptions(), (V{"a", "b", "c"}));
  ExpectWorkingFileIsDocument();

  // The first phase of Support reaches the file and the reload, the second
  // fails at its rename: the file and the document go back to before the
  // command. (The reload finds the bytes it would write and writes none.)
  const std::string before = WorkingFile();
  Press("a");
  {
    TFailingWrites renames(karvel::TWriteFault::RenameFails, 1, 1);
    S().Givesupport1Click();
  }
  EXPECT_EQ(W.Errors().size(), 2u);
  EXPECT_EQ(S().Marks, TPendingMarks{});
  EXPECT_FALSE(W.Editor().Visible);
  EXPECT_EQ(HiddenBoxes(), 0);
  EXPECT_EQ(WorkingFile(), before);
  EXPECT_EQ(Assumptions(), (V{"a", "b", "c"}));
  EXPECT_EQ(Issues(), V{});
  ExpectWorkingFileIsDocument();
}

TEST_F(EditSessionTest, AFailedCommitKeepsTheEditorAndItsCommandPending) {
  Open({"a", "b"});
  Press("a");
  S().Attack1Click();
  ASSERT_TRUE(W.Editor().Visible);
  const TPendingMarks pending = S().Marks;
  const V assumptions = Assumptions();
  W.Type("r");
  {
    TFailingWrites full(karvel::TWriteFault::NoSpace, 0, 100);
    W.PressEnter();
  }
  // The commit wrote nothing: the editor is still open on the placeholder
  // with the command pending, and the user may try again or cancel.
  EXPECT_EQ(W.Errors().size(), 1u);
  EXPECT_TRUE(W.Editor().Visible);
  EXPECT_EQ(S().Marks, pending);
  EXPECT_EQ(Assumptions(), assumptions);
  ExpectWorkingFileIsDocument();
  W.PressEscape();
  EXPECT_EQ(S().Marks, TPendingMarks{});
  EXPECT_EQ(Assumptions(), (V{"a", "b", "x(a)"}));
  ExpectWorkingFileIsDocument();

  // A commit whose own write reached the file: when the status change
  // after it fails, or the reload between them, the file goes back to
  // before the whole command. The reload writes (the issue's text is an
  // assumption's now, so the issue goes), then the status change does.
  Open({"a", "b"}, {"i"});
  const std::string withIssue = WorkingFile();
  for (int pass : {2, 1}) {
    Press("b");
    S().Attack1Click();
    ASSERT_TRUE(W.Editor().Visible);
    W.Type("i");
    {
      TFailingWrites renames(karvel::TWriteFault::RenameFails, pass, 1);
      W.PressEnter();
    }
    EXPECT_FALSE(W.Editor().Visible) << pass;
    EXPECT_EQ(S().Marks, TPendingMarks{}) << pass;
    EXPECT_EQ(WorkingFile(), withIssue) << pass;
    if (pass == 1) {
      // The failed reload left the document empty, as any abandoned
      // refresh does; the working file holds the theory for the next one.
      EXPECT_TRUE(W.LastRefreshAbandoned());
      EXPECT_EQ(Assumptions(), V{});
      ASSERT_TRUE(W.Open(kTemporaryFileName));
    }
    EXPECT_EQ(Assumptions(), (V{"a", "b"})) << pass;
    EXPECT_EQ(Issues(), V{"i"}) << pass;
    ExpectWorkingFileIsDocument();
  }
}

// A conditional chain "if(p, if(p, ... q))" nested `depth` levels deep.
std::string Chain(int depth, const std::string& leaf = "q") {
  std::string text = leaf;
  for (int i = 1; i < depth; ++i) text = "if(p, " + text + ")";
  return text;
}

TEST_F(EditSessionTest, CommandsThatWouldNestDeeperThanTheReaderAcceptsAreRefused) {
  const std::string deepest = Chain(karvel::kMaxNestingDepth, "leaf");
  const std::string almost = Chain(karvel::kMaxNestingDepth - 1);
  Open({deepest, almost, "later"});
  const V assumptions = Assumptions();
  const std::string start = WorkingFile();
  const std::string refused = "The new sentence would nest deeper than 256 levels; nothing was changed.";
  const auto expectRefused = [&](const char* command) {
    EXPECT_EQ(W.StatusPanel(1), refused) << command;
    EXPECT_EQ(S().Marks, TPendingMarks{}) << command;
    EXPECT_FALSE(W.Editor().Visible) << command;
    EXPECT_EQ(WorkingFile(), start) << command;
    EXPECT_EQ(Assumptions(), assumptions) << command;
    EXPECT_TRUE(W.Errors().empty()) << command;
  };
  PressRule(deepest);
  S().Givesupport1Click();
  expectRefused("Support");
  PressRule(deepest);
  S().Adddialecticalnegation2Click();
  expectRefused("Add dialectical negation");
  PressRule(almost);
  S().Attack1Click();
  expectRefused("Attack");
  // The leaf at the bottom of the deepest chain has room for no compound.
  Press("leaf");
  S().Changeelementarysentence1Click();
  ASSERT_TRUE(W.Editor().Visible);
  W.Type("x(leaf)");
  W.PressEnter();
  EXPECT_EQ(W.StatusPanel(1), refused);
  EXPECT_TRUE(W.Editor().Visible) << "the typed text stays for the user to change";
  EXPECT_EQ(WorkingFile(), start);
  W.Type("other leaf");
  W.PressEnter();
  EXPECT_FALSE(W.Editor().Visible);
  EXPECT_EQ(Assumptions()[0], Chain(karvel::kMaxNestingDepth, "other leaf"));

  // At the limit itself a command goes on, and nothing after it is lost.
  PressRule(almost);
  S().Givesupport1Click();
  ASSERT_TRUE(W.Editor().Visible);
  W.Type("r");
  W.PressEnter();
  EXPECT_TRUE(IndexOfTextIn(Assumptions(), "if(r, " + almost + ")"));
  EXPECT_TRUE(IndexOfTextIn(Assumptions(), "later"));
  ExpectWorkingFileIsDocument();
}

TEST_F(EditSessionTest, PinnedGenerationsOutliveFailedRefreshes) {
  Open({"a"});
  karvel::TKarvelSentence* held = W.Document().Theory().Assumptions[0];
  {
    const auto pin = W.Document().PinGenerations();
    for (int i = 0; i < 4; ++i) W.Open("no such file.kvl");
    EXPECT_EQ(W.Errors().size(), 4u);
    EXPECT_GE(W.Document().LiveGenerations(), 2u);
    EXPECT_EQ(held->Text, "a");  // still alive under ASan
    W.Open(kTemporaryFileName);
    W.Open(kTemporaryFileName);
    EXPECT_EQ(held->Text, "a");
  }
  W.Open(kTemporaryFileName);
  EXPECT_EQ(W.Document().LiveGenerations(), 2u);
}

TEST_F(EditSessionTest, ARefreshBuildsAtMostTenThousandButtonsAndSaysSo) {
  // 14 pairs of mutual attacks: 16,384 interpretations.
  V texts;
  for (int i = 0; i < 14; ++i) {
    const std::string p = "p" + std::to_string(i), q = "q" + std::to_string(i);
    texts.insert(texts.end(), {p, q, "if(" + p + ", x(" + q + "))", "if(" + q + ", x(" + p + "))"});
  }
  Open(texts);
  EXPECT_EQ(W.InterpretationButtonCount(), kMaxInterpretationButtons);
  EXPECT_EQ(W.StatusPanel(1), "There are 16384 dialectical interpretations. Buttons show the first 10000.");
  // The Theory view still reports every one.
  const auto lines = W.Document().TheoryViewLines();
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "    JUSTIFIED ASSUMPTIONS"), 16384);
}

TEST_F(EditSessionTest, TheTheoryViewKeepsABoundAndSaysWhatItLists) {
  // 16 pairs of mutual attacks: 65,536 interpretations, a report of 111 MB.
  V texts;
  for (int i = 0; i < 16; ++i) {
    const std::string p = "p" + std::to_string(i), q = "q" + std::to_string(i);
    texts.insert(texts.end(), {p, q, "if(" + p + ", x(" + q + "))", "if(" + q + ", x(" + p + "))"});
  }
  Open(texts);
  EXPECT_EQ(W.StatusPanel(1), "There are 65536 dialectical interpretations. Buttons show the first 10000.");
  const auto lines = W.Document().TheoryViewLines();
  std::size_t bytes = 0;
  for (const auto& line : lines) bytes += line.size() + 1;
  const auto sections = std::count_if(lines.begin(), lines.end(), [](const std::string& line) {
    return line.rfind("DIALECTICAL INTERPRETATION ", 0) == 0;
  });
  EXPECT_LT(sections, 65536);
  EXPECT_LE(bytes, TheoryDocument::kTheoryViewBytes + 4096);
  EXPECT_EQ(lines.back(), "THE THEORY VIEW LISTS THE FIRST " + std::to_string(sections) +
                              " OF 65536 DIALECTICAL INTERPRETATIONS");
}

}  // namespace
}  // namespace ostrel
