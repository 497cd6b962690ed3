#include "MatchCommand.h"

#include <utility>

#include "TheoryDocument.h"

namespace ostrel {

using karvel::TKarvelSentence;

namespace {

// The one comparison of the program that ignores letter case. Bytes outside
// ASCII compare exactly, so UTF-8 texts are never split or folded.
bool SameTextIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  for (std::size_t i = 0; i < a.size(); ++i)
    if (lower(a[i]) != lower(b[i])) return false;
  return true;
}

// Values of B's variables from those of template M: a token of M (case
// ignored, first such) gives its value, any other token stays itself.
std::vector<std::string> ValuesFromTemplate(const TKarvelSentence& b, const TKarvelSentence& m,
                                            const std::vector<std::string>& values) {
  std::vector<std::string> result;
  result.reserve(b.Variables.size());
  for (const std::string& v : b.Variables) {
    std::size_t k = 0;
    while (k < m.Variables.size() && !SameTextIgnoringCase(v, m.Variables[k])) ++k;
    result.push_back(k < m.Variables.size() && k < values.size() ? values[k] : v);
  }
  return result;
}

}  // namespace

TMatchResult MatchSentence(std::string_view text, karvel::TKarvelTheory& theory,
                           karvel::TSentenceArena& arena) {
  // Assumptions first, then issues, each list with whether it holds assumptions.
  const std::pair<const karvel::TListOfKarvelSentences*, bool> lists[] = {{&theory.Assumptions, true},
                                                                          {&theory.Issues, false}};
  TMatchResult result;
  for (const auto& source : lists) {
    for (TKarvelSentence* s : *source.first) {
      if (s->Variables.empty()) continue;
      TMatchEntry entry{s, s->Text, std::string(text), {}};
      if (karvel::MatchTemplate(s->Text, text, s->Variables, entry.Values))
        result.Entries.push_back(std::move(entry));
    }
  }
  result.ExactCount = result.Entries.size();

  for (std::size_t i = 0; i < result.ExactCount; ++i) {
    // Entries appended below may move the vector: copy what the seed needs.
    TKarvelSentence* m = result.Entries[i].Template;
    const std::vector<std::string> values = result.Entries[i].Values;
    for (const auto& [list, assumption] : lists) {
      for (TKarvelSentence* b : *list) {
        if (b->Text == m->Text || b->Text.find(m->Text) == std::string::npos) continue;
        std::vector<std::string> bValues = ValuesFromTemplate(*b, *m, values);
        TKarvelSentence* instance = karvel::InstantiateSentence(b, bValues, arena);
        instance->IsAssumption = assumption;
        instance->IsIssue = !assumption;
        result.Entries.push_back({b, b->Text, instance->Text, std::move(bValues)});
        result.Instances.push_back(instance);
      }
    }
  }
  return result;
}

std::vector<std::string> MatchReportLines(std::string_view text, const TMatchResult& result) {
  std::vector<std::string> lines{"Sentence to match:",   "", "    " + std::string(text), "",
                                 "Exact matches found:", ""};
  for (std::size_t i = 0; i < result.Entries.size(); ++i) {
    const TMatchEntry& entry = result.Entries[i];
    if (i == result.ExactCount) lines.insert(lines.end(), {"Other matches found:", ""});
    lines.push_back("    " + entry.TemplateText);
    lines.push_back("    " + entry.InstanceText);
    const std::vector<std::string>& variables = entry.Template->Variables;
    for (std::size_t j = 0; j < variables.size(); ++j)
      lines.push_back("        " + variables[j] + ": " + (j < entry.Values.size() ? entry.Values[j] : ""));
    lines.emplace_back();
  }
  return lines;
}

std::string MatchReportText(TheoryDocument& document, std::string_view text) {
  TMatchResult result;
  // The instances are only reported; they die with this arena.
  karvel::TSentenceArena instances;
  if (karvel::IndexOfText(document.ArgumentSentences(), text) >= 0)
    result = MatchSentence(text, document.Theory(), instances);
  std::string out;
  for (const std::string& line : MatchReportLines(text, result)) out.append(line).append("\n");
  return out;
}

}  // namespace ostrel
