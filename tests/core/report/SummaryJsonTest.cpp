// ostrel-report --summary: its keys and order, the null form where nothing
// is computed, and agreement with what the statuses of every interpretation
// in --json fold to, for the examples and generated files (texts that are
// not UTF-8 among them) under every option setting.
#include "JsonReport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>

#include "TestTheory.h"

namespace ostrel {
namespace {

using Json = nlohmann::ordered_json;
using V = std::vector<std::string>;

V Keys(const Json& object) {
  V keys;
  for (const auto& item : object.items()) keys.push_back(item.key());
  return keys;
}

TRefreshRequest Request(const std::string& bytes, bool parse, bool structureOnly) {
  TRefreshOptions options;
  options.ParseSentences = parse;
  options.ShowStructureOnly = structureOnly;
  return ToolRequestFromBytes(bytes, options);
}

// What --json's interpretations give each entry of a list: "all", "some" or
// "none" for justified and for defeated, or null when none were computed.
Json Folded(const Json& report, const char* list) {
  const Json& interpretations = report["interpretations"];
  Json entries = Json::array();
  for (std::size_t k = 0; k < report[list].size(); ++k) {
    Json entry;
    entry["text"] = report[list][k]["text"];
    if (interpretations.is_null()) {
      entry["justified"] = nullptr;
      entry["defeated"] = nullptr;
    } else {
      std::size_t justified = 0, defeated = 0;
      for (const Json& i : interpretations) {
        justified += i["statuses"][list][k] == "justified";
        defeated += i["statuses"][list][k] == "defeated";
      }
      const auto extent = [&](std::size_t n) {
        return n == 0 ? "none" : n == interpretations.size() ? "all" : "some";
      };
      entry["justified"] = extent(justified);
      entry["defeated"] = extent(defeated);
    }
    entries.push_back(std::move(entry));
  }
  return entries;
}

// The summary of a file must be what its full --json report folds to.
void ExpectAgreesWithTheFullReport(const std::string& bytes, bool parse, bool structureOnly) {
  std::ostringstream full, brief;
  {
    TheoryDocument document;
    WriteJsonReport(document, Request(bytes, parse, structureOnly), full);
  }
  TheoryDocument document;
  const TRefreshResult result = WriteSummaryJson(document, Request(bytes, parse, structureOnly), brief);
  ASSERT_TRUE(result.Loaded());
  const Json report = Json::parse(full.str());
  const Json summary = Json::parse(brief.str());
  ASSERT_EQ(Keys(summary), (V{"interpretations", "assumptions", "issues"}));
  const Json& interpretations = report["interpretations"];
  if (interpretations.is_null())
    EXPECT_TRUE(summary["interpretations"].is_null());
  else
    EXPECT_EQ(summary["interpretations"], interpretations.empty()       ? "none"
                                          : interpretations.size() == 1 ? "one"
                                                                        : "several");
  for (const char* list : {"assumptions", "issues"}) {
    for (const Json& entry : summary[list]) ASSERT_EQ(Keys(entry), (V{"text", "justified", "defeated"}));
    EXPECT_EQ(summary[list], Folded(report, list)) << list;
  }
  // One line per key, as --json has it.
  const std::string written = brief.str();
  EXPECT_EQ(std::count(written.begin(), written.end(), '\n'), 3);
}

std::string Bytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

TEST(SummaryJsonTest, ExamplesAgreeWithTheFullReportUnderEveryOption) {
  std::size_t examples = 0;
  for (const auto& file : std::filesystem::directory_iterator(OSTREL_EXAMPLES)) {
    if (file.path().extension() != ".kvl") continue;
    ++examples;
    const std::string bytes = Bytes(file.path());
    for (const bool parse : {true, false})
      for (const bool structureOnly : {false, true}) {
        SCOPED_TRACE(file.path().string() + (parse ? "" : " --no-parse") +
                     (structureOnly ? " --structure-only" : ""));
        ExpectAgreesWithTheFullReport(bytes, parse, structureOnly);
      }
  }
  EXPECT_GE(examples, 5u);
}

TEST(SummaryJsonTest, GeneratedFilesAgreeWithTheFullReport) {
  // Typed texts over atoms one of which is not UTF-8, parsed or not: the
  // issues the refresh adds (parts that are neither) are summarized too.
  const V atoms = {"p", "q", "r", "caf\xe9"};
  int several = 0, none = 0;
  for (unsigned seed = 1; seed <= 300; ++seed) {
    std::mt19937 random(seed);
    const auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    const auto atom = [&] { return atoms[static_cast<std::size_t>(pick(4))]; };
    const auto text = [&] {
      switch (pick(6)) {
        case 0:
          return "x(" + atom() + ")";
        case 1:
          return "if(" + atom() + ", " + atom() + ")";
        case 2:
          return "if(" + atom() + ", if(" + atom() + ", x(" + atom() + ")))";
        case 3:
        case 4:
          return "if(" + atom() + ", x(" + atom() + "))";
        default:
          return atom();
      }
    };
    V assumptions, issues;
    for (int k = 2 + pick(6); k > 0; --k) assumptions.push_back(text());
    // Mutual attacks, so that many files have several interpretations.
    for (int k = pick(3); k > 0; --k) {
      const std::string a = atom(), b = atom();
      assumptions.insert(assumptions.end(),
                         {a, b, "if(" + a + ", x(" + b + "))", "if(" + b + ", x(" + a + "))"});
    }
    for (int k = pick(3); k > 0; --k) issues.push_back(text());
    const std::string bytes = karvel::testing::ElementaryFile(assumptions, issues);
    for (const bool parse : {true, false}) {
      SCOPED_TRACE("seed " + std::to_string(seed) + (parse ? "" : " --no-parse"));
      ExpectAgreesWithTheFullReport(bytes, parse, false);
    }
    TheoryDocument document;
    std::ostringstream out;
    WriteSummaryJson(document, Request(bytes, true, false), out);
    const Json summary = Json::parse(out.str());
    several += summary["interpretations"] == "several";
    none += summary["interpretations"] == "none";
  }
  EXPECT_GT(several, 30);
  EXPECT_GT(none, 30);
}

TEST(SummaryJsonTest, NothingComputedReadsNull) {
  // Without assumptions there is nothing to summarize, as --json lists no
  // interpretations; the issues are still listed with their texts.
  TheoryDocument document;
  std::ostringstream out;
  WriteSummaryJson(document, Request(karvel::testing::ElementaryFile({}, {"caf\xe9"}), true, false), out);
  EXPECT_EQ(out.str(),
            "{\"interpretations\":null,\n\"assumptions\":[],\n"
            "\"issues\":[{\"text\":{\"latin1\":\"caf\xc3\xa9\"},\"justified\":null,\"defeated\":null}]}\n");
  // With no interpretation every entry reads "none" twice.
  std::ostringstream none;
  WriteSummaryJson(document, Request(karvel::testing::ElementaryFile({"a", "if(a, x(a))"}), true, false),
                   none);
  EXPECT_EQ(none.str(),
            "{\"interpretations\":\"none\",\n"
            "\"assumptions\":[{\"text\":\"a\",\"justified\":\"none\",\"defeated\":\"none\"},"
            "{\"text\":\"if(a, x(a))\",\"justified\":\"none\",\"defeated\":\"none\"}],\n"
            "\"issues\":[{\"text\":\"x(a)\",\"justified\":\"none\",\"defeated\":\"none\"}]}\n");
  // An unreadable file writes nothing.
  std::ostringstream missing;
  EXPECT_FALSE(WriteSummaryJson(document, ToolRequest("/nonexistent/t.kvl"), missing).Loaded());
  EXPECT_EQ(missing.str(), "");
}

}  // namespace
}  // namespace ostrel
