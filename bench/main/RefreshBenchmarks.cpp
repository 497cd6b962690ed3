// "Until idle" benchmarks of the main window: a whole refresh (LoadTheoryFile)
// or an interpretation button, then every event and deferred piece of work it
// leaves (layout, paint, deferred deletions, timers), until the event loop has
// been quiet for a while: the time after which the window answers again.
#include <QAbstractEventDispatcher>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QGraphicsScene>
#include <QLineEdit>

#include <benchmark/benchmark.h>

#include <chrono>
#include <fstream>
#include <string>
#include <thread>

#include "../TheoryFamilies.h"
#include "DrawUnit.h"
#include "TDiagramView.h"
#include "TMainForm.h"
#include "TShapeWithDoubleClicks.h"
#include "WindowFixture.h"

namespace {

using ostrel::bench::Fixture;
using ostrel::bench::TFixture;
namespace families = ostrel::families;
using TClock = std::chrono::steady_clock;

enum TArgument {
  Realistic1000,
  Realistic10000,
  Conflicts12,
  Chain10000,
  Grid5,
  RandomGraph100,
  RandomRules100
};

std::vector<std::string> ArgumentTexts(TArgument argument) {
  switch (argument) {
    case Realistic1000:
      return families::RealisticArgument(1000, 3, 1);
    case Realistic10000:
      return families::RealisticArgument(10000, 3, 1);
    case Conflicts12:
      return families::IndependentConflicts(12);
    case Chain10000:
      return families::AttackChain(10000);
    case Grid5:
      return families::MutualGrid(5);
    // 100 statements with crossing objections, as a seminar exercise has
    // them; the second also with objections to rules and rules about rules.
    case RandomGraph100:
      return families::RandomAttackGraph(100, 0.15, 1);
    case RandomRules100:
      return families::RandomRulesAboutRules(100, 0.15, 1);
  }
  return {};
}

std::size_t ExpectedInterpretations(TArgument argument) {
  switch (argument) {
    case Realistic1000:
    case Realistic10000:
      return 8;
    case Conflicts12:
      return 4096;
    case Chain10000:
      return 1;
    case Grid5:
      return 358;
    case RandomGraph100:
      return 0;
    case RandomRules100:
      return 3;
  }
  return 0;
}

// Handles events until none has come for 30 ms (longer than any step of
// deferred work); returns when the last one was handled.
TClock::time_point SettleUntilIdle() {
  QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
  TClock::time_point last = TClock::now();
  for (;;) {
    const TClock::time_point before = TClock::now();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const bool handled = dispatcher->processEvents(QEventLoop::AllEvents);
    const TClock::time_point after = TClock::now();
    if (handled || after - before > std::chrono::milliseconds(1)) {
      last = after;
    } else if (after - last > std::chrono::milliseconds(30)) {
      return last;
    } else {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  }
}

QString WriteArgument(TFixture& fixture, TArgument argument) {
  const QString fileName = fixture.Directory.filePath(QStringLiteral("argument%1.kvl").arg(argument));
  std::ofstream out(fileName.toStdString(), std::ios::binary);
  out << families::TheoryFile(ArgumentTexts(argument));
  return fileName;
}

bool Loaded(TFixture& fixture, TArgument argument) {
  return fixture.Form->Document().Interpretations().size() == ExpectedInterpretations(argument);
}

void BM_RefreshUntilIdle(benchmark::State& state) {
  TFixture& fixture = Fixture();
  const auto argument = static_cast<TArgument>(state.range(0));
  const QString fileName = WriteArgument(fixture, argument);
  fixture.Form->LoadTheoryFile(fileName);
  SettleUntilIdle();
  for (auto _ : state) {
    const TClock::time_point start = TClock::now();
    fixture.Form->LoadTheoryFile(fileName);
    const TClock::time_point idle = SettleUntilIdle();
    state.SetIterationTime(std::chrono::duration<double>(idle - start).count());
  }
  if (!Loaded(fixture, argument)) state.SkipWithError("the argument did not load as expected");
}

void BM_InterpretationButtonUntilIdle(benchmark::State& state) {
  TFixture& fixture = Fixture();
  const auto argument = static_cast<TArgument>(state.range(0));
  fixture.Form->LoadTheoryFile(WriteArgument(fixture, argument));
  SettleUntilIdle();
  const QList<QAction*> buttons = fixture.Form->InterpretationButtons();
  if (!Loaded(fixture, argument) || buttons.size() < 2) {
    state.SkipWithError("the argument did not load as expected");
    return;
  }
  int pressed = 0;
  for (auto _ : state) {
    // Alternate between "2" and "1", so that every press redraws.
    pressed = pressed == 1 ? 0 : 1;
    const TClock::time_point start = TClock::now();
    buttons.at(pressed)->trigger();
    const TClock::time_point idle = SettleUntilIdle();
    state.SetIterationTime(std::chrono::duration<double>(idle - start).count());
  }
}

// A point inside the first box of the sentence with this text.
QPoint BoxPoint(const ostrel::TMainForm& form, ostrel::TDiagramView& view, const std::string& text) {
  for (QGraphicsItem* item : view.Scene().items(Qt::AscendingOrder)) {
    auto* box = qgraphicsitem_cast<ostrel::diagram::TShapeWithDoubleClicks*>(item);
    if (box != nullptr && box->IsBox() &&
        form.DiagramSentences().at(static_cast<std::size_t>(box->Tag()))->Text == text)
      return box->Rect().topLeft() + QPoint(4, 10);
  }
  return {-1, -1};
}

// Support on a claim in the middle of the argument, a reason typed and
// committed with Enter: the command's refreshes and what follows them. The
// argument gains the reason and the rule (the claim becomes an issue).
void BM_SupportAndEnterUntilIdle(benchmark::State& state) {
  TFixture& fixture = Fixture();
  ostrel::TMainForm& form = *fixture.Form;
  const QString fileName = WriteArgument(fixture, Realistic10000);
  form.activateWindow();
  QApplication::setActiveWindow(&form);
  auto* editor = form.findChild<QComboBox*>(QStringLiteral("ComboBox1"));
  auto* view = form.findChild<ostrel::TDiagramView*>(QStringLiteral("ScrollBox1"));
  std::size_t before = 0, after = 0;
  for (auto _ : state) {
    form.LoadTheoryFile(fileName);
    SettleUntilIdle();
    before = form.Document().Theory().Assumptions.size() + form.Document().Theory().Issues.size();
    form.ScrollBox1MouseDown(BoxPoint(form, *view, "claim 5000"));
    if (form.StatusPanelText(1) != QStringLiteral("claim 5000")) {
      state.SkipWithError("the target box could not be selected");
      return;
    }
    const TClock::time_point start = TClock::now();
    form.EditMenuItem(ostrel::TEditCommand::Givesupport)->trigger();
    SettleUntilIdle();
    editor->lineEdit()->setText(QStringLiteral("new reason"));
    form.ComboBox1KeyDown(Qt::Key_Return);
    const TClock::time_point idle = SettleUntilIdle();
    state.SetIterationTime(std::chrono::duration<double>(idle - start).count());
    after = form.Document().Theory().Assumptions.size() + form.Document().Theory().Issues.size();
  }
  if (editor->isVisible() || after != before + 2)
    state.SkipWithError("Support did not add the reason and its rule");
}

// Delete through the Edit menu on a claim in the middle of the argument.
void DeleteClaim(ostrel::TMainForm& form) {
  form.activateWindow();
  QApplication::setActiveWindow(&form);
  auto* view = form.findChild<ostrel::TDiagramView*>(QStringLiteral("ScrollBox1"));
  form.ScrollBox1MouseDown(BoxPoint(form, *view, "claim 5000"));
  form.EditMenuItem(ostrel::TEditCommand::Delete)->trigger();
  SettleUntilIdle();
}

// Undo and Redo of a Delete on the realistic 10,000-sentence argument, in
// turn: each is one refresh of the argument, to compare with a plain one.
void BM_UndoRedoUntilIdle(benchmark::State& state) {
  TFixture& fixture = Fixture();
  ostrel::TMainForm& form = *fixture.Form;
  form.LoadTheoryFile(WriteArgument(fixture, Realistic10000));
  SettleUntilIdle();
  DeleteClaim(form);
  if (!form.History().CanUndo()) {
    state.SkipWithError("Delete left no step to undo");
    return;
  }
  for (auto _ : state) {
    const bool undo = form.History().CanUndo();
    const TClock::time_point start = TClock::now();
    if (undo) {
      form.Undo1Click();
    } else {
      form.Redo1Click();
    }
    const TClock::time_point idle = SettleUntilIdle();
    state.SetIterationTime(std::chrono::duration<double>(idle - start).count());
  }
  if (form.Document().Theory().Assumptions.size() + form.Document().Theory().Issues.size() < 9000)
    state.SkipWithError("the argument did not reload as expected");
}

// The same two files as the undo benchmark, loaded in turn: the plain
// LoadTheoryFile that Undo and Redo are compared with.
void BM_AlternateLoadUntilIdle(benchmark::State& state) {
  TFixture& fixture = Fixture();
  ostrel::TMainForm& form = *fixture.Form;
  const QString whole = WriteArgument(fixture, Realistic10000);
  form.LoadTheoryFile(whole);
  SettleUntilIdle();
  DeleteClaim(form);
  const QString reduced = fixture.Directory.filePath(QStringLiteral("reduced.kvl"));
  QFile::remove(reduced);
  if (!QFile::copy(QStringLiteral("~tmp.kvl"), reduced)) {
    state.SkipWithError("the working file could not be copied");
    return;
  }
  bool toWhole = true;
  for (auto _ : state) {
    const TClock::time_point start = TClock::now();
    form.LoadTheoryFile(toWhole ? whole : reduced);
    const TClock::time_point idle = SettleUntilIdle();
    state.SetIterationTime(std::chrono::duration<double>(idle - start).count());
    toWhole = !toWhole;
  }
}

BENCHMARK(BM_RefreshUntilIdle)
    ->ArgName("argument")
    ->Arg(Realistic1000)
    ->Arg(Realistic10000)
    ->Arg(Conflicts12)
    ->Arg(Chain10000)
    ->Arg(RandomGraph100)
    ->Arg(RandomRules100)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SupportAndEnterUntilIdle)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UndoRedoUntilIdle)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AlternateLoadUntilIdle)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InterpretationButtonUntilIdle)
    ->ArgName("argument")
    ->Arg(Realistic10000)
    ->Arg(Grid5)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
