// The editing commands under seeded random use, with the invariants checked
// after every step, and the faults random use has found, each as the short
// sequence that reached it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "CommandSteps.h"
#include "TestTheory.h"

namespace ostrel {
namespace {

using steps::CheckInvariants;

class RandomEditingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FDirectory = std::filesystem::temp_directory_path() /
                 ("ostrel-random-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(FDirectory);
    std::filesystem::create_directories(FDirectory);
    FPrevious = std::filesystem::current_path();
    std::filesystem::current_path(FDirectory);
  }
  void TearDown() override {
    std::filesystem::current_path(FPrevious);
    std::filesystem::remove_all(FDirectory);
  }
  static void Open(THeadlessSession& w, const std::string& file) {
    std::ofstream("theory.kvl", std::ios::binary) << file;
    ASSERT_TRUE(w.Open("theory.kvl"));
  }

 private:
  std::filesystem::path FDirectory, FPrevious;
};

TEST_F(RandomEditingTest, SeededSessionsKeepEveryInvariant) {
  constexpr std::uint32_t kSeeds = 24;
  constexpr int kSteps = 150;
  // Seen across all runs, so that a decoder that stopped reaching the
  // interesting states would not pass unnoticed.
  bool editorOpened = false, placeholderWaited = false, committed = false;
  for (std::uint32_t seed = 1; seed <= kSeeds; ++seed) {
    THeadlessSession w;
    steps::TRandomInput in(seed);
    steps::StartSession(w, in);
    ASSERT_EQ(CheckInvariants(w), "") << "seed " << seed << " at the start";
    for (int i = 0; i < kSteps; ++i) {
      const bool wasOpen = w.Editor().Visible;
      const auto [step, failure] = steps::RunCheckedStep(w, in);
      ASSERT_EQ(failure, "") << "seed " << seed << ", step " << i << " (" << steps::StepName(step) << ")";
      editorOpened = editorOpened || w.Editor().Visible;
      committed = committed || (wasOpen && step == steps::TStep::Enter && !w.Editor().Visible);
      placeholderWaited =
          placeholderWaited || (w.Editor().Visible && w.Session().Marks.AddingSupportOrAttack);
    }
  }
  EXPECT_TRUE(editorOpened);
  EXPECT_TRUE(placeholderWaited);
  EXPECT_TRUE(committed);
}

// The checks must see the faults they are there for.
TEST_F(RandomEditingTest, InvariantsNoticeBrokenStates) {
  THeadlessSession w;
  ASSERT_TRUE(w.New());
  Open(w, steps::GeneratedTheoryFile(8, 3));
  ASSERT_EQ(CheckInvariants(w), "");

  std::ofstream(kTemporaryFileName, std::ios::binary) << w.Document().File().Text << "\r\n\r\n";
  EXPECT_NE(CheckInvariants(w), "");
  ASSERT_TRUE(w.Open(kTemporaryFileName));
  ASSERT_EQ(CheckInvariants(w), "");

  // A sentence of the theory before the last reload.
  karvel::TKarvelSentence* old = w.Document().Theory().Assumptions.front();
  ASSERT_TRUE(w.Open(kTemporaryFileName));
  w.Document().Theory().Assumptions.front() = old;
  EXPECT_NE(CheckInvariants(w), "");
  ASSERT_TRUE(w.Open(kTemporaryFileName));

  w.SetSelection(1000);
  EXPECT_EQ(CheckInvariants(w), "");  // out of range is no selection, and is read so
  w.Session().Addstatement1Click();
  w.Session().Marks.AddingSentence = false;
  EXPECT_NE(CheckInvariants(w), "");
}

// ---- findings of the command fuzzer ---------------------------------------------

// Add conjunct without a selection read the kind of a null sentence.
TEST_F(RandomEditingTest, AddConjunctWithoutSelectionOnlySetsItsMark) {
  THeadlessSession w;
  ASSERT_TRUE(w.New());
  Open(w, steps::GeneratedTheoryFile(6, 1));
  const int refreshes = w.Refreshes();
  w.SetSelection(-1);
  w.Session().Addconjunct1Click();
  w.SetSelection(static_cast<int>(w.DiagramSentences().size()));
  w.Session().Addconjunct1Click();
  EXPECT_TRUE(w.Session().Marks.AddingConjunct);
  EXPECT_EQ(w.Refreshes(), refreshes);
  EXPECT_EQ(CheckInvariants(w), "");
}

// A NUL byte ends what the reader takes of a file, so a sentence holding one
// cut the working file short and the reload lost everything after it. Such a
// text is refused, for a new sentence and for a change alike.
TEST_F(RandomEditingTest, TextWithNulByteIsRefused) {
  THeadlessSession w;
  ASSERT_TRUE(w.New());
  Open(w, steps::GeneratedTheoryFile(6, 2));
  const auto before = karvel::testing::Texts(w.Document().Theory().Assumptions);
  const std::string typed("a\0b", 3);
  const auto expectRefused = [&] {
    EXPECT_EQ(karvel::testing::Texts(w.Document().Theory().Assumptions), before);
    EXPECT_TRUE(w.Editor().Visible);
    EXPECT_EQ(w.Editor().Text, typed);
    EXPECT_EQ(w.StatusPanel(1), "A sentence may not contain a NUL byte.");
    EXPECT_EQ(CheckInvariants(w), "");
  };
  w.Session().Addstatement1Click();
  w.Type(typed);
  w.PressEnter();
  expectRefused();
  EXPECT_TRUE(w.Session().Marks.AddingSentence);

  w.PressEscape();
  ASSERT_TRUE(w.PressBoxOf("s0"));
  w.Session().Changeelementarysentence1Click();
  w.Type(typed);
  w.PressEnter();
  expectRefused();
  EXPECT_TRUE(w.Session().Marks.ChangingSentence);
}

}  // namespace
}  // namespace ostrel
