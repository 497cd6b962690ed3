// Builders shared by the logic tests: theories and sentence lists from texts.
#pragma once

#include <string>
#include <vector>

#include "KarvelUnit.h"

namespace karvel::testing {

//! Texts of a sentence list, for readable comparisons.
inline std::vector<std::string> Texts(const TListOfKarvelSentences& list) {
  std::vector<std::string> texts;
  for (const auto* s : list) texts.push_back(s->Text);
  return texts;
}

//! Parses each text into a new sentence of the arena.
inline TListOfKarvelSentences Parse(TSentenceArena& arena, const std::vector<std::string>& texts) {
  TListOfKarvelSentences list;
  for (const auto& t : texts) list.push_back(ParseSentence(t, arena));
  return list;
}

//! A theory whose assumptions (flagged) are the parsed texts.
inline void AddAssumptions(TKarvelTheory& theory, const std::vector<std::string>& texts) {
  for (auto* s : Parse(theory.Arena(), texts)) {
    s->IsAssumption = true;
    theory.Assumptions.push_back(s);
  }
}

//! The texts of every interpretation, in order.
inline std::vector<std::vector<std::string>> Texts(const TListOfListOfKarvelSentences& lists) {
  std::vector<std::vector<std::string>> texts;
  for (const auto& l : lists) texts.push_back(Texts(l));
  return texts;
}

//! A file text in the writer's layout from the texts of elementary
//! elements, for reading tests.
inline std::string ElementaryFile(const std::vector<std::string>& assumptions,
                                  const std::vector<std::string>& issues = {}) {
  std::string text = "<KARVEL>\r\n<THEORY>\r\n\r\n";
  const auto element = [&text](const std::string& t) {
    text += "<SENTENCE>\r\n<ELEMENTARYSENTENCE>\r\n" + t + "\r\n</ELEMENTARYSENTENCE>\r\n</SENTENCE>\r\n\r\n";
  };
  for (const auto& a : assumptions) element(a);
  text += "</THEORY>\r\n<ISSUES>\r\n\r\n";
  for (const auto& i : issues) element(i);
  text += "</ISSUES>\r\n</KARVEL>\r\n";
  return text;
}

}  // namespace karvel::testing
