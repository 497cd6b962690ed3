// Benchmarks of the editing commands through the window, each from the
// command to the redrawn diagram with the events it leaves handled: Support
// typed and committed, Delete, and Change committed, on arguments of 1,000 and
// 10,000 sentences. The theory is reloaded between runs, untimed.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGraphicsScene>
#include <QLineEdit>

#include <benchmark/benchmark.h>

#include <fstream>
#include <string>

#include "DrawUnit.h"
#include "TDiagramView.h"
#include "TMainForm.h"
#include "TShapeWithDoubleClicks.h"
#include "WindowFixture.h"

namespace {

using ostrel::TEditCommand;
using ostrel::bench::Fixture;
using ostrel::bench::TFixture;

// Everything the command left for the event loop: paint, layout and the
// deferred deletion of replaced controls.
void Settle() {
  QCoreApplication::processEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QCoreApplication::processEvents();
}

// The point inside the first box drawn for text, or (-1, -1).
QPoint BoxPoint(TFixture& fixture, const std::string& text) {
  auto* view = fixture.Form->findChild<ostrel::TDiagramView*>(QStringLiteral("ScrollBox1"));
  for (QGraphicsItem* item : view->Scene().items(Qt::AscendingOrder)) {
    auto* box = qgraphicsitem_cast<ostrel::diagram::TShapeWithDoubleClicks*>(item);
    if (box == nullptr || !box->IsBox()) continue;
    if (fixture.Form->DiagramSentences().at(static_cast<std::size_t>(box->Tag()))->Text == text)
      return box->Rect().topLeft() + QPoint(4, 10);
  }
  return {-1, -1};
}

enum class TCommand { SupportAndEnter, Delete, ChangeAndEnter };

void RunCommand(benchmark::State& state, TCommand command) {
  TFixture& fixture = Fixture();
  ostrel::TMainForm& form = *fixture.Form;
  const int sentences = static_cast<int>(state.range(0));
  const QString fileName = fixture.Directory.filePath(QStringLiteral("argument.kvl"));
  {
    std::ofstream out(fileName.toStdString(), std::ios::binary);
    out << ostrel::bench::TheoryFile(sentences, true);
  }
  form.activateWindow();
  QApplication::setActiveWindow(&form);
  auto* editor = form.findChild<QComboBox*>(QStringLiteral("ComboBox1"));
  // A sentence in the middle of the argument, with a rule on each side.
  const std::string target = "claim " + std::to_string(sentences / 2 - sentences / 2 % 4 + 2);
  std::size_t loaded = 0;
  const auto count = [&form] {
    const auto& theory = form.Document().Theory();
    return theory.Assumptions.size() + theory.Issues.size();
  };
  for (auto _ : state) {
    state.PauseTiming();
    form.LoadTheoryFile(fileName);
    Settle();
    loaded = count();
    const QPoint at = BoxPoint(fixture, target);
    form.ScrollBox1MouseDown(at);
    if (form.StatusPanelText(1) != QString::fromStdString(target)) {
      state.SkipWithError("the target box could not be selected");
      break;
    }
    state.ResumeTiming();
    // The two-phase commands open the editor; the text typed there is committed.
    const auto commitInEditor = [&](TEditCommand opening, const QString& text) {
      form.EditMenuItem(opening)->trigger();
      Settle();
      editor->lineEdit()->setText(text);
      form.ComboBox1KeyDown(Qt::Key_Return);
    };
    switch (command) {
      case TCommand::SupportAndEnter:
        commitInEditor(TEditCommand::Givesupport, QStringLiteral("new reason"));
        break;
      case TCommand::Delete:
        form.EditMenuItem(TEditCommand::Delete)->trigger();
        break;
      case TCommand::ChangeAndEnter:
        commitInEditor(TEditCommand::Changeelementarysentence, QStringLiteral("changed claim"));
        break;
    }
    Settle();
  }
  // What the last run left must be what the command does.
  // Delete also takes the one rule built on the target.
  const std::size_t kept = count();
  const std::size_t expected = command == TCommand::SupportAndEnter ? loaded + 2
                               : command == TCommand::Delete        ? loaded - 2
                                                                    : loaded;
  if (editor->isVisible() || kept != expected)
    state.SkipWithError(("the command left " + std::to_string(kept) + " sentences, not " +
                         std::to_string(expected) + (editor->isVisible() ? ", editor open" : ""))
                            .c_str());
  state.counters["sentences"] = sentences;
}

void BM_SupportAndEnter(benchmark::State& state) { RunCommand(state, TCommand::SupportAndEnter); }
void BM_Delete(benchmark::State& state) { RunCommand(state, TCommand::Delete); }
void BM_ChangeAndEnter(benchmark::State& state) { RunCommand(state, TCommand::ChangeAndEnter); }

BENCHMARK(BM_SupportAndEnter)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Delete)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChangeAndEnter)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
