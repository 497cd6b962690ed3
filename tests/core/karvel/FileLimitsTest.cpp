// What the file layer does with inputs that are not plain theory files (a
// FIFO, a device, a huge or sparse file, too little memory), with a failing
// disk, with its own leftovers, and with other threads creating files.
//
// A reader that blocks or aborts would take the test run along: each such
// case runs in a child process with an alarm and, where memory matters, an
// address-space limit (as a `ulimit -v` would set), and the parent only
// reads its exit status.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

#include "KarvelTheory.h"

namespace karvel {
namespace {

class FileLimitsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = std::filesystem::temp_directory_path() /
          ("ostrel-file-limits-" + std::to_string(::getpid()) + "-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
  }
  void TearDown() override { std::filesystem::remove_all(dir); }
  std::string Path(const char* name) const { return (dir / name).string(); }
  std::filesystem::path dir;
};

// Exit codes of the child: what ReadFileBytes did.
enum TChildResult : int { kRead = 10, kOpenError = 11, kTooLarge = 12, kOutOfMemory = 13, kOther = 14 };

// Runs the body in a child process that is killed after `seconds` and may
// map at most `addressSpace` bytes (0: no limit); the child's exit code, or
// -signal when it died of one (an abort, or the alarm of a hang).
int InChild(const std::function<int()>& body, unsigned seconds, rlim_t addressSpace = 0) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::alarm(seconds);
    if (addressSpace != 0) {
      const rlimit limit{addressSpace, addressSpace};
      ::setrlimit(RLIMIT_AS, &limit);
    }
    ::_exit(body());
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
}

int ReadInChild(const std::string& fileName) {
  try {
    ReadFileBytes(fileName);
    return kRead;
  } catch (const TFileError& error) {
    switch (error.Kind()) {
      case TFileError::TKind::Open:
        return kOpenError;
      case TFileError::TKind::TooLarge:
        return kTooLarge;
      case TFileError::TKind::OutOfMemory:
        return kOutOfMemory;
      default:
        return kOther;
    }
  }
}

TEST_F(FileLimitsTest, OnlyRegularFilesAreReadAndNeverWithoutEnd) {
  // A FIFO with no writer: opening it for reading blocks.
  const std::string fifo = Path("~tmp.kvl");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_EQ(InChild([&] { return ReadInChild(fifo); }, 5), kOpenError);
  // A link to an endless device.
  const std::string zero = Path("zero.kvl");
  std::filesystem::create_symlink("/dev/zero", zero);
  EXPECT_EQ(InChild([&] { return ReadInChild(zero); }, 5), kOpenError);
  // A link to a regular file is read as the file.
  { std::ofstream(Path("real.kvl")) << "<KARVEL></KARVEL>"; }
  std::filesystem::create_symlink(Path("real.kvl"), Path("link.kvl"));
  EXPECT_EQ(ReadFileBytes(Path("link.kvl")), "<KARVEL></KARVEL>");
}

TEST_F(FileLimitsTest, AFileAboveTheLimitIsRefusedByItsSize) {
  // Sparse: no disk space, but a size far beyond what memory holds.
  const std::string huge = Path("huge.kvl");
  {
    const int fd = ::open(huge.c_str(), O_WRONLY | O_CREAT, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, off_t{1} << 40), 0);
    ::close(fd);
  }
  EXPECT_EQ(InChild([&] { return ReadInChild(huge); }, 20), kTooLarge);
  try {
    ReadFileBytes(huge);
    FAIL() << "read";
  } catch (const TFileError& error) {
    EXPECT_EQ(std::string(error.what()), "File too large: " + huge);
  }
  ASSERT_EQ(::truncate(huge.c_str(), static_cast<off_t>(kMaxFileBytes) + 1), 0);
  EXPECT_EQ(InChild([&] { return ReadInChild(huge); }, 20), kTooLarge);
}

TEST_F(FileLimitsTest, TooLittleMemoryIsAnErrorNotAnAbort) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the address sanitizer maps more than any address-space limit allows";
#endif
  // 200 MB of zeros under a 128 MB address-space limit.
  const std::string big = Path("big.kvl");
  {
    const int fd = ::open(big.c_str(), O_WRONLY | O_CREAT, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, off_t{200} << 20), 0);
    ::close(fd);
  }
  EXPECT_EQ(InChild([&] { return ReadInChild(big); }, 20, rlim_t{128} << 20), kOutOfMemory);
}

// Fails every write of the disk, or every rename, while it lives.
class TFaults final : public TWriteFaults {
 public:
  explicit TFaults(TWriteFault fault) : FFault(fault) { SetWriteFaults(this); }
  ~TFaults() override { SetWriteFaults(nullptr); }
  bool Next(TWriteFault fault) override { return fault == FFault; }

 private:
  TWriteFault FFault;
};

TEST_F(FileLimitsTest, AFailedWriteLeavesTheTargetAndNoTemporaryFile) {
  const std::string target = Path("~tmp.kvl");
  WriteFileAtomically(target, {"before"});
  for (TWriteFault fault : {TWriteFault::NoSpace, TWriteFault::RenameFails}) {
    TFaults faults(fault);
    EXPECT_THROW(WriteFileAtomically(target, {"after"}), TFileError);
  }
  EXPECT_EQ(ReadFileBytes(target), "before");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1);
}

TEST_F(FileLimitsTest, StartUpRemovesTheTemporaryFilesOfKilledWriters) {
  const std::string target = Path("~tmp.kvl");
  WriteFileAtomically(target, {"kept"});
  const auto touch = [&](const char* name) {
    std::ofstream(Path(name)) << "x";
    return Path(name);
  };
  const std::string left = touch(".~tmp.kvl.Ab12Cd");
  const std::string other = touch(".other.kvl.Ab12Cd");
  const std::string longer = touch(".~tmp.kvl.Ab12Cd7");
  // One being written right now: its writer holds it locked.
  const std::string busy = touch(".~tmp.kvl.Busy00");
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  const pid_t writer = ::fork();
  if (writer == 0) {
    const int fd = ::open(busy.c_str(), O_RDWR);
    ::flock(fd, LOCK_EX);
    char c = 1;
    if (::write(ready[1], &c, 1) != 1) ::_exit(1);
    ::pause();
    ::_exit(0);
  }
  char c = 0;
  ASSERT_EQ(::read(ready[0], &c, 1), 1);

  EXPECT_EQ(RemoveStaleTemporaryFiles(target), 1u);
  EXPECT_FALSE(std::filesystem::exists(left));
  EXPECT_TRUE(std::filesystem::exists(busy));
  EXPECT_TRUE(std::filesystem::exists(other));
  EXPECT_TRUE(std::filesystem::exists(longer));
  EXPECT_EQ(ReadFileBytes(target), "kept");
  ::kill(writer, SIGKILL);
  ::waitpid(writer, nullptr, 0);
  // Once its writer is gone it is stale too.
  EXPECT_EQ(RemoveStaleTemporaryFiles(target), 1u);
  EXPECT_FALSE(std::filesystem::exists(busy));
  ::close(ready[0]);
  ::close(ready[1]);
}

TEST_F(FileLimitsTest, NewFilesTakeTheUmaskWhileOtherThreadsWrite) {
  // Reading the umask means setting it for a moment; a file another thread
  // creates in that moment gets the wrong permissions.
  const mode_t previous = ::umask(077);
  std::atomic<bool> stop{false};
  std::thread writer([&] {
    int i = 0;
    while (!stop) WriteFileAtomically(Path("w") + std::to_string(i++ % 8), {"x"});
  });
  int wrong = 0;
  for (int i = 0; i < 4000; ++i) {
    const std::string name = Path("own") + std::to_string(i % 16);
    ::unlink(name.c_str());
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666);
    struct stat info {};
    ::fstat(fd, &info);
    ::close(fd);
    wrong += (info.st_mode & 0777) != 0600 ? 1 : 0;
  }
  stop = true;
  writer.join();
  EXPECT_EQ(wrong, 0);
  // What the writer made has the permissions of a new file under the umask.
  struct stat info {};
  ASSERT_EQ(::stat(Path("w0").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
  ::umask(previous);
}

}  // namespace
}  // namespace karvel
