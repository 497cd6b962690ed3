#include "JsonReport.h"

#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

namespace ostrel {

namespace {

using Json = nlohmann::ordered_json;

// Well-formed UTF-8 as RFC 3629 has it: no overlong forms, no surrogates,
// nothing above U+10FFFF. The JSON library refuses everything else.
bool IsUtf8(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size()) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) {
      ++i;
      continue;
    }
    // Continuation bytes after the lead, and the range of the first of them.
    std::size_t length = 0;
    unsigned lo = 0x80, hi = 0xBF;
    if (c >= 0xC2 && c <= 0xDF) {
      length = 1;
    } else if (c >= 0xE0 && c <= 0xEF) {
      length = 2;
      if (c == 0xE0) lo = 0xA0;  // overlong below U+0800
      if (c == 0xED) hi = 0x9F;  // surrogates
    } else if (c >= 0xF0 && c <= 0xF4) {
      length = 3;
      if (c == 0xF0) lo = 0x90;  // overlong below U+10000
      if (c == 0xF4) hi = 0x8F;  // above U+10FFFF
    } else {
      return false;
    }
    if (i + length >= s.size()) return false;
    for (std::size_t k = 1; k <= length; ++k) {
      const auto d = static_cast<unsigned char>(s[i + k]);
      if (d < (k == 1 ? lo : 0x80) || d > (k == 1 ? hi : 0xBF)) return false;
    }
    i += length + 1;
  }
  return true;
}

const char* KindName(const karvel::TKarvelSentence* s) {
  if (karvel::IsNegation(s)) return "negation";
  if (karvel::IsConditional(s)) return "conditional";
  return "elementary";  // unparsed texts too: the theory treats them as such
}

Json SentenceJson(const karvel::TKarvelSentence* s) {
  Json entry;
  entry["text"] = JsonText(s->Text);
  entry["kind"] = KindName(s);
  if (const auto* negation = karvel::AsNegation(s)) {
    entry["parts"] = Json::array({JsonText(negation->NegatedSentence->Text)});
  } else if (const auto* conditional = karvel::AsConditional(s)) {
    Json parts = Json::array();
    for (const auto* antecedent : conditional->Antecedents) parts.push_back(JsonText(antecedent->Text));
    parts.push_back(JsonText(conditional->Consequent->Text));
    entry["parts"] = std::move(parts);
  }
  Json variables = Json::array();
  for (const std::string& v : s->Variables) variables.push_back(JsonText(v));
  entry["variables"] = std::move(variables);
  return entry;
}

const char* StatusName(const karvel::TKarvelTheory::TStatus& status) {
  if (status.Justified) return "justified";
  if (status.Defeated) return "defeated";
  return "neither";
}

Json StatusList(const std::vector<karvel::TKarvelTheory::TStatus>& statuses) {
  Json list = Json::array();
  for (const auto& status : statuses) list.push_back(StatusName(status));
  return list;
}

void WriteSentenceList(const char* key, const karvel::TListOfKarvelSentences& sentences, std::ostream& out) {
  Json list = Json::array();
  for (const auto* s : sentences) list.push_back(SentenceJson(s));
  out << Json(key).dump() << ':' << list.dump() << ",\n";
}

const char* ExtentName(karvel::TExtent extent) {
  switch (extent) {
    case karvel::TExtent::All:
      return "all";
    case karvel::TExtent::Some:
      return "some";
    case karvel::TExtent::None:
      break;
  }
  return "none";
}

const char* MultiplicityName(karvel::TMultiplicity multiplicity) {
  switch (multiplicity) {
    case karvel::TMultiplicity::Several:
      return "several";
    case karvel::TMultiplicity::One:
      return "one";
    case karvel::TMultiplicity::None:
      break;
  }
  return "none";
}

// The list's entries with their extents, or null extents without a summary.
Json SummaryList(const karvel::TListOfKarvelSentences& sentences,
                 const std::vector<karvel::TTheorySummary::TEntry>* entries) {
  Json list = Json::array();
  for (std::size_t i = 0; i < sentences.size(); ++i) {
    Json entry;
    entry["text"] = JsonText(sentences[i]->Text);
    entry["justified"] = entries ? Json(ExtentName((*entries)[i].Justified)) : Json(nullptr);
    entry["defeated"] = entries ? Json(ExtentName((*entries)[i].Defeated)) : Json(nullptr);
    list.push_back(std::move(entry));
  }
  return list;
}

}  // namespace

Json JsonText(std::string_view bytes) {
  if (IsUtf8(bytes)) return Json(std::string(bytes));
  // Each byte becomes the code point of the same value, which UTF-8 spells
  // in one or two bytes.
  std::string latin1;
  latin1.reserve(bytes.size() * 2);
  for (const char byte : bytes) {
    const auto b = static_cast<unsigned char>(byte);
    if (b < 0x80) {
      latin1 += static_cast<char>(b);
    } else {
      latin1 += static_cast<char>(0xC0 | (b >> 6));
      latin1 += static_cast<char>(0x80 | (b & 0x3F));
    }
  }
  Json object;
  object["latin1"] = std::move(latin1);
  return object;
}

std::string BytesOfJsonText(const Json& text) {
  if (text.is_string()) return text.get<std::string>();
  if (!text.is_object() || text.size() != 1 || !text.contains("latin1") || !text["latin1"].is_string())
    throw std::invalid_argument("not a text");
  const std::string& s = text["latin1"].get_ref<const std::string&>();
  std::string bytes;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) {
      bytes += static_cast<char>(c);
    } else if ((c == 0xC2 || c == 0xC3) && i + 1 < s.size()) {
      bytes += static_cast<char>(((c & 0x03) << 6) | (static_cast<unsigned char>(s[++i]) & 0x3F));
    } else {
      throw std::invalid_argument("latin1 text above U+00FF");
    }
  }
  return bytes;
}

TRefreshResult WriteJsonReport(TheoryDocument& document, TRefreshRequest request, std::ostream& out) {
  // The lists go out once the argument is collected and each
  // interpretation's statuses as the search hands it over; the
  // interpretations are never held together.
  const TRefreshOptions options = request.Options;
  bool searched = false;
  request.ListsReady = [&] {
    const karvel::TKarvelTheory& theory = document.Theory();
    Json optionsJson;
    optionsJson["parseSentences"] = options.ParseSentences;
    optionsJson["showStructureOnly"] = options.ShowStructureOnly;
    out << "{\"options\":" << optionsJson.dump() << ",\n";
    WriteSentenceList("assumptions", theory.Assumptions, out);
    WriteSentenceList("issues", theory.Issues, out);
    // As the refresh decides: nothing to search with structure only or
    // without assumptions.
    searched = !options.ShowStructureOnly && !theory.Assumptions.empty();
    if (searched) out << "\"interpretations\":[";
  };
  std::vector<karvel::TKarvelTheory::TStatus> assumptionStatuses, issueStatuses;
  std::size_t count = 0;
  // Once a write has failed (a reader that went away, a full disk) nothing
  // more can reach the reader: the search stops instead of running on.
  request.Progress = [&out, progress = std::move(request.Progress)](std::size_t found) {
    return out.good() && (!progress || progress(found));
  };
  request.Visit = [&](const karvel::TListOfKarvelSentences& members) {
    if (!out.good()) return;
    document.Theory().StatusesOf(members, assumptionStatuses, issueStatuses);
    Json entry;
    entry["number"] = ++count;
    Json texts = Json::array();
    for (const auto* s : members) texts.push_back(JsonText(s->Text));
    entry["assumptions"] = std::move(texts);
    Json statuses;
    statuses["assumptions"] = StatusList(assumptionStatuses);
    statuses["issues"] = StatusList(issueStatuses);
    entry["statuses"] = std::move(statuses);
    out << (count == 1 ? "\n" : ",\n") << entry.dump();
  };
  TRefreshResult result = Refresh(document, request);
  if (!result.Loaded() || !out.good()) return result;
  if (!searched) {
    out << "\"interpretations\":null,\n\"status\":\"\"}\n";
    return result;
  }
  out << "\n],\n\"status\":" << JsonText(result.StatusText).dump() << "}\n";
  return result;
}

TRefreshResult WriteSummaryJson(TheoryDocument& document, TRefreshRequest request, std::ostream& out) {
  request.SearchInterpretations = false;
  request.Summarize = true;
  TRefreshResult result = Refresh(document, request);
  if (!result.Loaded()) return result;
  const karvel::TKarvelTheory& theory = document.Theory();
  const karvel::TTheorySummary* summary = result.Summary;
  out << "{\"interpretations\":"
      << (summary ? Json(MultiplicityName(summary->Interpretations)) : Json(nullptr)).dump() << ",\n";
  out << "\"assumptions\":"
      << SummaryList(theory.Assumptions, summary ? &summary->Assumptions : nullptr).dump() << ",\n";
  out << "\"issues\":" << SummaryList(theory.Issues, summary ? &summary->Issues : nullptr).dump() << "}\n";
  return result;
}

}  // namespace ostrel
