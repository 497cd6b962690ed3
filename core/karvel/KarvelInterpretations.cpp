// Dialectical interpretations and statuses.
//
// The interpretations come from the clause-learning search
// (KarvelInterpretationSearch.cpp), the grounded assumptions from
// KarvelGrounded.cpp.
#include <string_view>
#include <vector>

#include "KarvelInterpretationSearch.h"
#include "KarvelSyntax.h"
#include "KarvelTextIndex.h"
#include "KarvelTheory.h"

namespace karvel {

void TKarvelTheory::ComputeInterpretations(TListOfListOfKarvelSentences& interpretations) {
  ComputeInterpretations(interpretations, {});
}

TSearchOutcome TKarvelTheory::ComputeInterpretations(TListOfListOfKarvelSentences& interpretations,
                                                     const TSearchProgress& progress) {
  interpretations.clear();
  return ForEachInterpretation(
      [&](const TListOfKarvelSentences& interpretation) { interpretations.push_back(interpretation); },
      progress);
}

TSearchOutcome TKarvelTheory::ForEachInterpretation(const TInterpretationVisitor& visit,
                                                    const TSearchProgress& progress) {
  return detail::SearchInterpretations(*this, visit, progress);
}

TSearchOutcome TKarvelTheory::Summarize(TTheorySummary& summary, const TSearchProgress& progress) {
  return detail::SummarizeInterpretations(*this, summary, progress);
}

namespace {

// Applies fn to the objects CollectSubsentences would collect into a new
// list for this sentence (the first object of every text).
template <class Fn>
void ForEachCollected(TKarvelSentence* sentence, Fn fn) {
  if (IsElementary(sentence)) {
    fn(sentence);
    return;
  }
  TListOfKarvelSentences parts;
  TSentenceCollector collector(parts);
  collector.Collect(sentence);
  for (auto* s : parts) fn(s);
}

}  // namespace

namespace {

TListOfKarvelSentences ClosureOf(const TListOfKarvelSentences& interpretation) {
  TListOfKarvelSentences closure;
  DeductiveClosure(interpretation, closure);
  return closure;
}

// What the closure of an interpretation justifies and defeats, by text.
struct TClosureTexts {
  TListOfKarvelSentences Closure;
  TTextIndex Derived, Negated;

  explicit TClosureTexts(const TListOfKarvelSentences& interpretation)
      : Closure(ClosureOf(interpretation)), Derived(Closure.size()) {
    for (auto* s : Closure) {
      Derived.Insert(s->Text);
      std::string_view inner;
      if (NegatedText(s->Text, inner)) Negated.Insert(inner);
    }
  }
};

}  // namespace

void TKarvelTheory::SetStatuses(const TListOfKarvelSentences& interpretation) {
  const TClosureTexts texts(interpretation);
  // A status depends on the text alone, so one assignment per visit gives
  // what clearing everything and then marking would.
  const auto assign = [&](TKarvelSentence* s) {
    s->IsJustified = texts.Derived.Contains(s->Text);
    s->IsDefeated = texts.Negated.Contains(s->Text);
  };
  for (auto* s : Assumptions) ForEachCollected(s, assign);
  for (auto* s : Issues) ForEachCollected(s, assign);
}

TListOfKarvelSentences TKarvelTheory::StatusSentences() const {
  TListOfKarvelSentences visited;
  const auto add = [&visited](TKarvelSentence* s) { visited.push_back(s); };
  for (auto* s : Assumptions) ForEachCollected(s, add);
  for (auto* s : Issues) ForEachCollected(s, add);
  return visited;
}

void TKarvelTheory::StatusesOf(const TListOfKarvelSentences& interpretation,
                               std::vector<TStatus>& assumptions, std::vector<TStatus>& issues) const {
  // A status depends on the text alone, so the parts need no visit.
  const TClosureTexts texts(interpretation);
  const auto fill = [&texts](const TListOfKarvelSentences& sentences, std::vector<TStatus>& statuses) {
    statuses.clear();
    statuses.reserve(sentences.size());
    for (const auto* s : sentences)
      statuses.push_back({texts.Derived.Contains(s->Text), texts.Negated.Contains(s->Text)});
  };
  fill(Assumptions, assumptions);
  fill(Issues, issues);
}

}  // namespace karvel
