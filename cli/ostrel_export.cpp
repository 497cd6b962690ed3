// ostrel-export: loads a theory file as the main window does, draws its
// diagram with the statuses of one interpretation and writes it as SVG, PNG
// or PDF, the format following --format or else the output's extension.
// Needs no display: without a platform of the caller's choosing it draws
// offscreen. Writes no other file.
#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>
#include <QGraphicsScene>
#include <QTemporaryDir>

#include <unistd.h>

#include <cstdlib>
#include <new>
#include <optional>
#include <string>

#include "DiagramExport.h"
#include "DrawUnit.h"
#include "Refresh.h"
#include "TheoryCheck.h"
#include "TheoryDocument.h"
#include "ToolIo.h"
#include "WindowFont.h"

namespace {

using namespace ostrel::tool;
using ostrel::diagram::TExportFormat;

constexpr const char* kProgram = "ostrel-export";

constexpr const char* kUsage = "Usage: ostrel-export [OPTION]... FILE OUT\n";

constexpr const char* kHelp =
    "Draw the diagram of the theory in FILE as the window shows it and write it to\n"
    "OUT as SVG, PNG or PDF. With FILE -, read standard input; with OUT -, write\n"
    "standard output (give --format). No display is needed.\n"
    "\n"
    "Options:\n"
    "      --format=FORMAT      svg, png or pdf; by default the extension of OUT\n"
    "      --interpretation=N   the statuses of interpretation button N (default 1)\n"
    "      --no-parse           read sentences without parsing them\n"
    "      --structure-only     show the structure, compute no interpretations\n"
    "      --hide-negations     do not show dialectical negations\n"
    "  -h, --help               display this help and exit\n"
    "  -V, --version            output version information and exit\n"
    "\n"
    "Exit status:\n"
    "  0  the diagram was written\n"
    "  1  FILE could not be read or holds no theory, OUT could not be written,\n"
    "     or memory ran out\n"
    "  2  a wrong option or argument, or no interpretation N\n";

int UsageError(const QString& reason) {
  return ostrel::tool::UsageError(kProgram, kUsage, reason.toStdString());
}

int Print(const std::string& text) { return PrintText(kProgram, text); }

// A positive decimal number, else 0.
long PositiveNumber(const QString& text) {
  if (text.isEmpty() || text.front() < QLatin1Char('1') || text.front() > QLatin1Char('9')) return 0;
  bool ok = false;
  const long n = text.toLong(&ok);
  return ok && n > 0 ? n : 0;
}

std::optional<TExportFormat> FormatNamed(const QString& name) {
  const QString lower = name.toLower();
  if (lower == QLatin1String("svg")) return TExportFormat::Svg;
  if (lower == QLatin1String("png")) return TExportFormat::Png;
  if (lower == QLatin1String("pdf")) return TExportFormat::Pdf;
  return std::nullopt;
}

QString SuffixOf(TExportFormat format) {
  switch (format) {
    case TExportFormat::Svg:
      return QStringLiteral("svg");
    case TExportFormat::Png:
      return QStringLiteral("png");
    case TExportFormat::Pdf:
      return QStringLiteral("pdf");
    case TExportFormat::None:
      break;
  }
  return {};
}

struct TCommand {
  ostrel::TRefreshOptions Options;
  long Interpretation = 1;
  TExportFormat Format = TExportFormat::None;
  std::string File;
  std::string Out;
};

// Draws the diagram and returns the file's bytes, or exits with the code
// the failure calls for.
std::optional<QByteArray> Draw(char** argv, const TCommand& command, const std::string& bytes,
                               int& exitCode) {
  // Scripts and documentation builds run without a display.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  int qtArgc = 1;
  QApplication application(qtArgc, argv);
  QApplication::setFont(ostrel::WindowFont());

  ostrel::TheoryDocument document;
  const ostrel::TRefreshResult result =
      ostrel::Refresh(document, ostrel::ToolRequestFromBytes(bytes, command.Options));
  if (!result.Loaded()) {
    Complain(kProgram, InputName(command.File), result.Error->what());
    exitCode = kExitFailure;
    return std::nullopt;
  }
  // The window's buttons: none below two interpretations, at most the cap.
  if (command.Interpretation > 1 && command.Interpretation > result.ButtonCount) {
    exitCode = UsageError(QStringLiteral("no interpretation %1: the theory gives %2 buttons")
                              .arg(command.Interpretation)
                              .arg(result.ButtonCount));
    return std::nullopt;
  }
  document.ApplyInterpretation(static_cast<int>(command.Interpretation - 1));

  ostrel::diagram::TDiagramMetrics metrics;
  ostrel::diagram::InitDiagramMetrics(metrics);
  QGraphicsScene scene;
  scene.setItemIndexMethod(QGraphicsScene::NoIndex);
  scene.setBackgroundBrush(Qt::white);
  ostrel::diagram::TDiagramItems items;
  ostrel::diagram::RedrawDiagram(scene, *result.ArgumentSentences, *result.Theory,
                                 ostrel::diagram::DiagramOptionsOf(command.Options), metrics, items);

  // The drawing goes to a file of OUT's name in a private folder (SVG and
  // PDF take their title from it); the caller then writes its bytes to OUT
  // with the system's reason on failure, or to standard output.
  QTemporaryDir folder;
  const QString input = IsStandardStream(command.File)
                            ? QStringLiteral("diagram")
                            : QFileInfo(QFile::decodeName(command.File.c_str())).completeBaseName();
  const QString name = IsStandardStream(command.Out)
                           ? input + QLatin1Char('.') + SuffixOf(command.Format)
                           : QFileInfo(QFile::decodeName(command.Out.c_str())).fileName();
  QFile drawn(folder.filePath(name));
  ostrel::diagram::TExportOutcome outcome;
  if (folder.isValid()) outcome = ostrel::diagram::ExportDiagramFile(scene, drawn.fileName(), command.Format);
  // Messages name OUT, not the private file the drawing went to.
  outcome.Message.replace(drawn.fileName(), QFile::decodeName(OutputName(command.Out).c_str()));
  if (!folder.isValid() || !outcome.Written || !drawn.open(QIODevice::ReadOnly)) {
    Complain(kProgram, OutputName(command.Out),
             !folder.isValid()           ? folder.errorString().toStdString()
             : outcome.Message.isEmpty() ? std::string("cannot draw the diagram")
                                         : QFile::encodeName(outcome.Message).toStdString());
    exitCode = kExitFailure;
    return std::nullopt;
  }
  // A drawing too large for an image is written smaller: say so.
  if (!outcome.Message.isEmpty()) {
    Complain(kProgram, QFile::encodeName(outcome.Message).toStdString());
  }
  return drawn.readAll();
}

int Run(int argc, char** argv) {
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  QCommandLineParser parser;
  const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
  const QCommandLineOption version(QStringList{QStringLiteral("V"), QStringLiteral("version")});
  const QCommandLineOption noParse(QStringLiteral("no-parse"));
  const QCommandLineOption structureOnly(QStringLiteral("structure-only"));
  const QCommandLineOption hideNegations(QStringLiteral("hide-negations"));
  const QCommandLineOption interpretation(QStringLiteral("interpretation"), QString(), QStringLiteral("N"));
  const QCommandLineOption format(QStringLiteral("format"), QString(), QStringLiteral("FORMAT"));
  parser.addOptions({help, version, noParse, structureOnly, hideNegations, interpretation, format});
  if (!parser.parse(arguments)) return UsageError(parser.errorText());
  if (parser.isSet(help)) return Print(std::string(kUsage) + kHelp);
  if (parser.isSet(version)) return Print(VersionText(kProgram));

  const QStringList operands = parser.positionalArguments();
  if (operands.size() < 2)
    return UsageError(operands.isEmpty() ? QStringLiteral("missing FILE and OUT")
                                         : QStringLiteral("missing OUT"));
  if (operands.size() > 2) return UsageError(QStringLiteral("extra operand '%1'").arg(operands[2]));
  TCommand command;
  command.File = QFile::encodeName(operands[0]).toStdString();
  command.Out = QFile::encodeName(operands[1]).toStdString();
  command.Options.ParseSentences = !parser.isSet(noParse);
  command.Options.ShowStructureOnly = parser.isSet(structureOnly);
  command.Options.ShowDialecticalNegations = !parser.isSet(hideNegations);
  if (parser.isSet(interpretation)) {
    command.Interpretation = PositiveNumber(parser.value(interpretation));
    if (command.Interpretation == 0)
      return UsageError(QStringLiteral("--interpretation: '%1' is not a positive number")
                            .arg(parser.value(interpretation)));
  }
  if (parser.isSet(format)) {
    const std::optional<TExportFormat> named = FormatNamed(parser.value(format));
    if (!named)
      return UsageError(QStringLiteral("--format: '%1' is none of svg, png, pdf").arg(parser.value(format)));
    command.Format = *named;
  } else if (IsStandardStream(command.Out)) {
    return UsageError(QStringLiteral("standard output has no extension: give --format"));
  } else {
    command.Format = ostrel::diagram::ExportFormatOfFileName(operands[1]);
    if (command.Format == TExportFormat::None)
      return UsageError(
          QStringLiteral("%1: the extension is none of .svg, .png, .pdf: give --format").arg(operands[1]));
  }

  std::string bytes, reason;
  if (!ReadInput(command.File, bytes, reason)) {
    Complain(kProgram, InputName(command.File), reason);
    return kExitFailure;
  }
  if (!ostrel::HoldsTheory(bytes)) {
    Complain(kProgram, InputName(command.File), "not a theory file");
    return kExitFailure;
  }
  int exitCode = 0;
  const std::optional<QByteArray> drawn = Draw(argv, command, bytes, exitCode);
  if (!drawn) return exitCode;
  // Written once Qt is gone, so that nothing else touches standard output
  // after its close.
  if (!WriteOutput(command.Out, std::string_view(drawn->constData(), static_cast<std::size_t>(drawn->size())),
                   reason)) {
    Complain(kProgram, OutputName(command.Out), reason);
    return kExitFailure;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return Run(argc, argv);
  } catch (const std::bad_alloc&) {
    Complain(kProgram, "out of memory");
    return kExitFailure;
  }
}
