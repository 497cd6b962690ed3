// The theory's tagged text: the lenient section reader and the writer.
#include "KarvelTheory.h"

#include <array>

#include "KarvelInternal.h"
#include "KarvelSyntax.h"
#include "KarvelTextIndex.h"

namespace karvel {

namespace {

constexpr std::size_t npos = std::string_view::npos;

enum TTag : int {
  tagTheory,
  tagTheoryEnd,
  tagIssues,
  tagIssuesEnd,
  tagSentence,
  tagSentenceEnd,
  tagElementary,
  tagElementaryEnd,
  tagNegation,
  tagNegationEnd,
  tagConditional,
  tagConditionalEnd,
  tagAntecedent,
  tagConsequent,
  tagConsequentEnd,
  tagCount
};

constexpr std::array<std::string_view, tagCount> kTags = {"<THEORY>",
                                                          "</THEORY>",
                                                          "<ISSUES>",
                                                          "</ISSUES>",
                                                          "<SENTENCE>",
                                                          "</SENTENCE>",
                                                          "<ELEMENTARYSENTENCE>",
                                                          "</ELEMENTARYSENTENCE>",
                                                          "<DIALECTICALNEGATION>",
                                                          "</DIALECTICALNEGATION>",
                                                          "<CONDITIONAL>",
                                                          "</CONDITIONAL>",
                                                          "<ANTECEDENT>",
                                                          "<CONSEQUENT>",
                                                          "</CONSEQUENT>"};

// Reads sentence elements from one text. Every remainder is a suffix of the
// text, held as an offset; searches for a tag remember their last answer, so
// the reader's repeated looks for far-away tags cost linear time overall.
class TTaggedReader {
 public:
  TTaggedReader(TKarvelTheory& theory, std::string_view text, bool parseSentences)
      : FTheory(theory), FText(text), FParse(parseSentences) {}

  [[nodiscard]] std::size_t End() const { return FText.size(); }

  // Absolute position of the first occurrence of a tag at or after `from`.
  std::size_t Find(TTag tag, std::size_t from) {
    TMemo& memo = FMemo[tag];
    if (memo.From != npos && from >= memo.From && (memo.Found == npos || from <= memo.Found))
      return memo.Found;
    memo = {from, FText.find(kTags[tag], from)};
    return memo.Found;
  }
  bool BeginsWith(std::size_t pos, TTag tag) const {
    return FText.substr(pos, kTags[tag].size()) == kTags[tag];
  }
  std::size_t TrimmedFrom(std::size_t pos) const {
    while (pos < FText.size() && IsBlank(FText[pos])) ++pos;
    return pos;
  }
  // TextAfterTag on the remainder starting at `pos`: the trimmed text after
  // the tag, or the remainder itself.
  std::size_t After(TTag tag, std::size_t pos, bool* found = nullptr) {
    const std::size_t at = Find(tag, pos);
    if (found) *found = at != npos;
    return at == npos ? pos : TrimmedFrom(at + kTags[tag].size());
  }

  // One sentence element from the remainder at `pos`; rest is set to the
  // remainder after it (empty on failure).
  TKarvelSentence* Read(std::size_t pos, std::size_t& rest, int depth = 1) {
    TKarvelSentence* s = ReadElement(pos, rest, depth);
    if (!s) rest = End();
    return s;
  }

 private:
  struct TMemo {
    std::size_t From = npos;
    std::size_t Found = npos;
  };

  TKarvelSentence* ReadElement(std::size_t pos, std::size_t& rest, int depth) {
    TKarvelSentence* s = ReadKind(After(tagSentence, pos), rest, depth);
    if (!s) {
      rest = End();
      return nullptr;
    }
    if (Find(tagSentenceEnd, rest) != npos) rest = After(tagSentenceEnd, rest);
    return s;
  }

  TKarvelSentence* ReadKind(std::size_t r, std::size_t& rest, int depth) {
    if (depth > kMaxNestingDepth) return nullptr;
    if (BeginsWith(r, tagElementary)) return ReadElementary(r, rest, depth);
    if (BeginsWith(r, tagNegation)) return ReadNegation(r, rest, depth);
    if (BeginsWith(r, tagConditional)) return ReadConditional(r, rest, depth);
    return nullptr;
  }

  TKarvelSentence* ReadElementary(std::size_t r, std::size_t& rest, int depth) {
    const std::size_t close = Find(tagElementaryEnd, r);
    if (close == npos) return nullptr;
    const std::size_t open = r + kTags[tagElementary].size();
    const std::string_view text = Trim(FText.substr(open, close - open));
    rest = TrimmedFrom(close + kTags[tagElementaryEnd].size());
    return FParse ? ParseSentence(text, FTheory.Arena(), kMaxNestingDepth - depth + 1)
                  : Fresh(FTheory.Arena().NewElementary(std::string(text)));
  }

  TKarvelSentence* ReadNegation(std::size_t r, std::size_t& rest, int depth) {
    if (Find(tagNegationEnd, r) == npos) return nullptr;
    std::size_t innerRest = End();
    TKarvelSentence* inner = ReadElement(After(tagNegation, r), innerRest, depth + 1);
    if (!inner) return nullptr;
    bool closed = false;
    rest = After(tagNegationEnd, innerRest, &closed);
    if (!closed) return nullptr;
    auto* negation = FTheory.Arena().NewNegation();
    negation->NegatedSentence = inner;
    return Compose(negation);
  }

  TKarvelSentence* ReadConditional(std::size_t r, std::size_t& rest, int depth) {
    auto* conditional = FTheory.Arena().NewConditional();
    r = After(tagConditional, r);
    r = After(tagAntecedent, r);
    while (r < End() && BeginsWith(r, tagSentence)) {
      std::size_t next = End();
      TKarvelSentence* a = ReadElement(r, next, depth + 1);
      if (!a) {
        r = End();
        break;
      }
      conditional->Antecedents.push_back(a);
      r = next;
    }
    const bool antecedentsComplete = !conditional->Antecedents.empty();
    bool consequentRead = false;
    bool found = false;
    const std::size_t c = After(tagConsequent, r, &found);
    if (found) {
      r = c;
      std::size_t next = End();
      if (TKarvelSentence* consequent = ReadElement(r, next, depth + 1)) {
        bool closed = false;
        const std::size_t after = After(tagConsequentEnd, next, &closed);
        if (closed) {
          r = after;
          conditional->Consequent = consequent;
          consequentRead = true;
        } else {
          r = End();
        }
      }
    }
    if (!antecedentsComplete || !consequentRead) return nullptr;
    bool closed = false;
    rest = After(tagConditionalEnd, r, &closed);
    if (!closed) return nullptr;
    return Compose(conditional);
  }

  TKarvelSentence* Compose(TKarvelSentence* s) {
    ComposeText(s);
    return Fresh(s);
  }
  TKarvelSentence* Fresh(TKarvelSentence* s) {
    detail::CollectFreshVariables(s, FHashes);
    return s;
  }

  TKarvelTheory& FTheory;
  std::string_view FText;
  bool FParse;
  std::array<TMemo, tagCount> FMemo{};
  detail::THashCache FHashes;
};

// Reads the sentence elements of one section: while a "<SENTENCE>" comes
// before the section's closing tag, read it and continue after it.
template <class Accept>
void ReadSection(TTaggedReader& reader, std::size_t t, TTag closing, Accept accept) {
  for (;;) {
    const std::size_t close = reader.Find(closing, t);
    const std::size_t sentence = reader.Find(tagSentence, t);
    if (close == npos || sentence == npos || sentence >= close) return;
    std::size_t rest = reader.End();
    if (TKarvelSentence* s = reader.Read(t, rest)) accept(s);
    t = rest;
  }
}

}  // namespace

TKarvelTheory::TKarvelTheory() : FArena(std::make_shared<TSentenceArena>()) {}

void TKarvelTheory::LoadFromKarvelFile(const TKarvelFile& file) {
  int position = 0;
  std::string_view rest;
  TextAfterTag(file.Text, "<THEORY>", position, rest);
  Text.assign(rest);
}

void TKarvelTheory::ParseText(bool parseSentences) {
  TTaggedReader reader(*this, Text, parseSentences);
  const std::size_t t = reader.After(tagTheory, 0);
  const std::size_t after = reader.After(tagTheoryEnd, t);

  TTextIndex assumptionTexts;
  ReadSection(reader, t, tagTheoryEnd, [&](TKarvelSentence* s) {
    s->IsAssumption = true;
    if (assumptionTexts.Insert(s->Text).second) Assumptions.push_back(s);
  });
  MarkAssumptions();

  TTextIndex issueTexts;
  ReadSection(reader, reader.After(tagIssues, after), tagIssuesEnd, [&](TKarvelSentence* s) {
    if (assumptionTexts.Contains(s->Text)) return;
    s->IsIssue = true;
    if (issueTexts.Insert(s->Text).second) Issues.push_back(s);
  });
}

bool TKarvelTheory::ReadTaggedSentence(std::string_view text, TKarvelSentence*& sentence,
                                       std::string_view& rest, bool parseSentences) {
  TTaggedReader reader(*this, text, parseSentences);
  std::size_t after = reader.End();
  sentence = reader.Read(0, after);
  rest = sentence ? text.substr(after) : std::string_view();
  return sentence != nullptr;
}

void TKarvelTheory::MarkAssumptionsIn(const TListOfKarvelSentences& sentences) {
  // Collecting all parts keeps the first object of every text; only those
  // with an assumption's text are marked, so only those need remembering.
  TTextIndex assumptionTexts(Assumptions.size());
  for (auto* a : Assumptions) assumptionTexts.Insert(a->Text);
  std::vector<bool> marked(assumptionTexts.Size(), false);
  for (auto* sentence : sentences) {
    detail::WalkParts(sentence, [&](TKarvelSentence* s) {
      const int id = assumptionTexts.Find(s->Text);
      if (id >= 0 && !marked[id]) {
        marked[id] = true;
        s->IsAssumption = true;
      }
      return true;
    });
  }
}

void TKarvelTheory::MarkAssumptions() { MarkAssumptionsIn(Assumptions); }

namespace {

void RemoveDuplicates(TListOfKarvelSentences& list) {
  // Keeps the first occurrence of every text, in order.
  TTextIndex seen(list.size());
  std::size_t kept = 0;
  for (auto* s : list)
    if (seen.Insert(s->Text).second) list[kept++] = s;
  list.resize(kept);
}

}  // namespace

void TKarvelTheory::SaveToKarvelFile(TKarvelFile& file) {
  RemoveDuplicates(Assumptions);
  RemoveDuplicates(Issues);
  std::string& out = file.Text;
  out.clear();
  out += "<KARVEL>\r\n<THEORY>\r\n\r\n";
  for (auto* a : Assumptions) {
    if (!a->IsAssumption) continue;
    AppendTaggedLines(a, out);
    out += "\r\n";
  }
  out += "</THEORY>\r\n<ISSUES>\r\n\r\n";
  for (auto* i : Issues) {
    if (!i->IsIssue) continue;
    AppendTaggedLines(i, out);
    out += "\r\n";
  }
  out += "</ISSUES>\r\n</KARVEL>\r\n";
}

void TKarvelTheory::AppendTaggedSentence(const std::string& prefix, const TKarvelSentence* sentence,
                                         std::string& result) {
  std::string out = prefix;
  AppendTaggedLines(sentence, out);
  result = std::move(out);
}

void TKarvelTheory::AppendTaggedLines(const TKarvelSentence* sentence, std::string& out) {
  out += "<SENTENCE>\r\n";
  if (IsElementary(sentence)) {
    out += "<ELEMENTARYSENTENCE>\r\n";
    out += sentence->Text;
    out += "\r\n</ELEMENTARYSENTENCE>\r\n";
  } else if (const auto* negation = AsNegation(sentence)) {
    out += "<DIALECTICALNEGATION>\r\n";
    AppendTaggedLines(negation->NegatedSentence, out);
    out += "</DIALECTICALNEGATION>\r\n";
  } else if (const auto* conditional = AsConditional(sentence)) {
    out += "<CONDITIONAL>\r\n<ANTECEDENT>\r\n";
    for (const auto* a : conditional->Antecedents) AppendTaggedLines(a, out);
    out += "</ANTECEDENT>\r\n<CONSEQUENT>\r\n";
    AppendTaggedLines(conditional->Consequent, out);
    out += "</CONSEQUENT>\r\n</CONDITIONAL>\r\n";
  }
  out += "</SENTENCE>\r\n";
}

}  // namespace karvel
