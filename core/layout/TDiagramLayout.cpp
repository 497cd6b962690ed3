#include "TDiagramLayout.h"

#include <algorithm>
#include <cstdlib>

namespace ostrel::diagram {

using karvel::TKarvelConditional;
using karvel::TKarvelSentence;
using karvel::TListOfKarvelSentences;

namespace {

constexpr std::string_view kBlankCaption = "   ";
constexpr std::string_view kRepetitionCaption = "...";

TConnectorKind StyleOf(TDiagramNodeKind kind) {
  switch (kind) {
    case TDiagramNodeKind::nkAttackOfSentence:
      return TConnectorKind::BoxDropAttack;
    case TDiagramNodeKind::nkSupportOfDropRule:
      return TConnectorKind::BranchSupport;
    case TDiagramNodeKind::nkAttackOfDropRule:
      return TConnectorKind::BranchAttack;
    case TDiagramNodeKind::nkSupportOfBranchRule:
      return TConnectorKind::LineDropSupport;
    case TDiagramNodeKind::nkAttackOfBranchRule:
      return TConnectorKind::LineDropAttack;
    default:
      return TConnectorKind::BoxDropSupport;
  }
}

}  // namespace

TDiagramLayout::TDiagramLayout(TDiagramSink& sink, const karvel::TKarvelTheory& theory,
                               const TDiagramOptions& options, const TDiagramMetrics& metrics,
                               std::size_t elementBound)
    : FSink(sink), FTheory(theory), FOptions(options), FMetrics(metrics), FElementBound(elementBound) {}

int TDiagramLayout::Intern(std::string_view text) {
  auto [it, inserted] = FIds.try_emplace(text, static_cast<int>(FInfo.size()));
  if (inserted) FInfo.emplace_back();
  return it->second;
}

// The pool below a node is the sentence list without the texts on the path,
// so it is answered from the index instead of being copied per node. The
// owner of the pool is itself on the path while its children are laid out,
// yet its text still belongs to its own pool.
bool TDiagramLayout::InPool(int id, int poolOwner) const {
  const TTextInfo& info = FInfo[id];
  return info.FirstEntry != nullptr && (!info.OnPath || id == poolOwner);
}

int TDiagramLayout::CountRules(int begin, int end) const {
  int count = 0;
  for (int i = begin; i < end; ++i)
    if (!FInfo[FRules[i].TextId].OnPath) ++count;
  return count;
}

void TDiagramLayout::BuildIndex(const TListOfKarvelSentences& sentences) {
  FIds.clear();
  FInfo.clear();
  FRules.clear();
  FRuleData.clear();
  FAntecedentIds.clear();
  FEntryIds.assign(sentences.size(), -1);
  FIds.reserve(sentences.size() * 2 + FTheory.Assumptions.size() + FTheory.Issues.size());
  FInfo.reserve(sentences.size() * 2);

  for (std::size_t i = 0; i < sentences.size(); ++i) {
    const int id = Intern(sentences[i]->Text);
    FEntryIds[i] = id;
    if (FInfo[id].FirstEntry == nullptr) FInfo[id].FirstEntry = sentences[i];
  }
  // Consequent text -> conditionals concluding it, and negated text ->
  // conditionals attacking it, both in list order, as ranges of FRules.
  std::vector<int> ruleOf(sentences.size(), -1), attackerOf(sentences.size(), -1);
  for (std::size_t i = 0; i < sentences.size(); ++i) {
    const TKarvelConditional* rule = karvel::AsConditional(sentences[i]);
    if (rule == nullptr) continue;
    TRuleData data{Intern(rule->Consequent->Text), static_cast<int>(FAntecedentIds.size()), 0};
    for (const TKarvelSentence* a : rule->Antecedents) FAntecedentIds.push_back(Intern(a->Text));
    data.AntecedentsEnd = static_cast<int>(FAntecedentIds.size());
    ruleOf[i] = static_cast<int>(FRuleData.size());
    FRuleData.push_back(data);
    std::string_view inner;
    if (karvel::NegatedText(rule->Consequent->Text, inner)) attackerOf[i] = Intern(inner);
  }
  std::vector<int> supporters(FInfo.size(), 0), attackers(FInfo.size(), 0);
  for (std::size_t i = 0; i < sentences.size(); ++i) {
    if (ruleOf[i] >= 0) ++supporters[FRuleData[ruleOf[i]].ConsequentId];
    if (attackerOf[i] >= 0) ++attackers[attackerOf[i]];
  }
  int next = 0;
  for (std::size_t id = 0; id < FInfo.size(); ++id) {
    FInfo[id].SupportersBegin = FInfo[id].SupportersEnd = next;
    next += supporters[id];
    FInfo[id].AttackersBegin = FInfo[id].AttackersEnd = next;
    next += attackers[id];
  }
  FRules.resize(next, TRuleRef{nullptr, 0, 0});
  for (std::size_t i = 0; i < sentences.size(); ++i) {
    if (ruleOf[i] < 0) continue;
    const TRuleRef ref{karvel::AsConditional(sentences[i]), FEntryIds[i], ruleOf[i]};
    FRules[FInfo[FRuleData[ruleOf[i]].ConsequentId].SupportersEnd++] = ref;
    if (attackerOf[i] >= 0) FRules[FInfo[attackerOf[i]].AttackersEnd++] = ref;
  }

  for (TKarvelSentence* s : FTheory.Assumptions) {
    const int id = Intern(s->Text);
    if (FInfo[id].Assumption == nullptr) FInfo[id].Assumption = s;
  }
  for (TKarvelSentence* s : FTheory.Issues) {
    const int id = Intern(s->Text);
    if (FInfo[id].Issue == nullptr) FInfo[id].Issue = s;
  }
}

int TDiagramLayout::DrawDiagram(const TListOfKarvelSentences& sentences, int firstRow, int column,
                                TListOfKarvelSentences& drawn) {
  drawn.clear();
  FDrawn = &drawn;
  FNodes = FCut = 0;
  FDepth = 0;
  BuildIndex(sentences);

  std::vector<char> isAntecedent(FInfo.size(), 0);
  for (int id : FAntecedentIds) isAntecedent[id] = 1;

  // Conclusions and sentences that stand alone first, then sentences used only
  // as reasons, then rules and negations that no tree has drawn.
  std::vector<std::size_t> candidates;
  candidates.reserve(sentences.size());
  auto plain = [](const TKarvelSentence* s) { return !karvel::IsConditional(s) && !karvel::IsNegation(s); };
  for (std::size_t i = 0; i < sentences.size(); ++i)
    if (plain(sentences[i]) && isAntecedent[FEntryIds[i]] == 0) candidates.push_back(i);
  for (std::size_t i = 0; i < sentences.size(); ++i)
    if (plain(sentences[i]) && isAntecedent[FEntryIds[i]] != 0) candidates.push_back(i);
  for (std::size_t i = 0; i < sentences.size(); ++i)
    if (karvel::IsConditional(sentences[i])) candidates.push_back(i);
  for (std::size_t i = 0; i < sentences.size(); ++i)
    if (karvel::IsNegation(sentences[i])) candidates.push_back(i);

  int row = firstRow;
  for (std::size_t i : candidates) {
    const TTextInfo& info = FInfo[FEntryIds[i]];
    // A negation that a drawn attack concludes is not drawn again.
    if (info.DrawnIndex >= 0 || info.ConcludedByDrawnRule) continue;
    row += LayOutSentence(sentences[i], FEntryIds[i], row, column);
  }
  FDrawn = nullptr;
  return row;
}

void TDiagramLayout::Register(TKarvelSentence* node, int id, int consequentId) {
  if (FInfo[id].DrawnIndex >= 0) return;
  FInfo[id].DrawnIndex = static_cast<int>(FDrawn->size());
  FDrawn->push_back(node);
  if (const TKarvelConditional* rule = karvel::AsConditional(node)) {
    if (consequentId < 0) consequentId = Intern(rule->Consequent->Text);
    FInfo[consequentId].ConcludedByDrawnRule = true;
  }
  // A drawn sentence the theory has under no list stands for an issue, as
  // RegisterDrawnSentences makes it once the drawing is done.
  TTextInfo& info = FInfo[id];
  if (!node->IsAssumption && !node->IsIssue && info.Assumption == nullptr && info.Issue == nullptr)
    info.Issue = node;
}

int TDiagramLayout::ImageIndexOf(const TKarvelSentence* sentence, int id) const {
  // The issue mark wins when both flags are set.
  if (sentence->IsIssue) return 1;
  if (sentence->IsAssumption) return 0;
  // The drawn object of an unmarked text takes the role registration will
  // give it: an issue unless the theory has the text as an assumption only.
  const TTextInfo& info = FInfo[id];
  if (info.DrawnIndex < 0 || (*FDrawn)[static_cast<std::size_t>(info.DrawnIndex)] != sentence) return -1;
  return info.Issue != nullptr || info.Assumption == nullptr ? 1 : 0;
}

TKarvelSentence* TDiagramLayout::Replaced(TKarvelSentence* antecedent, int id, TConjunctSource source,
                                          int poolOwner) {
  if (source == TConjunctSource::Unchanged) return antecedent;
  if (source == TConjunctSource::Assumptions)
    return FInfo[id].Assumption != nullptr ? FInfo[id].Assumption : antecedent;
  return InPool(id, poolOwner) ? FInfo[id].FirstEntry : antecedent;
}

int TDiagramLayout::LayOutSentence(TKarvelSentence* node, int id, int row, int column) {
  const bool repeated = FInfo[id].OnPath;
  const bool exhausted = !InPool(id, -1);
  // Past a bound an occurrence is drawn as if repeated: its box, the "..."
  // mark and no children, so no argument shape can freeze the program.
  const bool cut = !exhausted && (FNodes >= FElementBound || FDepth >= kMaxDepth);
  if (cut) ++FCut;
  ++FNodes;
  Register(node, id);

  const TTextInfo& info = FInfo[id];
  const int supportersBegin = info.SupportersBegin, supportersEnd = info.SupportersEnd;
  const int attackersBegin = info.AttackersBegin, attackersEnd = info.AttackersEnd;
  const int supporters = CountRules(supportersBegin, supportersEnd);
  const int attackers = CountRules(attackersBegin, attackersEnd);
  int minColumns = supporters + attackers;
  if (repeated || cut) {
    DrawRepetitionMark(row, column);
    minColumns = 0;
  }
  DrawSentenceBox(node, id, minColumns, row, column);
  int rows = 1;
  if (exhausted || cut) return rows;

  FInfo[id].OnPath = true;
  ++FDepth;
  // Within each group the first rule takes the rightmost column and the
  // highest rows, so the connectors of one box never cross.
  int i = 0;
  for (int r = attackersBegin; r < attackersEnd; ++r) {
    const TRuleRef rule = FRules[r];
    if (FInfo[rule.TextId].OnPath) continue;
    const int k = column + supporters + attackers - 1 - i++;
    int nextRow = 0, nextColumn = 0;
    LayOutDropRule(rule, TDiagramNodeKind::nkAttackOfSentence, row, k, rows, nextRow, nextColumn);
    LayOutConjuncts(rule, TConjunctSource::Assumptions, id, nextRow, nextColumn, rows);
  }
  i = 0;
  for (int r = supportersBegin; r < supportersEnd; ++r) {
    const TRuleRef rule = FRules[r];
    if (FInfo[rule.TextId].OnPath) continue;
    const int k = column + supporters - 1 - i++;
    int nextRow = 0, nextColumn = 0;
    LayOutDropRule(rule, TDiagramNodeKind::nkSupportOfSentence, row, k, rows, nextRow, nextColumn);
    LayOutConjuncts(rule, TConjunctSource::Pool, id, nextRow, nextColumn, rows);
  }
  --FDepth;
  FInfo[id].OnPath = false;
  return rows;
}

void TDiagramLayout::LayOutDropRule(const TRuleRef& rule, TDiagramNodeKind kind, int row, int column,
                                    int& rows, int& nextRow, int& nextColumn) {
  const int id = rule.TextId;
  ++FNodes;
  if (InPool(id, -1)) {
    const TTextInfo& info = FInfo[id];
    const int supportersBegin = info.SupportersBegin, supportersEnd = info.SupportersEnd;
    const int attackersBegin = info.AttackersBegin, attackersEnd = info.AttackersEnd;
    FInfo[id].OnPath = true;
    ++FDepth;
    // Rules about this rule branch off its line to the right, supports first.
    for (int r = supportersBegin; r < supportersEnd; ++r)
      if (!FInfo[FRules[r].TextId].OnPath)
        rows += LayOutBranchRule(FRules[r], TDiagramNodeKind::nkSupportOfDropRule, row + rows, column);
    for (int r = attackersBegin; r < attackersEnd; ++r)
      if (!FInfo[FRules[r].TextId].OnPath)
        rows += LayOutBranchRule(FRules[r], TDiagramNodeKind::nkAttackOfDropRule, row + rows, column);
    --FDepth;
    FInfo[id].OnPath = false;
  }
  nextColumn = column + 1;
  nextRow = row + rows;
  Register(rule.Rule, id, FRuleData[rule.Data].ConsequentId);
  DrawConnector(rule, true, StyleOf(kind), row, column, nextRow, nextColumn);
}

int TDiagramLayout::LayOutBranchRule(const TRuleRef& rule, TDiagramNodeKind kind, int row, int column) {
  const int id = rule.TextId;
  ++FNodes;
  Register(rule.Rule, id, FRuleData[rule.Data].ConsequentId);
  int rows = 0;
  const TTextInfo& info = FInfo[id];
  const int supportersBegin = info.SupportersBegin, supportersEnd = info.SupportersEnd;
  const int attackersBegin = info.AttackersBegin, attackersEnd = info.AttackersEnd;
  const int supporters = CountRules(supportersBegin, supportersEnd);
  const int attackers = CountRules(attackersBegin, attackersEnd);
  const TListOfKarvelSentences& antecedents = rule.Rule->Antecedents;
  // With several conjuncts the link column must stay clear of the columns of
  // this rule's own supports and attacks.
  const int conjunctColumn = column + supporters + attackers + 1 + (antecedents.size() > 1 ? 1 : 0);
  const bool exhausted = !InPool(id, -1);
  if (!exhausted) {
    FInfo[id].OnPath = true;
    ++FDepth;
    int previousRow = 0, previousRows = 0;
    const int* ids = FAntecedentIds.data() + FRuleData[rule.Data].AntecedentsBegin;
    for (std::size_t j = 0; j < antecedents.size(); ++j) {
      TKarvelSentence* conjunct = Replaced(antecedents[j], ids[j], TConjunctSource::Pool, id);
      const int conjunctRow = j == 0 ? row : previousRow + previousRows;
      const int used = LayOutSentence(conjunct, ids[j], conjunctRow, conjunctColumn);
      rows += used;
      if (j > 0)
        DrawConnector(rule, false, TConnectorKind::LineDropSupport, previousRow, conjunctColumn - 1,
                      conjunctRow, conjunctColumn);
      previousRow = conjunctRow;
      previousRows = used;
    }
  }
  const TConnectorKind style = StyleOf(kind);
  DrawConnector(rule, true, style, row, column, row, conjunctColumn);
  if (exhausted) return rows;

  int i = 0;
  for (int r = attackersBegin; r < attackersEnd; ++r) {
    const TRuleRef about = FRules[r];
    if (FInfo[about.TextId].OnPath) continue;
    int nextRow = 0, nextColumn = 0;
    LayOutDropRule(about, TDiagramNodeKind::nkAttackOfBranchRule, row, column + supporters + attackers - i++,
                   rows, nextRow, nextColumn);
    LayOutConjuncts(about, TConjunctSource::Unchanged, id, nextRow, nextColumn, rows);
  }
  i = 0;
  for (int r = supportersBegin; r < supportersEnd; ++r) {
    const TRuleRef about = FRules[r];
    if (FInfo[about.TextId].OnPath) continue;
    int nextRow = 0, nextColumn = 0;
    LayOutDropRule(about, TDiagramNodeKind::nkSupportOfBranchRule, row, column + supporters - i++, rows,
                   nextRow, nextColumn);
    LayOutConjuncts(about, TConjunctSource::Unchanged, id, nextRow, nextColumn, rows);
  }
  --FDepth;
  FInfo[id].OnPath = false;
  return rows;
}

void TDiagramLayout::LayOutConjuncts(const TRuleRef& rule, TConjunctSource source, int poolOwner, int nextRow,
                                     int nextColumn, int& rows) {
  const TListOfKarvelSentences& antecedents = rule.Rule->Antecedents;
  const int* ids = FAntecedentIds.data() + FRuleData[rule.Data].AntecedentsBegin;
  int previousRow = 0, previousRows = 0;
  for (std::size_t j = 0; j < antecedents.size(); ++j) {
    TKarvelSentence* conjunct = Replaced(antecedents[j], ids[j], source, poolOwner);
    const int conjunctRow = j == 0 ? nextRow : previousRow + previousRows;
    const int used = LayOutSentence(conjunct, ids[j], conjunctRow, nextColumn);
    rows += used;
    // The link continues the rule's line from the gap above the previous
    // conjunct and turns into this one.
    if (j > 0)
      DrawConnector(rule, false, TConnectorKind::BoxDropSupport, previousRow - 1, nextColumn - 1, conjunctRow,
                    nextColumn);
    previousRow = conjunctRow;
    previousRows = used;
  }
}

TStatusLook TDiagramLayout::LookOf(const TKarvelSentence* sentence) const {
  if (FOptions.ShowStructureOnly) return TStatusLook::Plain;
  // Defeated is applied after justified, so it wins when both are set.
  if (sentence->IsDefeated) return TStatusLook::Defeated;
  if (sentence->IsJustified) return TStatusLook::Justified;
  return TStatusLook::Neither;
}

void TDiagramLayout::DrawSentenceBox(TKarvelSentence* sentence, int id, int minColumns, int row, int column) {
  if (karvel::IsNegation(sentence) && !FOptions.ShowDialecticalNegations) return;
  const TTextInfo& info = FInfo[id];
  if (info.Assumption != nullptr) sentence = info.Assumption;
  if (info.Issue != nullptr) sentence = info.Issue;
  const TDiagramMetrics& m = FMetrics;
  const int x = m.X(column), y = m.Y(row);

  int iconRoom = 0;
  if (!FOptions.ShowStructureOnly) {
    TDiagramControl image;
    image.Kind = TControlKind::StatusImage;
    image.Left = x + m.TextPadding - 3;
    image.Top = y + m.TextTop - 1;
    image.Width = image.Height = TDiagramMetrics::kIconSize;
    image.ImageIndex = ImageIndexOf(sentence, id);
    if (image.ImageIndex >= 0) iconRoom = TDiagramMetrics::kIconSize;
    FSink.Add(image);
  }

  TDiagramControl label;
  label.Kind = TControlKind::Label;
  label.Caption =
      sentence->Text == kPlaceholderSentenceText ? kBlankCaption : std::string_view(sentence->Text);
  label.Look = LookOf(sentence);
  label.Left = x + m.TextPadding + iconRoom;
  label.Top = y + m.TextTop;
  // Measured in the status font: bold and italic change the width.
  label.Width = FSink.TextWidth(label.Caption, label.Look);
  FSink.Add(label);

  TDiagramControl box;
  box.Kind = TControlKind::Box;
  box.Left = x;
  box.Top = y;
  box.Width = std::max(label.Width + 2 * m.TextPadding + 1 + iconRoom, minColumns * m.ColumnWidth);
  box.Height = m.RowHeight;
  box.Tag = info.DrawnIndex;
  box.Row = row;
  box.Column = column;
  box.Look = label.Look;
  FSink.Add(box);
}

void TDiagramLayout::DrawRepetitionMark(int row, int column) {
  const TDiagramMetrics& m = FMetrics;
  TDiagramControl mark;
  mark.Kind = TControlKind::RepetitionMark;
  mark.Caption = kRepetitionCaption;
  mark.Left = m.X(column) + m.TextPadding + (FOptions.ShowStructureOnly ? 0 : TDiagramMetrics::kIconSize);
  mark.Top = m.Y(row) + m.TextTop + 12;
  mark.Width = FSink.TextWidth(mark.Caption, TStatusLook::Plain);
  FSink.Add(mark);
}

void TDiagramLayout::DrawConnector(const TRuleRef& rule, bool withMarker, TConnectorKind kind, int fromRow,
                                   int fromColumn, int toRow, int toColumn) {
  const TDiagramMetrics& m = FMetrics;
  const int tag = FInfo[rule.TextId].DrawnIndex;
  const TStatusLook look = LookOf(rule.Rule);
  const bool dotted = look == TStatusLook::Defeated;
  const int x0 = m.X(fromColumn) + m.ConnectorOffset;
  const int half = m.LineWidth / 2;
  const int strip = 2 * m.HitHalfWidth + 1;

  auto add = [&](TControlKind controlKind, int left, int top, int width, int height, bool lineDotted) {
    TDiagramControl c;
    c.Kind = controlKind;
    c.Left = left;
    c.Top = top;
    c.Width = width;
    c.Height = height;
    c.Tag = tag;
    c.Look = controlKind == TControlKind::HitStrip ? TStatusLook::Plain : look;
    c.Dotted = lineDotted;
    FSink.Add(c);
  };

  const int turnTop = m.Y(toRow) + m.HalfRowHeight;
  const int turnWidth = (toColumn - fromColumn) * m.ColumnWidth - m.ConnectorOffset;
  add(TControlKind::ConnectorLine, x0 - half, turnTop - half, turnWidth, m.LineWidth, dotted);
  add(TControlKind::HitStrip, x0, turnTop - m.HitHalfWidth, turnWidth, strip, false);

  const bool boxDrop = kind == TConnectorKind::BoxDropSupport || kind == TConnectorKind::BoxDropAttack;
  const bool lineDrop = kind == TConnectorKind::LineDropSupport || kind == TConnectorKind::LineDropAttack;
  if (boxDrop) {
    const int top = m.Y(fromRow) + m.RowHeight;
    const int height = (toRow - fromRow) * m.RowStep() - m.HalfRowHeight;
    add(TControlKind::ConnectorLine, x0, top, m.LineWidth, height, dotted);
    add(TControlKind::HitStrip, x0 - m.HitHalfWidth, top, strip, height, false);
  } else if (lineDrop) {
    // Hanging from a branch line, the vertical line stays solid.
    const int top = m.Y(fromRow) + m.HalfRowHeight;
    const int height = (toRow - fromRow) * m.RowStep();
    add(TControlKind::ConnectorLine, x0, top, m.LineWidth, height, false);
    add(TControlKind::HitStrip, x0 - m.HitHalfWidth, top, strip, height, false);
  }
  if (!withMarker) return;

  const int yb = m.Y(fromRow) + m.RowHeight;
  const int yc = m.Y(toRow) + m.HalfRowHeight;
  const int ya = m.Y(fromRow) + m.HalfRowHeight;
  struct TEnds {
    int X1, Y1, X2, Y2;
  };
  TEnds strokes[2];
  switch (kind) {
    case TConnectorKind::BoxDropSupport:
      strokes[0] = {x0, yb, x0 + 5, yb + 5};
      strokes[1] = {x0, yb, x0 - 5, yb + 5};
      break;
    case TConnectorKind::BoxDropAttack:
      strokes[0] = {x0 - 3, yb - 4, x0 + 4, yb + 3};
      strokes[1] = {x0 - 4, yb + 3, x0 + 4, yb - 5};
      break;
    case TConnectorKind::BranchSupport:
      strokes[0] = {x0 + 1, yc, x0 + 6, yc + 5};
      strokes[1] = {x0 + 1, yc, x0 + 6, yc - 5};
      break;
    case TConnectorKind::BranchAttack:
      strokes[0] = {x0 - 3, yc - 3, x0 + 4, yc + 4};
      strokes[1] = {x0 + 4, yc - 4, x0 - 4, yc + 4};
      break;
    case TConnectorKind::LineDropSupport:
      strokes[0] = {x0, ya + 1, x0 + 5, ya + 6};
      strokes[1] = {x0, ya + 1, x0 - 5, ya + 6};
      break;
    case TConnectorKind::LineDropAttack:
      strokes[0] = {x0 - 3, ya - 3, x0 + 4, ya + 4};
      strokes[1] = {x0 - 4, ya + 4, x0 + 4, ya - 4};
      break;
  }
  for (const TEnds& e : strokes) {
    TDiagramControl c;
    c.Kind = TControlKind::Stroke;
    c.X1 = e.X1;
    c.Y1 = e.Y1;
    c.X2 = e.X2;
    c.Y2 = e.Y2;
    c.Left = std::min(e.X1, e.X2);
    c.Top = std::min(e.Y1, e.Y2);
    c.Width = std::abs(e.X1 - e.X2);
    c.Height = std::abs(e.Y1 - e.Y2);
    c.Tag = tag;
    c.Look = look;
    FSink.Add(c);
  }
}

}  // namespace ostrel::diagram
