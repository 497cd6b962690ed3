// Derivations are slices of the closure. The closure order is a topological
// order of every way a text can be derived, so each text may take any rule
// that fires it from texts that came before it without making a cycle. Of
// those, each text takes the one whose derivation tree is smallest, the rule
// that first reached it winning ties; walking the choices back from the goal
// and keeping closure order gives the steps. The closure order is fixed by
// the interpretation's order, so the same file always gives the same steps.
#include "KarvelDerivation.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace karvel {

namespace {

// Tree sizes double along shared chains of rules about rules; they only
// rank the choices, so they saturate.
std::uint64_t Add(std::uint64_t a, std::uint64_t b) {
  return a > std::numeric_limits<std::uint64_t>::max() - b ? std::numeric_limits<std::uint64_t>::max()
                                                           : a + b;
}

}  // namespace

TClosureDerivations::TClosureDerivations(const TListOfKarvelSentences& interpretation) {
  std::vector<std::size_t> firedBy;
  DeductiveClosure(interpretation, FClosure, firedBy);
  const std::size_t n = FClosure.size();
  FIndex.Reserve(n);
  for (const auto* s : FClosure) FIndex.Insert(s->Text);

  // The conditionals of the closure by the closure index of their
  // consequent, in closure order (counted, then filled).
  std::vector<std::size_t> first(n + 1, 0), rules;
  std::vector<int> target(n, -1);
  for (std::size_t c = 0; c < n; ++c) {
    if (const auto* conditional = AsConditional(FClosure[c])) {
      target[c] = FIndex.Find(conditional->Consequent->Text);
      if (target[c] >= 0) ++first[target[c] + 1];
    }
  }
  for (std::size_t k = 0; k < n; ++k) first[k + 1] += first[k];
  rules.resize(first[n]);
  std::vector<std::size_t> fill(first.begin(), first.end() - 1);
  for (std::size_t c = 0; c < n; ++c)
    if (target[c] >= 0) rules[fill[target[c]]++] = c;

  FChosen.assign(n, kNotFired);
  std::vector<std::uint64_t> size(n, 1);
  for (std::size_t k = 0; k < n; ++k) {
    if (firedBy[k] == kNotFired) continue;  // an assumption is one step
    std::size_t best = firedBy[k];
    std::uint64_t bestSize = std::numeric_limits<std::uint64_t>::max();
    for (std::size_t r = first[k]; r < first[k + 1]; ++r) {
      const std::size_t c = rules[r];
      if (c >= k) break;
      std::uint64_t tree = Add(1, size[c]);
      bool before = true;
      for (const auto* a : AsConditional(FClosure[c])->Antecedents) {
        const int at = FIndex.Find(a->Text);
        if (at < 0 || static_cast<std::size_t>(at) >= k) {
          before = false;
          break;
        }
        tree = Add(tree, size[at]);
      }
      if (!before) continue;
      if (tree < bestSize || (tree == bestSize && c == firedBy[k])) {
        best = c;
        bestSize = tree;
      }
    }
    FChosen[k] = best;
    size[k] = bestSize;
  }
}

TDerivation TClosureDerivations::Derive(std::string_view goal) const {
  const int goalIndex = FIndex.Find(goal);
  if (goalIndex < 0) return {};
  // Closure indices the goal rests on, found by an explicit stack: chains of
  // rules about rules can be as long as the closure.
  std::vector<int> stepOf(static_cast<std::size_t>(goalIndex) + 1, -1);
  std::vector<std::size_t> needed, stack{static_cast<std::size_t>(goalIndex)};
  stepOf[goalIndex] = 0;
  const auto need = [&](std::size_t k) {
    if (stepOf[k] >= 0) return;
    stepOf[k] = 0;
    stack.push_back(k);
  };
  while (!stack.empty()) {
    const std::size_t k = stack.back();
    stack.pop_back();
    needed.push_back(k);
    const std::size_t rule = FChosen[k];
    if (rule == kNotFired) continue;
    need(rule);
    for (const auto* a : AsConditional(FClosure[rule])->Antecedents)
      need(static_cast<std::size_t>(FIndex.Find(a->Text)));
  }
  std::sort(needed.begin(), needed.end());
  TDerivation steps(needed.size());
  for (std::size_t i = 0; i < needed.size(); ++i) stepOf[needed[i]] = static_cast<int>(i);
  for (std::size_t i = 0; i < needed.size(); ++i) {
    const std::size_t k = needed[i];
    TDerivationStep& step = steps[i];
    step.Sentence = FClosure[k];
    const std::size_t rule = FChosen[k];
    if (rule == kNotFired) continue;
    step.Rule = stepOf[rule];
    const auto* conditional = AsConditional(FClosure[rule]);
    step.Premises.reserve(conditional->Antecedents.size());
    for (const auto* a : conditional->Antecedents) step.Premises.push_back(stepOf[FIndex.Find(a->Text)]);
  }
  return steps;
}

TExplanation Explain(const TClosureDerivations& closure, std::string_view text) {
  TExplanation explanation;
  if (closure.Contains(text)) {
    explanation.Status = TExplainedStatus::Justified;
    explanation.Goal = text;
  } else if (std::string negation = NegationText(text); closure.Contains(negation)) {
    explanation.Status = TExplainedStatus::Defeated;
    explanation.Goal = std::move(negation);
  } else {
    return explanation;
  }
  explanation.Steps = closure.Derive(explanation.Goal);
  return explanation;
}

TExplanation Explain(const TListOfKarvelSentences& interpretation, std::string_view text) {
  return Explain(TClosureDerivations(interpretation), text);
}

}  // namespace karvel
