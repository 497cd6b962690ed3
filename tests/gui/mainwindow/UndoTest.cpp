// Undo and redo in the window: each user action one step, restored through
// the working file and the refresh.
#include <QAction>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>
#include <QFile>

#include <string>
#include <vector>

#include "EditingWindowTest.h"

namespace ostrel {
namespace {

using V = std::vector<std::string>;

// What a step must bring back, as the user can check it.
struct TSeen {
  std::string Bytes;
  V Assumptions;
  V Issues;
  QString Caption;
  bool Parse = true;
  bool operator==(const TSeen&) const = default;
};

void PrintTo(const TSeen& seen, std::ostream* out) {
  *out << seen.Caption.toStdString() << (seen.Parse ? "" : " (unparsed)") << "\n" << seen.Bytes;
}

class UndoTest : public testing::TEditingWindowTest {
 protected:
  QAction* Item(const char* name) const { return Form->findChild<QAction*>(QString::fromLatin1(name)); }
  TSeen Seen() {
    return {ReadFile(PathOf(QStringLiteral("~tmp.kvl"))), Assumptions(), Issues(), Form->windowTitle(),
            Item("Parsesentences1")->isChecked()};
  }
  void OpenThroughMenu(const V& assumptions, const V& issues, const char* name = "theory.kvl") {
    Dialogs.FilesToOpen.push_back(
        WriteFile(QString::fromLatin1(name), karvel::testing::ElementaryFile(assumptions, issues)));
    Item("Open1")->trigger();
  }
  void Type(const QString& text) {
    ASSERT_TRUE(Editor->isVisible());
    QTest::keyClicks(Editor->lineEdit(), text);
    QTest::keyClick(Editor->lineEdit(), Qt::Key_Return);
  }
  void DoubleClickAt(QPoint point) {
    PressAt(point);
    Form->ScrollBox1DblClick(point);
  }
  bool UndoShown() const { return Item("Undo2MenuItem")->isVisible() && Item("Undo1MenuItem")->isVisible(); }
  bool RedoShown() const { return Item("Redo2MenuItem")->isVisible() && Item("Redo1MenuItem")->isVisible(); }
};

TEST_F(UndoTest, EveryKindOfStepIsUndoneAndRedoneInTurn) {
  std::vector<TSeen> states{Seen()};
  EXPECT_FALSE(UndoShown());
  const auto step = [&](const char* what, const auto& action) {
    SCOPED_TRACE(what);
    action();
    ASSERT_FALSE(Editor->isVisible());
    ASSERT_FALSE(states.back() == Seen()) << "the action changed nothing";
    states.push_back(Seen());
    EXPECT_EQ(Form->History().StepCount(), states.size() - 1);
  };
  step("open", [&] { OpenThroughMenu({"a", "b"}, {"s"}); });
  step("set as issue", [&] {
    PressOn("a");
    Form->EditMenuItem(TEditCommand::Setasissue)->trigger();
  });
  step("set as assumption", [&] {
    PressOn("s");
    Form->PopupMenuItem(TEditCommand::Setasassumption)->trigger();
  });
  step("delete", [&] {
    PressOn("b");
    Form->EditMenuItem(TEditCommand::Delete)->trigger();
  });
  step("support typed and entered", [&] {
    PressOn("s");
    Form->EditMenuItem(TEditCommand::Givesupport)->trigger();
    EXPECT_FALSE(UndoShown()) << "hidden while the editor is open";
    Type(QStringLiteral("r"));
  });
  step("new sentence by double click", [&] {
    DoubleClickAt(QPoint(500, 400));
    Type(QStringLiteral("n"));
  });
  step("changed sentence", [&] {
    auto* box = BoxOf("n");
    ASSERT_NE(box, nullptr);
    DoubleClickAt(box->Rect().topLeft() + QPoint(4, 10));
    Type(QStringLiteral("m"));
  });
  step("parse sentences off", [&] { Item("Parsesentences1")->trigger(); });
  step("new", [&] { Item("New1")->trigger(); });
  ASSERT_EQ(states.size(), 10U);
  EXPECT_EQ(Form->History().StepCount(), 9U);

  for (std::size_t i = states.size() - 1; i-- > 0;) {
    ASSERT_TRUE(UndoShown()) << i;
    Item("Undo2MenuItem")->trigger();
    EXPECT_EQ(Seen(), states[i]) << "after undoing step " << i + 1;
    EXPECT_TRUE(RedoShown());
  }
  EXPECT_FALSE(UndoShown());
  for (std::size_t i = 1; i < states.size(); ++i) {
    ASSERT_TRUE(RedoShown()) << i;
    Item("Redo1MenuItem")->trigger();
    EXPECT_EQ(Seen(), states[i]) << "after redoing step " << i;
  }
  EXPECT_FALSE(RedoShown());
}

TEST_F(UndoTest, ATwoPhaseCommandCancelledWithEscapeIsOneStep) {
  OpenThroughMenu({"a", "b"}, {});
  const TSeen opened = Seen();
  PressOn("b");
  Form->EditMenuItem(TEditCommand::Attack)->trigger();
  ASSERT_TRUE(Editor->isVisible());
  EXPECT_FALSE(UndoShown());
  QTest::keyClick(Editor->lineEdit(), Qt::Key_Escape);
  EXPECT_EQ(Assumptions(), (V{"a", "b", "x(b)"}));
  EXPECT_EQ(Form->History().StepCount(), 2U);
  // The placeholder's intermediate files are no steps of their own.
  Item("Undo2MenuItem")->trigger();
  EXPECT_EQ(Seen(), opened);
}

TEST_F(UndoTest, AFailedOpenOfAHugeFileKeepsTheWindowAndItsHistory) {
  OpenThroughMenu({"a", "b"}, {});
  PressOn("a");
  Form->EditMenuItem(TEditCommand::Setasissue)->trigger();
  const TSeen edited = Seen();
  ASSERT_TRUE(UndoShown());
  // A sparse terabyte: reading it whole would abort on memory.
  const QString huge = PathOf(QStringLiteral("huge.kvl"));
  {
    QFile file(huge);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_TRUE(file.resize(qint64{1} << 40));
  }
  Dialogs.FilesToOpen.push_back(huge);
  Item("Open1")->trigger();
  EXPECT_EQ(Dialogs.Errors, QStringList{QStringLiteral("File too large: ") + huge});
  // The working file is as it was, and so is the history: the failed Open
  // is a step of its own (it changed the caption), the edit before it one
  // more.
  EXPECT_EQ(ReadFile(PathOf(QStringLiteral("~tmp.kvl"))), edited.Bytes);
  ASSERT_TRUE(UndoShown());
  Item("Undo2MenuItem")->trigger();
  EXPECT_EQ(Seen(), edited);
  Item("Undo2MenuItem")->trigger();
  EXPECT_EQ(Assumptions(), (V{"a", "b"}));
}

TEST_F(UndoTest, UndoAcrossOpenRestoresTheCaptionAndANewStepDropsRedo) {
  OpenThroughMenu({"a"}, {}, "first.kvl");
  OpenThroughMenu({"b", "c"}, {}, "second.kvl");
  EXPECT_EQ(Form->windowTitle(), "Ostrel - second.kvl");
  Item("Undo2MenuItem")->trigger();
  EXPECT_EQ(Form->windowTitle(), "Ostrel - first.kvl");
  EXPECT_EQ(Assumptions(), V{"a"});
  EXPECT_EQ(View->Tag(), -1) << "an old selection could name another sentence now";
  ASSERT_TRUE(RedoShown());

  PressOn("a");
  Form->EditMenuItem(TEditCommand::Setasissue)->trigger();
  EXPECT_FALSE(RedoShown());
  EXPECT_EQ(Form->History().StepCount(), 2U);
  Item("Undo2MenuItem")->trigger();
  EXPECT_EQ(Assumptions(), V{"a"});
}

TEST_F(UndoTest, StartUpKeepsTheLastSessionsArgumentOneUndoAway) {
  EXPECT_EQ(Form->History().StepCount(), 0U) << "no earlier working file";
  EXPECT_EQ(Form->StatusPanelText(1), "");
  OpenThroughMenu({"a", "if(a, b)"}, {"b"});
  const std::string left = ReadFile(PathOf(QStringLiteral("~tmp.kvl")));

  Form = std::make_unique<TMainForm>(Dialogs.Dialogs());
  EXPECT_EQ(Assumptions(), V{});
  EXPECT_EQ(Form->StatusPanelText(1), "The previous working file was replaced; Undo brings it back.");
  ASSERT_TRUE(UndoShown());
  Item("Undo2MenuItem")->trigger();
  EXPECT_EQ(ReadFile(PathOf(QStringLiteral("~tmp.kvl"))), left);
  EXPECT_EQ(Assumptions(), (V{"a", "if(a, b)"}));
  EXPECT_EQ(Issues(), V{"b"});

  // A working file with no sentence is nothing to bring back.
  Item("New1")->trigger();
  Form = std::make_unique<TMainForm>(Dialogs.Dialogs());
  EXPECT_EQ(Form->History().StepCount(), 0U);
  EXPECT_FALSE(UndoShown());
  EXPECT_EQ(Form->StatusPanelText(1), "");
}

TEST_F(UndoTest, TheKeysUndoInTheWindowButEditTextInTheEditor) {
  OpenThroughMenu({"a", "b"}, {});
  PressOn("a");
  Form->EditMenuItem(TEditCommand::Delete)->trigger();
  ASSERT_EQ(Assumptions(), V{"b"});
  QTest::keySequence(View->viewport(), QKeySequence(QKeySequence::Undo));
  EXPECT_EQ(Assumptions(), (V{"a", "b"}));
  QTest::keySequence(View->viewport(), QKeySequence(QKeySequence::Redo));
  EXPECT_EQ(Assumptions(), V{"b"});

  const std::string before = ReadFile(PathOf(QStringLiteral("~tmp.kvl")));
  DoubleClickAt(QPoint(500, 400));
  ASSERT_TRUE(Editor->isVisible());
  QTest::keyClicks(Editor->lineEdit(), QStringLiteral("xy"));
  QTest::keySequence(Editor->lineEdit(), QKeySequence(QKeySequence::Undo));
  EXPECT_TRUE(Editor->isVisible());
  EXPECT_EQ(ReadFile(PathOf(QStringLiteral("~tmp.kvl"))), before);
  EXPECT_EQ(Assumptions(), V{"b"}) << "the window's history stayed put";
  EXPECT_NE(Editor->currentText(), "xy") << "the editor took back its own typing";
}

}  // namespace
}  // namespace ostrel
