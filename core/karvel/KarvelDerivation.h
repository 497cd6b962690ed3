// Why a sentence has its status in one interpretation: a derivation of its
// text, or of its dialectical negation, from the interpretation's
// assumptions, read off the deductive closure.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "KarvelTextIndex.h"
#include "KarvelTheory.h"

namespace karvel {

//! One line of a derivation: an assumption of the interpretation (Rule < 0),
//! or the consequent of step Rule, a conditional whose antecedents are the
//! steps Premises, in the conditional's order. Both refer to earlier steps.
struct TDerivationStep {
  //! The closure's object for the text (the one the closure first reached).
  const TKarvelSentence* Sentence = nullptr;
  int Rule = -1;
  std::vector<int> Premises;

  [[nodiscard]] bool IsAssumption() const { return Rule < 0; }
};

using TDerivation = std::vector<TDerivationStep>;

//! The closure of one interpretation with how each text first came in, so
//! that many goals can be derived from one closure.
class TClosureDerivations {
 public:
  explicit TClosureDerivations(const TListOfKarvelSentences& interpretation);

  [[nodiscard]] bool Contains(std::string_view text) const { return FIndex.Contains(text); }
  //! The derivation of goal, its last step; empty when the closure lacks it.
  //! Only what the goal rests on is kept, in closure order, so every step
  //! but the goal is used by a later one and no text comes twice.
  [[nodiscard]] TDerivation Derive(std::string_view goal) const;

 private:
  TListOfKarvelSentences FClosure;
  //! By closure index: kNotFired for an assumption, else the closure index
  //! of the conditional the text is derived with (always a lower index).
  std::vector<std::size_t> FChosen;
  TTextIndex FIndex;  // text -> closure index (texts are unique in a closure)
};

enum class TExplainedStatus { Justified, Defeated, Neither };

//! What makes a text justified, defeated or neither in an interpretation.
struct TExplanation {
  TExplainedStatus Status = TExplainedStatus::Neither;
  //! The derived text: the text itself, its negation, or empty for neither.
  std::string Goal;
  TDerivation Steps;
};

//! Justified when the text is in the closure of the interpretation, else
//! defeated when "x(" text ")" is, else neither (no steps). The statuses are
//! those StatusesOf gives.
TExplanation Explain(const TClosureDerivations& closure, std::string_view text);
TExplanation Explain(const TListOfKarvelSentences& interpretation, std::string_view text);

}  // namespace karvel
