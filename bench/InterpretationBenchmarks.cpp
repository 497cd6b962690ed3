// The interpretation search on conflict structures of growing size, next to
// the depth-first search it replaced where that one finishes. Every
// benchmark checks what it found: each interpretation by the closure itself,
// and the count against the other method where both run.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <ostream>
#include <streambuf>
#include <string>
#include <vector>

#include "DepthFirstSearch.h"
#include "KarvelInterpretationSearch.h"
#include "KarvelUnit.h"
#include "TextReport.h"
#include "TheoryDocument.h"
#include "TheoryFamilies.h"

using namespace karvel;
namespace families = ostrel::families;

namespace {

// The search as shipped, the depth-first search it replaced, and the two
// solvers of the search each on its own: the measurement behind the
// hand-over from one to the other.
enum TMethod : int { kClauseLearning = 0, kDepthFirst = 1, kLibraryOnly = 2, kSmallOnly = 3 };

void Fill(TKarvelTheory& theory, const std::vector<std::string>& texts) {
  for (const auto& t : texts) {
    if (IndexOfText(theory.Assumptions, t) >= 0) continue;
    TKarvelSentence* s = ParseSentence(t, theory.Arena());
    s->IsAssumption = true;
    theory.Assumptions.push_back(s);
  }
}

TListOfListOfKarvelSentences Run(TKarvelTheory& theory, int method) {
  TListOfListOfKarvelSentences out;
  const auto collect = [&](const TListOfKarvelSentences& i) { out.push_back(i); };
  switch (method) {
    case kClauseLearning:
      theory.ComputeInterpretations(out);
      break;
    case kDepthFirst:
      reference::BacktrackingInterpretations(theory.Assumptions, out);
      break;
    case kLibraryOnly:
      detail::SearchInterpretations(theory, collect, {}, {0, 0});
      break;
    default:
      detail::SearchInterpretations(theory, collect, {}, {UINT64_MAX, 0});
      break;
  }
  return out;
}

// Times one method on the theory; checks every interpretation found and,
// when expected is given, their number.
void Measure(benchmark::State& state, const std::vector<std::string>& texts, long expected = -1) {
  TKarvelTheory theory;
  Fill(theory, texts);
  const int method = static_cast<int>(state.range(0));
  TListOfListOfKarvelSentences found;
  for (auto _ : state) {
    found = Run(theory, method);
    benchmark::DoNotOptimize(found.data());
  }
  if (expected >= 0 && static_cast<long>(found.size()) != expected) {
    state.SkipWithError(
        ("expected " + std::to_string(expected) + " interpretations, got " + std::to_string(found.size()))
            .c_str());
    return;
  }
  for (const auto& interpretation : found)
    if (!detail::IsInterpretation(theory.Assumptions, interpretation)) {
      state.SkipWithError("a result is no interpretation");
      return;
    }
  state.counters["assumptions"] = static_cast<double>(theory.Assumptions.size());
  state.counters["interpretations"] = static_cast<double>(found.size());
}

// Arguments: method, n, density in percent, seed.
void BM_RandomAttackGraph(benchmark::State& state) {
  const auto n = static_cast<std::size_t>(state.range(1));
  Measure(state, families::RandomAttackGraph(n, static_cast<double>(state.range(2)) / 100,
                                             static_cast<std::uint64_t>(state.range(3))));
}
void BM_RandomRulesAboutRules(benchmark::State& state) {
  const auto n = static_cast<std::size_t>(state.range(1));
  Measure(state, families::RandomRulesAboutRules(n, static_cast<double>(state.range(2)) / 100,
                                                 static_cast<std::uint64_t>(state.range(3))));
}
// Arguments: method, side.
void BM_MutualGrid(benchmark::State& state) {
  Measure(state, families::MutualGrid(static_cast<std::size_t>(state.range(1))));
}
// Arguments: method, cycle length, chords.
void BM_CycleWithChords(benchmark::State& state) {
  Measure(state, families::CycleWithChords(static_cast<std::size_t>(state.range(1)),
                                           static_cast<std::size_t>(state.range(2)), 1));
}
// Arguments: method, pairs.
void BM_IndependentConflicts(benchmark::State& state) {
  Measure(state, families::IndependentConflicts(static_cast<std::size_t>(state.range(1))),
          1L << state.range(1));
}
// Arguments: method, length.
void BM_LongChain(benchmark::State& state) {
  Measure(state, families::AttackChain(static_cast<std::size_t>(state.range(1))), 1);
}

void RandomSizes(benchmark::internal::Benchmark* b) {
  for (int n : {60, 80, 100, 140, 200})
    for (int density : {5, 15, 30}) b->Args({kClauseLearning, n, density, 1});
  // At 300 only the dense graphs: the sparser ones take more than a minute
  // here and in the answer-set solver we compare with.
  b->Args({kClauseLearning, 300, 30, 1});
  // The depth-first search only where it finishes in seconds.
  for (int density : {5, 15, 30}) b->Args({kDepthFirst, 60, density, 1});
  for (int method : {kLibraryOnly, kSmallOnly})
    for (int n : {100, 140}) b->Args({method, n, 15, 1})->Args({method, n, 30, 1});
  b->Unit(benchmark::kMillisecond);
}
BENCHMARK(BM_RandomAttackGraph)->Apply(RandomSizes);
BENCHMARK(BM_RandomRulesAboutRules)->Apply(RandomSizes);
BENCHMARK(BM_MutualGrid)
    ->ArgsProduct({{kClauseLearning}, {3, 4, 5, 6, 7}})
    ->ArgsProduct({{kDepthFirst}, {3, 4, 5}})
    ->ArgsProduct({{kLibraryOnly}, {5, 6}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CycleWithChords)
    ->ArgsProduct({{kClauseLearning}, {201, 200, 1001, 1000}, {0, 20, 100}})
    ->ArgsProduct({{kDepthFirst}, {201, 200}, {0, 20}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IndependentConflicts)
    ->ArgsProduct({{kClauseLearning, kDepthFirst}, {12, 16}})
    ->ArgsProduct({{kLibraryOnly}, {10, 12}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LongChain)
    ->ArgsProduct({{kClauseLearning, kDepthFirst}, {10000}})
    ->Unit(benchmark::kMillisecond);

// Counts the bytes written, holding none of them.
class TCountingBuffer : public std::streambuf {
 public:
  std::size_t Bytes = 0;

 protected:
  int overflow(int c) override {
    ++Bytes;
    return c;
  }
  std::streamsize xsputn(const char*, std::streamsize n) override {
    Bytes += static_cast<std::size_t>(n);
    return n;
  }
};

// What ostrel-report --interpretations does for a file in memory (read,
// search, write the lines) against the search alone: the counter ratio must
// stay below 2.
void BM_ReportInterpretations(benchmark::State& state) {
  const std::string file =
      families::TheoryFile(families::IndependentConflicts(static_cast<std::size_t>(state.range(0))));
  double search = 0, report = 0;
  std::size_t bytes = 0;
  for (auto _ : state) {
    {
      ostrel::TheoryDocument document;
      document.ReadBytes(file, true);
      TListOfListOfKarvelSentences found;
      const auto start = std::chrono::steady_clock::now();
      document.Theory().ComputeInterpretations(found);
      search += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    const auto start = std::chrono::steady_clock::now();
    ostrel::TheoryDocument document;
    TCountingBuffer buffer;
    std::ostream out(&buffer);
    ostrel::WriteInterpretationLines(document, ostrel::ToolRequestFromBytes(file), out);
    report += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    bytes = buffer.Bytes;
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["search_ms"] = 1000 * search / n;
  state.counters["report_ms"] = 1000 * report / n;
  state.counters["ratio"] = report / search;
  state.counters["output_MB"] = static_cast<double>(bytes) / 1e6;
}
BENCHMARK(BM_ReportInterpretations)->Arg(16)->Unit(benchmark::kMillisecond);

// The summary of all interpretations, found without listing them, on the
// families of scripts/compare-asp.py --summary. Arguments: family (0 pairs,
// 1 random, 2 rules about rules, 3 grid, 4 chain, 5 argument), size, density
// in percent or conflicts. Checks that it is complete and that several
// interpretations are told from one.
void BM_Summary(benchmark::State& state) {
  const auto n = static_cast<std::size_t>(state.range(1));
  const double density = static_cast<double>(state.range(2)) / 100;
  std::vector<std::string> texts;
  switch (state.range(0)) {
    case 0:
      texts = families::IndependentConflicts(n);
      break;
    case 1:
      texts = families::RandomAttackGraph(n, density, 1);
      break;
    case 2:
      texts = families::RandomRulesAboutRules(n, density, 1);
      break;
    case 3:
      texts = families::MutualGrid(n);
      break;
    case 4:
      texts = families::AttackChain(n);
      break;
    default:
      texts = families::RealisticArgument(n, static_cast<std::size_t>(state.range(2)), 1);
      break;
  }
  TKarvelTheory theory;
  Fill(theory, texts);
  TTheorySummary summary;
  for (auto _ : state) {
    if (theory.Summarize(summary) != TSearchOutcome::Complete) {
      state.SkipWithError("summary stopped");
      return;
    }
    benchmark::DoNotOptimize(summary.Assumptions.data());
  }
  state.counters["several"] = summary.Interpretations == TMultiplicity::Several;
}
BENCHMARK(BM_Summary)
    ->Args({0, 40, 0})
    ->Args({1, 200, 15})
    ->Args({1, 200, 30})
    ->Args({2, 140, 15})
    ->Args({2, 140, 30})
    ->Args({3, 7, 0})
    ->Args({4, 10000, 0})
    ->Args({5, 16000, 20})
    ->Unit(benchmark::kMillisecond);

}  // namespace
