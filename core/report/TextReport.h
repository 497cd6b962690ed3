// The text report: what the report tool prints by default (status, the
// rewritten file, the theory view) and the interpretation lines of
// --interpretations, each rendered from one refresh.
#pragma once

#include <iosfwd>
#include <string>

#include "Refresh.h"
#include "TheoryDocument.h"

namespace ostrel {

//! What the report tool prints for a refreshed document: the status text,
//! the rewritten file lines and the theory view, with LF line ends.
std::string ReportText(TheoryDocument& document);
//! The same written to out in blocks as it is made; every interpretation
//! found is listed, searched for again when the document kept fewer.
void WriteReportText(TheoryDocument& document, std::ostream& out);

//! Writes interpretations one a line, their assumption texts separated by
//! " | ", gathered into blocks: the stream's per-call cost would otherwise
//! outweigh the search on theories with many interpretations.
class TInterpretationLines final {
 public:
  explicit TInterpretationLines(std::ostream& out);
  TInterpretationLines(const TInterpretationLines&) = delete;
  TInterpretationLines& operator=(const TInterpretationLines&) = delete;

  void Write(const karvel::TListOfKarvelSentences& interpretation);
  //! Writes what is still gathered.
  void Flush();

 private:
  std::ostream& FOut;
  std::string FBlock;
};

//! Refreshes the document as the request says, writing every interpretation
//! as one line the moment the search hands it over; the interpretations
//! are never held together.
TRefreshResult WriteInterpretationLines(TheoryDocument& document, TRefreshRequest request, std::ostream& out);

}  // namespace ostrel
