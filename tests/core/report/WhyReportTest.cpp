// ostrel-report --why and the Why window's tree: on every example, option
// setting, interpretation and sentence the JSON is checked as a derivation
// from its texts alone, its status against what the window shows; then the
// outcomes that write nothing, texts that are not UTF-8, and the tree.
#include "WhyReport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <sstream>

#include "JsonReport.h"
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

struct TWhy {
  TWhyReport Report;
  std::string Out;
};

TWhy Why(const TRefreshRequest& request, const std::string& text, std::size_t number) {
  TheoryDocument document;
  std::ostringstream out;
  TWhy why{WriteWhyReport(document, request, text, number, out), out.str()};
  return why;
}

// What is wrong with the report's steps as a derivation of its goal, read
// from the texts alone: a conditional's text spells its antecedents and its
// consequent, and kinds come from the argument's lists.
std::string Fault(const Json& report, const std::set<std::string>& assumed,
                  const std::map<std::string, bool>& isConditional) {
  const Json& steps = report["steps"];
  if (steps.empty()) return "no steps";
  std::vector<std::string> texts;
  std::vector<bool> used(steps.size(), false);
  for (std::size_t i = 0; i < steps.size(); ++i) {
    const Json& step = steps[i];
    const std::string text = BytesOfJsonText(step["text"]);
    texts.push_back(text);
    if (Keys(step) == V{"text", "from"}) {
      if (step["from"] != "assumption" || !assumed.count(text)) return text + ": not an assumption";
      continue;
    }
    if (Keys(step) != V{"text", "rule", "premises"}) return "keys of " + step.dump();
    const std::size_t rule = step["rule"].get<std::size_t>();
    if (rule >= i) return text + ": rule not earlier";
    std::string spelled = "if(";
    for (const Json& p : step["premises"]) {
      const std::size_t premise = p.get<std::size_t>();
      if (premise >= i) return text + ": premise not earlier";
      spelled += texts[premise] + ", ";
      used[premise] = true;
    }
    spelled += text + ")";
    const auto kind = isConditional.find(texts[rule]);
    if (texts[rule] != spelled || kind == isConditional.end() || !kind->second)
      return text + ": " + texts[rule] + " is not its rule";
    used[rule] = true;
  }
  if (texts.back() != BytesOfJsonText(report["goal"])) return "goal not last";
  for (std::size_t i = 0; i + 1 < steps.size(); ++i)
    if (!used[i]) return texts[i] + " is a detour";
  return {};
}

TEST(WhyReportTest, EveryExampleSentenceAndInterpretationIsExplainedAsTheWindowShowsIt) {
  int justified = 0, defeated = 0, neither = 0, refused = 0;
  for (const auto& entry : std::filesystem::directory_iterator(OSTREL_EXAMPLES)) {
    const std::string path = entry.path().string();
    for (const bool parse : {true, false}) {
      for (const bool structureOnly : {false, true}) {
        const TRefreshRequest request = ToolRequest(path, Options(parse, structureOnly));
        TheoryDocument document;
        const TRefreshResult result = Refresh(document, request);
        ASSERT_TRUE(result.Loaded());
        karvel::TKarvelTheory& theory = document.Theory();
        std::map<std::string, bool> isConditional;
        karvel::TListOfKarvelSentences sentences = theory.Assumptions;
        sentences.insert(sentences.end(), theory.Issues.begin(), theory.Issues.end());
        for (const auto* s : sentences) isConditional.emplace(s->Text, karvel::IsConditional(s));
        const std::size_t count = document.Interpretations().size();
        if (count == 0) {
          for (const auto* s : sentences) {
            const TWhy why = Why(request, s->Text, 1);
            EXPECT_EQ(why.Report.Outcome, TWhyOutcome::NoInterpretation) << path << " " << s->Text;
            EXPECT_FALSE(why.Report.Message.empty());
            EXPECT_EQ(why.Out, "");
            ++refused;
          }
          continue;
        }
        for (std::size_t i = 0; i < count; ++i) {
          document.ApplyInterpretation(static_cast<int>(i));  // as a button does
          std::set<std::string> assumed;
          for (const auto* s : document.Interpretations()[i]) assumed.insert(s->Text);
          for (const auto* s : sentences) {
            const TWhy why = Why(request, s->Text, i + 1);
            ASSERT_EQ(why.Report.Outcome, TWhyOutcome::Written) << why.Report.Message;
            const Json report = Json::parse(why.Out);
            ASSERT_EQ(Keys(report), (V{"interpretation", "text", "status", "goal", "steps"}));
            EXPECT_EQ(report["interpretation"], i + 1);
            EXPECT_EQ(BytesOfJsonText(report["text"]), s->Text);
            const std::string status = report["status"];
            const std::string where = path + " #" + std::to_string(i + 1) + " " + s->Text;
            if (s->IsJustified) {
              EXPECT_EQ(status, "justified") << where;
              EXPECT_EQ(BytesOfJsonText(report["goal"]), s->Text);
              ++justified;
            } else if (s->IsDefeated) {
              EXPECT_EQ(status, "defeated") << where;
              EXPECT_EQ(BytesOfJsonText(report["goal"]), karvel::NegationText(s->Text));
              ++defeated;
            } else {
              EXPECT_EQ(status, "neither") << where;
              EXPECT_TRUE(report["goal"].is_null() && report["steps"].empty()) << where;
              ++neither;
              continue;
            }
            EXPECT_EQ(Fault(report, assumed, isConditional), "") << where;
          }
        }
      }
    }
  }
  EXPECT_GT(justified, 20);
  EXPECT_GT(defeated, 5);
  EXPECT_GT(neither, 5);
  EXPECT_GT(refused, 10);
}

TEST(WhyReportTest, NothingIsWrittenForAMissingTextFileOrInterpretation) {
  const std::string birds = std::string(OSTREL_EXAMPLES) + "/birds.kvl";
  const std::string three = std::string(OSTREL_EXAMPLES) + "/three-interpretations.kvl";
  TheoryDocument document;
  ASSERT_TRUE(Refresh(document, ToolRequest(three)).Loaded());
  const std::size_t count = document.Interpretations().size();
  ASSERT_EQ(count, 3u);
  const std::string text = document.Theory().Assumptions.front()->Text;

  const auto outcome = [](const TRefreshRequest& request, const std::string& t, std::size_t n) {
    const TWhy why = Why(request, t, n);
    EXPECT_EQ(why.Out, "");
    EXPECT_FALSE(why.Report.Message.empty());
    return why.Report.Outcome;
  };
  EXPECT_EQ(outcome(ToolRequest(birds), "Tweety swims", 1), TWhyOutcome::NoSuchSentence);
  // A part of the argument is not a substring of one.
  EXPECT_EQ(outcome(ToolRequest(birds), "Tweety", 1), TWhyOutcome::NoSuchSentence);
  EXPECT_EQ(outcome(ToolRequest(birds + ".missing"), "Tweety flies", 1), TWhyOutcome::FileError);
  EXPECT_EQ(outcome(ToolRequest(three), text, 0), TWhyOutcome::NoInterpretation);
  EXPECT_EQ(outcome(ToolRequest(three), text, count + 1), TWhyOutcome::NoInterpretation);
  EXPECT_EQ(outcome(ToolRequestFromBytes(karvel::testing::ElementaryFile({}, {"p"})), "p", 1),
            TWhyOutcome::NoInterpretation);
  EXPECT_EQ(Why(ToolRequest(three), text, count).Report.Outcome, TWhyOutcome::Written);
}

TEST(WhyReportTest, TextsThatAreNotUtf8AreWrittenAsLatin1) {
  const std::string cafe = "caf\xE9";
  const std::string file = karvel::testing::ElementaryFile({cafe, "if(" + cafe + ", x(b))", "b"});
  const TWhy defeated = Why(ToolRequestFromBytes(file), "b", 1);
  ASSERT_EQ(defeated.Report.Outcome, TWhyOutcome::Written) << defeated.Report.Message;
  const Json report = Json::parse(defeated.Out);
  EXPECT_EQ(report["status"], "defeated");
  EXPECT_EQ(report["goal"], "x(b)");
  ASSERT_EQ(report["steps"].size(), 3u);
  EXPECT_EQ(report["steps"][0]["text"], Json::parse(R"({"latin1":"caf\u00e9"})"));
  EXPECT_EQ(BytesOfJsonText(report["steps"][1]["text"]), "if(" + cafe + ", x(b))");

  const TWhy justified = Why(ToolRequestFromBytes(file), cafe, 1);
  const Json own = Json::parse(justified.Out);
  EXPECT_EQ(own["text"], Json::parse(R"({"latin1":"caf\u00e9"})"));
  EXPECT_EQ(own["goal"], own["text"]);
}

TEST(WhyReportTest, OneLineForTheHeadAndOnePerStep) {
  karvel::TSentenceArena arena;
  const auto interpretation = karvel::testing::Parse(arena, {"d", "if(d, x(c))", "c"});
  EXPECT_EQ(WhyJsonText(2, "c", karvel::Explain(interpretation, "c")),
            "{\"interpretation\":2,\"text\":\"c\",\"status\":\"justified\",\"goal\":\"c\",\n\"steps\":[\n"
            "{\"text\":\"c\",\"from\":\"assumption\"}\n]}\n");
  EXPECT_EQ(WhyJsonText(1, "e", karvel::Explain(interpretation, "e")),
            "{\"interpretation\":1,\"text\":\"e\",\"status\":\"neither\",\"goal\":null,\n\"steps\":[]}\n");
}

class WhyTreeTest : public ::testing::Test {
 protected:
  V Tree(const V& assumptions, const std::string& text) {
    const auto interpretation = karvel::testing::Parse(arena, assumptions);
    explanation = karvel::Explain(interpretation, text);
    V lines;
    for (const TWhyLine& line : WhyTreeLines(explanation))
      lines.push_back(std::string(4 * line.Depth, ' ') + WhyLineText(line));
    return lines;
  }
  karvel::TSentenceArena arena;
  karvel::TExplanation explanation;
};

TEST_F(WhyTreeTest, TheGoalOnTopTheRuleThenThePremisesBelowIt) {
  const V birds{"Tweety is a penguin", "if(Tweety is a penguin, x(Tweety flies))"};
  EXPECT_EQ(Tree(birds, "Tweety flies"),
            (V{"x(Tweety flies)", "    rule: if(Tweety is a penguin, x(Tweety flies)) (assumption)",
               "    from: Tweety is a penguin (assumption)"}));
  EXPECT_EQ(WhyHeadline(2, "Tweety flies", explanation),
            "Tweety flies is defeated in interpretation 2: its dialectical negation follows from Tweety is a "
            "penguin and if(Tweety is a penguin, x(Tweety flies)).");
}

TEST_F(WhyTreeTest, AStepUsedTwiceIsShownInFullOnce) {
  EXPECT_EQ(Tree({"a", "if(a, b)", "if(b, c)", "if(b, c, d)"}, "d"),
            (V{"d", "    rule: if(b, c, d) (assumption)", "    from: b",
               "        rule: if(a, b) (assumption)", "        from: a (assumption)", "    from: c",
               "        rule: if(b, c) (assumption)", "        from: b (derived above)"}));
  // Every line names its step, for the marks in the diagram.
  std::set<int> steps;
  for (const TWhyLine& line : WhyTreeLines(explanation)) steps.insert(line.Step);
  EXPECT_EQ(steps.size(), explanation.Steps.size());
}

TEST_F(WhyTreeTest, HeadlinesForAnAssumptionNeitherAndManySources) {
  EXPECT_EQ(Tree({"a"}, "a"), (V{"a (assumption)"}));
  EXPECT_EQ(WhyHeadline(1, "a", explanation),
            "a is justified in interpretation 1: it is an assumption of the interpretation.");
  EXPECT_TRUE(Tree({"a"}, "b").empty());
  EXPECT_EQ(
      WhyHeadline(3, "b", explanation),
      "b is neither justified nor defeated in interpretation 3: neither it nor its dialectical negation "
      "follows from the interpretation's assumptions.");
  Tree({"a", "b", "c", "d", "e", "if(a, b, c, d, e, x(f))"}, "f");
  EXPECT_EQ(WhyHeadline(1, "f", explanation),
            "f is defeated in interpretation 1: its dialectical negation follows from a, b, c, d and 2 more "
            "assumptions.");
}

}  // namespace
}  // namespace ostrel
