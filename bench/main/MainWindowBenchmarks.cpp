// Benchmarks of the main window's refresh: LoadTheoryFile on theories of
// 100 to 10,000 sentences, from reading the file to filling both text views
// (and drawing the diagram). Each run checks what it loaded.
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

namespace {

// n elementary assumptions; every fourth sentence is instead a rule by which
// the previous one supports the next, so the diagram has trees to lay out.
std::string TheoryFile(int sentences, bool withRules) {
  std::string text = "<KARVEL>\r\n<THEORY>\r\n\r\n";
  const auto element = [&text](const std::string& t) {
    text += "<SENTENCE>\r\n<ELEMENTARYSENTENCE>\r\n" + t +
            "\r\n</ELEMENTARYSENTENCE>\r\n</SENTENCE>\r\n\r\n";
  };
  for (int i = 0; i < sentences; ++i) {
    if (withRules && i % 4 == 3) {
      element("if(claim " + std::to_string(i - 1) + ", claim " + std::to_string(i + 1) + ")");
    } else {
      element("claim " + std::to_string(i));
    }
  }
  text += "</THEORY>\r\n<ISSUES>\r\n\r\n</ISSUES>\r\n</KARVEL>\r\n";
  return text;
}

// One window for every benchmark, as in the program.
struct TFixture {
  QTemporaryDir Directory;
  std::unique_ptr<ostrel::TMainForm> Form;

  TFixture() {
    QDir::setCurrent(Directory.path());
    ostrel::TMainForm::TDialogs dialogs = ostrel::TMainForm::StandardDialogs();
    dialogs.ShowError = [](QWidget*, const QString& message) {
      qFatal("unexpected error box: %s", qPrintable(message));
    };
    Form = std::make_unique<ostrel::TMainForm>(std::move(dialogs));
    Form->show();
    QCoreApplication::processEvents();
  }
};

// Destroyed by main before the application object goes.
std::unique_ptr<TFixture> GFixture;

TFixture& Fixture() {
  if (!GFixture) GFixture = std::make_unique<TFixture>();
  return *GFixture;
}

void LoadTheoryFile(benchmark::State& state, bool withRules) {
  TFixture& fixture = Fixture();
  const int sentences = static_cast<int>(state.range(0));
  const QString fileName = fixture.Directory.filePath(QStringLiteral("theory.kvl"));
  {
    std::ofstream out(fileName.toStdString(), std::ios::binary);
    out << TheoryFile(sentences, withRules);
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
  GFixture.reset();
  return 0;
}
