#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "TestTheory.h"

namespace karvel {
namespace {

using testing::ElementaryFile;
using testing::Texts;
using V = std::vector<std::string>;

// A theory read from file text, as the refresh cycle reads it.
struct TRead {
  explicit TRead(std::string_view bytes, bool parse = true) {
    file.LoadFromBytes(bytes);
    theory.LoadFromKarvelFile(file);
    theory.ParseText(parse);
  }
  std::string Written() {
    TKarvelFile out;
    theory.SaveToKarvelFile(out);
    return out.Text;
  }
  TKarvelFile file;
  TKarvelTheory theory;
};

constexpr const char* kEmptyLayout =
    "<KARVEL>\r\n<THEORY>\r\n\r\n</THEORY>\r\n<ISSUES>\r\n\r\n</ISSUES>\r\n</KARVEL>\r\n";

TEST(WriterTest, LayoutOfOneAssumptionAndOneIssue) {
  TRead r(ElementaryFile({"a"}, {"b"}));
  EXPECT_EQ(r.Written(),
            "<KARVEL>\r\n<THEORY>\r\n\r\n"
            "<SENTENCE>\r\n<ELEMENTARYSENTENCE>\r\na\r\n</ELEMENTARYSENTENCE>\r\n</SENTENCE>\r\n\r\n"
            "</THEORY>\r\n<ISSUES>\r\n\r\n"
            "<SENTENCE>\r\n<ELEMENTARYSENTENCE>\r\nb\r\n</ELEMENTARYSENTENCE>\r\n</SENTENCE>\r\n\r\n"
            "</ISSUES>\r\n</KARVEL>\r\n");
}

TEST(WriterTest, CompoundElementsNestWithoutEmptyLines) {
  TKarvelTheory theory;
  testing::AddAssumptions(theory, {"if(p, x(q), r)"});
  TKarvelFile file;
  theory.SaveToKarvelFile(file);
  const std::string e = "<SENTENCE>\r\n<ELEMENTARYSENTENCE>\r\n";
  const std::string f = "\r\n</ELEMENTARYSENTENCE>\r\n</SENTENCE>\r\n";
  EXPECT_EQ(file.Text, "<KARVEL>\r\n<THEORY>\r\n\r\n<SENTENCE>\r\n<CONDITIONAL>\r\n<ANTECEDENT>\r\n" + e +
                           "p" + f + "<SENTENCE>\r\n<DIALECTICALNEGATION>\r\n" + e + "q" + f +
                           "</DIALECTICALNEGATION>\r\n</SENTENCE>\r\n</ANTECEDENT>\r\n<CONSEQUENT>\r\n" + e +
                           "r" + f +
                           "</CONSEQUENT>\r\n</CONDITIONAL>\r\n</SENTENCE>\r\n\r\n</THEORY>\r\n"
                           "<ISSUES>\r\n\r\n</ISSUES>\r\n</KARVEL>\r\n");
}

TEST(WriterTest, DropsRepeatsAndUnflaggedEntries) {
  TKarvelTheory theory;
  testing::AddAssumptions(theory, {"a", "b", "a", "c"});
  theory.Assumptions[1]->IsAssumption = false;
  auto* plain = theory.Arena().NewPlain();
  plain->IsIssue = true;
  theory.Issues.push_back(plain);
  TKarvelFile file;
  theory.SaveToKarvelFile(file);
  EXPECT_EQ(Texts(theory.Assumptions), (V{"a", "b", "c"}));  // the lists change too
  TRead back(file.Text);
  EXPECT_EQ(Texts(back.theory.Assumptions), (V{"a", "c"}));
  EXPECT_NE(file.Text.find("<ISSUES>\r\n\r\n<SENTENCE>\r\n</SENTENCE>\r\n\r\n</ISSUES>"), std::string::npos);
}

TEST(ReaderTest, MinimalDocumentIsAnEmptyTheory) {
  TRead r("<KARVEL>\r\n</KARVEL>\r\n");
  EXPECT_EQ(r.file.Text, "<KARVEL>\r\n</KARVEL>\r\n");
  EXPECT_TRUE(r.theory.Assumptions.empty());
  EXPECT_TRUE(r.theory.Issues.empty());
  EXPECT_EQ(r.Written(), kEmptyLayout);
}

TEST(ReaderTest, BlockIsCutFromSurroundingText) {
  TKarvelFile file;
  file.LoadFromBytes("junk\n<KARVEL>\n<THEORY>\r</THEORY>\n</KARVEL>\ntrailer </KARVEL>");
  EXPECT_EQ(file.Text, "<KARVEL>\r\n<THEORY>\r\n</THEORY>\r\n</KARVEL>\r\n");
  // Wrong order, or no block at all, leaves the text as it was.
  file.Text = "kept";
  file.LoadFromBytes("</KARVEL> <KARVEL>");
  EXPECT_EQ(file.Text, "kept");
  // A NUL byte ends the text.
  TKarvelFile cut;
  cut.LoadFromBytes(std::string("<KARVEL>\0</KARVEL>", 18));
  EXPECT_EQ(cut.Text, "");
}

TEST(ReaderTest, RoundTripGivesIdenticalBytes) {
  for (bool parse : {true, false}) {
    TRead first(
        ElementaryFile({"p", "x(q)", "if(p, x(q), r<v>)", "  spaced  ", "x(if(a, b))"}, {"if(a, b)", "s"}),
        parse);
    const std::string written = first.Written();
    TRead second(written + "\r\n", parse);
    EXPECT_EQ(second.file.Text, written);
    EXPECT_EQ(second.Written(), written) << "parse " << parse;
  }
}

TEST(ReaderTest, RepeatsAndIssuesThatAreAssumptions) {
  TRead r(ElementaryFile({"a", "b", "a"}, {"b", "c", "c"}));
  EXPECT_EQ(Texts(r.theory.Assumptions), (V{"a", "b"}));
  EXPECT_EQ(Texts(r.theory.Issues), (V{"c"}));
  EXPECT_TRUE(r.theory.Assumptions[1]->IsAssumption);
  EXPECT_FALSE(r.theory.Assumptions[1]->IsIssue);
  EXPECT_TRUE(r.theory.Issues[0]->IsIssue);
}

TEST(ReaderTest, ParseOptionDecidesTheStructureOfElementaryTexts) {
  TRead parsed(ElementaryFile({"x(p)"}));
  EXPECT_TRUE(IsNegation(parsed.theory.Assumptions[0]));
  EXPECT_NE(parsed.Written().find("<DIALECTICALNEGATION>"), std::string::npos);
  TRead plain(ElementaryFile({"x(p)"}), false);
  EXPECT_TRUE(IsElementary(plain.theory.Assumptions[0]));
  EXPECT_EQ(plain.Written().find("<DIALECTICALNEGATION>"), std::string::npos);
  // Negation and conditional elements are structure whatever the option.
  TRead structure(parsed.Written(), false);
  EXPECT_TRUE(IsNegation(structure.theory.Assumptions[0]));
}

TEST(ReaderTest, ElementaryTextsAreTrimmedButKeepInnerLineBreaks) {
  TRead r(ElementaryFile({"\r\n   two\r\nlines  \r\n"}));
  ASSERT_EQ(r.theory.Assumptions.size(), 1u);
  EXPECT_EQ(r.theory.Assumptions[0]->Text, "two\r\nlines");
}

TEST(ReaderTest, MalformedSentenceEndsItsSection) {
  // A closing tag inside a text cuts the text there (no escaping).
  TRead tag(ElementaryFile({"a", "b </ELEMENTARYSENTENCE> c", "d"}, {"e"}));
  EXPECT_EQ(Texts(tag.theory.Assumptions), (V{"a", "b", "d"}));
  EXPECT_EQ(Texts(tag.theory.Issues), (V{"e"}));
  // A malformed element ends its section; the other section is still read.

  const std::string conditionalWithoutAntecedents =
      "<KARVEL>\r\n<THEORY>\r\n<SENTENCE>\r\n<ELEMENTARYSENTENCE>\r\na\r\n</ELEMENTARYSENTENCE>\r\n"
      "</SENTENCE>\r\n<SENTENCE>\r\n<CONDITIONAL>\r\n<ANTECEDENT>\r\n</ANTECEDENT>\r\n<CONSEQUENT>\r\n"
      "<SENTENCE>\r\n<ELEMENTARYSENTENCE>\r\nb\r\n</ELEMENTARYSENTENCE>\r\n</SENTENCE>\r\n"
      "</CONSEQUENT>\r\n</CONDITIONAL>\r\n</SENTENCE>\r\n<SENTENCE>\r\n<ELEMENTARYSENTENCE>\r\nc\r\n"
      "</ELEMENTARYSENTENCE>\r\n</SENTENCE>\r\n</THEORY>\r\n</KARVEL>\r\n";
  EXPECT_EQ(Texts(TRead(conditionalWithoutAntecedents).theory.Assumptions), (V{"a"}));

  // Stray text between elements is ignored; text before the kind tag is not.
  TRead stray(
      "<KARVEL><THEORY> words <SENTENCE><ELEMENTARYSENTENCE>a</ELEMENTARYSENTENCE>"
      "</SENTENCE> more <SENTENCE> oops <ELEMENTARYSENTENCE>b</ELEMENTARYSENTENCE>"
      "</SENTENCE></THEORY></KARVEL>");
  EXPECT_EQ(Texts(stray.theory.Assumptions), (V{"a"}));
}

TEST(ReaderTest, AntecedentTagIsSoughtNotRequired) {
  // Without "<ANTECEDENT>" the text after "<CONDITIONAL>" stays, and the
  // sentence elements there are the antecedents.
  TRead r(
      "<KARVEL><THEORY><SENTENCE><CONDITIONAL>"
      "<SENTENCE><ELEMENTARYSENTENCE>a</ELEMENTARYSENTENCE></SENTENCE>"
      "<CONSEQUENT><SENTENCE><ELEMENTARYSENTENCE>b</ELEMENTARYSENTENCE></SENTENCE></CONSEQUENT>"
      "</CONDITIONAL></SENTENCE></THEORY></KARVEL>");
  EXPECT_EQ(Texts(r.theory.Assumptions), (V{"if(a, b)"}));
}

TEST(ReaderTest, MissingTheoryCloseYieldsNoAssumptions) {
  TRead r(
      "<KARVEL><THEORY><SENTENCE><ELEMENTARYSENTENCE>a</ELEMENTARYSENTENCE></SENTENCE>"
      "<ISSUES><SENTENCE><ELEMENTARYSENTENCE>b</ELEMENTARYSENTENCE></SENTENCE></ISSUES>"
      "</KARVEL>");
  EXPECT_TRUE(r.theory.Assumptions.empty());
  EXPECT_EQ(Texts(r.theory.Issues), (V{"b"}));
}

TEST(ReaderTest, TheoryCloseInsideASentenceText) {
  // The issues are sought after the first closing tag, which lies inside the
  // text; assumptions read from there are skipped as issues.
  TRead r(ElementaryFile({"a", "b </THEORY> <ISSUES> c", "d"}, {"e", "a"}));
  EXPECT_EQ(Texts(r.theory.Assumptions), (V{"a", "b </THEORY> <ISSUES> c", "d"}));
  EXPECT_EQ(Texts(r.theory.Issues), (V{"e"}));
}

TEST(ReaderTest, PartsEqualToAssumptionsAreMarked) {
  TRead r(ElementaryFile({"if(a, b)", "a"}, {"x(b)"}));
  auto* rule = AsConditional(r.theory.Assumptions[0]);
  ASSERT_NE(rule, nullptr);
  EXPECT_TRUE(rule->Antecedents[0]->IsAssumption);
  EXPECT_FALSE(rule->Consequent->IsAssumption);
  EXPECT_FALSE(AsNegation(r.theory.Issues[0])->NegatedSentence->IsAssumption);
}

TEST(ReaderTest, BytesAreKeptAsTheyAre) {
  const std::string latin1 = "caf\xe9 \xa0";
  const std::string utf8 = "\xce\xbb-calculus \xe2\x86\x92 ok";
  TRead r(ElementaryFile({latin1, utf8}));
  EXPECT_EQ(Texts(r.theory.Assumptions), (V{latin1, utf8}));
  EXPECT_NE(r.Written().find(latin1 + "\r\n"), std::string::npos);
}

std::string NestedElements(int depth, const std::string& leaf = "p") {
  std::string s;
  for (int i = 0; i < depth; ++i) s += "<SENTENCE>\r\n<DIALECTICALNEGATION>\r\n";
  s += "<SENTENCE>\r\n<ELEMENTARYSENTENCE>\r\n" + leaf + "\r\n</ELEMENTARYSENTENCE>\r\n</SENTENCE>\r\n";
  for (int i = 0; i < depth; ++i) s += "</DIALECTICALNEGATION>\r\n</SENTENCE>\r\n";
  return "<KARVEL>\r\n<THEORY>\r\n" + s + "</THEORY>\r\n</KARVEL>\r\n";
}

TEST(ReaderTest, NestingLimit) {
  TRead deepest(NestedElements(kMaxNestingDepth - 1));
  ASSERT_EQ(deepest.theory.Assumptions.size(), 1u);
  EXPECT_EQ(deepest.theory.Assumptions[0]->Text.size(), 4u + 3u * (kMaxNestingDepth - 1) - 3u);
  EXPECT_TRUE(TRead(NestedElements(kMaxNestingDepth)).theory.Assumptions.empty());
  EXPECT_TRUE(TRead(NestedElements(100000)).theory.Assumptions.empty());
  // A parsed text deep inside elements shares the same limit, so that what is
  // written can always be read back.
  TRead mixed(NestedElements(kMaxNestingDepth - 2, "x(x(p))"));
  ASSERT_EQ(mixed.theory.Assumptions.size(), 1u);
  const std::string written = mixed.Written();
  EXPECT_NE(written.find("<ELEMENTARYSENTENCE>\r\nx(x(p))\r\n"), std::string::npos);
  EXPECT_EQ(TRead(written).Written(), written);
}

TEST(ReaderTest, DeepChainsAroundLongTextsAreKept) {
  // Every level repeats the long text; that is no reason to drop the sentence
  // (or the rest of its section).
  const std::string text(40000, 'w');
  std::string file = NestedElements(250, text);
  file.insert(file.find("</THEORY>"),
              "<SENTENCE>\r\n<ELEMENTARYSENTENCE>\r\nq\r\n</ELEMENTARYSENTENCE>\r\n</SENTENCE>\r\n");
  TRead r(file);
  ASSERT_EQ(r.theory.Assumptions.size(), 2u);
  EXPECT_EQ(r.theory.Assumptions[1]->Text, "q");

  std::string typed;
  for (int i = 0; i < 250; ++i) typed += "x(";
  typed += text + std::string(250, ')');
  TSentenceArena arena;
  EXPECT_TRUE(IsNegation(ParseSentence(typed, arena)));
}

TEST(ReaderTest, ReloadKeepsWhatTheFirstLoadRead) {
  // A typed deep chain with padding and a long text: once rewritten as
  // elements it must read back the same, whatever the padding was.
  std::string typed;
  for (int i = 0; i < kMaxNestingDepth - 1; ++i) typed += "x(" + std::string(150, ' ');
  typed += std::string(30000, 't') + std::string(static_cast<std::size_t>(kMaxNestingDepth - 1), ')');
  TRead first(ElementaryFile({typed, "q"}));
  ASSERT_EQ(first.theory.Assumptions.size(), 2u);
  EXPECT_TRUE(IsNegation(first.theory.Assumptions[0]));
  const std::string written = first.Written();
  TRead second(written);
  EXPECT_EQ(second.theory.Assumptions.size(), 2u);
  EXPECT_EQ(second.Written(), written);
}

TEST(ReadTaggedSentenceTest, ReturnsTheRestAfterTheElement) {
  TKarvelTheory theory;
  TKarvelSentence* s = nullptr;
  std::string_view rest;
  ASSERT_TRUE(theory.ReadTaggedSentence(
      "<SENTENCE><ELEMENTARYSENTENCE> a </ELEMENTARYSENTENCE></SENTENCE>  tail", s, rest));
  EXPECT_EQ(s->Text, "a");
  EXPECT_EQ(rest, "tail");
  EXPECT_FALSE(theory.ReadTaggedSentence("<SENTENCE><ELEMENTARYSENTENCE>a", s, rest));
  EXPECT_EQ(rest, "");
}

TEST(TextAfterTagTest, PositionAndTrimmedRest) {
  int position = -1;
  std::string_view rest;
  EXPECT_TRUE(TextAfterTag("ab<T>  cd \r\n", "<T>", position, rest));
  EXPECT_EQ(position, 3);
  EXPECT_EQ(rest, "cd");
  EXPECT_FALSE(TextAfterTag(" ab ", "<T>", position, rest));
  EXPECT_EQ(position, 0);
  EXPECT_EQ(rest, " ab ");
}

class FileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = std::filesystem::temp_directory_path() /
          ("ostrel-file-test-" + std::to_string(::getpid()) + "-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
  }
  void TearDown() override { std::filesystem::remove_all(dir); }
  static std::string Slurp(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  std::filesystem::path dir;
};

TEST_F(FileTest, SaveAppendsALineBreakAndLoadTrimsIt) {
  TKarvelFile file;
  file.Text = kEmptyLayout;
  const std::string name = (dir / "t.kvl").string();
  file.SaveToFile(name);
  EXPECT_EQ(Slurp(name), std::string(kEmptyLayout) + "\r\n");
  TKarvelFile back;
  back.LoadFromFile(name);
  EXPECT_EQ(back.Text, kEmptyLayout);
  // Nothing but the target is left in the folder.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1);
}

TEST_F(FileTest, SaveReplacesASymbolicLinkInsteadOfWritingThroughIt) {
  const auto victim = dir / "victim.txt";
  std::ofstream(victim) << "precious";
  const auto link = dir / "~tmp.kvl";
  std::filesystem::create_symlink(victim, link);
  TKarvelFile file;
  file.Text = "<KARVEL>\r\n</KARVEL>\r\n";
  file.SaveToFile(link.string());
  EXPECT_EQ(Slurp(victim), "precious");
  EXPECT_FALSE(std::filesystem::is_symlink(link));
  EXPECT_EQ(Slurp(link), "<KARVEL>\r\n</KARVEL>\r\n\r\n");
}

TEST_F(FileTest, SaveKeepsTheModeOfAnExistingFile) {
  const auto name = dir / "mode.kvl";
  std::ofstream(name) << "x";
  ::chmod(name.c_str(), 0640);
  TKarvelFile file;
  file.SaveToFile(name.string());
  struct stat info {};
  ASSERT_EQ(::stat(name.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
}

TEST_F(FileTest, ErrorsNameTheFile) {
  TKarvelFile file;
  file.Text = "kept";
  const std::string missing = (dir / "missing.kvl").string();
  try {
    file.LoadFromFile(missing);
    FAIL() << "no error";
  } catch (const TFileError& e) {
    EXPECT_EQ(e.Kind(), TFileError::TKind::Open);
    EXPECT_EQ(std::string(e.what()), "Cannot open file " + missing);
  }
  EXPECT_EQ(file.Text, "kept");
  EXPECT_THROW(file.LoadFromFile(dir.string()), TFileError);  // a folder is not a file

  const std::string unwritable = (dir / "no" / "such" / "dir.kvl").string();
  try {
    file.SaveToFile(unwritable);
    FAIL() << "no error";
  } catch (const TFileError& e) {
    EXPECT_EQ(e.Kind(), TFileError::TKind::Create);
    EXPECT_EQ(std::string(e.what()), "Cannot create file " + unwritable);
  }
  // A folder in the way of the target is an error, and leaves no temporary file.
  std::filesystem::create_directory(dir / "taken.kvl");
  EXPECT_THROW(file.SaveToFile((dir / "taken.kvl").string()), TFileError);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1);
}

}  // namespace
}  // namespace karvel
