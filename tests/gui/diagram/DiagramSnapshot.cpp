// Draws the diagram of a theory file into a view and saves it as a PNG, to
// look at the drawing outside the main window:
//   diagram_snapshot FILE.kvl OUT.png [--structure] [--no-negations]
//                    [--interpretation N] [--show]
#include <QApplication>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QScrollBar>
#include <cstdio>
#include <cstring>

#include "DrawUnit.h"
#include "TheoryDocument.h"
#include "WindowFont.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr,
                 "usage: %s FILE.kvl OUT.png [--structure] [--no-negations] "
                 "[--interpretation N] [--show]\n",
                 argv[0]);
    return 2;
  }
  QApplication application(argc, argv);
  QApplication::setFont(ostrel::WindowFont());
  ostrel::diagram::TDiagramOptions options;
  int interpretation = 0;
  bool show = false;
  for (int i = 3; i < argc; ++i) {
    if (std::strcmp(argv[i], "--structure") == 0) options.ShowStructureOnly = true;
    if (std::strcmp(argv[i], "--no-negations") == 0) options.ShowDialecticalNegations = false;
    if (std::strcmp(argv[i], "--show") == 0) show = true;
    if (std::strcmp(argv[i], "--interpretation") == 0 && i + 1 < argc) interpretation = std::atoi(argv[++i]);
  }

  ostrel::TheoryDocument document;
  try {
    document.Read(argv[1], true);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  }
  document.ComputeInterpretations(options.ShowStructureOnly);
  document.CollectArgumentSentences();
  if (interpretation > 0) document.ApplyInterpretation(interpretation);

  QGraphicsScene scene;
  scene.setFont(QApplication::font());
  ostrel::diagram::TDiagramMetrics metrics;
  ostrel::diagram::InitDiagramMetrics(metrics);
  const ostrel::diagram::TDiagramPlan plan = ostrel::diagram::DrawDiagram(
      scene, document.ArgumentSentences(), 0, 0, document.Theory(), options, metrics);
  QGraphicsView view(&scene);
  ostrel::diagram::ConfigureDiagramView(view);
  view.setFrameShape(QFrame::NoFrame);
  view.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  view.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  const QSize size = scene.sceneRect().size().toSize().expandedTo(QSize(200, 60));
  view.resize(size.boundedTo(QSize(1200, 1000)));
  if (show) {
    view.show();
    application.processEvents();
  }
  std::printf("%s: %zu sentences drawn, %d rows\n", document.StatusText().c_str(),
              plan.DiagramSentences.size(), plan.DiagramRowCount);
  return view.grab().save(argv[2]) ? 0 : 1;
}
