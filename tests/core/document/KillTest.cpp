// A kill at any moment never leaves a broken working file: a child process
// saves and reloads in a loop and is killed with SIGKILL at random moments;
// each time "~tmp.kvl" must be one of the complete files the child writes.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <sstream>
#include <thread>

#include "TheoryDocument.h"

namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// Runs the child to its end; false if it did not exit cleanly.
bool RunChild(const std::vector<std::string>& arguments) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    std::vector<char*> argv;
    std::string program = OSTREL_KILL_CHILD;
    argv.push_back(program.data());
    std::vector<std::string> copies = arguments;
    for (auto& a : copies) argv.push_back(a.data());
    argv.push_back(nullptr);
    ::execv(program.c_str(), argv.data());
    ::_exit(127);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

class KillTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FDirectory = fs::temp_directory_path() / ("ostrel-kill-" + std::to_string(::getpid()));
    fs::remove_all(FDirectory);
    fs::create_directories(FDirectory / "record");
    fs::create_directories(FDirectory / "killed");
  }
  void TearDown() override { fs::remove_all(FDirectory); }
  fs::path FDirectory;
};

TEST_F(KillTest, WorkingFileIsAlwaysOneTheChildWroteWhole) {
  // Every file of one whole cycle of the child, recorded by a run to its end;
  // File > New first writes the minimal document as it is.
  constexpr int kCycle = 41;
  const fs::path record = FDirectory / "record";
  ASSERT_TRUE(RunChild({record.string(), std::to_string(kCycle + 1)}));
  std::set<std::string> complete{std::string(ostrel::kMinimalDocument) + "\r\n"};
  for (int step = 0; step <= kCycle; ++step)
    complete.insert(ReadFile(record / "states" / (std::to_string(step) + ".kvl")));
  ASSERT_GE(complete.size(), static_cast<std::size_t>(kCycle));

  const fs::path killed = FDirectory / "killed";
  std::mt19937 engine(13);
  std::uniform_int_distribution<int> delay(5, 60);
  std::set<std::string> seen;
  for (int kill = 0; kill < 100; ++kill) {
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      ::execl(OSTREL_KILL_CHILD, OSTREL_KILL_CHILD, killed.c_str(), static_cast<char*>(nullptr));
      ::_exit(127);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(delay(engine)));
    ::kill(pid, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)
        << "the child ended by itself, kill " << kill;
    const fs::path working = killed / ostrel::kTemporaryFileName;
    if (kill == 0 && !fs::exists(working)) continue;  // killed before its first write
    ASSERT_TRUE(fs::exists(working)) << "kill " << kill;
    const std::string bytes = ReadFile(working);
    ASSERT_TRUE(complete.count(bytes) == 1) << "kill " << kill << " left an incomplete file:\n" << bytes;
    seen.insert(bytes);
  }
  // The kills landed at different moments of the loop.
  EXPECT_GE(seen.size(), 3u);
}

}  // namespace
