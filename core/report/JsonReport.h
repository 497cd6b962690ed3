// The report tool's machine-readable output: one JSON document with the
// options, the assumptions and issues, every interpretation with the status
// of every sentence, and the status text last (it counts the
// interpretations). Knows nothing about widgets.
#pragma once

#include <iosfwd>
#include <string_view>

#include <nlohmann/json.hpp>

#include "TheoryDocument.h"

namespace ostrel {

//! A text as JSON: the string itself when its bytes are UTF-8, otherwise
//! {"latin1": S} where every character of S is one byte (U+0000..U+00FF).
nlohmann::ordered_json JsonText(std::string_view bytes);
//! The bytes JsonText was given; throws std::invalid_argument on anything
//! JsonText cannot have written.
std::string BytesOfJsonText(const nlohmann::ordered_json& text);

//! Reads nothing: the document must hold a theory just read with the
//! parse setting given. Collects the argument, searches the interpretations
//! unless showStructureOnly, and writes each to out as the search hands it
//! over, so that neither they nor the output are ever held whole. Keys come
//! in a fixed order; one line per assumption list, issue list and
//! interpretation.
void WriteJsonReport(TheoryDocument& document, bool parseSentences, bool showStructureOnly, std::ostream& out);

}  // namespace ostrel
