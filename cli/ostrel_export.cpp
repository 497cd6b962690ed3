// ostrel-export: loads a theory file as the main window does, draws its
// diagram with the statuses of one interpretation and writes it as SVG, PNG
// or PDF, the format following the output's extension. Needs no display:
// without a platform of the caller's choosing it draws offscreen. Writes no
// other file.
#include <QApplication>
#include <QFile>
#include <QGraphicsScene>

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "DiagramExport.h"
#include "DrawUnit.h"
#include "Refresh.h"
#include "TheoryDocument.h"
#include "WindowFont.h"

namespace {

int Usage() {
  std::cerr << "usage: ostrel-export [--no-parse] [--structure-only] [--hide-negations] [--interpretation N]"
               " FILE.kvl OUT.svg|OUT.png|OUT.pdf\n";
  return 2;
}

// A positive decimal number, else 0.
long PositiveNumber(const char* text) {
  if (*text < '1' || *text > '9') return 0;
  char* end = nullptr;
  const long n = std::strtol(text, &end, 10);
  return *end == '\0' && n > 0 ? n : 0;
}

}  // namespace

int main(int argc, char** argv) {
  ostrel::TRefreshOptions options;
  long interpretation = 1;
  std::vector<const char*> files;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--no-parse") == 0) {
      options.ParseSentences = false;
    } else if (std::strcmp(argv[i], "--structure-only") == 0) {
      options.ShowStructureOnly = true;
    } else if (std::strcmp(argv[i], "--hide-negations") == 0) {
      options.ShowDialecticalNegations = false;
    } else if (std::strcmp(argv[i], "--interpretation") == 0) {
      if (i + 1 == argc || (interpretation = PositiveNumber(argv[++i])) == 0) return Usage();
    } else if (argv[i][0] == '-' && argv[i][1] != '\0') {
      return Usage();
    } else {
      files.push_back(argv[i]);
    }
  }
  if (files.size() != 2) return Usage();
  const QString outName = QFile::decodeName(files[1]);
  const ostrel::diagram::TExportFormat format = ostrel::diagram::ExportFormatOfFileName(outName);
  if (format == ostrel::diagram::TExportFormat::None) return Usage();

  // Scripts and documentation builds run without a display.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  int qtArgc = 1;
  QApplication application(qtArgc, argv);
  QApplication::setFont(ostrel::WindowFont());

  ostrel::TheoryDocument document;
  const ostrel::TRefreshResult result =
      ostrel::Refresh(document, ostrel::ToolRequest(files[0], options));
  if (!result.Loaded()) {
    std::cerr << result.Error->what() << '\n';
    return 1;
  }
  // The window's buttons: none below two interpretations, at most the cap.
  if (interpretation > 1 && interpretation > result.ButtonCount) return Usage();
  document.ApplyInterpretation(static_cast<int>(interpretation - 1));

  ostrel::diagram::TDiagramMetrics metrics;
  ostrel::diagram::InitDiagramMetrics(metrics);
  QGraphicsScene scene;
  scene.setItemIndexMethod(QGraphicsScene::NoIndex);
  scene.setBackgroundBrush(Qt::white);
  ostrel::diagram::TDiagramItems items;
  ostrel::diagram::RedrawDiagram(scene, *result.ArgumentSentences, *result.Theory,
                                 ostrel::diagram::DiagramOptionsOf(options), metrics, items);

  const ostrel::diagram::TExportOutcome outcome = ostrel::diagram::ExportDiagramFile(scene, outName, format);
  if (!outcome.Message.isEmpty()) std::cerr << QFile::encodeName(outcome.Message).constData() << '\n';
  if (!outcome.Written) return 1;
  return 0;
}
