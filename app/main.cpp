// Ostrel: an argument assistant. Start-up creates the windows and runs the
// message loop until the main window closes.
#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <unistd.h>

#include <string>

#include "TApplicationWindows.h"
#include "TWorkingFile.h"
#include "ToolIo.h"

namespace {

using namespace ostrel::tool;

constexpr const char* kProgram = "ostrel";

constexpr const char* kUsage = "Usage: ostrel [OPTION]... [FILE]\n";

constexpr const char* kHelp =
    "Open the argument assistant's window: build a dialectical argument as a\n"
    "diagram and see which statements are justified, defeated or neither.\n"
    "With FILE, the window opens it as File > Open would.\n"
    "\n"
    "The window keeps its working file ~tmp.kvl in the current folder, unless\n"
    "another window holds that one or the folder cannot be written: then, as\n"
    "with --private-working-file, in a folder of its own under the user's data\n"
    "folder (~/.local/share/Ostrel/working, working-2, ...).\n"
    "\n"
    "Options:\n"
    "      --private-working-file  keep the working file in a folder of its own\n"
    "  -h, --help      display this help and exit\n"
    "  -V, --version   output version information and exit\n"
    "\n"
    "Qt's own options, such as -platform NAME or -style NAME, are accepted too.\n"
    "\n"
    "Exit status:\n"
    "  0  the window was closed\n"
    "  1  the help or version text could not be written\n"
    "  2  a wrong option or argument\n";

// Options QGuiApplication and QApplication take out of the command line
// themselves; the parser knows them only to let them through.
constexpr const char* kQtOptionsWithValue[] = {"platform",      "platformpluginpath",
                                               "platformtheme", "plugin",
                                               "qmljsdebugger", "qwindowgeometry",
                                               "qwindowicon",   "qwindowtitle",
                                               "session",       "display",
                                               "geometry",      "title",
                                               "icon",          "name",
                                               "style",         "stylesheet"};
constexpr const char* kQtFlags[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};

int UsageError(const QString& reason) {
  return ostrel::tool::UsageError(kProgram, kUsage, reason.toStdString());
}

int Print(const std::string& text) { return PrintText(kProgram, text); }

}  // namespace

int main(int argc, char* argv[]) {
  // The command line is read before the application connects to a display,
  // so that --help, --version and a wrong option need none.
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  QCommandLineParser parser;
  // Qt's options are single-dash words ("-platform"), not clusters of letters.
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
  const QCommandLineOption version(QStringList{QStringLiteral("V"), QStringLiteral("version")});
  const QCommandLineOption privateWorkingFile(QStringLiteral("private-working-file"));
  parser.addOptions({help, version, privateWorkingFile});
  for (const char* name : kQtOptionsWithValue) {
    QCommandLineOption option(QString::fromLatin1(name), QString(), QStringLiteral("VALUE"));
    option.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(option);
  }
  for (const char* name : kQtFlags) {
    QCommandLineOption option(QString::fromLatin1(name));
    option.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(option);
  }
  parser.addPositionalArgument(QStringLiteral("FILE"), QString(), QStringLiteral("[FILE]"));
  if (!parser.parse(arguments)) return UsageError(parser.errorText());
  if (parser.isSet(help)) return Print(std::string(kUsage) + kHelp);
  if (parser.isSet(version)) return Print(VersionText(kProgram));
  if (parser.positionalArguments().size() > 1)
    return UsageError(QStringLiteral("extra operand '%1'").arg(parser.positionalArguments()[1]));

  // A relative FILE names a file of the folder the program starts in.
  const QString file = parser.positionalArguments().isEmpty()
                           ? QString()
                           : QFileInfo(parser.positionalArguments().constFirst()).absoluteFilePath();

  QApplication application(argc, argv);
  ostrel::InitialiseApplication();
  // Held until the program ends: no other window may take this one's file.
  const ostrel::TWorkingFile workingFile = ostrel::TWorkingFile::Choose(
      QDir::currentPath(), QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation),
      parser.isSet(privateWorkingFile));
  ostrel::TApplicationWindows windows(ostrel::TMainForm::StandardDialogs(), workingFile.FileName());
  windows.ShowMainForm();
  // After the start-up, so that its step comes first, as Open's would.
  windows.MainForm().OpenFile(file);
  // Last, so that the file's own status does not hide it.
  windows.MainForm().ShowNotice(workingFile.Notice());
  return QApplication::exec();
}
