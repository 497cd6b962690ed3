// Seeded generators of conflict structures for the interpretation search:
// each gives the assumption texts of a theory, to be parsed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ostrel::families {

//! A small deterministic generator, so every run builds the same theories.
class TRandom {
 public:
  explicit TRandom(std::uint64_t seed) : FState(seed * 0x9E3779B97F4A7C15ULL + 1) {}
  std::uint32_t Next() {
    FState = FState * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<std::uint32_t>(FState >> 33);
  }
  std::size_t Below(std::size_t n) { return n == 0 ? 0 : Next() % n; }
  //! True with the given probability.
  bool Chance(double p) { return Next() < p * 4294967296.0 / 2; }

 private:
  std::uint64_t FState;
};

//! prefix, number, suffix. Built by appending: GCC 12 warns falsely
//! (-Wrestrict) on a literal + std::to_string chain once inlined.
inline std::string Name(const char* prefix, std::size_t i, const char* suffix = "") {
  std::string text = prefix;
  text += std::to_string(i);
  text += suffix;
  return text;
}

inline std::string Atom(std::size_t i) { return Name("a", i); }
inline std::string Attack(const std::string& from, const std::string& to) {
  return "if(" + from + ", x(" + to + "))";
}

//! n elementary assumptions and the assumed attack if(a, x(b)) for each
//! ordered pair with the given probability.
inline std::vector<std::string> RandomAttackGraph(std::size_t n, double density, std::uint64_t seed) {
  TRandom random(seed);
  std::vector<std::string> texts;
  for (std::size_t i = 0; i < n; ++i) texts.push_back(Atom(i));
  for (std::size_t i = 0; i < n; ++i)
    for (std::size_t j = 0; j < n; ++j)
      if (i != j && random.Chance(density)) texts.push_back(Attack(Atom(i), Atom(j)));
  return texts;
}

//! The random attack graph where an attack is sometimes not assumed but
//! derived by a rule about it, if(c, if(a, x(b))), and sometimes attacked
//! itself, if(c, x(if(a, x(b)))).
inline std::vector<std::string> RandomRulesAboutRules(std::size_t n, double density, std::uint64_t seed) {
  TRandom random(seed);
  std::vector<std::string> texts;
  for (std::size_t i = 0; i < n; ++i) texts.push_back(Atom(i));
  for (std::size_t i = 0; i < n; ++i)
    for (std::size_t j = 0; j < n; ++j) {
      if (i == j || !random.Chance(density)) continue;
      const std::string attack = Attack(Atom(i), Atom(j));
      const std::string other = Atom(random.Below(n));
      switch (random.Below(4)) {
        case 0:
          texts.push_back("if(" + other + ", " + attack + ")");
          break;
        case 1:
          texts.push_back(attack);
          texts.push_back("if(" + other + ", x(" + attack + "))");
          break;
        default:
          texts.push_back(attack);
          break;
      }
    }
  return texts;
}

//! An n by n grid whose neighbouring cells attack each other.
inline std::vector<std::string> MutualGrid(std::size_t n) {
  const auto cell = [](std::size_t r, std::size_t c) {
    std::string text = "g";
    text += std::to_string(r);
    text += '_';
    text += std::to_string(c);
    return text;
  };
  std::vector<std::string> texts;
  for (std::size_t r = 0; r < n; ++r)
    for (std::size_t c = 0; c < n; ++c) texts.push_back(cell(r, c));
  for (std::size_t r = 0; r < n; ++r)
    for (std::size_t c = 0; c < n; ++c) {
      if (c + 1 < n) {
        texts.push_back(Attack(cell(r, c), cell(r, c + 1)));
        texts.push_back(Attack(cell(r, c + 1), cell(r, c)));
      }
      if (r + 1 < n) {
        texts.push_back(Attack(cell(r, c), cell(r + 1, c)));
        texts.push_back(Attack(cell(r + 1, c), cell(r, c)));
      }
    }
  return texts;
}

//! A cycle of n attacks a_i -> a_(i+1) with `chords` extra attacks between
//! random members.
inline std::vector<std::string> CycleWithChords(std::size_t n, std::size_t chords, std::uint64_t seed) {
  TRandom random(seed);
  std::vector<std::string> texts;
  for (std::size_t i = 0; i < n; ++i) texts.push_back(Atom(i));
  for (std::size_t i = 0; i < n; ++i) texts.push_back(Attack(Atom(i), Atom((i + 1) % n)));
  for (std::size_t k = 0; k < chords; ++k) {
    const std::size_t from = random.Below(n), to = random.Below(n);
    if (from != to) texts.push_back(Attack(Atom(from), Atom(to)));
  }
  return texts;
}

//! `pairs` independent mutual attacks: 2^pairs interpretations.
inline std::vector<std::string> IndependentConflicts(std::size_t pairs) {
  std::vector<std::string> texts;
  for (std::size_t i = 0; i < pairs; ++i) {
    const std::string p = Name("p", i), q = Name("q", i);
    for (const std::string& t : {p, q, Attack(p, q), Attack(q, p)}) texts.push_back(t);
  }
  return texts;
}

//! a_1 attacks a_2 attacks ... a_n: one interpretation, decided by the
//! grounded step alone.
inline std::vector<std::string> AttackChain(std::size_t n) {
  std::vector<std::string> texts;
  for (std::size_t i = 0; i < n; ++i) texts.push_back(Atom(i));
  for (std::size_t i = 0; i + 1 < n; ++i) texts.push_back(Attack(Atom(i), Atom(i + 1)));
  return texts;
}

//! An argument as users build them: claims, the reasons that support them,
//! objections to claims and to reasons, rules about rules, and `conflicts`
//! pairs of rival positions attacking each other (2^conflicts
//! interpretations). Attacks only go from a later claim to an earlier claim or
//! reason, and derived points attack nothing, so the conflicts are the only
//! choices. `sentences` counts the assumptions.
inline std::vector<std::string> RealisticArgument(std::size_t sentences, std::size_t conflicts,
                                                  std::uint64_t seed) {
  const auto rule = [](const std::string& antecedent, const std::string& consequent) {
    std::string text = "if(";
    text += antecedent;
    text += ", ";
    text += consequent;
    text += ")";
    return text;
  };
  TRandom random(seed);
  std::vector<std::string> texts, claims, reasons;
  for (std::size_t c = 0; c < conflicts; ++c) {
    const std::string a = Name("position ", c, "a"), b = Name("position ", c, "b");
    for (const std::string& t : {a, b, Attack(a, b), Attack(b, a), rule(a, Name("verdict ", c))})
      texts.push_back(t);
  }
  while (texts.size() < sentences) {
    const std::size_t i = texts.size();
    const std::size_t roll = claims.size() < 4 ? 0 : random.Below(100);
    const std::string& some = claims.empty() ? texts.front() : claims[random.Below(claims.size())];
    if (roll < 40) {
      claims.push_back(Name("claim ", i));
      texts.push_back(claims.back());
    } else if (roll < 65) {
      reasons.push_back(rule(some, Name("point ", i)));
      texts.push_back(reasons.back());
    } else if (roll < 80) {
      // The newest claims object to older ones.
      const std::size_t from = claims.size() - 1 - random.Below(3);
      const std::size_t to = random.Below(from + 1);
      if (to < from) texts.push_back(Attack(claims[from], claims[to]));
    } else if (roll < 90) {
      texts.push_back(rule(some, rule(claims[random.Below(claims.size())], Name("point ", i))));
    } else if (!reasons.empty()) {
      texts.push_back(Attack(claims.back(), reasons[random.Below(reasons.size())]));
    }
  }
  return texts;
}

//! The tagged file of a theory whose assumptions are these texts, stored as
//! elementary elements (the reader parses them).
inline std::string TheoryFile(const std::vector<std::string>& texts) {
  std::string out = "<KARVEL>\r\n<THEORY>\r\n\r\n";
  for (const auto& t : texts)
    out += "<SENTENCE>\r\n<ELEMENTARYSENTENCE>\r\n" + t + "\r\n</ELEMENTARYSENTENCE>\r\n</SENTENCE>\r\n\r\n";
  out += "</THEORY>\r\n<ISSUES>\r\n\r\n</ISSUES>\r\n</KARVEL>\r\n";
  return out;
}

}  // namespace ostrel::families
