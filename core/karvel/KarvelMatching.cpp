#include "KarvelMatching.h"

#include <unordered_map>

#include "KarvelSyntax.h"

namespace karvel {

bool MatchTemplate(std::string_view templ, std::string_view text, const std::vector<std::string>& variables,
                   std::vector<std::string>& values) {
  values.clear();
  // Cut the template into the fixed pieces around its variables.
  std::vector<std::string_view> pieces;
  std::string_view w = templ;
  for (const auto& v : variables) {
    const std::size_t p = w.find(v);
    if (p == std::string_view::npos) {
      // A variable missing from the rest: an empty piece, and the rest loses
      // as many characters as the token has, less one.
      pieces.emplace_back();
      w.remove_prefix(std::min(w.size(), v.size() > 0 ? v.size() - 1 : 0));
    } else {
      pieces.push_back(w.substr(0, p));
      w.remove_prefix(p + v.size());
    }
  }
  pieces.push_back(w);

  if (!pieces[0].empty() && text.substr(0, pieces[0].size()) != pieces[0]) return false;
  std::string_view r = text;
  for (std::size_t i = 0; i < variables.size(); ++i) {
    const std::string_view a = r.substr(std::min(r.size(), pieces[i].size()));
    const std::string_view next = pieces[i + 1];
    const std::size_t q = next.empty() ? a.size() : a.find(next);
    if (q == std::string_view::npos) return false;
    values.emplace_back(a.substr(0, q));
    r = a.substr(q);
  }
  if (r != pieces.back()) return false;
  // Every occurrence of a variable takes the value of its first occurrence;
  // one lookup per variable keeps templates with many of them linear.
  std::unordered_map<std::string_view, std::size_t> first;
  first.reserve(variables.size());
  for (std::size_t i = 0; i < variables.size(); ++i) {
    const auto [at, inserted] = first.try_emplace(variables[i], i);
    if (!inserted && values[at->second] != values[i]) return false;
  }
  return true;
}

namespace {

std::string InstantiatedSource(TKarvelSentence* sentence, const std::vector<std::string>& values) {
  CollectVariables(sentence);
  std::string w = sentence->Text;
  const auto& variables = sentence->Variables;
  for (std::size_t i = 0; i < variables.size() && i < values.size(); ++i) {
    const std::size_t p = w.find(variables[i]);
    if (p == std::string::npos)
      w.insert(0, values[i]);
    else
      w.replace(p, variables[i].size(), values[i]);
  }
  return w;
}

}  // namespace

TKarvelSentence* InstantiateSentence(TKarvelSentence* sentence, const std::vector<std::string>& values,
                                     TSentenceArena& arena) {
  TKarvelSentence* result = ParseSentence(InstantiatedSource(sentence, values), arena);
  ComposeText(result);
  CollectVariables(result);
  return result;
}

std::string InstantiatedText(TKarvelSentence* sentence, const std::vector<std::string>& values) {
  return ParsedText(InstantiatedSource(sentence, values));
}

}  // namespace karvel
