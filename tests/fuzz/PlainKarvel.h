// Plain versions of the file reader, the sentence parser, the closure and the
// interpretation search: straight loops, linear scans and string copies, no
// memo, no index, no pruning. The fuzz targets compare the optimised core
// against them, so any shortcut in the core that changes a result shows up as
// a difference. They share only the core's two safety limits (nesting depth
// and text budget), which decide when input counts as malformed.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "KarvelInternal.h"
#include "KarvelUnit.h"

namespace plain {

using karvel::TKarvelSentence;
using karvel::TListOfKarvelSentences;
using karvel::TListOfListOfKarvelSentences;
using karvel::TSentenceKind;
using std::string_view;
constexpr std::size_t npos = string_view::npos;

inline bool Blank(char c) { return static_cast<unsigned char>(c) <= 32; }

// Keeps the data pointer inside the original buffer, also for empty results,
// so that positions can be compared by pointer.
inline string_view Trim(string_view s) {
  std::size_t b = 0;
  while (b < s.size() && Blank(s[b])) ++b;
  std::size_t e = s.size();
  while (e > b && Blank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

inline bool Begins(string_view s, string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

// ---------------------------------------------------------------- sentences

struct TNode {
  TSentenceKind Kind = TSentenceKind::Elementary;
  string_view Source;                         // elementary text (a view into the parsed input)
  std::string Text;                           // filled by Compose
  std::vector<std::unique_ptr<TNode>> Parts;  // negated sentence, or antecedents then consequent
};
using TNodePtr = std::unique_ptr<TNode>;

inline TNodePtr Elementary(string_view text) {
  auto n = std::make_unique<TNode>();
  n->Source = text;
  return n;
}

// Sum of the text sizes of every node, as the canonical texts would be.
struct TTreeMeasure {
  std::size_t Total = 0;
  std::size_t Elementary = 0;
  int Depth = 0;
};

inline std::size_t Saturated(std::size_t a, std::size_t b) { return a + b < a ? SIZE_MAX : a + b; }

inline std::size_t TreeTextSize(const TNode& n, int depth, TTreeMeasure& m) {
  std::size_t own = 0;
  if (depth > m.Depth) m.Depth = depth;
  switch (n.Kind) {
    case TSentenceKind::Elementary:
      own = n.Source.size();
      m.Elementary = Saturated(m.Elementary, own);
      break;
    case TSentenceKind::DialecticalNegation:
      own = Saturated(TreeTextSize(*n.Parts[0], depth + 1, m), 3);
      break;
    default:
      own = 4;
      for (auto& p : n.Parts) own = Saturated(own, TreeTextSize(*p, depth + 1, m));
      own = Saturated(own, 2 * (n.Parts.size() - 1));
      break;
  }
  m.Total = Saturated(m.Total, own);
  return own;
}

inline void Compose(TNode& n) {
  for (auto& p : n.Parts) Compose(*p);
  if (n.Kind == TSentenceKind::Elementary) {
    n.Text = std::string(n.Source);
  } else if (n.Kind == TSentenceKind::DialecticalNegation) {
    n.Text = "x(" + n.Parts[0]->Text + ")";
  } else {
    n.Text = "if(";
    for (std::size_t i = 0; i + 1 < n.Parts.size(); ++i) {
      if (i > 0) n.Text += ", ";
      n.Text += n.Parts[i]->Text;
    }
    n.Text += ", " + n.Parts.back()->Text + ")";
  }
}

// The recursive descent exactly as the rules read; `rest` is always the
// remainder of the one text being parsed.
class TParser {
 public:
  explicit TParser(int maxDepth) : FMaxDepth(maxDepth) {}
  bool TooDeep = false;

  TNodePtr Prefix(string_view text, string_view& rest, int depth) {
    if (depth > FMaxDepth) {
      TooDeep = true;
      return Elementary({});
    }
    const string_view t = Trim(text);
    if (Begins(t, "x(")) {
      rest = Trim(t.substr(2));
      TNodePtr inner = Prefix(rest, rest, depth + 1);
      if (TooDeep) return inner;
      if (Begins(rest, ")")) {
        auto n = std::make_unique<TNode>();
        n->Kind = TSentenceKind::DialecticalNegation;
        n->Parts.push_back(std::move(inner));
        rest = rest.substr(1);
        return n;
      }
      return Elementary(t);
    }
    if (Begins(t, "if(")) {
      rest = Trim(t.substr(3));
      TNodePtr item = Prefix(rest, rest, depth + 1);
      std::vector<TNodePtr> antecedents;
      while (!TooDeep && Begins(rest, ",")) {
        antecedents.push_back(std::move(item));
        rest = Trim(rest.substr(1));
        item = Prefix(rest, rest, depth + 1);
      }
      if (TooDeep) return item;
      if (antecedents.empty()) return Elementary(t);
      rest = Trim(rest);
      if (!Begins(rest, ")")) return Elementary(t);
      auto n = std::make_unique<TNode>();
      n->Kind = TSentenceKind::Conditional;
      n->Parts = std::move(antecedents);
      n->Parts.push_back(std::move(item));
      rest = rest.substr(1);
      return n;
    }
    // 1-based "position at least 2" is 0-based index at least 1.
    const std::size_t comma = rest.find(','), close = rest.find(')');
    if (comma != npos && comma >= 1 && (close == npos || comma < close)) {
      TNodePtr n = Elementary(Trim(rest.substr(0, comma)));
      rest = Trim(rest.substr(comma));
      return n;
    }
    if (close != npos && close >= 1) {
      TNodePtr n = Elementary(Trim(rest.substr(0, close)));
      rest = Trim(rest.substr(close));
      return n;
    }
    return Elementary(t);
  }

 private:
  int FMaxDepth;
};

// ParseSentence with the core's limits: too deep or too much text makes the
// whole trimmed text one elementary sentence.
inline TNodePtr Parse(string_view text, int maxDepth = karvel::kMaxNestingDepth) {
  TParser parser(maxDepth);
  string_view rest = text.substr(text.size());
  TNodePtr n = parser.Prefix(text, rest, 1);
  const string_view t = Trim(text);
  TTreeMeasure m;
  if (!parser.TooDeep) TreeTextSize(*n, 1, m);
  if (parser.TooDeep || m.Elementary > karvel::detail::ElementaryTextBudget(t.size()) ||
      m.Total > karvel::detail::TextBudget(t.size(), m.Depth))
    n = Elementary(t);
  Compose(*n);
  return n;
}

inline void ElementaryVariables(string_view w, std::vector<std::string>& out) {
  for (;;) {
    const std::size_t lt = w.find('<');
    if (lt == npos) return;
    w.remove_prefix(lt);
    const std::size_t gt = w.find('>');
    if (gt == npos) return;
    out.emplace_back(w.substr(0, gt + 1));
    w.remove_prefix(gt + 1);
  }
}

// Variables of a node: its elementary parts in the order of collecting
// subsentences (itself, then negated / consequent, then antecedents), each
// distinct text once.
inline void Collect(const TNode& n, std::vector<const TNode*>& list) {
  bool present = false;
  for (auto* s : list) present = present || s->Text == n.Text;
  if (!present) list.push_back(&n);
  if (n.Kind == TSentenceKind::DialecticalNegation) {
    Collect(*n.Parts[0], list);
  } else if (n.Kind == TSentenceKind::Conditional) {
    Collect(*n.Parts.back(), list);
    for (std::size_t i = 0; i + 1 < n.Parts.size(); ++i) Collect(*n.Parts[i], list);
  }
}
inline std::vector<std::string> Variables(const TNode& n) {
  std::vector<std::string> out;
  std::vector<const TNode*> parts;
  Collect(n, parts);
  for (auto* p : parts)
    if (p->Kind == TSentenceKind::Elementary) ElementaryVariables(p->Text, out);
  return out;
}

// Whether a core sentence has exactly the plain structure, texts and
// variables, at every level.
inline bool SameSentence(const TKarvelSentence* s, const TNode& n) {
  if (s->Kind() != n.Kind || s->Text != n.Text || s->Variables != Variables(n)) return false;
  if (const auto* negation = karvel::AsNegation(s))
    return SameSentence(negation->NegatedSentence, *n.Parts[0]);
  if (const auto* conditional = karvel::AsConditional(s)) {
    if (conditional->Antecedents.size() + 1 != n.Parts.size()) return false;
    for (std::size_t i = 0; i < conditional->Antecedents.size(); ++i)
      if (!SameSentence(conditional->Antecedents[i], *n.Parts[i])) return false;
    return SameSentence(conditional->Consequent, *n.Parts.back());
  }
  return true;
}

// ---------------------------------------------------------------- files

inline std::string LoadFromBytes(string_view bytes) {
  if (const std::size_t nul = bytes.find('\0'); nul != npos) bytes = bytes.substr(0, nul);
  std::string joined;
  for (std::size_t i = 0; i < bytes.size();) {
    if (bytes[i] == '\r') {
      joined += "\r\n";
      i += (i + 1 < bytes.size() && bytes[i + 1] == '\n') ? 2 : 1;
    } else if (bytes[i] == '\n') {
      joined += "\r\n";
      ++i;
    } else {
      joined += bytes[i++];
    }
  }
  if (!bytes.empty() && bytes.back() != '\r' && bytes.back() != '\n') joined += "\r\n";
  const string_view t = Trim(joined);
  const std::size_t from = t.find("<KARVEL>"), to = t.find("</KARVEL>");
  if (from == npos || to == npos || to <= from) return {};
  return std::string(t.substr(from, to - from + 9)) + "\r\n";
}

inline bool TextAfterTag(string_view text, string_view tag, string_view& rest) {
  const std::size_t found = text.find(tag);
  if (found == npos) {
    rest = text;
    return false;
  }
  rest = Trim(text.substr(found + tag.size()));
  return true;
}

inline std::size_t Position(string_view text, string_view tag) {
  const std::size_t found = text.find(tag);
  return found == npos ? 0 : found + 1;
}

struct TTheory {
  std::vector<TNodePtr> Assumptions, Issues;
};

class TReader {
 public:
  explicit TReader(bool parse) : FParse(parse) {}

  TNodePtr ReadTop(string_view text, string_view& rest) { return Read(text, rest, 1); }

  void ParseText(string_view text, TTheory& theory) {
    string_view t;
    TextAfterTag(text, "<THEORY>", t);
    std::size_t close = Position(t, "</THEORY>");
    string_view after;
    TextAfterTag(t, "</THEORY>", after);
    for (std::size_t p; (p = Position(t, "<SENTENCE>")) > 0 && p < close;) {
      string_view rest;
      if (TNodePtr s = ReadTop(t, rest); s && !Has(theory.Assumptions, s->Text))
        theory.Assumptions.push_back(std::move(s));
      t = rest;
      close = Position(t, "</THEORY>");
    }
    TextAfterTag(after, "<ISSUES>", t);
    close = Position(t, "</ISSUES>");
    for (std::size_t p; (p = Position(t, "<SENTENCE>")) > 0 && p < close;) {
      string_view rest;
      if (TNodePtr s = ReadTop(t, rest);
          s && !Has(theory.Assumptions, s->Text) && !Has(theory.Issues, s->Text))
        theory.Issues.push_back(std::move(s));
      t = rest;
      close = Position(t, "</ISSUES>");
    }
  }

 private:
  static bool Has(const std::vector<TNodePtr>& list, const std::string& text) {
    for (auto& n : list)
      if (n->Text == text) return true;
    return false;
  }

  TNodePtr Fail(string_view& rest) {
    rest = {};
    return nullptr;
  }

  TNodePtr Read(string_view text, string_view& rest, int depth) {
    string_view r;
    TextAfterTag(text, "<SENTENCE>", r);
    if (depth > karvel::kMaxNestingDepth) return Fail(rest);
    TNodePtr s;
    if (Begins(r, "<ELEMENTARYSENTENCE>")) {
      const std::size_t e = r.find("</ELEMENTARYSENTENCE>");
      if (e == npos) return Fail(rest);
      const string_view t = Trim(r.substr(20, e - 20));
      r = Trim(r.substr(e + 21));
      if (FParse) {
        s = Parse(t, karvel::kMaxNestingDepth - depth + 1);
      } else {
        s = Elementary(t);
        Compose(*s);
      }
    } else if (Begins(r, "<DIALECTICALNEGATION>")) {
      if (r.find("</DIALECTICALNEGATION>") == npos) return Fail(rest);
      string_view innerRest;
      TNodePtr inner = Read(Trim(r.substr(21)), innerRest, depth + 1);
      if (!inner) return Fail(rest);
      if (!TextAfterTag(innerRest, "</DIALECTICALNEGATION>", r)) return Fail(rest);
      s = std::make_unique<TNode>();
      s->Kind = TSentenceKind::DialecticalNegation;
      s->Text = "x(" + inner->Text + ")";
      s->Parts.push_back(std::move(inner));
    } else if (Begins(r, "<CONDITIONAL>")) {
      r = Trim(r.substr(13));
      std::vector<TNodePtr> parts;
      // Without "<ANTECEDENT>" the remainder stays, and sentences right
      // after "<CONDITIONAL>" are the antecedents.
      TextAfterTag(r, "<ANTECEDENT>", r);
      while (Begins(r, "<SENTENCE>")) {
        string_view next;
        TNodePtr a = Read(r, next, depth + 1);
        if (!a) {
          r = {};
          break;
        }
        parts.push_back(std::move(a));
        r = next;
      }
      const bool complete = !parts.empty();
      TNodePtr consequent;
      if (TextAfterTag(r, "<CONSEQUENT>", r)) {
        string_view next;
        if (TNodePtr c = Read(r, next, depth + 1)) {
          if (TextAfterTag(next, "</CONSEQUENT>", r))
            consequent = std::move(c);
          else
            r = {};
        }
      }
      if (!complete || !consequent) return Fail(rest);
      if (!TextAfterTag(r, "</CONDITIONAL>", r)) return Fail(rest);
      s = std::make_unique<TNode>();
      s->Kind = TSentenceKind::Conditional;
      s->Parts = std::move(parts);
      s->Parts.push_back(std::move(consequent));
      s->Text = "if(";
      for (std::size_t i = 0; i + 1 < s->Parts.size(); ++i) {
        if (i > 0) s->Text += ", ";
        s->Text += s->Parts[i]->Text;
      }
      s->Text += ", " + s->Parts.back()->Text + ")";
    } else {
      return Fail(rest);
    }
    TextAfterTag(r, "</SENTENCE>", r);
    rest = r;
    return s;
  }

  bool FParse;
};

inline void WriteTagged(const TNode& n, std::string& out) {
  out += "<SENTENCE>\r\n";
  if (n.Kind == TSentenceKind::Elementary) {
    out += "<ELEMENTARYSENTENCE>\r\n" + n.Text + "\r\n</ELEMENTARYSENTENCE>\r\n";
  } else if (n.Kind == TSentenceKind::DialecticalNegation) {
    out += "<DIALECTICALNEGATION>\r\n";
    WriteTagged(*n.Parts[0], out);
    out += "</DIALECTICALNEGATION>\r\n";
  } else {
    out += "<CONDITIONAL>\r\n<ANTECEDENT>\r\n";
    for (std::size_t i = 0; i + 1 < n.Parts.size(); ++i) WriteTagged(*n.Parts[i], out);
    out += "</ANTECEDENT>\r\n<CONSEQUENT>\r\n";
    WriteTagged(*n.Parts.back(), out);
    out += "</CONSEQUENT>\r\n</CONDITIONAL>\r\n";
  }
  out += "</SENTENCE>\r\n";
}

inline std::string Write(const TTheory& theory) {
  std::string out = "<KARVEL>\r\n<THEORY>\r\n\r\n";
  for (auto& a : theory.Assumptions) {
    WriteTagged(*a, out);
    out += "\r\n";
  }
  out += "</THEORY>\r\n<ISSUES>\r\n\r\n";
  for (auto& i : theory.Issues) {
    WriteTagged(*i, out);
    out += "\r\n";
  }
  return out + "</ISSUES>\r\n</KARVEL>\r\n";
}

// ---------------------------------------------------------------- logic

inline int PlainIndexOfText(const TListOfKarvelSentences& list, string_view text) {
  for (std::size_t i = 0; i < list.size(); ++i)
    if (list[i]->Text == text) return static_cast<int>(i);
  return -1;
}
inline std::string Negation(const TKarvelSentence* s) { return "x(" + s->Text + ")"; }

inline TListOfKarvelSentences Closure(const TListOfKarvelSentences& sentences) {
  TListOfKarvelSentences c;
  for (auto* s : sentences)
    if (PlainIndexOfText(c, s->Text) < 0) c.push_back(s);
  for (bool appended = true; appended;) {
    appended = false;
    const std::size_t n = c.size();
    for (std::size_t i = 0; i < n; ++i) {
      const auto* conditional = karvel::AsConditional(c[i]);
      if (!conditional || PlainIndexOfText(c, conditional->Consequent->Text) >= 0) continue;
      bool all = true;
      for (auto* a : conditional->Antecedents) all = all && PlainIndexOfText(c, a->Text) >= 0;
      if (!all) continue;
      c.push_back(conditional->Consequent);
      appended = true;
    }
  }
  return c;
}

inline bool Consistent(const TListOfKarvelSentences& sentences, TKarvelSentence*& culprit) {
  const auto c = Closure(sentences);
  for (auto* s : c)
    if (PlainIndexOfText(c, Negation(s)) >= 0) {
      culprit = s;
      return false;
    }
  return true;
}

inline TListOfKarvelSentences Grounded(const TListOfKarvelSentences& assumptions) {
  TListOfKarvelSentences g;
  for (bool added = true; added;) {
    added = false;
    const auto cg = Closure(g);
    TListOfKarvelSentences u;
    for (auto* a : assumptions)
      if (PlainIndexOfText(cg, Negation(a)) < 0) u.push_back(a);
    const auto cu = Closure(u);
    for (auto* a : assumptions)
      if (PlainIndexOfText(cu, Negation(a)) < 0 && PlainIndexOfText(g, a->Text) < 0) {
        g.push_back(a);
        added = true;
      }
  }
  return g;
}

inline TListOfListOfKarvelSentences Interpretations(const TListOfKarvelSentences& assumptions) {
  TListOfListOfKarvelSentences out;
  const auto g = Grounded(assumptions);
  TKarvelSentence* culprit = nullptr;
  if (!Consistent(g, culprit)) return out;
  const auto cg = Closure(g);
  TListOfKarvelSentences undecided;
  for (auto* a : assumptions)
    if (PlainIndexOfText(g, a->Text) < 0 && PlainIndexOfText(cg, Negation(a)) < 0) undecided.push_back(a);
  std::vector<bool> bits(undecided.size(), false);
  for (;;) {
    TListOfKarvelSentences candidate = g;
    for (std::size_t i = 0; i < bits.size(); ++i)
      if (bits[i]) candidate.push_back(undecided[i]);
    if (Consistent(candidate, culprit)) {
      const auto cc = Closure(candidate);
      bool attacksRest = true;
      for (auto* a : assumptions)
        if (PlainIndexOfText(candidate, a->Text) < 0 && PlainIndexOfText(cc, Negation(a)) < 0)
          attacksRest = false;
      if (attacksRest) out.push_back(candidate);
    }
    // Count up with bit 0 as the most significant digit.
    std::size_t i = bits.size();
    while (i > 0 && bits[i - 1]) bits[--i] = false;
    if (i == 0) break;
    bits[i - 1] = true;
  }
  return out;
}

}  // namespace plain
