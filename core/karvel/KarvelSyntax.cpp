#include "KarvelSyntax.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <unordered_set>
#include <vector>

#include "KarvelInternal.h"

namespace karvel {

std::string_view TrimLeft(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  return text.substr(i);
}

std::string_view Trim(std::string_view text) {
  text = TrimLeft(text);
  std::size_t n = text.size();
  while (n > 0 && IsBlank(text[n - 1])) --n;
  return text.substr(0, n);
}

namespace {

constexpr std::size_t npos = std::string_view::npos;

// The recursive descent works on offsets into one trimmed text whose end is
// fixed: every remainder is a suffix of it. It first builds a light tree of
// views, so that the elementary fallbacks it later drops cost nothing, and
// only the accepted structure becomes sentence objects.
class TSentenceParser {
 public:
  TSentenceParser(std::string_view text, int maxDepth) : FText(Trim(text)), FMaxDepth(maxDepth) {}

  TKarvelSentence* Parse(TSentenceArena& arena) {
    const int root = Root();
    if (root < 0) return Finish(arena.NewElementary(std::string(FText)));
    return Build(root, arena);
  }
  //! The depth of what Parse builds; FMaxDepth + 1 when the text is too deep.
  int Depth() {
    std::size_t rest = FText.size();
    const int root = Prefix(0, rest, /*topLevel=*/true, 1);
    if (FTooDeep) return FMaxDepth + 1;
    TMeasure measure;
    Measure(root, 1, measure);
    return Accepted(measure) ? measure.Depth : 1;
  }
  //! The text of what Parse builds.
  std::string Text() {
    const int root = Root();
    if (root < 0) return std::string(FText);
    std::string out;
    Print(root, out);
    return out;
  }

 private:
  enum class TNodeKind : std::uint8_t { Elementary, Negation, Conditional };
  struct TNode {
    TNodeKind Kind;
    std::string_view Text;  // elementary only
    int First = -1;         // negated sentence, or first antecedent
    int Consequent = -1;
    int Next = -1;  // next antecedent
  };
  // First occurrence of a character at or after a position, remembered so
  // that the forward-moving scans of one parse stay linear overall.
  struct TFindMemo {
    std::size_t From = npos;
    std::size_t Found = npos;
  };

  std::size_t TrimmedStart(std::size_t pos) const {
    while (pos < FText.size() && IsBlank(FText[pos])) ++pos;
    return pos;
  }
  bool StartsWith(std::size_t pos, std::string_view s) const { return FText.substr(pos, s.size()) == s; }
  bool At(std::size_t pos, char c) const { return pos < FText.size() && FText[pos] == c; }

  std::size_t FindFrom(char c, std::size_t from, TFindMemo& memo) const {
    if (memo.From != npos && from >= memo.From && (memo.Found == npos || from <= memo.Found))
      return memo.Found;
    std::size_t found = FText.find(c, from);
    memo = {from, found};
    return found;
  }

  int NewNode(TNodeKind kind, std::string_view text = {}) {
    FNodes.push_back({kind, text});
    return static_cast<int>(FNodes.size()) - 1;
  }

  // One sentence from position `start` (the trimmed remainder); `rest` is the
  // remainder's start, FText.size() meaning empty.
  int Prefix(std::size_t start, std::size_t& rest, bool topLevel, int depth) {
    if (depth > FMaxDepth) {
      FTooDeep = true;
      return NewNode(TNodeKind::Elementary);
    }
    const std::size_t t = TrimmedStart(start);
    const std::string_view whole = FText.substr(t);
    if (StartsWith(t, "x(")) {
      rest = TrimmedStart(t + 2);
      const int inner = Prefix(rest, rest, false, depth + 1);
      if (FTooDeep) return inner;
      if (At(rest, ')')) {
        const int node = NewNode(TNodeKind::Negation);
        FNodes[node].First = inner;
        rest += 1;
        return node;
      }
      return NewNode(TNodeKind::Elementary, whole);
    }
    if (StartsWith(t, "if(")) {
      rest = TrimmedStart(t + 3);
      int item = Prefix(rest, rest, false, depth + 1);
      int first = -1, last = -1;
      while (!FTooDeep && At(rest, ',')) {
        if (last < 0)
          first = item;
        else
          FNodes[last].Next = item;
        last = item;
        rest = TrimmedStart(rest + 1);
        item = Prefix(rest, rest, false, depth + 1);
      }
      if (FTooDeep) return item;
      if (first < 0) return NewNode(TNodeKind::Elementary, whole);
      rest = TrimmedStart(rest);
      if (!At(rest, ')')) return NewNode(TNodeKind::Elementary, whole);
      const int node = NewNode(TNodeKind::Conditional);
      FNodes[node].First = first;
      FNodes[node].Consequent = item;
      rest += 1;
      return node;
    }
    if (!topLevel) {
      // Delimited by the remainder: up to the first comma or closing
      // parenthesis, whichever comes first.
      const std::size_t comma = FindFrom(',', rest, FCommaMemo);
      const std::size_t close = FindFrom(')', rest, FCloseMemo);
      if (comma != npos && comma > rest && (close == npos || comma < close)) {
        const int node = NewNode(TNodeKind::Elementary, Trim(FText.substr(rest, comma - rest)));
        rest = TrimmedStart(comma);
        return node;
      }
      if (close != npos && close > rest) {
        const int node = NewNode(TNodeKind::Elementary, Trim(FText.substr(rest, close - rest)));
        rest = TrimmedStart(close);
        return node;
      }
    }
    return NewNode(TNodeKind::Elementary, whole);
  }

  struct TMeasure {
    std::size_t Total = 0;       // bytes of all the sentences' texts
    std::size_t Elementary = 0;  // bytes of the elementary sentences' texts
    int Depth = 0;
  };
  // The root of the accepted structure, or -1 when the whole text is one
  // elementary sentence.
  int Root() {
    std::size_t rest = FText.size();  // the top level starts with an empty remainder
    const int root = Prefix(0, rest, /*topLevel=*/true, 1);
    if (FTooDeep) return -1;
    TMeasure measure;
    Measure(root, 1, measure);
    return Accepted(measure) ? root : -1;
  }
  // Whether the structure holds no more text than a well-formed sentence of
  // this length and depth could.
  bool Accepted(const TMeasure& measure) const {
    return measure.Elementary <= detail::ElementaryTextBudget(FText.size()) &&
           measure.Total <= detail::TextBudget(FText.size(), measure.Depth);
  }
  void Print(int index, std::string& out) const {
    const TNode& node = FNodes[index];
    switch (node.Kind) {
      case TNodeKind::Elementary:
        out += node.Text;
        break;
      case TNodeKind::Negation:
        out += "x(";
        Print(node.First, out);
        out += ')';
        break;
      case TNodeKind::Conditional:
        out += "if(";
        for (int a = node.First; a >= 0; a = FNodes[a].Next) {
          Print(a, out);
          out += ", ";
        }
        Print(node.Consequent, out);
        out += ')';
        break;
    }
  }
  static std::size_t Add(std::size_t a, std::size_t b) { return a + b < a ? SIZE_MAX : a + b; }
  std::size_t Measure(int index, int depth, TMeasure& measure) {
    const TNode& node = FNodes[index];
    measure.Depth = std::max(measure.Depth, depth);
    std::size_t own = 0;
    switch (node.Kind) {
      case TNodeKind::Elementary:
        own = node.Text.size();
        measure.Elementary = Add(measure.Elementary, own);
        break;
      case TNodeKind::Negation:
        own = Add(Measure(node.First, depth + 1, measure), 3);
        break;
      case TNodeKind::Conditional:
        own = Add(4, Measure(node.Consequent, depth + 1, measure));
        for (int a = node.First; a >= 0; a = FNodes[a].Next)
          own = Add(own, Add(Measure(a, depth + 1, measure), 2));
        break;
    }
    measure.Total = Add(measure.Total, own);
    return own;
  }

  TKarvelSentence* Build(int index, TSentenceArena& arena) {
    const TNode& node = FNodes[index];
    switch (node.Kind) {
      case TNodeKind::Elementary:
        return Finish(arena.NewElementary(std::string(node.Text)));
      case TNodeKind::Negation: {
        auto* negation = arena.NewNegation();
        negation->NegatedSentence = Build(node.First, arena);
        return Finish(negation);
      }
      case TNodeKind::Conditional: {
        auto* conditional = arena.NewConditional();
        for (int a = node.First; a >= 0; a = FNodes[a].Next)
          conditional->Antecedents.push_back(Build(a, arena));
        conditional->Consequent = Build(node.Consequent, arena);
        return Finish(conditional);
      }
    }
    return nullptr;
  }

  TKarvelSentence* Finish(TKarvelSentence* sentence) {
    ComposeText(sentence);
    detail::CollectFreshVariables(sentence, FHashes);
    return sentence;
  }

  std::string_view FText;
  int FMaxDepth;
  bool FTooDeep = false;
  std::vector<TNode> FNodes;
  TFindMemo FCommaMemo, FCloseMemo;
  detail::THashCache FHashes;
};

}  // namespace

TKarvelSentence* ParseSentence(std::string_view text, TSentenceArena& arena, int maxDepth) {
  return TSentenceParser(text, maxDepth).Parse(arena);
}

int ParsedNestingDepth(std::string_view text, int limit) { return TSentenceParser(text, limit).Depth(); }

std::string ParsedText(std::string_view text) { return TSentenceParser(text, kMaxNestingDepth).Text(); }

void ComposeText(TKarvelSentence* sentence) {
  if (auto* negation = AsNegation(sentence)) {
    sentence->Text = NegationText(negation->NegatedSentence->Text);
  } else if (auto* conditional = AsConditional(sentence)) {
    std::size_t size = 5 + conditional->Consequent->Text.size();
    for (auto* a : conditional->Antecedents) size += a->Text.size() + 2;
    std::string text;
    text.reserve(size);
    text += "if(";
    bool first = true;
    for (auto* a : conditional->Antecedents) {
      if (!first) text += ", ";
      text += a->Text;
      first = false;
    }
    text += ", ";
    text += conditional->Consequent->Text;
    text += ')';
    sentence->Text = std::move(text);
  }
}

void CollectElementaryVariables(TKarvelSentence* sentence) {
  sentence->Variables.clear();
  std::string_view w = sentence->Text;
  for (std::size_t lt = w.find('<'); lt != npos; lt = w.find('<')) {
    w.remove_prefix(lt);
    const std::size_t gt = w.find('>');
    if (gt == npos) break;
    sentence->Variables.emplace_back(w.substr(0, gt + 1));
    w.remove_prefix(gt + 1);
  }
}

void CollectVariables(TKarvelSentence* sentence) {
  sentence->Variables.clear();
  if (IsElementary(sentence)) {
    CollectElementaryVariables(sentence);
    return;
  }
  TListOfKarvelSentences parts;
  CollectSubsentences(sentence, parts);
  for (auto* part : parts) {
    if (!IsElementary(part)) continue;
    CollectElementaryVariables(part);
    sentence->Variables.insert(sentence->Variables.end(), part->Variables.begin(), part->Variables.end());
  }
}

namespace detail {

namespace {

// A sentence identified by its text, with the text's hash computed once.
struct THashedText {
  const TKarvelSentence* Sentence;
  std::size_t Hash;
  bool operator==(const THashedText& other) const {
    return Hash == other.Hash && Sentence->Text == other.Sentence->Text;
  }
};
struct THashedTextHash {
  std::size_t operator()(const THashedText& t) const { return t.Hash; }
};

std::size_t HashOf(const TKarvelSentence* s, THashCache& hashes) {
  auto [it, inserted] = hashes.try_emplace(s, 0);
  if (inserted) it->second = std::hash<std::string_view>{}(s->Text);
  return it->second;
}

}  // namespace

void CollectFreshVariables(TKarvelSentence* sentence, THashCache& hashes) {
  sentence->Variables.clear();
  if (sentence->Text.find('<') == npos) return;
  if (IsElementary(sentence)) {
    CollectElementaryVariables(sentence);
    return;
  }
  // The walk of CollectSubsentences (consequent first, equal texts once).
  // Parts without "<" contribute no variables, and neither can any later part
  // of equal text, so their subtrees are skipped.
  std::unordered_set<THashedText, THashedTextHash> seen;
  WalkParts(sentence, [&](TKarvelSentence* s) {
    if (s->Text.find('<') == npos) return false;
    const bool fresh = seen.insert({s, HashOf(s, hashes)}).second;
    if (fresh && IsElementary(s))
      sentence->Variables.insert(sentence->Variables.end(), s->Variables.begin(), s->Variables.end());
    return true;
  });
}

}  // namespace detail

TSentenceCollector::TSentenceCollector(TListOfKarvelSentences& list) : FList(list), FTexts(list.size()) {
  for (auto* s : list) FTexts.Insert(s->Text);
}

bool TSentenceCollector::Add(TKarvelSentence* sentence) {
  if (!FTexts.Insert(sentence->Text).second) return false;
  FList.push_back(sentence);
  return true;
}

void TSentenceCollector::Collect(TKarvelSentence* sentence) {
  detail::WalkParts(sentence, [this](TKarvelSentence* s) {
    Add(s);
    return true;
  });
}

void CollectSubsentences(TKarvelSentence* sentence, TListOfKarvelSentences& list) {
  TSentenceCollector collector(list);
  collector.Collect(sentence);
}

bool HasSubsentence(TKarvelSentence* sentence, const TKarvelSentence* part) {
  TListOfKarvelSentences parts;
  TSentenceCollector collector(parts);
  collector.Collect(sentence);
  return collector.Contains(part->Text);
}

TKarvelDialecticalNegation* DialecticalNegationOf(TKarvelSentence* sentence, TSentenceArena& arena) {
  auto* negation = arena.NewNegation();
  negation->NegatedSentence = sentence;
  ComposeText(negation);
  CollectVariables(negation);
  return negation;
}

}  // namespace karvel
