#include "WhyReport.h"

#include <ostream>

#include "JsonReport.h"

namespace ostrel {

namespace {

using Json = nlohmann::ordered_json;
using karvel::TExplainedStatus;
using karvel::TExplanation;

const char* StatusWord(TExplainedStatus status) {
  switch (status) {
    case TExplainedStatus::Justified:
      return "justified";
    case TExplainedStatus::Defeated:
      return "defeated";
    case TExplainedStatus::Neither:
      break;
  }
  return "neither";
}

Json StepJson(const karvel::TDerivationStep& step) {
  Json entry;
  entry["text"] = JsonText(step.Sentence->Text);
  if (step.IsAssumption()) {
    entry["from"] = "assumption";
  } else {
    entry["rule"] = step.Rule;
    entry["premises"] = step.Premises;
  }
  return entry;
}

// A headline stays one line however long the derivation: the first few
// assumptions name the source, the count tells the rest.
constexpr std::size_t kNamedAssumptions = 4;

std::string Sources(const TExplanation& explanation) {
  std::vector<std::string_view> names;
  std::size_t total = 0;
  for (const auto& step : explanation.Steps) {
    if (!step.IsAssumption()) continue;
    if (++total <= kNamedAssumptions) names.push_back(step.Sentence->Text);
  }
  std::string out;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i > 0) out += (i + 1 == names.size() && total == names.size()) ? " and " : ", ";
    out += names[i];
  }
  if (total > names.size()) out += " and " + std::to_string(total - names.size()) + " more assumptions";
  return out;
}

}  // namespace

bool IsArgumentText(const karvel::TKarvelTheory& theory, std::string_view text) {
  return karvel::IndexOfText(theory.Assumptions, text) >= 0 || karvel::IndexOfText(theory.Issues, text) >= 0;
}

std::optional<TExplanation> ExplainInDocument(const TheoryDocument& document, std::size_t index,
                                              std::string_view text) {
  const auto& interpretations = document.Interpretations();
  if (index >= interpretations.size()) return std::nullopt;
  return karvel::Explain(interpretations[index], text);
}

Json WhyJson(std::size_t number, std::string_view text, const TExplanation& explanation) {
  Json report;
  report["interpretation"] = number;
  report["text"] = JsonText(text);
  report["status"] = StatusWord(explanation.Status);
  report["goal"] =
      explanation.Status == TExplainedStatus::Neither ? Json(nullptr) : JsonText(explanation.Goal);
  Json steps = Json::array();
  for (const auto& step : explanation.Steps) steps.push_back(StepJson(step));
  report["steps"] = std::move(steps);
  return report;
}

std::string WhyJsonText(std::size_t number, std::string_view text, const TExplanation& explanation) {
  // The keys as WhyJson orders them, one step a line so that two outputs
  // compare line by line.
  const Json report = WhyJson(number, text, explanation);
  std::string out = "{\"interpretation\":" + report["interpretation"].dump() +
                    ",\"text\":" + report["text"].dump() + ",\"status\":" + report["status"].dump() +
                    ",\"goal\":" + report["goal"].dump() + ",\n\"steps\":[";
  const Json& steps = report["steps"];
  for (std::size_t i = 0; i < steps.size(); ++i) out += (i == 0 ? "\n" : ",\n") + steps[i].dump();
  out += steps.empty() ? "]}\n" : "\n]}\n";
  return out;
}

TWhyReport WriteWhyReport(TheoryDocument& document, TRefreshRequest request, std::string_view text,
                          std::size_t number, std::ostream& out) {
  // Only the wanted interpretation is kept; a text the argument lacks stops
  // the search at once, since nothing will be explained.
  bool missing = false;
  request.ListsReady = [&] { missing = !IsArgumentText(document.Theory(), text); };
  request.Progress = [&missing](std::size_t) { return !missing; };
  karvel::TListOfKarvelSentences chosen;
  std::size_t count = 0;
  request.Visit = [&](const karvel::TListOfKarvelSentences& members) {
    if (++count == number) chosen = members;
  };
  const TRefreshResult result = Refresh(document, request);
  if (!result.Loaded()) return {TWhyOutcome::FileError, result.Error->what()};
  if (missing)
    return {TWhyOutcome::NoSuchSentence, "No sentence of the argument has the text " + std::string(text)};
  if (!result.InterpretationsComputed) {
    return {TWhyOutcome::NoInterpretation,
            request.Options.ShowStructureOnly
                ? "No interpretation is computed when only the structure is shown"
                : "No interpretation is computed for a theory without assumptions"};
  }
  if (count == 0) return {TWhyOutcome::NoInterpretation, "There is no dialectical interpretation"};
  if (number == 0 || number > count) {
    return {TWhyOutcome::NoInterpretation, "There is no interpretation " + std::to_string(number) +
                                               ": there " +
                                               (count == 1 ? "is 1" : "are " + std::to_string(count))};
  }
  out << WhyJsonText(number, text, karvel::Explain(chosen, text));
  return {};
}

std::string WhyHeadline(std::size_t number, std::string_view text, const TExplanation& explanation) {
  std::string out(text);
  const std::string where = " in interpretation " + std::to_string(number) + ": ";
  const bool assumed = explanation.Steps.size() == 1;  // the goal is an assumption itself
  switch (explanation.Status) {
    case TExplainedStatus::Justified:
      out += " is justified" + where +
             (assumed ? "it is an assumption of the interpretation."
                      : "it follows from " + Sources(explanation) + ".");
      break;
    case TExplainedStatus::Defeated:
      out += " is defeated" + where +
             (assumed ? "its dialectical negation is an assumption of the interpretation."
                      : "its dialectical negation follows from " + Sources(explanation) + ".");
      break;
    case TExplainedStatus::Neither:
      out += " is neither justified nor defeated" + where +
             "neither it nor its dialectical negation follows from the interpretation's assumptions.";
      break;
  }
  return out;
}

std::vector<TWhyLine> WhyTreeLines(const TExplanation& explanation) {
  std::vector<TWhyLine> lines;
  if (explanation.Steps.empty()) return lines;
  const auto& steps = explanation.Steps;
  std::vector<bool> shown(steps.size(), false);
  // Depth-first from the goal with an explicit stack (derivations can be
  // deep); children are pushed in reverse so the rule comes out first.
  struct TVisit {
    int Step;
    int Depth;
    TWhyLine::TRole Role;
  };
  std::vector<TVisit> stack{{static_cast<int>(steps.size()) - 1, 0, TWhyLine::TRole::Goal}};
  while (!stack.empty()) {
    const TVisit visit = stack.back();
    stack.pop_back();
    const auto& step = steps[visit.Step];
    TWhyLine line;
    line.Depth = visit.Depth;
    line.Role = visit.Role;
    line.Step = visit.Step;
    line.Text = step.Sentence->Text;
    if (step.IsAssumption()) {
      line.Kind = TWhyLine::TKind::Assumption;
    } else if (shown[visit.Step]) {
      line.Kind = TWhyLine::TKind::Repeated;
    } else {
      line.Kind = TWhyLine::TKind::Derived;
      shown[visit.Step] = true;
      for (auto it = step.Premises.rbegin(); it != step.Premises.rend(); ++it)
        stack.push_back({*it, visit.Depth + 1, TWhyLine::TRole::Premise});
      stack.push_back({step.Rule, visit.Depth + 1, TWhyLine::TRole::Rule});
    }
    lines.push_back(std::move(line));
  }
  return lines;
}

std::string WhyLineText(const TWhyLine& line) {
  std::string out;
  if (line.Role == TWhyLine::TRole::Rule) out = "rule: ";
  if (line.Role == TWhyLine::TRole::Premise) out = "from: ";
  out += line.Text;
  if (line.Kind == TWhyLine::TKind::Assumption) out += " (assumption)";
  if (line.Kind == TWhyLine::TKind::Repeated) out += " (derived above)";
  return out;
}

}  // namespace ostrel
