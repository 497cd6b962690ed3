// Knotty theories over a few atoms for the differential tests of the search
// and the summary: loops of support, rules about rules, ambiguous texts.
#pragma once

#include <random>
#include <string>
#include <vector>

#include "KarvelUnit.h"

namespace karvel::testing {

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
