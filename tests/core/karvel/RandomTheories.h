// Seeded random theories over a few atoms for the differential tests: the
// search, the summary and the plain enumeration must agree on all of them.
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

inline int RandomPick(std::mt19937& random, int n) {
  return std::uniform_int_distribution<int>(0, n - 1)(random);
}

// Theories over a few atoms built to reach what the search must get right:
// loops of support, attacks on rules, rules derived by rules, and (when
// asked) texts that stand for two structures.

class TKnottyTheory {
 public:
  explicit TKnottyTheory(unsigned seed) : FRandom(seed) {}

  std::string Atom() { return "k" + std::to_string(RandomPick(FRandom, 5)); }
  std::string Attack() { return "if(" + Atom() + ", x(" + Atom() + "))"; }
  void Fill(TKarvelTheory& theory, bool ambiguous) {
    auto& arena = theory.Arena();
    const auto add = [&](TKarvelSentence* s) {
      if (IndexOfText(theory.Assumptions, s->Text) >= 0) return;
      s->IsAssumption = true;
      theory.Assumptions.push_back(s);
    };
    const int atoms = 2 + RandomPick(FRandom, 4);
    for (int i = 0; i < atoms; ++i) add(ParseSentence(Atom(), arena));
    const int rules = 2 + RandomPick(FRandom, 6);
    for (int i = 0; i < rules; ++i) {
      std::string text;
      switch (RandomPick(FRandom, 8)) {
        case 0: {  // a loop of support that may feed an attack
          const std::string a = Atom(), b = Atom();
          add(ParseSentence("if(" + a + ", " + b + ")", arena));
          text = "if(" + b + ", " + a + ")";
          break;
        }
        case 1:
          text = "if(" + Atom() + ", " + Attack() + ")";
          break;  // derived attack
        case 2:
          text = "if(" + Atom() + ", x(" + Attack() + "))";
          break;  // attack on a rule
        case 3:
          text = "if(" + Atom() + ", " + Atom() + ", x(" + Atom() + "))";
          break;
        case 4: {  // a mutual attack
          const std::string a = Atom(), b = Atom();
          add(ParseSentence("if(" + a + ", x(" + b + "))", arena));
          text = "if(" + b + ", x(" + a + "))";
          break;
        }
        default:
          text = Attack();
          break;
      }
      if (ambiguous && RandomPick(FRandom, 4) == 0) {
        // The text as one elementary assumption, and as a rule derived
        // by another: which object the closure holds depends on the order.
        add(arena.NewElementary(text));
        text = "if(" + Atom() + ", " + text + ")";
      }
      // The ambiguous kind: kept as one elementary text, while the same text
      // may be derived as a rule elsewhere.
      add(ambiguous && RandomPick(FRandom, 3) == 0 ? arena.NewElementary(text) : ParseSentence(text, arena));
    }
  }

 private:
  std::mt19937 FRandom;
};

}  // namespace karvel::testing
