// Textual matching of sentences against templates with variables, and
// instantiation of templates.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "KarvelSentence.h"

namespace karvel {

//! True when text is an instance of the template; values holds one value per
//! entry of variables (or those found before a failure).
bool MatchTemplate(std::string_view templ, std::string_view text, const std::vector<std::string>& variables,
                   std::vector<std::string>& values);

//! A new sentence parsed from the sentence's text with each variable
//! occurrence replaced by its value; refreshes the sentence's Variables.
TKarvelSentence* InstantiateSentence(TKarvelSentence* sentence, const std::vector<std::string>& values,
                                     TSentenceArena& arena);

//! The text of the sentence InstantiateSentence would build, without
//! building it or its parts; refreshes the sentence's Variables alike.
std::string InstantiatedText(TKarvelSentence* sentence, const std::vector<std::string>& values);

}  // namespace karvel
