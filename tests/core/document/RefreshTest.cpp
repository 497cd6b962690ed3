// The one refresh: what its result says, and what it writes.
#include "Refresh.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "TestTheory.h"

namespace ostrel {
namespace {

namespace fs = std::filesystem;
using karvel::testing::ElementaryFile;
using karvel::testing::Texts;

// n independent conflicts: 2^n interpretations.
std::string Conflicts(int n) {
  std::vector<std::string> texts;
  for (int i = 0; i < n; ++i) {
    const std::string p = "p" + std::to_string(i), q = "q" + std::to_string(i);
    for (const std::string& t : {p, q, "if(" + p + ", x(" + q + "))", "if(" + q + ", x(" + p + "))"})
      texts.push_back(t);
  }
  return ElementaryFile(texts);
}

class RefreshTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FDirectory = fs::temp_directory_path() / ("ostrel-refresh-" + std::to_string(::getpid()));
    fs::create_directories(FDirectory);
    FPrevious = fs::current_path();
    fs::current_path(FDirectory);
  }
  void TearDown() override {
    fs::current_path(FPrevious);
    fs::remove_all(FDirectory);
  }
  static std::string ReadWorkingFile() {
    std::ifstream in(kTemporaryFileName, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
  }

  TheoryDocument Document;

 private:
  fs::path FDirectory, FPrevious;
};

TEST_F(RefreshTest, ResultHoldsWhatTheViewsShow) {
  const std::string file = Conflicts(1);
  TRefreshRequest request;
  request.Bytes = file;
  const TRefreshResult result = Refresh(Document, request);
  ASSERT_TRUE(result.Loaded());
  EXPECT_TRUE(result.InterpretationsComputed);
  EXPECT_EQ(result.InterpretationCount, 2u);
  EXPECT_EQ(result.ButtonCount, 2);
  EXPECT_EQ(result.StatusText, "There are 2 dialectical interpretations.");
  EXPECT_EQ(result.Interpretations, &Document.Interpretations());
  EXPECT_EQ(result.Interpretations->size(), 2u);
  EXPECT_EQ(result.ArgumentSentences, &Document.ArgumentSentences());
  // The statuses are those of the first interpretation.
  for (const karvel::TKarvelSentence* s : result.Interpretations->front())
    EXPECT_TRUE(s->IsJustified) << s->Text;
  const auto& assumptions = Document.Theory().Assumptions;
  EXPECT_NE(assumptions[0]->IsDefeated, assumptions[1]->IsDefeated);
  // The window's refresh rewrites the working file.
  EXPECT_EQ(ReadWorkingFile().rfind(Document.File().Text, 0), 0u);
}

TEST_F(RefreshTest, ButtonsStopAtTheCapAndTheStatusSaysSo) {
  const std::string file = Conflicts(14);  // 16,384 interpretations
  const TRefreshResult result = Refresh(Document, ToolRequestFromBytes(file));
  EXPECT_EQ(result.InterpretationCount, 16384u);
  EXPECT_EQ(result.ButtonCount, kMaxInterpretationButtons);
  EXPECT_EQ(result.StatusText, "There are 16384 dialectical interpretations. Buttons show the first 10000.");
}

TEST_F(RefreshTest, NoButtonsBelowTwoNorWithStructureOnly) {
  const std::string one = ElementaryFile({"a"});
  EXPECT_EQ(Refresh(Document, ToolRequestFromBytes(one)).ButtonCount, 0);
  TRefreshOptions structure;
  structure.ShowStructureOnly = true;
  const std::string two = Conflicts(1);
  const TRefreshResult result = Refresh(Document, ToolRequestFromBytes(two, structure));
  EXPECT_FALSE(result.InterpretationsComputed);
  EXPECT_EQ(result.ButtonCount, 0);
  EXPECT_EQ(result.StatusText, "");
  EXPECT_TRUE(Document.Interpretations().empty());
}

TEST_F(RefreshTest, TheWorkingFileIsWrittenOnlyWhenItsBytesChange) {
  const auto inode = [] {
    struct stat info {};
    EXPECT_EQ(::lstat(kTemporaryFileName, &info), 0);
    return info.st_ino;
  };
  std::ofstream("theory.kvl", std::ios::binary) << ElementaryFile({"a", "b"});
  TRefreshRequest request;
  request.FileName = "theory.kvl";
  ASSERT_TRUE(Refresh(Document, request).Loaded());
  const std::string written = ReadWorkingFile();
  const auto first = inode();
  // The same bytes again: the file stays as it is, not even replaced.
  ASSERT_TRUE(Refresh(Document, request).Loaded());
  request.FileName = kTemporaryFileName;
  ASSERT_TRUE(Refresh(Document, request).Loaded());
  EXPECT_EQ(inode(), first);
  EXPECT_EQ(ReadWorkingFile(), written);
  // Other bytes replace it; so does anything that is not a regular file.
  std::ofstream("other.kvl", std::ios::binary) << ElementaryFile({"c"});
  request.FileName = "other.kvl";
  ASSERT_TRUE(Refresh(Document, request).Loaded());
  EXPECT_EQ(ReadWorkingFile(), Document.File().Text + "\r\n");
  fs::copy_file(kTemporaryFileName, "copy.kvl");
  fs::remove(kTemporaryFileName);
  fs::create_symlink("copy.kvl", kTemporaryFileName);
  ASSERT_TRUE(Refresh(Document, request).Loaded());
  EXPECT_FALSE(fs::is_symlink(kTemporaryFileName));
}

TEST_F(RefreshTest, ToolsWriteNoFile) {
  const std::string file = ElementaryFile({"a"});
  Refresh(Document, ToolRequestFromBytes(file));
  EXPECT_FALSE(fs::exists(kTemporaryFileName));
}

TEST_F(RefreshTest, UnreadableFileGivesTheErrorAndAnEmptyDocument) {
  const std::string file = Conflicts(1);
  Refresh(Document, ToolRequestFromBytes(file));
  const TRefreshResult result = Refresh(Document, ToolRequest("missing.kvl"));
  ASSERT_FALSE(result.Loaded());
  EXPECT_EQ(result.Error->Kind(), karvel::TFileError::TKind::Open);
  EXPECT_EQ(std::string(result.Error->what()), "Cannot open file missing.kvl");
  EXPECT_TRUE(Document.Theory().Assumptions.empty());
  EXPECT_TRUE(Document.ArgumentSentences().empty());
  EXPECT_TRUE(Document.Interpretations().empty());
  EXPECT_EQ(Document.File().Text, "");
}

TEST_F(RefreshTest, HandedOverInterpretationsAreNotKept) {
  const std::string file = Conflicts(3);
  std::vector<std::vector<std::string>> seen;
  bool listsFirst = false;
  TRefreshRequest request = ToolRequestFromBytes(file);
  request.ListsReady = [&] { listsFirst = seen.empty() && !Document.ArgumentSentences().empty(); };
  request.Visit = [&](const karvel::TListOfKarvelSentences& i) { seen.push_back(Texts(i)); };
  const TRefreshResult streamed = Refresh(Document, request);
  EXPECT_TRUE(listsFirst);
  EXPECT_EQ(streamed.InterpretationCount, 8u);
  EXPECT_EQ(streamed.ButtonCount, 0);
  EXPECT_TRUE(Document.Interpretations().empty());

  // The same interpretations, in the same order, as a kept search gives.
  const TRefreshResult kept = Refresh(Document, ToolRequestFromBytes(file));
  ASSERT_EQ(kept.InterpretationCount, seen.size());
  for (std::size_t i = 0; i < seen.size(); ++i) EXPECT_EQ(Texts((*kept.Interpretations)[i]), seen[i]);
}

TEST_F(RefreshTest, StoppedSearchIsSaidAndKeepsWhatItFound) {
  const std::string file = Conflicts(4);
  TRefreshRequest request = ToolRequestFromBytes(file);
  request.Progress = [](std::size_t found) { return found < 3; };
  const TRefreshResult result = Refresh(Document, request);
  EXPECT_TRUE(result.SearchStopped);
  EXPECT_EQ(result.InterpretationCount, 3u);
  EXPECT_EQ(result.StatusText, "Search stopped: 3 dialectical interpretations found so far.");
}

TEST_F(RefreshTest, MatchRequestSearchesNothing) {
  const std::string file = Conflicts(2);
  TRefreshRequest request = ToolRequestFromBytes(file);
  request.SearchInterpretations = false;
  const TRefreshResult result = Refresh(Document, request);
  EXPECT_FALSE(result.InterpretationsComputed);
  EXPECT_TRUE(Document.Interpretations().empty());
  // The argument is collected all the same.
  EXPECT_EQ(Document.ArgumentSentences().size(), 12u);
}

TEST_F(RefreshTest, SummaryComesWithTheListsOrInsteadOfTheSearch) {
  const std::string file = Conflicts(3);
  TRefreshRequest request = ToolRequestFromBytes(file);
  request.Summarize = true;
  TRefreshResult result = Refresh(Document, request);
  ASSERT_NE(result.Summary, nullptr);
  EXPECT_EQ(result.Summary->Interpretations, karvel::TMultiplicity::Several);
  // Lists as the refresh leaves them: the negations it adds as issues too.
  EXPECT_EQ(result.Summary->Issues.size(), Document.Theory().Issues.size());
  EXPECT_EQ(result.InterpretationCount, 8u);
  // Instead of the search: nothing listed, nothing counted.
  request.SearchInterpretations = false;
  result = Refresh(Document, request);
  ASSERT_NE(result.Summary, nullptr);
  EXPECT_TRUE(Document.Interpretations().empty());
  EXPECT_FALSE(result.InterpretationsComputed);
  // Structure only, and a stopped summary, give none; the next refresh
  // forgets the last one.
  request.Options.ShowStructureOnly = true;
  EXPECT_EQ(Refresh(Document, request).Summary, nullptr);
  request.Options.ShowStructureOnly = false;
  request.Progress = [](std::size_t) { return false; };
  result = Refresh(Document, request);
  EXPECT_EQ(result.Summary, nullptr);
  EXPECT_TRUE(result.SummaryStopped);
}

}  // namespace
}  // namespace ostrel
