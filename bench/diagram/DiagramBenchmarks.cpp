// Benchmarks of the diagram: the full refresh of a large argument (file,
// interpretations, views and diagram), the diagram alone, the layout without
// a toolkit, and an exponential shape held by the element bound.
//
// Run: bench_diagram --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QGraphicsScene>
#include <filesystem>
#include <fstream>
#include <string>

#include "DrawUnit.h"
#include "TDiagramLayout.h"
#include "TheoryDocument.h"

namespace {

using namespace ostrel;

// Groups of ten sentences as a user builds them: a conclusion (the issue)
// with a supporting rule of two reasons, an attack with its reason, a rebuttal
// of the attack (a rule about a rule), and a reason shared with the next
// group, so that some sentences are drawn in two trees.
std::string ArgumentFile(int sentences) {
  std::string out = "<KARVEL>\r\n<THEORY>\r\n\r\n";
  auto element = [&out](const std::string& text) {
    out += "<SENTENCE>\r\n<ELEMENTARYSENTENCE>\r\n" + text +
           "\r\n</ELEMENTARYSENTENCE>\r\n"
           "</SENTENCE>\r\n\r\n";
  };
  std::string issues;
  const int groups = sentences / 10;
  for (int g = 0; g < groups; ++g) {
    const std::string n = std::to_string(g), next = std::to_string((g + 1) % groups);
    const std::string c = "claim " + n, r1 = "reason one of " + n, shared = "reason one of " + next;
    const std::string k = "counter " + n, q = "rebuttal " + n;
    const std::string attack = "if(" + k + ", x(" + c + "))";
    element(r1);
    element("if(" + r1 + ", " + "reason two of " + n + ", " + c + ")");
    element(k);
    element(attack);
    element(q);
    element("if(" + q + ", " + shared + ", x(" + attack + "))");
    issues += "<SENTENCE>\r\n<ELEMENTARYSENTENCE>\r\n" + c +
              "\r\n</ELEMENTARYSENTENCE>\r\n"
              "</SENTENCE>\r\n\r\n";
  }
  for (int g = 0; g < groups; ++g) element("reason two of " + std::to_string(g));
  out += "</THEORY>\r\n<ISSUES>\r\n\r\n" + issues + "</ISSUES>\r\n</KARVEL>\r\n";
  return out;
}

std::string WriteArgumentFile(int sentences) {
  const auto path =
      std::filesystem::temp_directory_path() / ("ostrel-diagram-bench-" + std::to_string(sentences) + ".kvl");
  std::ofstream(path, std::ios::binary) << ArgumentFile(sentences);
  return path.string();
}

void BM_FullRefresh(benchmark::State& state) {
  const std::string file = WriteArgumentFile(static_cast<int>(state.range(0)));
  QGraphicsScene scene;
  TheoryDocument document;
  diagram::TDiagramOptions options;
  std::size_t lines = 0;
  int rows = 0;
  for (auto _ : state) {
    diagram::RemoveDiagramItems(scene);
    document.Read(file, true);
    document.ComputeInterpretations(false);
    document.CollectArgumentSentences();
    lines += document.TheoryViewLines().size();
    diagram::TDiagramMetrics metrics;
    diagram::InitDiagramMetrics(metrics);
    rows =
        diagram::DrawDiagram(scene, document.ArgumentSentences(), 0, 0, document.Theory(), options, metrics)
            .DiagramRowCount;
  }
  if (static_cast<int>(document.ArgumentSentences().size()) != state.range(0))
    state.SkipWithError("unexpected argument size");
  benchmark::DoNotOptimize(lines);
  state.counters["sentences"] = static_cast<double>(document.ArgumentSentences().size());
  state.counters["items"] = static_cast<double>(scene.items().size());
  state.counters["rows"] = rows;
}
BENCHMARK(BM_FullRefresh)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// The interpretation buttons' redraw: remove and draw again.
void BM_Redraw(benchmark::State& state) {
  const std::string file = WriteArgumentFile(static_cast<int>(state.range(0)));
  QGraphicsScene scene;
  TheoryDocument document;
  document.Read(file, true);
  document.ComputeInterpretations(false);
  document.CollectArgumentSentences();
  diagram::TDiagramOptions options;
  for (auto _ : state) {
    diagram::RemoveDiagramItems(scene);
    diagram::DrawDiagram(scene, document.ArgumentSentences(), 0, 0, document.Theory(), options, {});
  }
  state.counters["items"] = static_cast<double>(scene.items().size());
}
BENCHMARK(BM_Redraw)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

class TCountingSink final : public diagram::TDiagramSink {
 public:
  int TextWidth(std::string_view text, diagram::TStatusLook) override {
    return static_cast<int>(text.size()) * 6;
  }
  void Add(const diagram::TDiagramControl&) override { ++Controls; }
  std::size_t Controls = 0;
};

void BM_LayoutOnly(benchmark::State& state) {
  const std::string file = WriteArgumentFile(static_cast<int>(state.range(0)));
  TheoryDocument document;
  document.Read(file, true);
  document.ComputeInterpretations(false);
  document.CollectArgumentSentences();
  karvel::TListOfKarvelSentences drawn;
  std::size_t nodes = 0;
  for (auto _ : state) {
    TCountingSink sink;
    diagram::TDiagramLayout layout(sink, document.Theory(), {});
    benchmark::DoNotOptimize(layout.DrawDiagram(document.ArgumentSentences(), 0, 0, drawn));
    nodes = layout.DrawnNodes();
  }
  state.counters["nodes"] = static_cast<double>(nodes);
}
BENCHMARK(BM_LayoutOnly)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// Layers of diamonds double the occurrences per layer; 40 layers would be
// 2^40 boxes in full. The element bound keeps the drawing finite.
void BM_DiamondsDrawn(benchmark::State& state) {
  karvel::TKarvelTheory theory;
  karvel::TListOfKarvelSentences sentences;
  karvel::TSentenceCollector collector(sentences);
  collector.Collect(karvel::ParseSentence("top", theory.Arena()));
  std::string upper = "top";
  for (int layer = 0; layer < state.range(0); ++layer) {
    const std::string l = "left " + std::to_string(layer), r = "right " + std::to_string(layer);
    const std::string n = "next " + std::to_string(layer);
    for (const std::string& rule : {"if(" + l + ", " + upper + ")", "if(" + r + ", " + upper + ")",
                                    "if(" + n + ", " + l + ")", "if(" + n + ", " + r + ")"})
      collector.Collect(karvel::ParseSentence(rule, theory.Arena()));
    upper = n;
  }
  QGraphicsScene scene;
  diagram::TDiagramOptions options;
  for (auto _ : state) {
    diagram::RemoveDiagramItems(scene);
    diagram::DrawDiagram(scene, sentences, 0, 0, theory, options, {});
  }
  state.counters["items"] = static_cast<double>(scene.items().size());
}
BENCHMARK(BM_DiamondsDrawn)->Arg(40)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
