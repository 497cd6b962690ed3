// Editing through the real window: presses at diagram points, the menus'
// actions, typing into the in-place editor, and what the scene shows.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGraphicsScene>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "DrawUnit.h"
#include "EditingWindowTest.h"
#include "GuiTestSupport.h"
#include "TDiagramView.h"
#include "TMainForm.h"
#include "TSceneBuilder.h"
#include "TShapeWithDoubleClicks.h"
#include "TestTheory.h"

namespace ostrel {
namespace {

using karvel::testing::ElementaryFile;
using karvel::testing::Texts;
using testing::TScriptedDialogs;
using V = std::vector<std::string>;

class MainFormEditingTest : public testing::TEditingWindowTest {};

TEST_F(MainFormEditingTest, SupportTypedIntoTheEditorAndCommittedWithEnter) {
  OpenTheory({"a", "b"});
  PressOn("a");
  EXPECT_EQ(Form->StatusPanelText(1), "a");
  EXPECT_TRUE(Form->PopupMenuItem(TEditCommand::Givesupport)->isVisible());
  Form->EditMenuItem(TEditCommand::Givesupport)->trigger();
  ASSERT_TRUE(Editor->isVisible());
  EXPECT_EQ(Editor->currentText(), "");
  const std::string P(kPlaceholderSentenceText);
  EXPECT_EQ(Assumptions(), (V{"if(" + P + ", a)", "b", P}));
  // The editor lies over the placeholder's hidden box.
  auto* placeholder = BoxOf(P);
  ASSERT_NE(placeholder, nullptr);
  EXPECT_FALSE(placeholder->isVisible());
  EXPECT_EQ(View->ChildGeometry(Editor).top(), placeholder->Rect().top() + 1);

  QTest::keyClicks(Editor->lineEdit(), QStringLiteral("r"));
  QTest::keyClick(Editor->lineEdit(), Qt::Key_Return);
  EXPECT_FALSE(Editor->isVisible());
  EXPECT_EQ(Assumptions(), (V{"if(r, a)", "b", "r"}));
  EXPECT_EQ(Issues(), V{"a"});
  EXPECT_EQ(Editor->findText(QStringLiteral("r")), -1) << "typed text is not inserted into the choices";
}

TEST_F(MainFormEditingTest, AttackThroughThePopupThenEscape) {
  OpenTheory({"a", "b"});
  PressOn("b");
  Form->PopupMenuItem(TEditCommand::Attack)->trigger();
  ASSERT_TRUE(Editor->isVisible());
  QTest::keyClick(Editor->lineEdit(), Qt::Key_Escape);
  EXPECT_FALSE(Editor->isVisible());
  EXPECT_EQ(Assumptions(), (V{"a", "b", "x(b)"}));
}

TEST_F(MainFormEditingTest, AddConjunctOnARuleWithEnterAndWithEscape) {
  const std::string P(kPlaceholderSentenceText);
  const auto workingFileAssumptions = [this] {
    TheoryDocument reread;
    reread.Read(PathOf(QStringLiteral("~tmp.kvl")).toStdString(), true);
    return Texts(reread.Theory().Assumptions);
  };
  for (const bool enter : {true, false}) {
    OpenTheory({"if(a, s)", "a", "x(if(a, s))"}, {"s"});
    // A press on the rule's drawn line selects the rule.
    diagram::TShapeWithDoubleClicks* line = nullptr;
    for (QGraphicsItem* item : View->Scene().items(Qt::AscendingOrder)) {
      auto* shape = qgraphicsitem_cast<diagram::TShapeWithDoubleClicks*>(item);
      if (shape != nullptr && !shape->IsBox() && shape->Pen().style() != Qt::NoPen &&
          Form->DiagramSentences().at(static_cast<std::size_t>(shape->Tag()))->Text == "if(a, s)") {
        line = shape;
        break;
      }
    }
    ASSERT_NE(line, nullptr);
    PressAt(line->Rect().center());
    ASSERT_EQ(Form->StatusPanelText(1), "if(a, s)");
    ASSERT_TRUE(Form->EditMenuItem(TEditCommand::Addconjunct)->isVisible());
    Form->EditMenuItem(TEditCommand::Addconjunct)->trigger();
    ASSERT_TRUE(Editor->isVisible());
    const std::string extended = "if(a, " + P + ", s)";
    EXPECT_EQ(Assumptions(), (V{extended, "a", "x(" + extended + ")", P}));
    EXPECT_EQ(workingFileAssumptions(), Assumptions());
    if (enter) {
      QTest::keyClicks(Editor->lineEdit(), QStringLiteral("b"));
      QTest::keyClick(Editor->lineEdit(), Qt::Key_Return);
      EXPECT_EQ(Assumptions(), (V{"if(a, b, s)", "a", "x(if(a, b, s))", "b"}));
    } else {
      QTest::keyClick(Editor->lineEdit(), Qt::Key_Escape);
      EXPECT_EQ(Assumptions(), (V{"if(a, s)", "a"}));
    }
    EXPECT_FALSE(Editor->isVisible());
    EXPECT_EQ(Issues(), V{"s"});
    EXPECT_EQ(workingFileAssumptions(), Assumptions());
  }
}

TEST_F(MainFormEditingTest, PressesOnFreeAreaAndAfterScrolling) {
  std::vector<std::string> many;
  for (int i = 0; i < 60; ++i) many.push_back("s" + std::to_string(i));
  OpenTheory({"a"});
  PressAt(QPoint(40, 75));
  EXPECT_EQ(Form->StatusPanelText(0), "(2, 2)");
  EXPECT_EQ(Form->StatusPanelText(1), "");
  EXPECT_EQ(View->Tag(), -1);
  OpenTheory(many);
  auto* box = BoxOf("s40");
  ASSERT_NE(box, nullptr);
  View->verticalScrollBar()->setValue(box->Rect().top() - 10);
  PressOn("s40");
  EXPECT_EQ(Form->StatusPanelText(0), QStringLiteral("(0, %1)").arg(box->Row()));
  EXPECT_EQ(Form->StatusPanelText(1), "s40");
}

TEST_F(MainFormEditingTest, DoubleClickOnFreeAreaOpensTheNewSentenceEditor) {
  OpenTheory({"a"});
  const QPoint free(300, 200);
  QTest::mouseDClick(View->viewport(), Qt::LeftButton, {}, View->mapFromScene(free));
  ASSERT_TRUE(Editor->isVisible());
  EXPECT_TRUE(Form->Session().Marks.AddingSentence);
  QTest::keyClicks(Editor->lineEdit(), QStringLiteral("  b  "));
  QTest::keyClick(Editor->lineEdit(), Qt::Key_Return);
  EXPECT_EQ(Assumptions(), (V{"a", "b"}));
}

TEST_F(MainFormEditingTest, ARedrawShowsTheBoxUnderTheEditorAsAFreshDrawingWould) {
  // "a" looks the same in both interpretations.
  OpenTheory({"a", "p", "q", "if(p, x(q))", "if(q, x(p))"});
  ASSERT_EQ(Form->InterpretationButtons().size(), 2);
  const QPoint inside = BoxOf("a")->Rect().topLeft() + QPoint(4, 10);
  PressAt(inside);
  QTest::mouseDClick(View->viewport(), Qt::LeftButton, {}, View->mapFromScene(inside));
  ASSERT_TRUE(Editor->isVisible());
  ASSERT_FALSE(BoxOf("a")->isVisible());
  Form->InterpretationButtons().at(1)->trigger();
  EXPECT_TRUE(BoxOf("a")->isVisible());
}

TEST_F(MainFormEditingTest, PressesWhileAnotherWindowIsActiveChangeNothing) {
  OpenTheory({"a"});
  QWidget other;
  other.show();
  other.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
  PressOn("a");
  EXPECT_EQ(View->Tag(), -1);
  EXPECT_EQ(Form->StatusPanelText(1), "There is 1 dialectical interpretation.");
  EXPECT_FALSE(Form->EditMenuItem(TEditCommand::Delete)->isVisible());
}

TEST_F(MainFormEditingTest, SceneFollowsLoadsButtonsAndOptions) {
  // Two interpretations: p or q.
  OpenTheory({"p", "q", "if(p, x(q))", "if(q, x(p))"});
  const auto boxes = Boxes();
  ASSERT_FALSE(boxes.empty());
  for (auto* box : boxes) ASSERT_LT(static_cast<std::size_t>(box->Tag()), Form->DiagramSentences().size());
  const QColor justified = diagram::TSceneBuilder::ColorOf(diagram::TStatusLook::Justified);
  const QColor defeated = diagram::TSceneBuilder::ColorOf(diagram::TStatusLook::Defeated);
  ASSERT_NE(BoxOf("p"), nullptr);
  ASSERT_NE(BoxOf("q"), nullptr);
  ASSERT_EQ(Form->InterpretationButtons().size(), 2);
  const QColor p1 = BoxOf("p")->Pen().color(), q1 = BoxOf("q")->Pen().color();
  EXPECT_TRUE((p1 == justified && q1 == defeated) || (p1 == defeated && q1 == justified));
  Form->InterpretationButtons().at(1)->trigger();
  EXPECT_EQ(BoxOf("p")->Pen().color(), q1);
  EXPECT_EQ(BoxOf("q")->Pen().color(), p1);

  OpenTheory({"a", "x(b)"});
  ASSERT_NE(BoxOf("x(b)"), nullptr);
  Form->findChild<QAction*>(QStringLiteral("Showdialecticalnegations1"))->trigger();
  EXPECT_EQ(BoxOf("x(b)"), nullptr);
  EXPECT_NE(BoxOf("a"), nullptr);

  auto* structure = Form->findChild<QAction*>(QStringLiteral("Showstructureonly1"));
  structure->trigger();
  ASSERT_NE(BoxOf("a"), nullptr);
  EXPECT_EQ(BoxOf("a")->Pen().color(), QColor(Qt::black));
}

TEST_F(MainFormEditingTest, SelectionMarkFramesWhatTheIndexDesignates) {
  OpenTheory({"a", "b", "if(a, c)"});
  const int items = View->Scene().items().size();
  ASSERT_NE(BoxOf("a"), nullptr);
  PressOn("a");
  EXPECT_EQ(View->SelectionMark(), std::vector<QRect>{BoxOf("a")->Rect()});
  EXPECT_EQ(View->Scene().items().size(), items) << "the mark is no item of the drawing";

  // A press on the rule's line frames its connector lines, not a box.
  diagram::TShapeWithDoubleClicks* line = nullptr;
  for (QGraphicsItem* item : View->Scene().items())
    if (auto* shape = qgraphicsitem_cast<diagram::TShapeWithDoubleClicks*>(item);
        shape && !shape->IsBox() && shape->Pen().style() != Qt::NoPen)
      line = shape;
  ASSERT_NE(line, nullptr);
  PressAt(line->Rect().center());
  ASSERT_EQ(Form->StatusPanelText(1), "if(a, c)");
  ASSERT_FALSE(View->SelectionMark().empty());
  EXPECT_NE(std::find(View->SelectionMark().begin(), View->SelectionMark().end(), line->Rect()),
            View->SelectionMark().end());
  for (const QRect& marked : View->SelectionMark())
    for (auto* box : Boxes()) EXPECT_NE(marked, box->Rect());

  PressAt(QPoint(400, 300));
  EXPECT_TRUE(View->SelectionMark().empty());

  // After a reload the kept index frames whatever it designates now.
  PressOn("b");
  Form->EditMenuItem(TEditCommand::Setasissue)->trigger();
  const int kept = View->Tag();
  ASSERT_GE(kept, 0);
  ASSERT_FALSE(View->SelectionMark().empty());
  for (const QRect& marked : View->SelectionMark()) {
    const auto boxes = Boxes();
    EXPECT_TRUE(std::any_of(boxes.begin(), boxes.end(),
                            [&](auto* box) { return box->Tag() == kept && box->Rect() == marked; }));
  }
  // An index outside the new diagram frames nothing.
  diagram::TShapeWithDoubleClicks* last = Boxes().front();
  for (auto* box : Boxes())
    if (box->Tag() > last->Tag()) last = box;
  PressAt(last->Rect().topLeft() + QPoint(4, 10));
  ASSERT_GE(View->Tag(), 1);
  OpenTheory({"z"});
  ASSERT_GE(View->Tag(), static_cast<int>(Form->DiagramSentences().size()));
  EXPECT_TRUE(View->SelectionMark().empty());
}

TEST_F(MainFormEditingTest, EditorOverABoxSpansToTheRightEdgeAndFollowsResizes) {
  OpenTheory({"a", "if(a, b)", "if(b, c)", "if(c, d)"}, {"d"});
  diagram::TShapeWithDoubleClicks* deep = nullptr;
  std::string seen;
  for (auto* box : Boxes()) {
    const karvel::TKarvelSentence* sentence =
        Form->DiagramSentences().at(static_cast<std::size_t>(box->Tag()));
    seen += sentence->Text + "@" + std::to_string(box->Column()) + " ";
    if (box->Column() == 3 && karvel::IsElementary(sentence)) deep = box;
  }
  ASSERT_NE(deep, nullptr) << seen;
  const QPoint inside = deep->Rect().topLeft() + QPoint(4, 10);
  // The press that begins every double click selects the box.
  PressAt(inside);
  QTest::mouseDClick(View->viewport(), Qt::LeftButton, {}, View->mapFromScene(inside));
  ASSERT_TRUE(Editor->isVisible());
  EXPECT_TRUE(Form->Session().Marks.ChangingSentence);
  EXPECT_EQ(View->ChildGeometry(Editor).left(), 56);
  EXPECT_EQ(View->ChildGeometry(Editor).width(), View->width() - 61);
  Form->resize(Form->width() + 100, Form->height());
  QApplication::processEvents();
  EXPECT_EQ(View->ChildGeometry(Editor).left(), 56);
  EXPECT_EQ(View->ChildGeometry(Editor).width(), View->width() - 7);
}

TEST_F(MainFormEditingTest, BothMenusShowWhatTheSelectionOffers) {
  OpenTheory({"a", "if(a, s)"}, {"s"});
  const auto shown = [](QMenu* menu) {
    QStringList captions;
    for (QAction* item : menu->actions())
      if (item->isVisible() && !item->isSeparator()) captions << item->text().remove(QLatin1Char('&'));
    return captions;
  };
  auto* popup = Form->findChild<QMenu*>(QStringLiteral("PopupMenu1"));
  auto* edit = Form->findChild<QMenu*>(QStringLiteral("Edit1"));
  ASSERT_NE(popup, nullptr);
  ASSERT_NE(edit, nullptr);
  // An elementary assumption: everything but conjuncts and "Set as assumption".
  PressOn("a");
  const QStringList forAssumption{"Set as issue",
                                  "Change elementary sentence",
                                  "Add elementary sentence",
                                  "Support",
                                  "Attack",
                                  "Delete",
                                  "Match",
                                  "Properties"};
  EXPECT_EQ(shown(popup), forAssumption);
  Form->Edit1Click();
  EXPECT_EQ(shown(edit), forAssumption);
  // The free area: only a new sentence, in both menus.
  PressAt(QPoint(500, 400));
  Form->Edit1Click();
  EXPECT_EQ(shown(popup), QStringList{"Add elementary sentence"});
  EXPECT_EQ(shown(edit), QStringList{"Add elementary sentence"});
  // Every item of both menus follows the session's state, for each kind.
  for (const char* text : {"a", "s"}) {
    PressOn(text);
    Form->Edit1Click();
    for (int i = 0; i < kEditCommandCount; ++i) {
      const auto command = static_cast<TEditCommand>(i);
      EXPECT_EQ(Form->EditMenuItem(command)->isVisible(), Form->Session().Menus().Edit.Shown(command)) << i;
      EXPECT_EQ(Form->PopupMenuItem(command)->isVisible(), Form->Session().Menus().Popup.Shown(command)) << i;
    }
  }
}

}  // namespace
}  // namespace ostrel
