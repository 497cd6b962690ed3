#include "MatchCommand.h"

#include <ostream>
#include <sstream>
#include <unordered_map>
#include <utility>

#include "TheoryDocument.h"

namespace ostrel {

using karvel::TKarvelSentence;

namespace {

// The one comparison of the program that ignores letter case. Bytes outside
// ASCII compare exactly, so UTF-8 texts are never split or folded.
std::string LowerAscii(std::string_view text) {
  std::string lower(text);
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return lower;
}

// The first variable of template M for each of its tokens, letter case
// ignored, so that looking up B's variables costs one probe each.
class TTemplateTokens {
 public:
  explicit TTemplateTokens(const TKarvelSentence& m) {
    FFirst.reserve(m.Variables.size());
    for (std::size_t k = 0; k < m.Variables.size(); ++k) FFirst.try_emplace(LowerAscii(m.Variables[k]), k);
  }
  //! Values of B's variables from those of M: a token of M (case ignored,
  //! first such) gives its value, any other token stays itself.
  std::vector<std::string> ValuesFor(const TKarvelSentence& b, const std::vector<std::string>& values) const {
    std::vector<std::string> result;
    result.reserve(b.Variables.size());
    for (const std::string& v : b.Variables) {
      const auto found = FFirst.find(LowerAscii(v));
      result.push_back(found != FFirst.end() && found->second < values.size() ? values[found->second] : v);
    }
    return result;
  }

 private:
  std::unordered_map<std::string, std::size_t> FFirst;
};

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
    const TTemplateTokens tokens(*m);
    for (const auto& [list, assumption] : lists) {
      for (TKarvelSentence* b : *list) {
        if (b->Text == m->Text || b->Text.find(m->Text) == std::string::npos) continue;
        std::vector<std::string> bValues = tokens.ValuesFor(*b, values);
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

namespace {

void WriteEntry(std::ostream& out, const std::string& templateText, std::string_view instanceText,
                const std::vector<std::string>& variables, const std::vector<std::string>& values) {
  out << "    " << templateText << "\n    " << instanceText << '\n';
  for (std::size_t j = 0; j < variables.size(); ++j)
    out << "        " << variables[j] << ": " << (j < values.size() ? values[j] : "") << '\n';
  out << '\n';
}

}  // namespace

void WriteMatchReport(TheoryDocument& document, std::string_view text, std::ostream& out) {
  // MatchReportLines of MatchSentence, entry by entry as it is found: only
  // the exact matches are kept, and each other match's instance is only its
  // text, so neither the instances nor the report are ever held whole.
  out << "Sentence to match:\n\n    " << text << "\n\nExact matches found:\n\n";
  if (karvel::IndexOfText(document.ArgumentSentences(), text) < 0) return;
  karvel::TKarvelTheory& theory = document.Theory();
  const karvel::TListOfKarvelSentences* lists[] = {&theory.Assumptions, &theory.Issues};
  std::vector<TMatchEntry> exact;
  for (const auto* list : lists) {
    for (TKarvelSentence* s : *list) {
      if (s->Variables.empty()) continue;
      TMatchEntry entry{s, s->Text, std::string(text), {}};
      if (karvel::MatchTemplate(s->Text, text, s->Variables, entry.Values)) exact.push_back(std::move(entry));
    }
  }
  for (const TMatchEntry& entry : exact) {
    if (!out.good()) return;
    WriteEntry(out, entry.TemplateText, entry.InstanceText, entry.Template->Variables, entry.Values);
  }
  bool others = false;
  for (const TMatchEntry& seed : exact) {
    const TKarvelSentence* m = seed.Template;
    const TTemplateTokens tokens(*m);
    for (const auto* list : lists) {
      for (TKarvelSentence* b : *list) {
        if (b->Text == m->Text || b->Text.find(m->Text) == std::string::npos) continue;
        // A reader that went away gets nothing more.
        if (!out.good()) return;
        const std::vector<std::string> values = tokens.ValuesFor(*b, seed.Values);
        const std::string instance = karvel::InstantiatedText(b, values);
        if (!others) out << "Other matches found:\n\n";
        others = true;
        WriteEntry(out, b->Text, instance, b->Variables, values);
      }
    }
  }
}

std::string MatchReportText(TheoryDocument& document, std::string_view text) {
  std::ostringstream out;
  WriteMatchReport(document, text, out);
  return std::move(out).str();
}

}  // namespace ostrel
