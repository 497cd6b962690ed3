// ostrel-report: loads a theory file as the main window does and prints the
// status line, the rewritten file and the theory view; with --interpretations
// only the interpretations, one a line; with --match TEXT the match window's
// report for the sentence TEXT; with --json all of it as one JSON document.
// Writes no file.
#include <cstring>
#include <iostream>
#include <string>

#include "JsonReport.h"
#include "MatchCommand.h"
#include "Refresh.h"
#include "TextReport.h"
#include "TheoryDocument.h"

namespace {

int Usage() {
  std::cerr
      << "usage: ostrel-report [--no-parse] [--structure-only] [--json | --interpretations | --match TEXT] FILE\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  bool parse = true;
  bool structureOnly = false;
  bool interpretationsOnly = false;
  bool json = false;
  const char* matchText = nullptr;
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
    ostrel::WriteMatchReport(document, matchText, std::cout);
    return std::cout.good() ? 0 : 1;
  }
  if (failed(ostrel::Refresh(document, request))) return 1;
  ostrel::WriteReportText(document, std::cout);
  return std::cout.good() ? 0 : 1;
}
