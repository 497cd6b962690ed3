// ostrel-report: loads a theory file as the main window does and prints the
// status line, the rewritten file and the theory view; with --interpretations
// only the interpretations, one a line; with --match TEXT the match window's
// report for the sentence TEXT; with --json all of it as one JSON document;
// with --why TEXT the derivation behind the status of TEXT in one
// interpretation, as JSON; with --summary what holds in all, some or none of
// the interpretations, as JSON. Writes no file.
#include <getopt.h>
#include <unistd.h>

#include <charconv>
#include <cstring>
#include <new>
#include <ostream>
#include <string>

#include "JsonReport.h"
#include "MatchCommand.h"
#include "Refresh.h"
#include "TextReport.h"
#include "TheoryCheck.h"
#include "TheoryDocument.h"
#include "ToolIo.h"
#include "WhyReport.h"

namespace {

using namespace ostrel::tool;

constexpr const char* kProgram = "ostrel-report";

constexpr const char* kUsage = "Usage: ostrel-report [OPTION]... FILE\n";

constexpr const char* kHelp =
    "Load the theory in FILE as the window does and print what the window shows:\n"
    "the status line, the rewritten file and the theory view. With FILE -, read\n"
    "standard input. No file is written.\n"
    "\n"
    "Options:\n"
    "      --json              print the whole report as one JSON document\n"
    "      --summary           print what is justified and defeated in all, some\n"
    "                          or none of the interpretations, as JSON\n"
    "      --interpretations   print only the interpretations, one a line\n"
    "      --match=TEXT        print the match report for the sentence TEXT\n"
    "      --why=TEXT          explain the status of the sentence TEXT as JSON\n"
    "      --interpretation=N  with --why: in interpretation N (default 1)\n"
    "      --no-parse          read sentences without parsing them\n"
    "      --structure-only    show the structure, compute no interpretations\n"
    "  -h, --help              display this help and exit\n"
    "  -V, --version           output version information and exit\n"
    "\n"
    "--json, --summary, --interpretations, --match and --why exclude each other;\n"
    "--structure-only excludes --interpretations and --match.\n"
    "\n"
    "Exit status:\n"
    "  0  the report was written\n"
    "  1  FILE could not be read or holds no theory, the output could not be\n"
    "     written, or memory ran out\n"
    "  2  a wrong option or argument, or with --why no such interpretation\n";

enum TOption : int {
  NoParse = 256,
  StructureOnly,
  Interpretations,
  Json,
  Match,
  Why,
  Interpretation,
  Summary
};

const option kOptions[] = {
    {"no-parse", no_argument, nullptr, NoParse},
    {"structure-only", no_argument, nullptr, StructureOnly},
    {"interpretations", no_argument, nullptr, Interpretations},
    {"json", no_argument, nullptr, Json},
    {"summary", no_argument, nullptr, Summary},
    {"match", required_argument, nullptr, Match},
    {"why", required_argument, nullptr, Why},
    {"interpretation", required_argument, nullptr, Interpretation},
    {"help", no_argument, nullptr, 'h'},
    {"version", no_argument, nullptr, 'V'},
    {nullptr, 0, nullptr, 0},
};

int UsageError(const std::string& reason) { return ostrel::tool::UsageError(kProgram, kUsage, reason); }

int Print(const std::string& text) { return PrintText(kProgram, text); }

struct TCommand {
  bool Parse = true;
  bool StructureOnly = false;
  bool Interpretations = false;
  bool Json = false;
  bool Summary = false;
  const char* Match = nullptr;
  const char* Why = nullptr;
  const char* Interpretation = nullptr;
  std::size_t Number = 1;
  std::string File;
};

int Run(const TCommand& command) {
  std::string bytes, reason;
  if (!ReadInput(command.File, bytes, reason)) {
    Complain(kProgram, InputName(command.File), reason);
    return kExitFailure;
  }
  if (!ostrel::HoldsTheory(bytes)) {
    Complain(kProgram, InputName(command.File), "not a theory file");
    return kExitFailure;
  }

  ostrel::TRefreshOptions options;
  options.ParseSentences = command.Parse;
  options.ShowStructureOnly = command.StructureOnly;
  ostrel::TRefreshRequest request = ostrel::ToolRequestFromBytes(bytes, options);
  ostrel::TheoryDocument document;
  TDescriptorBuffer buffer(STDOUT_FILENO);
  std::ostream out(&buffer);
  ostrel::TRefreshResult result;
  if (command.Why) {
    const ostrel::TWhyReport report =
        ostrel::WriteWhyReport(document, request, command.Why, command.Number, out);
    if (report.Outcome != ostrel::TWhyOutcome::Written) {
      Complain(kProgram, report.Message);
      return report.Outcome == ostrel::TWhyOutcome::NoInterpretation ? kExitUsage : kExitFailure;
    }
    out.flush();
    if (!buffer.Close(reason)) {
      Complain(kProgram, OutputName("-"), reason);
      return kExitFailure;
    }
    return 0;
  }
  if (command.Summary) {
    result = ostrel::WriteSummaryJson(document, request, out);
  } else if (command.Json || command.Interpretations) {
    // Each interpretation goes out as the search hands it over; neither they
    // nor the output are ever held whole.
    result = command.Json ? ostrel::WriteJsonReport(document, request, out)
                          : ostrel::WriteInterpretationLines(document, request, out);
  } else if (command.Match) {
    // A match report shows neither interpretations nor statuses.
    request.SearchInterpretations = false;
    result = ostrel::Refresh(document, request);
    if (result.Loaded()) ostrel::WriteMatchReport(document, command.Match, out);
  } else {
    result = ostrel::Refresh(document, request);
    if (result.Loaded()) ostrel::WriteReportText(document, out);
  }
  if (!result.Loaded()) {
    // The bytes are in memory already; a refresh from them has nothing left
    // to fail on but is reported all the same.
    Complain(kProgram, InputName(command.File), result.Error->what());
    return kExitFailure;
  }
  // The last bytes leave at the close: only then is the report written.
  out.flush();
  if (!buffer.Close(reason)) {
    Complain(kProgram, OutputName("-"), reason);
    return kExitFailure;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  TCommand command;
  // getopt_long's messages ("unrecognized option '--foo'") name argv[0]:
  // the program as users know it, not the path it was started by.
  argv[0] = const_cast<char*>(kProgram);
  for (int c; (c = getopt_long(argc, argv, "hV", kOptions, nullptr)) != -1;) {
    switch (c) {
      case NoParse:
        command.Parse = false;
        break;
      case StructureOnly:
        command.StructureOnly = true;
        break;
      case Interpretations:
        command.Interpretations = true;
        break;
      case Json:
        command.Json = true;
        break;
      case Summary:
        command.Summary = true;
        break;
      case Match:
        if (command.Match) return UsageError("--match given twice");
        command.Match = optarg;
        break;
      case Why:
        if (command.Why) return UsageError("--why given twice");
        command.Why = optarg;
        break;
      case Interpretation:
        if (command.Interpretation) return UsageError("--interpretation given twice");
        command.Interpretation = optarg;
        break;
      case 'h':
        return Print(std::string(kUsage) + kHelp);
      case 'V':
        return Print(VersionText(kProgram));
      default:
        return UsageError({});  // getopt_long has said why
    }
  }
  if (optind == argc) return UsageError("missing FILE");
  if (argc - optind > 1) return UsageError(std::string("extra operand '") + argv[optind + 1] + "'");
  command.File = argv[optind];
  // Structure only computes no interpretations: nothing to list. A match
  // report shows neither interpretations nor statuses. JSON is a whole
  // report of its own and takes structure only as the text report does.
  if (command.Match && (command.Interpretations || command.Json || command.StructureOnly))
    return UsageError(std::string("--match excludes --") + (command.Interpretations ? "interpretations"
                                                            : command.Json          ? "json"
                                                                                    : "structure-only"));
  // --why is a JSON document of its own about one interpretation.
  if (command.Why && (command.Json || command.Interpretations || command.Match))
    return UsageError(std::string("--why excludes --") + (command.Json              ? "json"
                                                          : command.Interpretations ? "interpretations"
                                                                                    : "match"));
  // The summary is a JSON document of its own, and takes structure only as
  // --json does.
  if (command.Summary && (command.Json || command.Interpretations || command.Match || command.Why))
    return UsageError(std::string("--summary excludes --") + (command.Json              ? "json"
                                                              : command.Interpretations ? "interpretations"
                                                              : command.Match           ? "match"
                                                                                        : "why"));
  if (command.Interpretation) {
    if (!command.Why) return UsageError("--interpretation goes with --why");
    const char* text = command.Interpretation;
    const char* end = text + std::strlen(text);
    const auto [at, error] = std::from_chars(text, end, command.Number);
    if (error != std::errc() || at != end || at == text)
      return UsageError(std::string("--interpretation takes a number, not '") + text + "'");
  }
  if (command.Interpretations && (command.Json || command.StructureOnly))
    return UsageError(std::string("--interpretations excludes --") +
                      (command.Json ? "json" : "structure-only"));

  try {
    return Run(command);
  } catch (const std::bad_alloc&) {
    Complain(kProgram, "out of memory");
    return kExitFailure;
  }
}
