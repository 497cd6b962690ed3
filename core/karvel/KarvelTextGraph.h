// The assumptions' sentences and parts as numbered texts, with the rules
// (conditionals) the closure fires. Internal to the interpretation search.
#pragma once

#include <string_view>
#include <unordered_set>
#include <vector>

#include "KarvelSentence.h"
#include "KarvelTextIndex.h"

namespace karvel::detail {

//! Every text once, with what it can mean: a fact (a sentence that fires
//! nothing) or a rule. A text with more than one meaning makes the closure
//! depend on which object of that text enters it first.
class TTextGraph {
 public:
  struct TRule {
    int Text = -1;  // the conditional's own text
    std::vector<int> Antecedents;
    int Consequent = -1;
    bool operator==(const TRule&) const = default;
  };
  //! A meaning: kFact, or an index into Rules().
  static constexpr int kFact = -1;

  explicit TTextGraph(const TListOfKarvelSentences& assumptions) {
    std::unordered_set<const TKarvelSentence*> visited;
    std::unordered_set<int> assumptionTexts;
    std::vector<TKarvelSentence*> stack;
    for (auto* a : assumptions) {
      const int id = Intern(a);
      if (!assumptionTexts.insert(id).second) FDuplicateAssumptions = true;
      FAssumptionIds.push_back(id);
      stack.push_back(a);
    }
    while (!stack.empty()) {
      TKarvelSentence* s = stack.back();
      stack.pop_back();
      if (!visited.insert(s).second) continue;
      const int id = Intern(s);
      if (auto* conditional = AsConditional(s)) {
        for (auto* a : conditional->Antecedents) {
          Intern(a);
          stack.push_back(a);
        }
        Intern(conditional->Consequent);
        stack.push_back(conditional->Consequent);
      } else if (auto* negation = AsNegation(s)) {
        stack.push_back(negation->NegatedSentence);
      }
      Define(id, MeaningOf(s));
    }
    for (auto* a : assumptions) {
      const auto& meanings = FMeanings[FIds.Find(a->Text)];
      const TRule* rule = nullptr;
      TRule own;
      if (IsConditional(a)) {
        own = MeaningOf(a).second;
        rule = &own;
      }
      int position = 0;
      for (std::size_t k = 0; k < meanings.size(); ++k) {
        const bool fact = meanings[k] == kFact;
        if (rule ? !fact && FRules[static_cast<std::size_t>(meanings[k])] == *rule : fact)
          position = static_cast<int>(k);
      }
      FAssumptionMeaning.push_back(position);
    }
    BuildIndexes();
  }

  //! Equal texts stand for different structures somewhere (or twice among
  //! the assumptions): the closure is not a function of the texts alone.
  [[nodiscard]] bool Ambiguous() const { return FAmbiguous || FDuplicateAssumptions; }
  [[nodiscard]] bool DuplicateAssumptions() const { return FDuplicateAssumptions; }
  [[nodiscard]] int Size() const { return static_cast<int>(FTexts.size()); }
  //! The id of a text, or -1 when no sentence of the assumptions has it.
  [[nodiscard]] int Find(std::string_view text) const { return FIds.Find(text); }
  [[nodiscard]] const std::vector<int>& AssumptionIds() const { return FAssumptionIds; }
  //! Position, in Meanings() of its text, of the assumption's own structure.
  [[nodiscard]] int AssumptionMeaning(int assumption) const {
    return FAssumptionMeaning[static_cast<std::size_t>(assumption)];
  }
  //! Id of "x(" text ")" for a text id, or -1 when no such text occurs.
  [[nodiscard]] int NegationOf(int id) const { return id < 0 ? -1 : FNegation[id]; }
  [[nodiscard]] int NegatedBy(int id) const { return FNegated[id]; }
  //! The distinct meanings of a text, in order of discovery.
  [[nodiscard]] const std::vector<int>& Meanings(int id) const { return FMeanings[id]; }
  [[nodiscard]] const std::vector<TRule>& Rules() const { return FRules; }
  //! The text's first rule (its only meaning unless Ambiguous).
  [[nodiscard]] const TRule* Rule(int id) const {
    for (int m : FMeanings[id])
      if (m != kFact) return &FRules[static_cast<std::size_t>(m)];
    return nullptr;
  }
  //! Texts of rules whose firing needs this text (as an antecedent or as the rule).
  [[nodiscard]] const std::vector<int>& Watchers(int id) const { return FWatchers[id]; }
  //! Texts of rules whose consequent is this text.
  [[nodiscard]] const std::vector<int>& Producers(int id) const { return FProducers[id]; }
  [[nodiscard]] int BodySize(int id) const { return static_cast<int>(Rule(id)->Antecedents.size()) + 1; }

 private:
  int Intern(const TKarvelSentence* s) {
    const auto [id, inserted] = FIds.Insert(s->Text);
    if (inserted) {
      FTexts.push_back(s->Text);
      FMeanings.emplace_back();
    }
    return id;
  }
  std::pair<bool, TRule> MeaningOf(TKarvelSentence* s) {
    auto* conditional = AsConditional(s);
    if (!conditional) return {true, {}};
    TRule rule;
    rule.Text = Intern(s);
    for (auto* a : conditional->Antecedents) rule.Antecedents.push_back(Intern(a));
    rule.Consequent = Intern(conditional->Consequent);
    return {false, std::move(rule)};
  }
  void Define(int id, std::pair<bool, TRule> meaning) {
    auto& meanings = FMeanings[id];
    for (int m : meanings) {
      if (meaning.first ? m == kFact : m != kFact && FRules[static_cast<std::size_t>(m)] == meaning.second)
        return;
    }
    if (!meanings.empty()) FAmbiguous = true;
    if (meaning.first) {
      meanings.push_back(kFact);
    } else {
      meanings.push_back(static_cast<int>(FRules.size()));
      FRules.push_back(std::move(meaning.second));
    }
  }
  void BuildIndexes() {
    const std::size_t n = FTexts.size();
    FNegation.assign(n, -1);
    FNegated.assign(n, -1);
    for (std::size_t id = 0; id < n; ++id) {
      std::string_view inner;
      if (!NegatedText(FTexts[id], inner)) continue;
      const int negated = FIds.Find(inner);
      if (negated < 0) continue;
      FNegation[static_cast<std::size_t>(negated)] = static_cast<int>(id);
      FNegated[id] = negated;
    }
    FWatchers.assign(n, {});
    FProducers.assign(n, {});
    for (std::size_t id = 0; id < n; ++id) {
      const TRule* rule = Rule(static_cast<int>(id));
      if (!rule) continue;
      FWatchers[id].push_back(static_cast<int>(id));
      for (int a : rule->Antecedents) FWatchers[static_cast<std::size_t>(a)].push_back(static_cast<int>(id));
      FProducers[static_cast<std::size_t>(rule->Consequent)].push_back(static_cast<int>(id));
    }
  }

  TTextIndex FIds;
  std::vector<std::string_view> FTexts;
  std::vector<std::vector<int>> FMeanings;
  std::vector<TRule> FRules;
  std::vector<int> FAssumptionIds, FAssumptionMeaning;
  std::vector<int> FNegation, FNegated;
  std::vector<std::vector<int>> FWatchers, FProducers;
  bool FAmbiguous = false;
  bool FDuplicateAssumptions = false;
};

}  // namespace karvel::detail
