// Reads arbitrary bytes as a theory file, the way a reload does, and checks:
// - the file text, the theory and the rewritten file equal those of the plain
//   reader (PlainKarvel.h);
// - reading the rewritten file again and writing it gives the same bytes;
// - for small theories, closure, grounded assumptions, interpretations and
//   statuses equal those of the plain enumeration.
// The whole input is the file; an odd first byte (a leading CR, say)
// switches sentence parsing off, so seed files stay valid theory files.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "KarvelUnit.h"
#include "PlainKarvel.h"

using namespace karvel;

namespace {

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

constexpr std::string_view kTags[] = {"<KARVEL>",
                                      "</KARVEL>",
                                      "<THEORY>",
                                      "</THEORY>",
                                      "<ISSUES>",
                                      "</ISSUES>",
                                      "<SENTENCE>",
                                      "</SENTENCE>",
                                      "<ELEMENTARYSENTENCE>",
                                      "</ELEMENTARYSENTENCE>",
                                      "<DIALECTICALNEGATION>",
                                      "</DIALECTICALNEGATION>",
                                      "<CONDITIONAL>",
                                      "</CONDITIONAL>",
                                      "<ANTECEDENT>",
                                      "</ANTECEDENT>",
                                      "<CONSEQUENT>",
                                      "</CONSEQUENT>"};

// Texts are written without escaping, so one holding a tag cannot come back
// unchanged; the round trip is promised only for the others.
bool WrittenVerbatimSafely(const TListOfKarvelSentences& sentences) {
  std::vector<const TKarvelSentence*> stack(sentences.begin(), sentences.end());
  while (!stack.empty()) {
    const TKarvelSentence* s = stack.back();
    stack.pop_back();
    if (IsElementary(s)) {
      for (auto tag : kTags)
        if (s->Text.find(tag) != std::string::npos) return false;
    } else if (const auto* n = AsNegation(s)) {
      stack.push_back(n->NegatedSentence);
    } else if (const auto* c = AsConditional(s)) {
      stack.insert(stack.end(), c->Antecedents.begin(), c->Antecedents.end());
      stack.push_back(c->Consequent);
    }
  }
  return true;
}

std::size_t DistinctParts(const TListOfKarvelSentences& sentences) {
  TListOfKarvelSentences parts;
  TSentenceCollector collector(parts);
  for (auto* s : sentences) collector.Collect(s);
  return parts.size();
}

void CheckLogic(TKarvelTheory& theory) {
  const auto& assumptions = theory.Assumptions;
  std::unordered_set<const TKarvelSentence*> objects(assumptions.begin(), assumptions.end());

  TListOfListOfKarvelSentences interpretations;
  theory.ComputeInterpretations(interpretations);
  for (const auto& interpretation : interpretations) {
    std::unordered_set<std::string_view> texts;
    for (auto* s : interpretation) {
      Check(objects.count(s) == 1);         // an assumption object of the theory
      Check(texts.insert(s->Text).second);  // each once
    }
  }

  // The plain versions rescan lists at every step; keep them to theories
  // where that stays cheap.
  if (assumptions.size() > 10 || DistinctParts(assumptions) > 400) return;

  TListOfKarvelSentences closure;
  DeductiveClosure(assumptions, closure);
  Check(closure == plain::Closure(assumptions));
  TKarvelSentence* culprit = nullptr;
  TKarvelSentence* plainCulprit = nullptr;
  Check(IsConsistent(assumptions, culprit) == plain::Consistent(assumptions, plainCulprit));
  Check(culprit == plainCulprit);

  TListOfKarvelSentences grounded;
  theory.ComputeGroundedAssumptions(grounded);
  Check(grounded == plain::Grounded(assumptions));
  Check(interpretations == plain::Interpretations(assumptions));

  // Statuses: every collected part gets them from the closure of the first
  // interpretation; parts not collected (a repeated text inside one
  // sentence) keep what they had, which after reading is nothing.
  const TListOfKarvelSentences chosen =
      interpretations.empty() ? TListOfKarvelSentences{} : interpretations.front();
  theory.SetStatuses(chosen);
  const auto derived = plain::Closure(chosen);
  std::unordered_set<const TKarvelSentence*> collected;
  std::vector<TKarvelSentence*> all;
  for (auto* top : assumptions) {
    TListOfKarvelSentences parts;
    CollectSubsentences(top, parts);
    collected.insert(parts.begin(), parts.end());
  }
  for (auto* top : theory.Issues) {
    TListOfKarvelSentences parts;
    CollectSubsentences(top, parts);
    collected.insert(parts.begin(), parts.end());
  }
  std::vector<TKarvelSentence*> stack(assumptions.begin(), assumptions.end());
  stack.insert(stack.end(), theory.Issues.begin(), theory.Issues.end());
  while (!stack.empty()) {
    TKarvelSentence* s = stack.back();
    stack.pop_back();
    const bool isCollected = collected.count(s) != 0;
    Check(s->IsJustified == (isCollected && plain::PlainIndexOfText(derived, s->Text) >= 0));
    Check(s->IsDefeated == (isCollected && plain::PlainIndexOfText(derived, plain::Negation(s)) >= 0));
    if (auto* n = AsNegation(s)) {
      stack.push_back(n->NegatedSentence);
    } else if (auto* c = AsConditional(s)) {
      stack.insert(stack.end(), c->Antecedents.begin(), c->Antecedents.end());
      stack.push_back(c->Consequent);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const bool parse = (data[0] & 1) == 0;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);

  TKarvelFile file;
  file.LoadFromBytes(bytes);
  Check(file.Text == plain::LoadFromBytes(bytes));

  TKarvelTheory theory;
  theory.LoadFromKarvelFile(file);
  std::string_view theoryText;
  plain::TextAfterTag(file.Text, "<THEORY>", theoryText);
  Check(theory.Text == theoryText);

  theory.ParseText(parse);
  for (auto* a : theory.Assumptions) Check(a->IsAssumption && !a->IsIssue);
  for (auto* i : theory.Issues) Check(i->IsIssue && !i->IsAssumption);
  TKarvelFile written;
  theory.SaveToKarvelFile(written);

  plain::TTheory expected;
  plain::TReader(parse).ParseText(theory.Text, expected);
  Check(written.Text == plain::Write(expected));

  // The next reload reads what this one wrote (SaveToFile adds CR LF).
  if (WrittenVerbatimSafely(theory.Assumptions) && WrittenVerbatimSafely(theory.Issues)) {
    TKarvelFile again;
    again.LoadFromBytes(written.Text + "\r\n");
    Check(again.Text == written.Text);
    TKarvelTheory reread;
    reread.LoadFromKarvelFile(again);
    reread.ParseText(parse);
    TKarvelFile rewritten;
    reread.SaveToKarvelFile(rewritten);
    Check(rewritten.Text == written.Text);
  }

  if (theory.Assumptions.size() <= 12) CheckLogic(theory);
  return 0;
}
