#include "TextReport.h"

#include <gtest/gtest.h>

#include <sstream>

#include "TestTheory.h"

namespace ostrel {
namespace {

using karvel::testing::ElementaryFile;

const std::string kThree = ElementaryFile({"p", "q", "r", "if(p, x(q))", "if(q, x(p))", "if(q, x(r))",
                                           "if(r, x(q))", "if(p, x(r))", "if(r, x(p))"});

TEST(TextReportTest, ReportTextHasTheThreeParts) {
  TheoryDocument d;
  const std::string file = ElementaryFile({"a"});
  Refresh(d, ToolRequestFromBytes(file));
  const std::string report = ReportText(d);
  EXPECT_EQ(report.substr(0, 49), "STATUS: There is 1 dialectical interpretation.\nFI");
  EXPECT_NE(report.find("\n</KARVEL>\nTHEORY:\nASSUMPTIONS\n\na\n"), std::string::npos);
  EXPECT_EQ(report.find('\r'), std::string::npos);
}

TEST(TextReportTest, InterpretationLinesJoinTheTexts) {
  TheoryDocument d;
  std::ostringstream out;
  const TRefreshResult result = WriteInterpretationLines(d, ToolRequestFromBytes(kThree), out);
  EXPECT_TRUE(result.InterpretationsComputed);
  EXPECT_FALSE(result.SearchStopped);
  EXPECT_EQ(result.InterpretationCount, 3u);
  // Handed over, not kept.
  EXPECT_TRUE(d.Interpretations().empty());
  const std::string rules =
      "if(p, x(q)) | if(q, x(p)) | if(q, x(r)) | if(r, x(q)) | if(p, x(r)) | if(r, x(p)) | ";
  EXPECT_EQ(out.str(), rules + "r\n" + rules + "q\n" + rules + "p\n");
  // No assumptions: one empty interpretation, one empty line.
  std::ostringstream empty;
  WriteInterpretationLines(d, ToolRequestFromBytes(kMinimalDocument), empty);
  EXPECT_EQ(empty.str(), "\n");
}

}  // namespace
}  // namespace ostrel
