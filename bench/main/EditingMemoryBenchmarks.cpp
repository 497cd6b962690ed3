// Memory over a long editing session: 100,000 random steps (presses,
// commands, typing, keys, option toggles) on an argument of 1,000 sentences,
// without any widget. Reports the resident set after the first 1,000 steps
// and at the end, and the generations of sentences still alive; the end
// should stay within twice the early figure.
//
// Run: bench_editing_memory   (one iteration; the counters carry the figures)
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "CommandSteps.h"

namespace {

namespace fs = std::filesystem;

double ResidentMegabytes() {
  std::ifstream statm("/proc/self/statm");
  long size = 0, resident = 0;
  statm >> size >> resident;
  return static_cast<double>(resident) * static_cast<double>(::sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

void BM_LongEditingSession(benchmark::State& state) {
  const auto steps = static_cast<int>(state.range(0));
  const auto sentences = static_cast<std::size_t>(state.range(1));
  const fs::path previous = fs::current_path();
  const fs::path directory =
      fs::temp_directory_path() / ("ostrel-bench-memory-" + std::to_string(::getpid()));
  fs::create_directories(directory);
  fs::current_path(directory);
  for (auto _ : state) {
    ostrel::THeadlessSession w;
    w.New();
    std::ofstream(ostrel::steps::kStartFileName, std::ios::binary)
        << ostrel::steps::GeneratedTheoryFile(sentences, 1);
    if (!w.Open(ostrel::steps::kStartFileName)) state.SkipWithError("the argument did not load");
    ostrel::steps::TRandomInput in(13);
    double early = 0;
    std::size_t largest = 0;
    for (int i = 0; i < steps; ++i) {
      ostrel::steps::RunStep(w, in, ostrel::steps::TFileSteps::ReopenStart);
      largest = std::max(largest, w.Document().ArgumentSentences().size());
      if (i + 1 == 1000) early = ResidentMegabytes();
    }
    const double end = ResidentMegabytes();
    state.counters["rss_after_1000_MB"] = early;
    state.counters["rss_end_MB"] = end;
    state.counters["end_to_early"] = early > 0 ? end / early : 0;
    state.counters["live_generations"] = static_cast<double>(w.Document().LiveGenerations());
    state.counters["largest_argument"] = static_cast<double>(largest);
    state.counters["refreshes"] = w.Refreshes();
  }
  fs::current_path(previous);
  fs::remove_all(directory);
}
BENCHMARK(BM_LongEditingSession)
    ->Args({100'000, 1'000})
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
