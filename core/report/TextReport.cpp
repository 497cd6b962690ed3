#include "TextReport.h"

#include <ostream>

namespace ostrel {

namespace {
constexpr std::size_t kBlock = 1 << 16;
}  // namespace

std::string ReportText(TheoryDocument& document) {
  std::string out = "STATUS: " + document.StatusText() + "\n";
  out += "FILE:\n";
  for (const auto& line : document.FileLines()) out += line + "\n";
  out += "THEORY:\n";
  for (const auto& line : document.TheoryViewLines()) out += line + "\n";
  return out;
}

TInterpretationLines::TInterpretationLines(std::ostream& out) : FOut(out) { FBlock.reserve(2 * kBlock); }

void TInterpretationLines::Write(const karvel::TListOfKarvelSentences& interpretation) {
  if (!FOut.good()) return;
  for (std::size_t i = 0; i < interpretation.size(); ++i) {
    if (i > 0) FBlock += " | ";
    FBlock += interpretation[i]->Text;
  }
  FBlock += '\n';
  if (FBlock.size() >= kBlock) Flush();
}

void TInterpretationLines::Flush() {
  if (!FOut.good()) return;
  FOut.write(FBlock.data(), static_cast<std::streamsize>(FBlock.size()));
  FBlock.clear();
}

TRefreshResult WriteInterpretationLines(TheoryDocument& document, TRefreshRequest request, std::ostream& out) {
  TInterpretationLines lines(out);
  request.Visit = [&lines](const karvel::TListOfKarvelSentences& interpretation) { lines.Write(interpretation); };
  // A failed write ends the search: nothing more can reach the reader.
  request.Progress = [&out, progress = std::move(request.Progress)](std::size_t found) {
    return out.good() && (!progress || progress(found));
  };
  request.SearchWithoutAssumptions = true;
  TRefreshResult result = Refresh(document, request);
  lines.Flush();
  return result;
}

}  // namespace ostrel
