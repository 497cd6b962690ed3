#include "KarvelSentence.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace karvel {

TKarvelDialecticalNegation* AsNegation(TKarvelSentence* s) {
  return IsNegation(s) ? static_cast<TKarvelDialecticalNegation*>(s) : nullptr;
}
TKarvelConditional* AsConditional(TKarvelSentence* s) {
  return IsConditional(s) ? static_cast<TKarvelConditional*>(s) : nullptr;
}
const TKarvelDialecticalNegation* AsNegation(const TKarvelSentence* s) {
  return IsNegation(s) ? static_cast<const TKarvelDialecticalNegation*>(s) : nullptr;
}
const TKarvelConditional* AsConditional(const TKarvelSentence* s) {
  return IsConditional(s) ? static_cast<const TKarvelConditional*>(s) : nullptr;
}

TKarvelSentence* TSentenceArena::NewPlain() { return &FPlain.emplace_back(); }

TKarvelElementarySentence* TSentenceArena::NewElementary(std::string text) {
  auto* s = &FElementary.emplace_back();
  s->Text = std::move(text);
  return s;
}

TKarvelDialecticalNegation* TSentenceArena::NewNegation() { return &FNegations.emplace_back(NewPlain()); }

TKarvelConditional* TSentenceArena::NewConditional() { return &FConditionals.emplace_back(NewPlain()); }

std::size_t TSentenceArena::Size() const {
  return FPlain.size() + FElementary.size() + FNegations.size() + FConditionals.size();
}

bool TSentenceArena::Owns(const TKarvelSentence* sentence) const {
  const auto in = [sentence](const auto& objects) {
    return std::any_of(objects.begin(), objects.end(),
                       [sentence](const TKarvelSentence& s) { return &s == sentence; });
  };
  return in(FPlain) || in(FElementary) || in(FNegations) || in(FConditionals);
}

int IndexOfSentence(const TListOfKarvelSentences& list, const TKarvelSentence* sentence) {
  return IndexOfText(list, sentence->Text);
}

int IndexOfText(const TListOfKarvelSentences& list, std::string_view text) {
  for (std::size_t i = 0; i < list.size(); ++i)
    if (list[i]->Text == text) return static_cast<int>(i);
  return -1;
}

std::string NegationText(std::string_view text) {
  std::string result;
  result.reserve(text.size() + 3);
  result.append("x(").append(text).append(")");
  return result;
}

bool NegatedText(std::string_view text, std::string_view& inner) {
  if (text.size() < 3 || text.substr(0, 2) != "x(" || text.back() != ')') return false;
  inner = text.substr(2, text.size() - 3);
  return true;
}

int NestingDepth(const TKarvelSentence* sentence, int limit) {
  // Depth first with the depth of each entry; nothing below the limit is
  // looked at.
  std::vector<std::pair<const TKarvelSentence*, int>> stack{{sentence, 1}};
  int deepest = 0;
  while (!stack.empty()) {
    const auto [s, depth] = stack.back();
    stack.pop_back();
    if (depth > limit) return limit + 1;
    deepest = std::max(deepest, depth);
    if (const auto* negation = AsNegation(s)) {
      stack.emplace_back(negation->NegatedSentence, depth + 1);
    } else if (const auto* conditional = AsConditional(s)) {
      for (const auto* a : conditional->Antecedents) stack.emplace_back(a, depth + 1);
      stack.emplace_back(conditional->Consequent, depth + 1);
    }
  }
  return deepest;
}

}  // namespace karvel
