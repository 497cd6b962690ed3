// The window's summary: the "All" choice draws what holds in every
// interpretation and frames what holds in some, with a legend, and gives way
// to a numbered button or a refresh; the Summary page lists what the report
// does. Nothing is summarized until asked.
#include <QAction>
#include <QActionGroup>
#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QLabel>
#include <QTabWidget>
#include <QTextEdit>
#include <QToolBar>

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "GuiTestSupport.h"
#include "SummaryView.h"
#include "TDiagramView.h"
#include "TMainForm.h"
#include "TShapeWithDoubleClicks.h"
#include "TestTheory.h"

namespace ostrel {
namespace {

using karvel::testing::ElementaryFile;
using testing::TScriptedDialogs;

// p and q attack each other; r is attacked by p only.
const std::vector<std::string> kConflict = {"p", "q", "r", "if(p, x(q))", "if(q, x(p))", "if(p, x(r))"};

class SummaryViewTest : public testing::TWorkingDirectoryTest {
 protected:
  void SetUp() override {
    TWorkingDirectoryTest::SetUp();
    Form = std::make_unique<TMainForm>(Dialogs.Dialogs());
  }
  void TearDown() override {
    Form.reset();
    TWorkingDirectoryTest::TearDown();
  }
  template <typename T>
  T* Child(const char* name) const {
    T* child = Form->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
  }
  void OpenTheory(const std::vector<std::string>& assumptions) {
    Dialogs.FilesToOpen.push_back(WriteFile(QStringLiteral("theory.kvl"), ElementaryFile(assumptions)));
    Form->Open1Click();
  }
  QAction* All() const { return Child<QAction>("AllInterpretationsButton"); }
  // The texts of the boxes a dashed frame of this colour surrounds: blue
  // "justified in some", red "defeated in some".
  std::multiset<std::string> Framed(const QColor& color) const {
    std::vector<QRectF> frames;
    std::vector<const diagram::TShapeWithDoubleClicks*> boxes;
    for (QGraphicsItem* item : Child<TDiagramView>("ScrollBox1")->Scene().items()) {
      if (auto* rect = dynamic_cast<QGraphicsRectItem*>(item);
          rect != nullptr && rect->pen().style() == Qt::DashLine && rect->pen().color() == color)
        frames.push_back(rect->sceneBoundingRect());
      if (auto* box = dynamic_cast<diagram::TShapeWithDoubleClicks*>(item);
          box != nullptr && item->isVisible())
        boxes.push_back(box);
    }
    std::multiset<std::string> texts;
    for (const QRectF& frame : frames)
      for (const auto* box : boxes) {
        const QRectF inner = box->sceneBoundingRect();
        if (frame.contains(inner) && frame.width() - inner.width() <= 10 &&
            frame.height() - inner.height() <= 10 && box->Tag() >= 0 &&
            static_cast<std::size_t>(box->Tag()) < Form->DiagramSentences().size())
          texts.insert(Form->DiagramSentences()[static_cast<std::size_t>(box->Tag())]->Text);
      }
    return texts;
  }
  bool NoFrames() const { return Framed(QColor(0, 0, 255)).empty() && Framed(QColor(255, 0, 0)).empty(); }
  std::set<std::string> Justified() const {
    std::set<std::string> texts;
    for (const auto* s : Form->Document().Theory().StatusSentences())
      if (s->IsJustified) texts.insert(s->Text);
    return texts;
  }

  TScriptedDialogs Dialogs;
  std::unique_ptr<TMainForm> Form;
};

TEST_F(SummaryViewTest, AllDrawsWhatHoldsEverywhereAndFramesWhatHoldsSomewhere) {
  OpenTheory(kConflict);
  ASSERT_EQ(Form->InterpretationButtons().size(), 2);
  // Nothing is summarized before it is asked for, and "All" comes first.
  EXPECT_EQ(Form->Document().Summary(), nullptr);
  EXPECT_EQ(Child<QToolBar>("ToolBar2")->actions().constFirst(), All());
  EXPECT_TRUE(NoFrames());

  All()->trigger();
  EXPECT_TRUE(All()->isChecked());
  for (QAction* button : Form->InterpretationButtons()) EXPECT_FALSE(button->isChecked());
  // Only the three rules hold in both interpretations.
  EXPECT_EQ(Justified(), (std::set<std::string>{"if(p, x(q))", "if(q, x(p))", "if(p, x(r))"}));
  // p, q and r are each justified in one and defeated in the other; the
  // rules, the same in both, have no frame.
  const std::multiset<std::string> blue = Framed(QColor(0, 0, 255)), red = Framed(QColor(255, 0, 0));
  EXPECT_EQ(std::set<std::string>(red.begin(), red.end()), (std::set<std::string>{"p", "q", "r"}));
  for (const char* text : {"p", "q", "r"}) EXPECT_EQ(blue.count(text), red.count(text)) << text;
  for (const auto& text : blue) EXPECT_EQ(text.rfind("if(", 0), std::string::npos) << text;
  EXPECT_TRUE(Child<QLabel>("SummaryLegend")->isVisibleTo(Form.get()));

  // A numbered button gives the interpretation back exactly.
  QAction* second = Form->InterpretationButtons().at(1);
  second->trigger();
  EXPECT_FALSE(All()->isChecked());
  EXPECT_TRUE(second->isChecked());
  EXPECT_TRUE(NoFrames());
  EXPECT_FALSE(Child<QLabel>("SummaryLegend")->isVisibleTo(Form.get()));
  std::set<std::string> expected;
  Form->Document().Theory().SetStatuses(Form->Document().Interpretations().at(1));
  for (const auto* s : Form->Document().Theory().StatusSentences())
    if (s->IsJustified) expected.insert(s->Text);
  EXPECT_EQ(Justified(), expected);
  // The group is exclusive again: pressing the other leaves one pressed.
  Form->InterpretationButtons().at(0)->trigger();
  EXPECT_FALSE(second->isChecked());
}

TEST_F(SummaryViewTest, RefreshForgetsTheSummaryAndPressesTheFirstButton) {
  OpenTheory(kConflict);
  All()->trigger();
  OpenTheory({"a", "b", "if(a, x(b))", "if(b, x(a))"});
  EXPECT_FALSE(All()->isChecked());
  EXPECT_EQ(Form->Document().Summary(), nullptr);
  EXPECT_TRUE(Form->InterpretationButtons().at(0)->isChecked());
  EXPECT_TRUE(NoFrames());
}

TEST_F(SummaryViewTest, SummaryPageListsWhatTheReportDoes) {
  OpenTheory(kConflict);
  auto* pages = Child<QTabWidget>("TextBasedKarvelPageControl");
  pages->setCurrentWidget(Child<QWidget>("SummaryTabSheet"));
  const QStringList lines = Child<QTextEdit>("SummaryView")->toPlainText().split(QLatin1Char('\n'));
  ASSERT_GE(lines.size(), 5);
  EXPECT_EQ(lines[1], "    There are several dialectical interpretations.");
  EXPECT_TRUE(lines.contains("    some       some      p"));
  EXPECT_TRUE(lines.contains("    some       some      r"));
  EXPECT_TRUE(lines.contains("    all        none      if(p, x(q))"));
  // The page follows each refresh while it is shown.
  OpenTheory({"a", "if(a, x(a))"});
  EXPECT_EQ(Child<QTextEdit>("SummaryView")->toPlainText().split(QLatin1Char('\n')).at(1),
            "    There is no dialectical interpretation.");
}

}  // namespace
}  // namespace ostrel
