// ostrel-report --json: every key of every example under each option setting,
// agreement with the text report, and texts whose bytes are not UTF-8.
#include "JsonReport.h"
#include "TextReport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
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

TRefreshOptions Options(bool parse, bool structureOnly) {
  TRefreshOptions options;
  options.ParseSentences = parse;
  options.ShowStructureOnly = structureOnly;
  return options;
}

Json Report(const std::string& path, bool parse, bool structureOnly) {
  TheoryDocument document;
  std::ostringstream out;
  WriteJsonReport(document, ToolRequest(path, Options(parse, structureOnly)), out);
  return Json::parse(out.str());  // throws on anything but one valid document
}

// A sentence entry: text, kind, the parts of compounds, variables.
void CheckSentence(const Json& entry) {
  ASSERT_TRUE(entry.is_object()) << entry.dump();
  const std::string kind = entry.value("kind", "");
  if (kind == "elementary") {
    EXPECT_EQ(Keys(entry), (V{"text", "kind", "variables"}));
  } else {
    ASSERT_TRUE(kind == "negation" || kind == "conditional") << entry.dump();
    EXPECT_EQ(Keys(entry), (V{"text", "kind", "parts", "variables"}));
    ASSERT_TRUE(entry["parts"].is_array());
    if (kind == "negation")
      EXPECT_EQ(entry["parts"].size(), 1u);
    else
      EXPECT_GE(entry["parts"].size(), 2u);
    for (const Json& part : entry["parts"]) EXPECT_NO_THROW(BytesOfJsonText(part));
  }
  EXPECT_NO_THROW(BytesOfJsonText(entry["text"]));
  ASSERT_TRUE(entry["variables"].is_array());
  for (const Json& variable : entry["variables"]) EXPECT_NO_THROW(BytesOfJsonText(variable));
}

// The theory view the text report prints, rebuilt from the JSON alone.
V TheoryViewOf(const Json& report) {
  V lines;
  const auto add = [&lines](const char* indent, const Json& text) {
    std::string bytes = BytesOfJsonText(text);
    for (std::size_t end; (end = bytes.find("\r\n")) != std::string::npos; bytes.erase(0, end + 2))
      lines.push_back(indent + bytes.substr(0, end));
    lines.push_back(indent + bytes);
  };
  lines.insert(lines.end(), {"ASSUMPTIONS", ""});
  for (const Json& s : report["assumptions"]) add("", s["text"]);
  lines.insert(lines.end(), {"", "", "ISSUES", ""});
  for (const Json& s : report["issues"]) add("", s["text"]);
  lines.insert(lines.end(), {"", ""});
  const Json& interpretations = report["interpretations"];
  if (interpretations.is_null() || interpretations.empty()) {
    lines.insert(lines.end(), {"THERE IS NO DIALECTICAL INTERPRETATION OF THE ASSUMPTIONS", ""});
    return lines;
  }
  for (const Json& interpretation : interpretations) {
    const std::size_t number = interpretation["number"];
    lines.push_back(interpretations.size() == 1 ? "UNIQUE DIALECTICAL INTERPRETATION"
                                                : "DIALECTICAL INTERPRETATION " + std::to_string(number));
    const auto section = [&](const char* heading, const char* list, const char* status) {
      lines.emplace_back(heading);
      const Json& statuses = interpretation["statuses"][list];
      for (std::size_t i = 0; i < statuses.size(); ++i)
        if (statuses[i] == status) add("        ", report[list][i]["text"]);
    };
    section("    JUSTIFIED ASSUMPTIONS", "assumptions", "justified");
    section("    DEFEATED ASSUMPTIONS", "assumptions", "defeated");
    section("    JUSTIFIED ISSUES", "issues", "justified");
    section("    DEFEATED ISSUES", "issues", "defeated");
    section("    UNSETTLED ISSUES", "issues", "neither");
    if (interpretations.size() > 1) lines.insert(lines.end(), {"", ""});
  }
  return lines;
}

V Lines(const std::string& text) {
  V lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST(JsonReportTest, EveryKeyOfEveryExampleAgreesWithTheTextReport) {
  std::size_t examples = 0;
  for (const auto& file : std::filesystem::directory_iterator(OSTREL_EXAMPLES)) {
    if (file.path().extension() != ".kvl") continue;
    ++examples;
    const std::string path = file.path().string();
    for (const bool parse : {true, false}) {
      for (const bool structureOnly : {false, true}) {
        SCOPED_TRACE(path + (parse ? "" : " --no-parse") + (structureOnly ? " --structure-only" : ""));
        const Json report = Report(path, parse, structureOnly);
        ASSERT_EQ(Keys(report), (V{"options", "assumptions", "issues", "interpretations", "status"}));
        EXPECT_EQ(report["options"],
                  Json::parse(std::string("{\"parseSentences\":") + (parse ? "true" : "false") +
                              ",\"showStructureOnly\":" + (structureOnly ? "true" : "false") + "}"));
        ASSERT_TRUE(report["assumptions"].is_array() && report["issues"].is_array());
        for (const Json& s : report["assumptions"]) CheckSentence(s);
        for (const Json& s : report["issues"]) CheckSentence(s);

        const Json& interpretations = report["interpretations"];
        if (structureOnly || report["assumptions"].empty()) {
          EXPECT_TRUE(interpretations.is_null());
        } else {
          ASSERT_TRUE(interpretations.is_array());
          for (std::size_t k = 0; k < interpretations.size(); ++k) {
            const Json& interpretation = interpretations[k];
            ASSERT_EQ(Keys(interpretation), (V{"number", "assumptions", "statuses"}));
            EXPECT_EQ(interpretation["number"], k + 1);
            ASSERT_EQ(Keys(interpretation["statuses"]), (V{"assumptions", "issues"}));
            for (const char* list : {"assumptions", "issues"}) {
              const Json& statuses = interpretation["statuses"][list];
              ASSERT_EQ(statuses.size(), report[list].size()) << list;
              for (const Json& status : statuses)
                EXPECT_TRUE(status == "justified" || status == "defeated" || status == "neither");
            }
          }
        }

        // The text report of the same file: status line and theory view.
        TheoryDocument document;
        Refresh(document, ToolRequest(path, Options(parse, structureOnly)));
        const V text = Lines(ReportText(document));
        ASSERT_FALSE(text.empty());
        EXPECT_EQ(text.front(), "STATUS: " + report["status"].get<std::string>());
        const auto theory = std::find(text.begin(), text.end(), "THEORY:");
        ASSERT_NE(theory, text.end());
        EXPECT_EQ(V(theory + 1, text.end()), TheoryViewOf(report));

        // The interpretations' members, as --interpretations lists them.
        if (!interpretations.is_array()) continue;
        std::ostringstream listed;
        WriteInterpretationLines(document, ToolRequest(path, Options(parse, false)), listed);
        V members;
        for (const Json& interpretation : interpretations) {
          std::string line;
          for (const Json& text : interpretation["assumptions"])
            line += (line.empty() ? "" : " | ") + BytesOfJsonText(text);
          members.push_back(line);
        }
        EXPECT_EQ(Lines(listed.str()), members);
      }
    }
  }
  EXPECT_GE(examples, 5u);
}

TEST(JsonReportTest, TextsThatAreNotUtf8RoundTripAsLatin1) {
  const V texts = {"caf\xc3\xa9 <x>",   // UTF-8: stays a string
                   "caf\xe9 <x>",       // a Latin-1 byte
                   "\xc0\xaf",          // overlong
                   "\xed\xa0\x80",      // a surrogate
                   "\xf4\x90\x80\x80",  // beyond U+10FFFF
                   "cut \xe2\x82"};     // truncated at the end
  TheoryDocument document;
  const std::string file = karvel::testing::ElementaryFile(texts);
  std::ostringstream out;
  WriteJsonReport(document, ToolRequestFromBytes(file), out);
  const Json report = Json::parse(out.str());
  ASSERT_EQ(report["assumptions"].size(), texts.size());
  for (std::size_t i = 0; i < texts.size(); ++i) {
    const Json& text = report["assumptions"][i]["text"];
    EXPECT_EQ(text.is_string(), i == 0) << text.dump();
    EXPECT_EQ(BytesOfJsonText(text), texts[i]);
  }
  EXPECT_EQ(report["assumptions"][1]["text"], Json::parse(R"({"latin1":"caf\u00e9 <x>"})"));
  EXPECT_EQ(BytesOfJsonText(report["assumptions"][1]["variables"][0]), "<x>");
  // Every member of the one interpretation comes back byte for byte.
  ASSERT_EQ(report["interpretations"].size(), 1u);
  std::set<std::string> members;
  for (const Json& text : report["interpretations"][0]["assumptions"]) members.insert(BytesOfJsonText(text));
  EXPECT_EQ(members, std::set<std::string>(texts.begin(), texts.end()));

  EXPECT_THROW(BytesOfJsonText(Json::parse(R"({"latin1":"\u0100"})")), std::invalid_argument);
  EXPECT_THROW(BytesOfJsonText(Json(3)), std::invalid_argument);
}

// A stream whose reader has gone: every write fails, and the writes tried
// are counted.
class TGoneReader final : public std::streambuf {
 public:
  std::size_t Tries = 0;

 protected:
  int_type overflow(int_type) override {
    ++Tries;
    return traits_type::eof();
  }
  std::streamsize xsputn(const char*, std::streamsize) override {
    ++Tries;
    return 0;
  }
};

TEST(JsonReportTest, WritersStopTheSearchAtTheFirstFailedWrite) {
  // 12 independent conflicts: 4096 interpretations nobody can receive.
  V texts;
  for (int i = 0; i < 12; ++i) {
    const std::string p = "p" + std::to_string(i), q = "q" + std::to_string(i);
    texts.insert(texts.end(), {p, q, "if(" + p + ", x(" + q + "))", "if(" + q + ", x(" + p + "))"});
  }
  const std::string file = karvel::testing::ElementaryFile(texts);
  // The lists go out before the search: it never starts in earnest.
  TGoneReader gone;
  std::ostream out(&gone);
  TheoryDocument document;
  const TRefreshResult result = WriteJsonReport(document, ToolRequestFromBytes(file), out);
  EXPECT_TRUE(result.SearchStopped);
  EXPECT_LT(result.InterpretationCount, 4096u);
  EXPECT_LE(gone.Tries, 1u);
}

}  // namespace
}  // namespace ostrel
