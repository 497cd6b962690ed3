// Why? without widgets: the explanation of one sentence's status in one
// interpretation of a refreshed document, as the report tool's JSON and as
// the lines of the indented tree the Why window shows.
#pragma once

#include <cstddef>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "KarvelUnit.h"
#include "Refresh.h"
#include "TheoryDocument.h"

namespace ostrel {

//! Whether an assumption or an issue of the theory (after the argument was
//! collected, so parts included) has exactly this text.
bool IsArgumentText(const karvel::TKarvelTheory& theory, std::string_view text);

//! The explanation for text in interpretation index (0-based) of a document
//! that kept its interpretations; nothing when there is no such one.
std::optional<karvel::TExplanation> ExplainInDocument(const TheoryDocument& document, std::size_t index,
                                                      std::string_view text);

//! {"interpretation": number, "text", "status", "goal", "steps"} in this
//! order; texts as JsonText writes them.
nlohmann::ordered_json WhyJson(std::size_t number, std::string_view text,
                               const karvel::TExplanation& explanation);
//! The same as text: one line for the head, one per step, LF ended.
std::string WhyJsonText(std::size_t number, std::string_view text, const karvel::TExplanation& explanation);

//! How ostrel-report --why ended.
enum class TWhyOutcome {
  Written,
  FileError,         //!< the file could not be read
  NoSuchSentence,    //!< no sentence of the argument has the text
  NoInterpretation,  //!< none computed, or the number has none
};
struct TWhyReport {
  TWhyOutcome Outcome = TWhyOutcome::Written;
  //! What to tell the user when nothing was written.
  std::string Message;
};
//! Refreshes the document as the request says, keeping only interpretation
//! number (1-based) of the search, and writes WhyJsonText for text to out.
TWhyReport WriteWhyReport(TheoryDocument& document, TRefreshRequest request, std::string_view text,
                          std::size_t number, std::ostream& out);

//! The status in words: "T is defeated in interpretation 2: its dialectical
//! negation follows from A and B." Texts are the bytes of the sentences.
std::string WhyHeadline(std::size_t number, std::string_view text, const karvel::TExplanation& explanation);

//! One line of the tree: the goal at depth 0; under every derived sentence
//! the rule it came from, then its premises, one level deeper.
struct TWhyLine {
  enum class TRole { Goal, Rule, Premise };
  enum class TKind {
    Assumption,  //!< an assumption of the interpretation
    Derived,     //!< derived; its rule and premises follow, one level deeper
    Repeated,    //!< derived and shown in full on an earlier line
  };
  int Depth = 0;
  TRole Role = TRole::Goal;
  TKind Kind = TKind::Assumption;
  //! The step of the derivation it shows.
  int Step = 0;
  std::string Text;
};
//! The tree, top-down; empty for neither. A step that several later steps
//! use is shown in full once, the first time the walk meets it.
std::vector<TWhyLine> WhyTreeLines(const karvel::TExplanation& explanation);
//! A line as the window words it, without the indent: "rule: T (assumption)".
std::string WhyLineText(const TWhyLine& line);

}  // namespace ostrel
