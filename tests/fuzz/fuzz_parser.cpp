// Parses arbitrary bytes as a typed sentence and checks:
// - the structure, texts and variables equal those of the plain parser;
// - every compound text is composed from its parts, elementary parts are
//   trimmed, and CollectVariables gives the variables the parser recorded;
// - the text of the result parses again to the same text, where the syntax
//   guarantees it (see CleanParts);
// - the lines of the input, parsed as the assumptions of a theory, give the
//   closure and interpretations of the plain enumeration.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "KarvelUnit.h"
#include "PlainKarvel.h"

using namespace karvel;

namespace {

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

void CheckComposed(TKarvelSentence* root) {
  std::vector<TKarvelSentence*> stack{root};
  while (!stack.empty()) {
    TKarvelSentence* s = stack.back();
    stack.pop_back();
    Check(s->Kind() != TSentenceKind::Plain);
    if (auto* n = AsNegation(s)) {
      Check(s->Text == "x(" + n->NegatedSentence->Text + ")");
      stack.push_back(n->NegatedSentence);
    } else if (auto* c = AsConditional(s)) {
      Check(!c->Antecedents.empty());
      std::string text = "if(";
      for (std::size_t i = 0; i < c->Antecedents.size(); ++i)
        text += (i ? ", " : "") + c->Antecedents[i]->Text;
      Check(s->Text == text + ", " + c->Consequent->Text + ")");
      stack.insert(stack.end(), c->Antecedents.begin(), c->Antecedents.end());
      stack.push_back(c->Consequent);
    } else {
      Check(plain::Trim(s->Text) == s->Text);
    }
  }
}

// A compound's text parses back into the same structure when every
// elementary part ends where the parser would end it again: non-empty, no
// "," or ")" inside, and not itself opening a form. Parts such as ")" (from
// "x()") or "if(a) )" (from "x(if(a) )") grow by one ")" on every re-parse.
bool CleanParts(const TKarvelSentence* root) {
  std::vector<const TKarvelSentence*> stack{root};
  while (!stack.empty()) {
    const TKarvelSentence* s = stack.back();
    stack.pop_back();
    if (const auto* n = AsNegation(s)) {
      stack.push_back(n->NegatedSentence);
    } else if (const auto* c = AsConditional(s)) {
      stack.insert(stack.end(), c->Antecedents.begin(), c->Antecedents.end());
      stack.push_back(c->Consequent);
    } else if (s != root) {
      const std::string_view t = s->Text;
      if (t.empty() || t.find_first_of(",)") != std::string_view::npos || t.substr(0, 2) == "x(" ||
          t.substr(0, 3) == "if(")
        return false;
    }
  }
  return true;
}

void CheckTheoryOfLines(std::string_view text) {
  TKarvelTheory theory;
  while (!text.empty() && theory.Assumptions.size() < 10) {
    const std::size_t end = text.find('\n');
    TKarvelSentence* s = ParseSentence(text.substr(0, end), theory.Arena());
    s->IsAssumption = true;
    theory.Assumptions.push_back(s);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  const auto& assumptions = theory.Assumptions;
  TListOfKarvelSentences closure;
  DeductiveClosure(assumptions, closure);
  Check(closure == plain::Closure(assumptions));
  TListOfKarvelSentences grounded;
  theory.ComputeGroundedAssumptions(grounded);
  Check(grounded == plain::Grounded(assumptions));
  TListOfListOfKarvelSentences interpretations;
  theory.ComputeInterpretations(interpretations);
  Check(interpretations == plain::Interpretations(assumptions));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  TSentenceArena arena;
  TKarvelSentence* s = ParseSentence(text, arena);
  Check(s != nullptr);
  CheckComposed(s);

  const plain::TNodePtr expected = plain::Parse(text);
  Check(plain::SameSentence(s, *expected));

  const std::vector<std::string> variables = s->Variables;
  CollectVariables(s);
  Check(s->Variables == variables);

  TSentenceArena again;
  TKarvelSentence* r = ParseSentence(s->Text, again);
  if (IsElementary(s)) {
    // A top-level elementary text is the trimmed input: parsing it is
    // parsing the same text.
    Check(IsElementary(r) && r->Text == s->Text);
  } else if (CleanParts(s)) {
    // The text budget is measured on the input, so a canonical text much
    // shorter than a padded input may fall back to one elementary sentence,
    // but never changes.
    Check(r->Text == s->Text);
  }

  if (text.find('\n') != std::string_view::npos && size <= 2048) CheckTheoryOfLines(text);
  return 0;
}
