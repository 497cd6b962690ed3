// Which working file a window takes: the usual one while it is free, a
// private one when another window holds it, the folder cannot be written or
// the window was asked to.
#include "TWorkingFile.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace ostrel {
namespace {

class WorkingFileTest : public ::testing::Test {
 protected:
  QTemporaryDir Root;
  QString Start() const { return Root.filePath(QStringLiteral("start")); }
  QString Private() const { return Root.filePath(QStringLiteral("state")); }
  void SetUp() override { ASSERT_TRUE(QDir().mkpath(Start())); }
};

TEST_F(WorkingFileTest, AFreeFolderKeepsTheUsualWorkingFile) {
  const TWorkingFile file = TWorkingFile::Choose(Start(), Private(), false);
  EXPECT_FALSE(file.IsPrivate());
  EXPECT_TRUE(file.Locked());
  EXPECT_EQ(file.FileName(), QStringLiteral("~tmp.kvl"));
  EXPECT_EQ(file.Folder(), QDir(Start()).absolutePath());
  EXPECT_TRUE(file.Notice().isEmpty());
  EXPECT_FALSE(QFileInfo::exists(Private()));
}

TEST_F(WorkingFileTest, EveryFurtherWindowGetsAPrivateFolderOfItsOwn) {
  const TWorkingFile first = TWorkingFile::Choose(Start(), Private(), false);
  const TWorkingFile second = TWorkingFile::Choose(Start(), Private(), false);
  const TWorkingFile third = TWorkingFile::Choose(Start(), Private(), false);
  EXPECT_FALSE(first.IsPrivate());
  ASSERT_EQ(second.Reason(), TWorkingFile::TReason::Held);
  ASSERT_EQ(third.Reason(), TWorkingFile::TReason::Held);
  EXPECT_EQ(second.FileName(), QDir(Private()).absoluteFilePath(QStringLiteral("working/~tmp.kvl")));
  EXPECT_EQ(third.FileName(), QDir(Private()).absoluteFilePath(QStringLiteral("working-2/~tmp.kvl")));
  EXPECT_TRUE(second.Notice().contains(QDir::toNativeSeparators(second.Folder())))
      << second.Notice().toStdString();
  // Only the user reads a private folder.
  EXPECT_EQ(QFileInfo(second.Folder()).permissions() & (QFileDevice::ReadOther | QFileDevice::ReadGroup), 0);
}

TEST_F(WorkingFileTest, ALockIsGivenBackWhenTheWindowCloses) {
  { const TWorkingFile first = TWorkingFile::Choose(Start(), Private(), false); }
  EXPECT_FALSE(TWorkingFile::Choose(Start(), Private(), false).IsPrivate());
}

TEST_F(WorkingFileTest, AskedForAPrivateFileTheStartFolderIsLeftAlone) {
  const TWorkingFile file = TWorkingFile::Choose(Start(), Private(), true);
  EXPECT_EQ(file.Reason(), TWorkingFile::TReason::Asked);
  EXPECT_EQ(file.FileName(), QDir(Private()).absoluteFilePath(QStringLiteral("working/~tmp.kvl")));
  EXPECT_TRUE(QDir(Start()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty());
  // The next window asked alike takes the next folder.
  EXPECT_TRUE(
      TWorkingFile::Choose(Start(), Private(), true).FileName().contains(QStringLiteral("working-2")));
}

TEST_F(WorkingFileTest, AFolderThatCannotBeWrittenSendsTheFileElsewhere) {
  // Not even root creates files in /proc.
  const TWorkingFile file = TWorkingFile::Choose(QStringLiteral("/proc"), Private(), false);
  EXPECT_EQ(file.Reason(), TWorkingFile::TReason::NotWritable);
  EXPECT_TRUE(file.Locked());
  EXPECT_TRUE(file.FileName().startsWith(QDir(Private()).absolutePath()));
}

TEST_F(WorkingFileTest, NowhereToWriteFallsBackToTheUsualNameUnlocked) {
  const TWorkingFile file =
      TWorkingFile::Choose(QStringLiteral("/proc"), QStringLiteral("/proc/ostrel"), false);
  EXPECT_FALSE(file.IsPrivate());
  EXPECT_FALSE(file.Locked());
  EXPECT_EQ(file.FileName(), QStringLiteral("~tmp.kvl"));
}

TEST_F(WorkingFileTest, TheLockOfAWindowThatCrashedIsTakenOver) {
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // Takes the lock and dies without giving it back.
    QLockFile lock(QDir(Start()).filePath(QStringLiteral(".~tmp.kvl.lock")));
    ::_exit(lock.tryLock(0) ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  ASSERT_TRUE(QFileInfo::exists(QDir(Start()).filePath(QStringLiteral(".~tmp.kvl.lock"))));
  const TWorkingFile file = TWorkingFile::Choose(Start(), Private(), false);
  EXPECT_FALSE(file.IsPrivate());
  EXPECT_TRUE(file.Locked());
}

}  // namespace
}  // namespace ostrel
