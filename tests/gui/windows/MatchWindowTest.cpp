// The windows the Edit menu opens beside the main one: the properties dialog
// and the match window with its report and drawing, and the matcher test
// window. All of them leave the main document and its diagram alone.
#include <QAction>
#include <QApplication>
#include <QGraphicsScene>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

#include "DiagramItemTypes.h"
#include "DrawUnit.h"
#include "GuiTestSupport.h"
#include "TApplicationWindows.h"
#include "TDiagramView.h"
#include "TMatchForm.h"
#include "TPropertiesForm.h"
#include "TSceneBuilder.h"
#include "TShapeWithDoubleClicks.h"
#include "TTestForm.h"
#include "TestTheory.h"

namespace ostrel {
namespace {

using karvel::testing::ElementaryFile;
using karvel::testing::Texts;
using V = std::vector<std::string>;
using C = TEditCommand;

std::vector<diagram::TShapeWithDoubleClicks*> Shapes(TDiagramView& view, bool boxes) {
  std::vector<diagram::TShapeWithDoubleClicks*> shapes;
  for (QGraphicsItem* item : view.Scene().items(Qt::AscendingOrder))
    if (auto* shape = qgraphicsitem_cast<diagram::TShapeWithDoubleClicks*>(item);
        shape && shape->IsBox() == boxes && shape->Pen().style() != Qt::NoPen)
      shapes.push_back(shape);
  return shapes;
}

int DiagramItemCount(TDiagramView& view) {
  int count = 0;
  for (QGraphicsItem* item : view.Scene().items())
    if (diagram::IsDiagramItem(item)) ++count;
  return count;
}

void PressAt(TDiagramView& view, QPoint diagramPoint) {
  QTest::mousePress(view.viewport(), Qt::LeftButton, {}, view.mapFromScene(diagramPoint));
  QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, view.mapFromScene(diagramPoint));
}

// The lines of a text view, headings (bold lines) marked with a "*".
QStringList MarkedLines(const QTextEdit& edit) {
  QStringList lines;
  for (QTextBlock block = edit.document()->begin(); block.isValid(); block = block.next()) {
    const QTextCharFormat format =
        block.begin() != block.end() ? block.begin().fragment().charFormat() : block.charFormat();
    lines << (format.fontWeight() >= QFont::Bold ? QStringLiteral("*") : QString()) + block.text();
  }
  return lines;
}

class MatchWindowTest : public testing::TWorkingDirectoryTest {
 protected:
  void SetUp() override {
    TWorkingDirectoryTest::SetUp();
    Windows = std::make_unique<TApplicationWindows>(Dialogs.Dialogs());
    Windows->ShowMainForm();
    ActivateMain();
    View = Main().findChild<TDiagramView*>(QStringLiteral("ScrollBox1"));
    ASSERT_NE(View, nullptr);
  }
  void TearDown() override {
    Windows.reset();
    TWorkingDirectoryTest::TearDown();
  }
  TMainForm& Main() { return Windows->MainForm(); }
  TMatchForm& Match() { return Windows->MatchForm(); }
  void ActivateMain() {
    Main().activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([this] { return QApplication::activeWindow() == &Main(); }));
  }
  void Open(const V& assumptions, const V& issues = {}) {
    Dialogs.FilesToOpen.push_back(
        WriteFile(QStringLiteral("theory.kvl"), ElementaryFile(assumptions, issues)));
    Main().Open1Click();
  }
  void PressOn(const std::string& text) {
    for (auto* box : Shapes(*View, true)) {
      if (Main().DiagramSentences().at(static_cast<std::size_t>(box->Tag()))->Text == text) {
        PressAt(*View, box->Rect().topLeft() + QPoint(4, 10));
        return;
      }
    }
    ADD_FAILURE() << "no box for " << text;
  }
  //! Triggers a Properties item and returns the dialog's marked lines, read
  //! while it is open; a press in the main diagram meanwhile must do nothing.
  QStringList Properties(QAction* item) {
    QStringList lines;
    TPropertiesForm& dialog = Windows->PropertiesForm();
    QTimer::singleShot(0, &dialog, [&] {
      EXPECT_TRUE(dialog.isVisible() && dialog.isModal());
      EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &dialog; }));
      const QString panel = Main().StatusPanelText(1);
      const int selection = View->Tag();
      PressAt(*View, QPoint(400, 300));
      EXPECT_EQ(View->Tag(), selection);
      EXPECT_EQ(Main().StatusPanelText(1), panel);
      lines = MarkedLines(*dialog.RichEdit());
      dialog.Button1Click();
    });
    item->trigger();
    EXPECT_FALSE(dialog.isVisible());
    return lines;
  }

  testing::TScriptedDialogs Dialogs;
  std::unique_ptr<TApplicationWindows> Windows;
  TDiagramView* View = nullptr;
};

TEST_F(MatchWindowTest, TweetyIsReportedAndDrawnAndTheMainDocumentStaysAsItWas) {
  Open({"<x> is a bird", "if(<x> is a bird, <x> flies)"}, {"Tweety is a bird"});
  const std::string workingFile = ReadFile(QStringLiteral("~tmp.kvl"));
  const V assumptions = Texts(Main().Document().Theory().Assumptions);
  const V issues = Texts(Main().Document().Theory().Issues);
  const V drawn = Texts(Main().DiagramSentences());
  const int items = DiagramItemCount(*View);

  // A sentence with variables is a template, not an instance: no Match.
  PressOn("<x> is a bird");
  EXPECT_FALSE(Main().PopupMenuItem(C::Match)->isVisible());
  PressOn("Tweety is a bird");
  const int selection = View->Tag();
  for (C command : {C::Match, C::Instantiate}) {
    EXPECT_EQ(Main().PopupMenuItem(command)->isVisible(), command == C::Match);
    EXPECT_EQ(Main().EditMenuItem(command)->isVisible(), command == C::Match);
  }
  Main().PopupMenuItem(C::Match)->trigger();

  ASSERT_TRUE(Match().isVisible());
  EXPECT_EQ(Match().Report()->toPlainText().toStdString(),
            "Sentence to match:\n\n    Tweety is a bird\n\nExact matches found:\n\n"
            "    <x> is a bird\n    Tweety is a bird\n        <x>: Tweety\n\n"
            "Other matches found:\n\n"
            "    if(<x> is a bird, <x> flies)\n    if(Tweety is a bird, Tweety flies)\n"
            "        <x>: Tweety\n        <x>: Tweety\n");
  EXPECT_EQ(Match().findChild<QTabWidget*>(QStringLiteral("PageControl1"))->currentIndex(), 1);
  // The instance, a justified assumption, with its parts: the conclusion
  // above, the rule's line, the reason below.
  EXPECT_EQ(Texts(Match().DiagramSentences()),
            (V{"Tweety flies", "if(Tweety is a bird, Tweety flies)", "Tweety is a bird"}));
  const auto boxes = Shapes(*Match().Diagram(), true);
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_LT(boxes[0]->Row(), boxes[1]->Row());
  const karvel::TKarvelSentence* rule = Match().DiagramSentences()[1];
  EXPECT_TRUE(rule->IsAssumption && rule->IsJustified);
  const auto lines = Shapes(*Match().Diagram(), false);
  ASSERT_FALSE(lines.empty());
  for (auto* line : lines) {
    EXPECT_EQ(line->Tag(), 1);
    EXPECT_EQ(line->Pen().color(), diagram::TSceneBuilder::ColorOf(diagram::TStatusLook::Justified));
  }

  // Presses in the match window's diagram reach nothing of the main window.
  PressAt(*Match().Diagram(), boxes[1]->Rect().topLeft() + QPoint(4, 10));
  EXPECT_EQ(Main().StatusPanelText(1), "Tweety is a bird");
  EXPECT_EQ(View->Tag(), selection);
  EXPECT_EQ(ReadFile(QStringLiteral("~tmp.kvl")), workingFile);
  EXPECT_EQ(Texts(Main().Document().Theory().Assumptions), assumptions);
  EXPECT_EQ(Texts(Main().Document().Theory().Issues), issues);
  EXPECT_EQ(Texts(Main().DiagramSentences()), drawn);
  EXPECT_EQ(DiagramItemCount(*View), items);

  // The instances outlive a reload of the main document.
  ActivateMain();
  Open({"z"});
  EXPECT_EQ(Match().DiagramSentences()[1]->Text, "if(Tweety is a bird, Tweety flies)");
}

TEST_F(MatchWindowTest, NothingSelectedShowsNothingAndNoMatchEmptiesTheDrawing) {
  Open({"<x> is a bird", "if(<x> is a bird, <x> flies)", "Polly sings"}, {"Tweety is a bird"});
  PressAt(*View, QPoint(400, 300));
  Main().EditMenuItem(C::Match)->trigger();
  EXPECT_FALSE(Match().isVisible());

  PressOn("Tweety is a bird");
  Main().EditMenuItem(C::Match)->trigger();
  ASSERT_TRUE(Match().isVisible());
  ASSERT_GT(DiagramItemCount(*Match().Diagram()), 0);
  ActivateMain();
  PressOn("Polly sings");
  Main().EditMenuItem(C::Match)->trigger();
  EXPECT_EQ(Match().Report()->toPlainText(),
            "Sentence to match:\n\n    Polly sings\n\nExact matches found:\n");
  EXPECT_EQ(Match().Report()->document()->blockCount(), 6);
  EXPECT_EQ(DiagramItemCount(*Match().Diagram()), 0);
  EXPECT_TRUE(Match().DiagramSentences().empty());
}

TEST_F(MatchWindowTest, PropertiesDescribeTheSelectedSentence) {
  struct TCase {
    V Assumptions, Issues;
    std::string Pressed;  // empty: the free area
    QStringList Lines;
  };
  const QStringList tail{"*Variables:", ""};
  const TCase cases[] = {
      {{"a"},
       {},
       "a",
       {"*Sentence:", "    a", "", "*Type:", "    Assumption", "", "*Status:", "    Justified", "",
        "*Variables:", ""}},
      {{"a"},
       {"q"},
       "q",
       {"*Sentence:", "    q", "", "*Type:", "    Issue", "",
        "*Status:", "    Neither justified nor defeated", "", "*Variables:", ""}},
      {{"<x> likes <y> and <x>"},
       {},
       "<x> likes <y> and <x>",
       {"*Sentence:", "    <x> likes <y> and <x>", "", "*Type:", "    Assumption", "",
        "*Status:", "    Justified", "", "*Variables:", "    <x>", "    <y>", "    <x>", ""}},
      {{"a"}, {}, "", {""}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Pressed);
    Open(c.Assumptions, c.Issues);
    if (c.Pressed.empty()) {
      PressAt(*View, QPoint(400, 300));
    } else {
      PressOn(c.Pressed);
    }
    // The popup offers Properties only for a sentence; the Edit menu keeps it.
    EXPECT_EQ(Main().PopupMenuItem(C::Properties)->isVisible(), !c.Pressed.empty());
    EXPECT_EQ(Properties(Main().EditMenuItem(C::Properties)), c.Lines);
    ActivateMain();
  }
}

TEST(TestWindowTest, ListsTheVariablesWithTheirValuesWhenTheTextMatches) {
  TTestForm form;
  auto* text = form.findChild<QLineEdit*>(QStringLiteral("Edit2"));
  auto* report = form.findChild<QTextEdit*>(QStringLiteral("RichEdit1"));
  ASSERT_TRUE(text && report);
  QTest::mouseClick(form.findChild<QPushButton*>(QStringLiteral("Button1")), Qt::LeftButton);
  EXPECT_EQ(report->toPlainText(), "<x>: x\n<x>: x");
  text->setText(QStringLiteral("aaxbbbycc"));
  form.Button1Click();
  EXPECT_EQ(report->toPlainText(), "<x>\n<x>");
}

}  // namespace
}  // namespace ostrel
