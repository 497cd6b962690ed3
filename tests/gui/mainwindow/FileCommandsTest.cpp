// The file commands a desktop user expects beside the documented ones: Save,
// the standard keys, a file from the command line or dropped on the window,
// and a working file of the window's own.
#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QUrl>

#include <gtest/gtest.h>

#include <memory>

#include "GuiTestSupport.h"
#include "TMainForm.h"
#include "TestTheory.h"

namespace ostrel {
namespace {

using karvel::testing::ElementaryFile;

class FileCommandsTest : public testing::TWorkingDirectoryTest {
 protected:
  void SetUp() override {
    TWorkingDirectoryTest::SetUp();
    Form = std::make_unique<TMainForm>(Dialogs.Dialogs());
  }
  void TearDown() override {
    Form.reset();
    TWorkingDirectoryTest::TearDown();
  }
  QAction* Item(const char* name) const { return Form->findChild<QAction*>(QString::fromLatin1(name)); }
  std::string Working() const { return ReadFile(PathOf(QStringLiteral("~tmp.kvl"))); }

  testing::TScriptedDialogs Dialogs;
  std::unique_ptr<TMainForm> Form;
};

TEST_F(FileCommandsTest, SaveWritesToTheOpenedFileAndWithoutOneActsAsSaveAs) {
  // No file yet: Save asks where, as Save as does.
  const QString chosen = PathOf(QStringLiteral("chosen.kvl"));
  Dialogs.FilesToSave.push_back(chosen);
  Item("Save1")->trigger();
  EXPECT_EQ(ReadFile(chosen).rfind(Form->Document().File().Text, 0), 0u);
  EXPECT_EQ(Form->CurrentFile(), chosen);
  EXPECT_EQ(Form->windowTitle(), QStringLiteral("Ostrel - chosen.kvl"));

  // Opened from a file: Save writes back there without asking.
  const QString opened = WriteFile(QStringLiteral("theory.kvl"), ElementaryFile({"a", "b"}));
  Dialogs.FilesToOpen.push_back(opened);
  Item("Open1")->trigger();
  const std::string rewritten = Form->Document().File().Text;
  WriteFile(QStringLiteral("theory.kvl"), "changed on disk");
  Item("Save1")->trigger();
  EXPECT_TRUE(Dialogs.FilesToSave.empty());
  EXPECT_EQ(ReadFile(opened).rfind(rewritten, 0), 0u);
  EXPECT_TRUE(Dialogs.Errors.isEmpty());

  // New forgets the file again.
  Item("New1")->trigger();
  EXPECT_TRUE(Form->CurrentFile().isEmpty());
}

TEST_F(FileCommandsTest, FileItemsAnswerToTheStandardKeys) {
  EXPECT_EQ(Item("New1")->shortcut(), QKeySequence(QKeySequence::New));
  EXPECT_EQ(Item("Open1")->shortcut(), QKeySequence(QStringLiteral("Ctrl+O")));
  EXPECT_EQ(Item("Save1")->shortcut(), QKeySequence(QStringLiteral("Ctrl+S")));
  EXPECT_EQ(Item("Saveas1")->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+S")));
  EXPECT_EQ(Item("Quit1")->shortcut(), QKeySequence(QStringLiteral("Ctrl+Q")));
  // The menus drop down from buttons, so the window itself holds the keys.
  for (const char* name : {"New1", "Open1", "Save1", "Saveas1", "Quit1"})
    EXPECT_TRUE(Form->actions().contains(Item(name))) << name;
}

TEST_F(FileCommandsTest, AFileFromOutsideOpensAsOpenDoesInOneUndoStep) {
  const QString file = WriteFile(QStringLiteral("theory.kvl"), ElementaryFile({"a"}));
  const std::size_t steps = Form->History().StepCount();
  Form->OpenFile(file);
  EXPECT_EQ(Form->windowTitle(), QStringLiteral("Ostrel - theory.kvl"));
  EXPECT_NE(Working().find("\r\na\r\n"), std::string::npos);
  EXPECT_EQ(Form->History().StepCount(), steps + 1);
  // A file that cannot be read tells so as Open does; the window stays.
  Form->OpenFile(PathOf(QStringLiteral("missing.kvl")));
  ASSERT_EQ(Dialogs.Errors.size(), 1);
  EXPECT_TRUE(Dialogs.Errors.front().startsWith(QStringLiteral("Cannot open file")))
      << Dialogs.Errors.front().toStdString();
}

TEST_F(FileCommandsTest, OpeningAFileWithoutATheorySaysSo) {
  Form->OpenFile(WriteFile(QStringLiteral("notes.kvl"), "hi\r\n"));
  EXPECT_EQ(Form->StatusPanelText(1), QStringLiteral("The file held no theory."));
  // An empty theory is a theory.
  Form->OpenFile(WriteFile(QStringLiteral("empty.kvl"), "<KARVEL>\r\n</KARVEL>\r\n"));
  EXPECT_EQ(Form->StatusPanelText(1), QString());
}

TEST_F(FileCommandsTest, ADroppedTheoryFileIsOpened) {
  const QString file = WriteFile(QStringLiteral("dropped.kvl"), ElementaryFile({"d"}));
  // Drops reach only a window that is on the screen.
  Form->show();
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(PathOf(QStringLiteral("notes.txt"))), QUrl::fromLocalFile(file)});
  QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(Form.get(), &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  EXPECT_TRUE(Form->acceptDrops());
  const bool delivered = QCoreApplication::sendEvent(Form.get(), &drop);
  EXPECT_TRUE(delivered);
  EXPECT_TRUE(drop.isAccepted());
  EXPECT_EQ(Form->windowTitle(), QStringLiteral("Ostrel - dropped.kvl"));
  EXPECT_NE(Working().find("\r\nd\r\n"), std::string::npos);
}

TEST_F(FileCommandsTest, AWindowWithAWorkingFileOfItsOwnLeavesTheOtherAlone) {
  const QString file = WriteFile(QStringLiteral("theory.kvl"), ElementaryFile({"first"}));
  Form->OpenFile(file);
  const std::string first = Working();
  ASSERT_TRUE(QDir().mkpath(PathOf(QStringLiteral("own"))));
  const QString own = PathOf(QStringLiteral("own/~tmp.kvl"));
  testing::TScriptedDialogs otherDialogs;
  TMainForm other(otherDialogs.Dialogs(), nullptr, own);
  other.OpenFile(WriteFile(QStringLiteral("other.kvl"), ElementaryFile({"second"})));
  // The second window's start-up and its Open went to its own file.
  EXPECT_EQ(Working(), first);
  EXPECT_NE(ReadFile(own).find("\r\nsecond\r\n"), std::string::npos);
  EXPECT_EQ(other.WorkingFileName(), own);
  // Its options reload its own file, and its caption ignores it.
  other.findChild<QAction*>(QStringLiteral("Showstructureonly1"))->trigger();
  EXPECT_EQ(other.windowTitle(), QStringLiteral("Ostrel - other.kvl"));
  EXPECT_EQ(Working(), first);
  EXPECT_TRUE(otherDialogs.Errors.isEmpty());
}

}  // namespace
}  // namespace ostrel
