// Why? on the realistic 10,000-sentence argument: the closure of the first
// interpretation with its derivation records, the explanation of every
// kind of sentence, and the tree the window shows. Each run checks that a
// derivation came out, so a broken build cannot look fast.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "KarvelUnit.h"
#include "TheoryFamilies.h"
#include "WhyReport.h"

using namespace karvel;
namespace families = ostrel::families;

namespace {

struct TWhyFixture {
  TKarvelTheory Theory;
  TListOfKarvelSentences Interpretation;
  std::vector<std::string> Goals;  // a justified and a defeated text, and one of neither

  TWhyFixture() {
    for (const auto& t : families::RealisticArgument(10000, 3, 1)) {
      if (IndexOfText(Theory.Assumptions, t) >= 0) continue;
      TKarvelSentence* s = ParseSentence(t, Theory.Arena());
      s->IsAssumption = true;
      Theory.Assumptions.push_back(s);
    }
    TListOfListOfKarvelSentences interpretations;
    Theory.ComputeInterpretations(interpretations);
    if (!interpretations.empty()) Interpretation = interpretations.front();
    // The deepest derivations lie at the end of the closure.
    TListOfKarvelSentences closure;
    DeductiveClosure(Interpretation, closure);
    std::string justified, defeated;
    for (auto it = closure.rbegin(); it != closure.rend() && (justified.empty() || defeated.empty()); ++it) {
      std::string_view inner;
      if (NegatedText((*it)->Text, inner)) {
        if (defeated.empty()) defeated = inner;
      } else if (justified.empty()) {
        justified = (*it)->Text;
      }
    }
    Goals = {justified, defeated, "no such sentence"};
  }
};

const TWhyFixture& Fixture() {
  static const TWhyFixture fixture;
  return fixture;
}

void BM_WhyRealistic10000(benchmark::State& state) {
  const TWhyFixture& f = Fixture();
  const std::string& goal = f.Goals[static_cast<std::size_t>(state.range(0))];
  std::size_t steps = 0;
  for (auto _ : state) {
    const TExplanation explanation = Explain(f.Interpretation, goal);
    const auto lines = ostrel::WhyTreeLines(explanation);
    benchmark::DoNotOptimize(lines.data());
    steps = explanation.Steps.size();
  }
  if (state.range(0) < 2 && steps == 0) state.SkipWithError("no derivation");
  state.counters["steps"] = static_cast<double>(steps);
}

}  // namespace

// 0: justified, 1: defeated, 2: neither.
BENCHMARK(BM_WhyRealistic10000)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
