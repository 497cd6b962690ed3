// The Match command without widgets: the templates of the theory that a
// sentence instantiates (exact matches), the other sentences that contain such
// a template and take the same values (other matches), and the report lines
// the match window shows. The window draws the instances; the report tool
// prints the lines.
#pragma once

#include <cstddef>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "KarvelUnit.h"

namespace ostrel {

class TheoryDocument;

//! One match: a sentence of the theory, the instance it gives and the values.
struct TMatchEntry {
  //! The assumption or issue that matched.
  karvel::TKarvelSentence* Template = nullptr;
  std::string TemplateText;
  //! The matched text for an exact match, the instantiated text otherwise.
  std::string InstanceText;
  //! One value per entry of the template's Variables.
  std::vector<std::string> Values;
};

struct TMatchResult {
  //! Exact matches first (ExactCount of them), then the other matches.
  std::vector<TMatchEntry> Entries;
  std::size_t ExactCount = 0;
  //! The instantiated other matches, in entry order, flagged as assumption or
  //! issue after the list their template came from.
  karvel::TListOfKarvelSentences Instances;
};

//! Matches text against every assumption, then every issue, that has
//! variables; then, seeded by each exact match only, instantiates every other
//! sentence whose text contains that template's text. Variables of such a
//! sentence take the value of the template's variable with the same token,
//! letter case ignored; a variable without one stays a variable. Instances
//! are created in arena; the theory's sentences are left as they are, apart
//! from the refreshed Variables of the instantiated ones.
TMatchResult MatchSentence(std::string_view text, karvel::TKarvelTheory& theory,
                           karvel::TSentenceArena& arena);

//! The match window's textual report of a run for text: six opening lines,
//! then each entry with its variables and values.
std::vector<std::string> MatchReportLines(std::string_view text, const TMatchResult& result);

//! What the report tool prints for --match: the report lines, LF ended, for
//! the first argument sentence of the refreshed document whose text is text;
//! only the six opening lines when no argument sentence has it.
std::string MatchReportText(TheoryDocument& document, std::string_view text);
//! The same text written to out as each match is found, stopping at the
//! first failed write.
void WriteMatchReport(TheoryDocument& document, std::string_view text, std::ostream& out);

}  // namespace ostrel
