#include "TextReport.h"

#include <ostream>
#include <sstream>

namespace ostrel {

namespace {
constexpr std::size_t kBlock = 1 << 16;
}  // namespace

void WriteReportText(TheoryDocument& document, std::ostream& out) {
  // Line by line in blocks, never the whole report at once: a theory with
  // many interpretations has a report many times the size of its file.
  std::string block;
  const auto line = [&](std::string_view text) {
    block.append(text).push_back('\n');
    if (block.size() >= kBlock) {
      if (out.good()) out.write(block.data(), static_cast<std::streamsize>(block.size()));
      block.clear();
    }
  };
  line("STATUS: " + document.StatusText());
  line("FILE:");
  std::string_view text = document.File().Text;
  while (!text.empty()) {
    const std::size_t end = text.find("\r\n");
    line(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 2);
  }
  line("THEORY:");
  document.WriteTheoryView([&](std::string l) { line(l); });
  if (out.good()) out.write(block.data(), static_cast<std::streamsize>(block.size()));
}

std::string ReportText(TheoryDocument& document) {
  std::ostringstream out;
  WriteReportText(document, out);
  return std::move(out).str();
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

TRefreshResult WriteInterpretationLines(TheoryDocument& document, TRefreshRequest request,
                                        std::ostream& out) {
  TInterpretationLines lines(out);
  request.Visit = [&lines](const karvel::TListOfKarvelSentences& interpretation) {
    lines.Write(interpretation);
  };
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
