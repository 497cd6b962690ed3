// ostrel-report: loads a theory file as the main window does and prints the
// status line, the rewritten file and the theory view; with --interpretations
// only the interpretations, one a line; with --match TEXT the match window's
// report for the sentence TEXT; with --json all of it as one JSON document;
// with --why TEXT the derivation behind the status of TEXT in one
// interpretation, as JSON. Writes no file.
#include <charconv>
#include <cstring>
#include <iostream>
#include <string>

#include "JsonReport.h"
#include "MatchCommand.h"
#include "Refresh.h"
#include "TextReport.h"
#include "TheoryDocument.h"
#include "WhyReport.h"

namespace {

int Usage() {
  std::cerr
      << "usage: ostrel-report [--no-parse] [--structure-only] [--json | --interpretations | --match TEXT]"
         " FILE\n"
         "       ostrel-report [--no-parse] [--structure-only] --why TEXT [--interpretation N] FILE\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  bool parse = true;
  bool structureOnly = false;
  bool interpretationsOnly = false;
  bool json = false;
  const char* matchText = nullptr;
  const char* whyText = nullptr;
  const char* interpretationNumber = nullptr;
  const char* fileName = nullptr;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--no-parse") == 0)
      parse = false;
    else if (std::strcmp(argv[i], "--structure-only") == 0)
      structureOnly = true;
    else if (std::strcmp(argv[i], "--interpretations") == 0)
      interpretationsOnly = true;
    else if (std::strcmp(argv[i], "--json") == 0)
      json = true;
    else if (std::strcmp(argv[i], "--match") == 0) {
      if (i + 1 == argc || matchText) return Usage();
      matchText = argv[++i];
    } else if (std::strcmp(argv[i], "--why") == 0) {
      if (i + 1 == argc || whyText) return Usage();
      whyText = argv[++i];
    } else if (std::strcmp(argv[i], "--interpretation") == 0) {
      if (i + 1 == argc || interpretationNumber) return Usage();
      interpretationNumber = argv[++i];
    } else if (!fileName)
      fileName = argv[i];
    else
      return Usage();
  }
  // Structure only computes no interpretations: nothing to list. A match
  // report shows neither interpretations nor statuses. JSON is a whole
  // report of its own and takes structure only as the text report does.
  if (!fileName || structureOnly + interpretationsOnly + (matchText != nullptr) > 1 ||
      json + interpretationsOnly + (matchText != nullptr) > 1)
    return Usage();
  // --why is a JSON document of its own about one interpretation.
  if (whyText && json + interpretationsOnly + (matchText != nullptr) > 0) return Usage();
  if (interpretationNumber && !whyText) return Usage();
  std::size_t number = 1;
  if (interpretationNumber) {
    const char* end = interpretationNumber + std::strlen(interpretationNumber);
    const auto [at, error] = std::from_chars(interpretationNumber, end, number);
    if (error != std::errc() || at != end || at == interpretationNumber) return Usage();
  }

  ostrel::TRefreshOptions options;
  options.ParseSentences = parse;
  options.ShowStructureOnly = structureOnly;
  ostrel::TRefreshRequest request = ostrel::ToolRequest(fileName, options);
  ostrel::TheoryDocument document;
  const auto failed = [](const ostrel::TRefreshResult& result) {
    if (result.Loaded()) return false;
    std::cerr << result.Error->what() << '\n';
    return true;
  };
  if (whyText) {
    const ostrel::TWhyReport report = ostrel::WriteWhyReport(document, request, whyText, number, std::cout);
    switch (report.Outcome) {
      case ostrel::TWhyOutcome::Written: break;
      case ostrel::TWhyOutcome::FileError:
      case ostrel::TWhyOutcome::NoSuchSentence: std::cerr << report.Message << '\n'; return 1;
      case ostrel::TWhyOutcome::NoInterpretation: std::cerr << report.Message << '\n'; return 2;
    }
    std::cout.flush();
    return std::cout.good() ? 0 : 1;
  }
  if (json || interpretationsOnly) {
    // Each interpretation goes out as the search hands it over; neither they
    // nor the output are ever held whole.
    std::ios::sync_with_stdio(false);
    const ostrel::TRefreshResult result = json ? ostrel::WriteJsonReport(document, request, std::cout)
                                               : ostrel::WriteInterpretationLines(document, request, std::cout);
    if (failed(result)) return 1;
    std::cout.flush();
    return std::cout.good() ? 0 : 1;
  }
  if (matchText) {
    // A match report shows neither interpretations nor statuses.
    request.SearchInterpretations = false;
    if (failed(ostrel::Refresh(document, request))) return 1;
    std::cout << ostrel::MatchReportText(document, matchText);
    return std::cout.good() ? 0 : 1;
  }
  if (failed(ostrel::Refresh(document, request))) return 1;
  std::cout << ostrel::ReportText(document);
  return std::cout.good() ? 0 : 1;
}
