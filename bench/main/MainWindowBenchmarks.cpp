// Benchmarks of the main window's refresh: LoadTheoryFile on theories of
// 100 to 10,000 sentences, from reading the file to filling both text views
// (and drawing the diagram). Each run checks what it loaded.
//
// The editing commands' benchmarks live beside, in EditingBenchmarks.cpp.
//
// Run: bench_mainwindow --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTextEdit>

#include <benchmark/benchmark.h>

#include <fstream>
#include <memory>
#include <string>

#include "TMainForm.h"
#include "WindowFixture.h"

namespace ostrel::bench {

// Destroyed by main before the application object goes.
namespace {
std::unique_ptr<TFixture> GFixture;
}

TFixture& Fixture() {
  if (!GFixture) GFixture = std::make_unique<TFixture>();
  return *GFixture;
}

void ReleaseFixture() { GFixture.reset(); }

}  // namespace ostrel::bench

namespace {

using ostrel::bench::Fixture;
using ostrel::bench::TFixture;

void LoadTheoryFile(benchmark::State& state, bool withRules) {
  TFixture& fixture = Fixture();
  const int sentences = static_cast<int>(state.range(0));
  const QString fileName = fixture.Directory.filePath(QStringLiteral("theory.kvl"));
  {
    std::ofstream out(fileName.toStdString(), std::ios::binary);
    out << ostrel::bench::TheoryFile(sentences, withRules);
  }
  for (auto _ : state) {
    fixture.Form->LoadTheoryFile(fileName);
    state.PauseTiming();
    // Paint what the refresh changed, as the event loop would before the next command.
    QCoreApplication::processEvents();
    state.ResumeTiming();
  }
  if (fixture.Form->StatusPanelText(1) != "There is 1 dialectical interpretation." ||
      fixture.Form->Document().Theory().Assumptions.size() != static_cast<std::size_t>(sentences)) {
    state.SkipWithError("the theory did not load as expected");
  }
  state.counters["sentences"] = sentences;
}

void BM_LoadTheoryFile_Elementary(benchmark::State& state) { LoadTheoryFile(state, false); }
void BM_LoadTheoryFile_WithRules(benchmark::State& state) { LoadTheoryFile(state, true); }

BENCHMARK(BM_LoadTheoryFile_Elementary)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadTheoryFile_WithRules)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  ostrel::bench::ReleaseFixture();
  return 0;
}
