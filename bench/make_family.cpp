// make-family: writes a theory file of one benchmark family to standard
// output, so that the report tool (or anything else) can be timed on it.
#include <cstdlib>
#include <iostream>
#include <string>

#include "TheoryFamilies.h"

namespace families = ostrel::families;

int main(int argc, char** argv) {
  if (argc < 3) {
    std::cerr << "usage: make-family random|rules N [DENSITY SEED] | grid N | cycle N CHORDS"
                 " | pairs N | chain N"
                 " | argument N [CONFLICTS SEED]\n";
    return 2;
  }
  const std::string family = argv[1];
  const auto n = static_cast<std::size_t>(std::strtoul(argv[2], nullptr, 10));
  const double density = argc > 3 ? std::strtod(argv[3], nullptr) : 0.15;
  const auto seed = static_cast<std::uint64_t>(argc > 4 ? std::strtoull(argv[4], nullptr, 10) : 1);
  std::vector<std::string> texts;
  if (family == "random")
    texts = families::RandomAttackGraph(n, density, seed);
  else if (family == "rules")
    texts = families::RandomRulesAboutRules(n, density, seed);
  else if (family == "grid")
    texts = families::MutualGrid(n);
  else if (family == "cycle")
    texts = families::CycleWithChords(n, argc > 3 ? std::strtoul(argv[3], nullptr, 10) : 0, 1);
  else if (family == "pairs")
    texts = families::IndependentConflicts(n);
  else if (family == "chain")
    texts = families::AttackChain(n);
  else if (family == "argument")
    texts = families::RealisticArgument(n, argc > 3 ? std::strtoul(argv[3], nullptr, 10) : 3, seed);
  else
    return 2;
  std::cout << families::TheoryFile(texts);
  return std::cout.good() ? 0 : 1;
}
