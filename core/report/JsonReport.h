// The report tool's machine-readable output: one JSON document with the
// options, the assumptions and issues, every interpretation with the status
// of every sentence, and the status text last (it counts the
// interpretations). Knows nothing about widgets.
#pragma once

#include <iosfwd>
#include <string_view>

#include <nlohmann/json.hpp>

#include "Refresh.h"
#include "TheoryDocument.h"

namespace ostrel {

//! A text as JSON: the string itself when its bytes are UTF-8, otherwise
//! {"latin1": S} where every character of S is one byte (U+0000..U+00FF).
nlohmann::ordered_json JsonText(std::string_view bytes);
//! The bytes JsonText was given; throws std::invalid_argument on anything
//! JsonText cannot have written.
std::string BytesOfJsonText(const nlohmann::ordered_json& text);

//! Refreshes the document as the request says and writes the report to out:
//! the lists once the argument is collected, each interpretation as the
//! search hands it over, so that neither they nor the output are ever held
//! whole. Keys come in a fixed order; one line per assumption list, issue
//! list and interpretation. Nothing is written when the file cannot be read.
TRefreshResult WriteJsonReport(TheoryDocument& document, TRefreshRequest request, std::ostream& out);

//! Refreshes the document with its summary instead of the listed
//! interpretations and writes the summary to out as one JSON document:
//! "interpretations" ("none", "one", "several"), then every assumption and
//! every issue in list order with its text and whether it is "justified"
//! and "defeated" in "all", "some" or "none" of them. Where no
//! interpretations are computed (structure only, no assumptions) those
//! three are null. Keys come in a fixed order, one line per key. Nothing is
//! written when the file cannot be read.
TRefreshResult WriteSummaryJson(TheoryDocument& document, TRefreshRequest request, std::ostream& out);

}  // namespace ostrel
