// Seeded random theories for the tests that compare the logic with plain
// definitions: the differential tests and the derivation checks.
#pragma once

#include <random>
#include <string>
#include <vector>

#include "KarvelUnit.h"

namespace karvel::testing {

// Random texts over a few atoms: facts, negations, rules whose consequents
// are atoms, negations of atoms or of rules, and rules about rules.
class TRandomTheory {
 public:
  explicit TRandomTheory(unsigned seed) : FRandom(seed) {}

  std::string Atom() { return "p" + std::to_string(Pick(4)); }
  std::string Rule(int depth) {
    std::string text = "if(";
    const int antecedents = 1 + Pick(depth > 0 ? 1 : 2);
    for (int i = 0; i < antecedents; ++i) text += (Pick(4) == 0 ? "x(" + Atom() + ")" : Atom()) + ", ";
    switch (Pick(depth > 0 ? 2 : 4)) {
      case 0:
        text += Atom();
        break;
      case 1:
        text += "x(" + Atom() + ")";
        break;
      case 2:
        text += "x(" + Rule(depth + 1) + ")";
        break;
      default:
        text += Rule(depth + 1);
        break;
    }
    return text + ")";
  }
  // Mostly attacks between assumed atoms, so that cycles of attack (several
  // interpretations, or none) are common; some support and rules about rules.
  std::vector<std::string> Assumptions() {
    std::vector<std::string> texts;
    const int atoms = 2 + Pick(4);
    for (int i = 0; i < atoms; ++i) texts.push_back(Atom());
    const int rules = 1 + Pick(6);
    for (int i = 0; i < rules; ++i) {
      switch (Pick(8)) {
        case 0:
          texts.push_back("x(" + Atom() + ")");
          break;
        case 1:
        case 2:
          texts.push_back(Rule(0));
          break;
        default: {
          const std::string a = Atom(), b = Atom();
          texts.push_back("if(" + a + ", x(" + b + "))");
          if (Pick(2) == 0) texts.push_back("if(" + b + ", x(" + a + "))");
          break;
        }
      }
    }
    return texts;
  }
  int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(FRandom); }

 private:
  std::mt19937 FRandom;
};

// Assumptions with unique texts, as the reader makes them; sometimes one is
// kept elementary although its text is a rule, to reach the plain method.
inline void Fill(TKarvelTheory& theory, TRandomTheory& random, bool ambiguous) {
  std::vector<std::string> texts = random.Assumptions();
  for (const auto& t : texts) {
    if (IndexOfText(theory.Assumptions, t) >= 0) continue;
    TKarvelSentence* s =
        ambiguous && random.Pick(3) == 0 ? theory.Arena().NewElementary(t) : ParseSentence(t, theory.Arena());
    s->IsAssumption = true;
    theory.Assumptions.push_back(s);
  }
}

}  // namespace karvel::testing
