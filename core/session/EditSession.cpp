#include "EditSession.h"

#include <algorithm>
#include <cctype>

#include "TDiagramMetrics.h"

namespace ostrel {

using karvel::IndexOfSentence;
using karvel::IndexOfText;
using karvel::TKarvelSentence;
using karvel::TListOfKarvelSentences;

namespace {

// Unwinds a command whose refresh failed; the refresh has told the user.
struct TCommandStopped {};

// Unwinds a command that may not go on; the message says why.
struct TCommandRefused {
  std::string Message;
};

constexpr std::string_view kRolledBack = "The command was undone: the working file could not be written.";
constexpr std::string_view kNotRestored =
    "The working file could not be written; it holds the last step that reached it.";

std::string CellText(int column, int row) {
  std::string text = "(";
  text += std::to_string(column);
  text += ", ";
  text += std::to_string(row);
  text += ')';
  return text;
}

// The editor's list is sorted as a reader expects, case aside; equal
// spellings keep a fixed order.
bool ChoiceBefore(const std::string& a, const std::string& b) {
  const auto lower = [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); };
  const auto mismatch = std::mismatch(a.begin(), a.end(), b.begin(), b.end(),
                                      [&](char x, char y) { return lower(x) == lower(y); });
  if (mismatch.first == a.end() || mismatch.second == b.end()) {
    if (a.size() != b.size()) return a.size() < b.size();
    return a < b;
  }
  return static_cast<unsigned char>(lower(*mismatch.first)) <
         static_cast<unsigned char>(lower(*mismatch.second));
}

// Splits at CR LF, CR or LF, as the file text's lines.
std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.push_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  lines.push_back(text.substr(start));
  return lines;
}

// The text with every occurrence of the old rule's text after its first
// character replaced by the new one; false when there is none.
bool RewrittenText(const std::string& text, const std::string& oldText, const std::string& newText,
                   std::string& rewritten) {
  std::size_t p0 = text.find(oldText);
  if (p0 == std::string::npos || p0 == 0) return false;
  rewritten = text;
  while (p0 != std::string::npos && p0 > 0) {
    rewritten.replace(p0, oldText.size(), newText);
    // Before the replaced span the text is unchanged and held no
    // occurrence, so the next first occurrence starts no earlier than
    // one that overlaps the span.
    const std::size_t from = p0 >= oldText.size() ? p0 - oldText.size() + 1 : 0;
    p0 = rewritten.find(oldText, from);
  }
  return true;
}

// Erases the entries the predicate holds for, keeping the order of the rest.
template <typename Predicate>
void EraseIf(TListOfKarvelSentences& list, Predicate predicate) {
  list.erase(std::remove_if(list.begin(), list.end(), predicate), list.end());
}

}  // namespace

TEditSession::TEditSession(TheoryDocument& document, TEditHost& host) : FDocument(document), FHost(host) {}

template <typename Body>
void TEditSession::Run(Body body, const TPendingMarks* marksBefore) {
  // Sentences taken from the diagram and built by the command stay alive for
  // all of its reloads, including one that fails.
  const auto pin = FDocument.PinGenerations();
  TCommandState before = CaptureState(marksBefore != nullptr ? *marksBefore : Marks);
  if (before.Marks == TPendingMarks{}) FPendingStartText = before.FileText;
  FCommand = &before;
  struct TCommandEnd {
    TCommandState*& Command;
    ~TCommandEnd() { Command = nullptr; }
  } end{FCommand};
  try {
    body();
  } catch (const TCommandRefused& refusal) {
    RestoreInMemory(before);
    FHost.SetStatusPanel(1, refusal.Message);
  } catch (const TCommandStopped&) {
    RollBack(before, /*reloadFailed=*/true);
  } catch (const karvel::TFileError& error) {
    FHost.ReportError(error.what());
    RollBack(before, /*reloadFailed=*/false);
  }
}

TEditSession::TCommandState TEditSession::CaptureState(const TPendingMarks& marks) {
  TCommandState state;
  state.Assumptions = Assumptions();
  state.Issues = Issues();
  state.FileText = FDocument.File().Text;
  state.Marks = marks;
  state.OldConditionalText = FOldConditionalText;
  state.NewConditionalText = FNewConditionalText;
  state.EditorOpen = FEditorOpen;
  state.Selection = FHost.Selection();
  state.Writes = FWrites;
  return state;
}

void TEditSession::Keep(TKarvelSentence* sentence) {
  if (FCommand == nullptr || sentence == nullptr) return;
  TKeptSentence kept{sentence, sentence->Text,         sentence->Variables,
                     {},       sentence->IsAssumption, sentence->IsIssue};
  if (const auto* c = karvel::AsConditional(sentence)) kept.Antecedents = c->Antecedents;
  FCommand->Kept.push_back(std::move(kept));
}

void TEditSession::RestoreInMemory(TCommandState& state) {
  // Nothing reached the file or the views: the document is put back as the
  // last refresh left it, which is what the working file and the diagram
  // still show. Later changes to a sentence are undone first.
  for (auto it = state.Kept.rbegin(); it != state.Kept.rend(); ++it) {
    TKarvelSentence* s = it->Sentence;
    s->Text = std::move(it->Text);
    s->Variables = std::move(it->Variables);
    s->IsAssumption = it->IsAssumption;
    s->IsIssue = it->IsIssue;
    if (auto* c = karvel::AsConditional(s)) c->Antecedents = std::move(it->Antecedents);
  }
  Assumptions() = std::move(state.Assumptions);
  Issues() = std::move(state.Issues);
  FDocument.File().Text = std::move(state.FileText);
  Marks = state.Marks;
  FOldConditionalText = std::move(state.OldConditionalText);
  FNewConditionalText = std::move(state.NewConditionalText);
  if (state.Selection != FHost.Selection()) FHost.SetSelection(state.Selection);
}

void TEditSession::RollBack(TCommandState& state, bool reloadFailed) {
  if (!reloadFailed && FWrites == state.Writes) {
    RestoreInMemory(state);
    FHost.SetStatusPanel(1, kRolledBack);
    return;
  }
  // A phase of the command reached the file: the file goes back to what it
  // held before the command, or before the pending command this one
  // continued, and the document is read from it again. No mark survives,
  // since nothing is left pending.
  Marks = {};
  FOldConditionalText.clear();
  FNewConditionalText.clear();
  FHost.HideEditor();
  FEditorOpen = false;
  FHost.ShowAllDiagramShapes();
  karvel::TKarvelFile file;
  file.Text = state.Marks == TPendingMarks{} ? std::move(state.FileText) : FPendingStartText;
  bool restored = true;
  try {
    file.SaveToFile(FDocument.WorkingFileName());
  } catch (const karvel::TFileError&) {
    restored = false;
  }
  // A reload that failed has left the document empty and told the user;
  // the working file keeps the user's work for the next one.
  if (!reloadFailed) FHost.LoadTheoryFile(FDocument.WorkingFileName());
  FHost.SetStatusPanel(1, restored ? kRolledBack : kNotRestored);
}

void TEditSession::RequireNestingDepth(int depth) {
  if (depth <= karvel::kMaxNestingDepth) return;
  throw TCommandRefused{"The new sentence would nest deeper than " +
                        std::to_string(karvel::kMaxNestingDepth) + " levels; nothing was changed."};
}

void TEditSession::RequireConjunctDepth(const karvel::TKarvelConditional& c) {
  // The rule itself gains an elementary antecedent and nests no deeper; a
  // compound that holds its text is parsed anew from the longer text, and
  // parsed too deep it would silently become one elementary sentence.
  std::string newText = "if(";
  for (const TKarvelSentence* a : c.Antecedents) newText.append(a->Text).append(", ");
  newText.append(kPlaceholderSentenceText).append(", ").append(c.Consequent->Text).append(")");
  std::string rewritten;
  for (const TListOfKarvelSentences* list : {&Assumptions(), &Issues()})
    for (const TKarvelSentence* s : *list)
      if (!karvel::IsElementary(s) && RewrittenText(s->Text, c.Text, newText, rewritten))
        RequireNestingDepth(karvel::ParsedNestingDepth(rewritten));
}

void TEditSession::NotePendingStart() {
  if (Marks == TPendingMarks{}) FPendingStartText = FDocument.File().Text;
}

// ---- shared steps ----------------------------------------------------------

void TEditSession::WriteWorkingFile() {
  FDocument.File().SaveToFile(FDocument.WorkingFileName());
  ++FWrites;
}

void TEditSession::WriteTemporaryFile() {
  Theory().SaveToKarvelFile(FDocument.File());
  WriteWorkingFile();
}

void TEditSession::SaveAndReload() {
  WriteTemporaryFile();
  if (!FHost.LoadTheoryFile(FDocument.WorkingFileName())) throw TCommandStopped{};
}

TKarvelSentence* TEditSession::AppendPlaceholderAndReload() {
  TKarvelSentence* placeholder = Theory().Arena().NewElementary(std::string(kPlaceholderSentenceText));
  placeholder->IsAssumption = true;
  Assumptions().push_back(placeholder);
  SaveAndReload();
  return placeholder;
}

TKarvelSentence* TEditSession::SelectedSentence() const {
  const int index = FHost.Selection();
  const TListOfKarvelSentences& sentences = FHost.DiagramSentences();
  if (index < 0 || static_cast<std::size_t>(index) >= sentences.size()) return nullptr;
  return sentences[static_cast<std::size_t>(index)];
}

void TEditSession::ApplyMenus() { FHost.ApplyMenuVisibility(FMenus); }

// ---- selection ---------------------------------------------------------------

void TEditSession::SetMouseCell(int x, int y) {
  const auto metrics = FHost.DiagramPlan().Metrics;
  MouseColumn = x / metrics.ColumnWidth;
  MouseRow = y / metrics.RowStep();
}

void TEditSession::MouseDownOnShape(int tag, int x, int y) {
  const TListOfKarvelSentences& sentences = FHost.DiagramSentences();
  if (tag < 0 || static_cast<std::size_t>(tag) >= sentences.size()) {
    // A shape always belongs to the drawn diagram; one that does not counts
    // as free area rather than a selection nothing can use.
    MouseDownOnFreeArea(x, y);
    return;
  }
  FHost.SetStatusPanel(0, {});
  FHost.SetStatusPanel(1, {});
  SetMouseCell(x, y);
  TKarvelSentence* sentence = sentences[static_cast<std::size_t>(tag)];
  ostrel::MouseDownOnSentence(FMenus, *sentence);
  ApplyMenus();
  if (karvel::IsConditional(sentence)) FOldConditionalText = sentence->Text;
  FHost.SetSelection(tag);
  FHost.SetStatusPanel(1, sentence->Text);
  FHost.SetStatusPanel(0, CellText(MouseColumn, MouseRow));
}

void TEditSession::MouseDownOnFreeArea(int x, int y) {
  FHost.SetStatusPanel(0, {});
  FHost.SetStatusPanel(1, {});
  SetMouseCell(x, y);
  FHost.SetSelection(-1);
  ostrel::MouseDownOnFreeArea(FMenus);
  ApplyMenus();
  FHost.SetStatusPanel(0, CellText(MouseColumn, MouseRow));
}

void TEditSession::SelectNothing() {
  FHost.SetSelection(-1);
  ostrel::MouseDownOnFreeArea(FMenus);
  ApplyMenus();
}

void TEditSession::DoubleClick(int box) {
  if (FHost.Selection() == -1) {
    Addstatement1Click();
  } else {
    Changeelementarysentence1Click(box);
  }
}

void TEditSession::Edit1Click() {
  TKarvelSentence* selected = SelectedSentence();
  if (selected != nullptr) FHost.SetStatusPanel(1, selected->Text);
  EditMenuOpened(FMenus.Edit, selected);
  ApplyMenus();
}

// ---- one-phase commands ------------------------------------------------------

void TEditSession::SetStatuses(bool asAssumption) {
  TKarvelSentence* s = SelectedSentence();
  if (s == nullptr) return;
  Keep(s);
  s->IsAssumption = asAssumption;
  s->IsIssue = !asAssumption;
  // The list the sentence joins, then the list it leaves, each as it stands.
  const auto joined = [&]() -> TListOfKarvelSentences& { return asAssumption ? Assumptions() : Issues(); };
  const auto left = [&]() -> TListOfKarvelSentences& { return asAssumption ? Issues() : Assumptions(); };
  if (IndexOfSentence(joined(), s) == -1) {
    joined().push_back(s);
    SaveAndReload();
  }
  const int i = IndexOfSentence(left(), s);
  if (i >= 0) {
    left().erase(left().begin() + i);
    SaveAndReload();
  }
}

void TEditSession::Setasassumption1Click() {
  Run([&] { SetStatuses(true); });
}

void TEditSession::Setasissue1Click() {
  Run([&] { SetStatuses(false); });
}

void TEditSession::Delete1Click() {
  Run([&] {
    TKarvelSentence* s = SelectedSentence();
    if (s == nullptr) return;
    const auto sameText = [s](const TKarvelSentence* e) { return e->Text == s->Text; };
    const auto usesIt = [s](TKarvelSentence* e) { return karvel::HasSubsentence(e, s); };
    // One pass each removes what repeated first-match deletions would.
    if (IndexOfSentence(Assumptions(), s) >= 0) FHost.SetSelection(-1);
    EraseIf(Assumptions(), sameText);
    EraseIf(Assumptions(), usesIt);
    EraseIf(Issues(), sameText);
    EraseIf(Issues(), usesIt);
    SaveAndReload();
  });
}

void TEditSession::Adddialecticalnegation2Click() {
  Run([&] {
    TKarvelSentence* s = SelectedSentence();
    if (s == nullptr) return;
    RequireNestingDepth(karvel::NestingDepth(s) + 1);
    Assumptions().push_back(karvel::DialecticalNegationOf(s, Theory().Arena()));
    SaveAndReload();
  });
}

// ---- two-phase commands ------------------------------------------------------

void TEditSession::Givesupport1Click() {
  Run([&] {
    Marks.AddingSupportOrAttack = true;
    TKarvelSentence* s = SelectedSentence();
    if (s == nullptr) return;
    // if(placeholder, s)
    RequireNestingDepth(karvel::NestingDepth(s) + 1);
    const int k = IndexOfSentence(Assumptions(), s);
    if (k >= 0) {
      TKarvelSentence* entry = Assumptions()[static_cast<std::size_t>(k)];
      Keep(entry);
      entry->IsAssumption = false;
      entry->IsIssue = true;
    }
    auto* c = Theory().Arena().NewConditional();
    c->IsAssumption = true;
    c->Consequent = s;
    TKarvelSentence* p = AppendPlaceholderAndReload();

    c->Antecedents.push_back(p);
    // A rule without its text would be dropped by the writer as a repetition
    // of any sentence whose text is empty.
    karvel::ComposeText(c);
    if (k >= 0) {
      const auto at = std::min(static_cast<std::size_t>(k), Assumptions().size());
      Assumptions().insert(Assumptions().begin() + static_cast<std::ptrdiff_t>(at), c);
    } else {
      Assumptions().push_back(c);
    }
    SaveAndReload();
    OpenEditorOnPlaceholder();
  });
}

void TEditSession::Attack1Click() {
  Run([&] {
    Marks.AddingSupportOrAttack = true;
    TKarvelSentence* s = SelectedSentence();
    if (s == nullptr) return;
    // if(placeholder, x(s))
    RequireNestingDepth(karvel::NestingDepth(s) + 2);
    TKarvelSentence* n = karvel::DialecticalNegationOf(s, Theory().Arena());
    auto* c = Theory().Arena().NewConditional();
    c->IsAssumption = true;
    c->Consequent = n;
    TKarvelSentence* p = AppendPlaceholderAndReload();

    c->Antecedents.push_back(p);
    karvel::ComposeText(c);
    Assumptions().push_back(c);
    SaveAndReload();
    OpenEditorOnPlaceholder();
  });
}

void TEditSession::Addconjunct1Click() {
  Run([&] {
    Marks.AddingConjunct = true;
    TKarvelSentence* selected = SelectedSentence();
    auto* c = selected != nullptr ? karvel::AsConditional(selected) : nullptr;
    if (c == nullptr) return;
    FOldConditionalText = c->Text;
    RequireConjunctDepth(*c);
    const int a = IndexOfSentence(Assumptions(), c);
    const int b = IndexOfSentence(Issues(), c);
    TKarvelSentence* p = AppendPlaceholderAndReload();

    Keep(c);
    c->Antecedents.push_back(p);
    karvel::ComposeText(c);
    karvel::CollectVariables(c);
    if (a >= 0 && static_cast<std::size_t>(a) < Assumptions().size())
      Assumptions()[static_cast<std::size_t>(a)] = c;
    if (b >= 0 && static_cast<std::size_t>(b) < Issues().size()) Issues()[static_cast<std::size_t>(b)] = c;
    FNewConditionalText = c->Text;

    // Every compound that holds the old rule's text after its first
    // character is rewritten with the extended rule and parsed anew.
    const std::string& oldText = FOldConditionalText;
    const std::string& newText = FNewConditionalText;
    const auto rewrite = [&](TListOfKarvelSentences& list, bool asAssumption) {
      const std::size_t count = list.size();
      for (std::size_t i = 0; i < count; ++i) {
        std::string text;
        if (!RewrittenText(list[i]->Text, oldText, newText, text)) continue;
        TKarvelSentence* n = karvel::ParseSentence(text, Theory().Arena());
        n->IsAssumption = asAssumption;
        n->IsIssue = !asAssumption;
        list[i] = n;
      }
    };
    rewrite(Assumptions(), true);
    rewrite(Issues(), false);
    SaveAndReload();
    WriteTemporaryFile();
    OpenEditorOnPlaceholder();
  });
}

void TEditSession::OpenEditorOnPlaceholder() {
  const TListOfKarvelSentences& sentences = FHost.DiagramSentences();
  const std::size_t count = FHost.DiagramBoxCount();
  for (std::size_t i = 0; i < count; ++i) {
    const TDiagramBoxPlace box = FHost.DiagramBox(i);
    if (box.Tag < 0 || static_cast<std::size_t>(box.Tag) >= sentences.size()) continue;
    if (sentences[static_cast<std::size_t>(box.Tag)]->Text != kPlaceholderSentenceText) continue;
    if (box.Row < MouseRow) continue;
    MouseRow = box.Row;
    FHost.SetSelection(box.Tag);
    Changeelementarysentence1Click(static_cast<int>(i));
    return;
  }
}

// ---- the in-place editor -----------------------------------------------------

void TEditSession::OpenEditor(const TEditorPlacement& placement, std::string_view text) {
  std::vector<std::string> choices;
  const TListOfKarvelSentences& sentences = FHost.DiagramSentences();
  choices.reserve(sentences.size());
  for (const TKarvelSentence* s : sentences)
    if (s->Text.find(kPlaceholderSentenceText) == std::string::npos) choices.push_back(s->Text);
  std::sort(choices.begin(), choices.end(), ChoiceBefore);
  FPlacement = placement;
  FEditorOpen = true;
  FHost.OpenEditor(placement, text, choices);
}

void TEditSession::Addstatement1Click() {
  NotePendingStart();
  Marks.AddingSentence = true;
  const auto metrics = FHost.DiagramPlan().Metrics;
  TEditorPlacement placement;
  placement.Left = metrics.LeftMargin;
  placement.Top = metrics.RowStep() * FHost.DiagramRowCount() + metrics.TopMargin;
  placement.Width = FHost.ContainerWidth() - metrics.LeftMargin - 5;
  OpenEditor(placement, {});
}

void TEditSession::Changeelementarysentence1Click(int senderBox) {
  TKarvelSentence* s = SelectedSentence();
  if (s == nullptr) return;
  NotePendingStart();
  Marks.ChangingSentence = true;
  const int selection = FHost.Selection();
  int column = 0;
  const std::size_t count = FHost.DiagramBoxCount();
  for (std::size_t i = 0; i < count; ++i) {
    const TDiagramBoxPlace box = FHost.DiagramBox(i);
    if (box.Tag != selection || box.Row != MouseRow) continue;
    FHost.HideDiagramBox(i);
    column = box.Column;
  }
  const auto metrics = FHost.DiagramPlan().Metrics;
  TEditorPlacement placement;
  placement.Left = metrics.LeftMargin + metrics.ColumnWidth * column;
  placement.Top = metrics.RowStep() * MouseRow + metrics.TopMargin + 1;
  placement.Width = FHost.ContainerWidth() - metrics.LeftMargin - metrics.ColumnWidth * column - 5;
  OpenEditor(placement, s->Text == kPlaceholderSentenceText ? std::string_view() : s->Text);
  if (senderBox >= 0 && static_cast<std::size_t>(senderBox) < FHost.DiagramBoxCount())
    FHost.HideDiagramBox(static_cast<std::size_t>(senderBox));
}

int TEditSession::EditorWidthAfterResize() const {
  return FHost.ContainerWidth() - FHost.DiagramPlan().Metrics.LeftMargin - 5;
}

std::string_view TEditSession::ForbiddenTagIn(std::string_view text) {
  // Every other tag word reads back unchanged inside a text line.
  static constexpr std::string_view kTags[] = {"</KARVEL>", "<THEORY>", "</ELEMENTARYSENTENCE>"};
  std::size_t first = std::string_view::npos;
  std::string_view found;
  for (std::string_view tag : kTags) {
    const std::size_t at = text.find(tag);
    if (at < first) {
      first = at;
      found = tag;
    }
  }
  return found;
}

void TEditSession::CancelCommand() {
  const auto isPlaceholder = [](const TKarvelSentence* s) { return s->Text == kPlaceholderSentenceText; };
  if (Marks.AddingConjunct) {
    for (TListOfKarvelSentences* list : {&Assumptions(), &Issues()}) {
      for (TKarvelSentence* entry : *list) {
        auto* c = karvel::AsConditional(entry);
        if (c == nullptr) continue;
        const auto found = std::find_if(c->Antecedents.begin(), c->Antecedents.end(), isPlaceholder);
        if (found == c->Antecedents.end()) continue;
        Keep(c);
        c->Antecedents.erase(found);
        karvel::ComposeText(c);
        karvel::CollectVariables(c);
        WriteTemporaryFile();
      }
    }
  }
  if (Marks.AddingSupportOrAttack || Marks.AddingConjunct) {
    const std::size_t count = Assumptions().size();
    for (std::size_t i = 0; i < count; ++i) {
      auto* c = karvel::AsConditional(Assumptions()[i]);
      if (c == nullptr || c->Antecedents.empty() || !isPlaceholder(c->Antecedents.front())) continue;
      Keep(c->Consequent);
      c->Consequent->IsAssumption = true;
      Assumptions().push_back(c->Consequent);
      WriteTemporaryFile();
    }
    const int q = IndexOfText(Assumptions(), kPlaceholderSentenceText);
    if (q >= 0) {
      TKarvelSentence* placeholder = Assumptions()[static_cast<std::size_t>(q)];
      EraseIf(Assumptions(),
              [placeholder](TKarvelSentence* e) { return karvel::HasSubsentence(e, placeholder); });
    }
    WriteTemporaryFile();
  }
}

void TEditSession::EscapePressed() {
  Run([&] {
    CancelCommand();
    if (!FHost.LoadTheoryFile(FDocument.WorkingFileName())) return;
    FHost.HideEditor();
    FEditorOpen = false;
    Marks = {};
  });
}

void TEditSession::CommitNewSentence(std::string_view text) {
  TKarvelSentence* e = Theory().Arena().NewElementary(std::string(text));
  if (IndexOfSentence(Issues(), e) >= 0) {
    e->IsIssue = true;
    e->IsAssumption = false;
  } else {
    e->IsAssumption = true;
    e->IsIssue = false;
    Assumptions().push_back(e);
  }
  SaveAndReload();
}

bool TEditSession::CommitChangedSentence(std::string_view text) {
  TKarvelSentence* selected = SelectedSentence();
  if (selected == nullptr) return false;
  const std::string old = selected->Text;
  const bool wasIssue = IndexOfText(Issues(), text) >= 0;
  const bool wasAssumption = IndexOfText(Assumptions(), text) >= 0;

  // Only the text lines of elementary elements are sentence texts; a tag
  // line or an empty line that happens to equal the old text stays.
  std::string& fileText = FDocument.File().Text;
  const std::vector<std::string_view> lines = SplitLines(fileText);
  std::string edited;
  edited.reserve(fileText.size() + text.size());
  bool inElementary = false;
  // The reader parses each text line with the levels its element leaves;
  // the typed text must fit at the deepest line it replaces.
  int depth = 0, deepest = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) edited += "\r\n";
    const std::string_view line = lines[i];
    if (line == "<ELEMENTARYSENTENCE>") {
      inElementary = true;
    } else if (line == "</ELEMENTARYSENTENCE>") {
      inElementary = false;
    } else if (inElementary && line == old) {
      edited.append(text);
      deepest = std::max(deepest, depth);
      continue;
    } else if (!inElementary && line == "<SENTENCE>") {
      ++depth;
    } else if (!inElementary && line == "</SENTENCE>") {
      --depth;
    }
    edited.append(line);
  }
  if (deepest > 1) {
    // A text too deep for any place is one elementary sentence everywhere.
    const int typed = karvel::ParsedNestingDepth(text);
    if (typed <= karvel::kMaxNestingDepth) RequireNestingDepth(deepest - 1 + typed);
  }
  fileText = std::move(edited);
  WriteWorkingFile();
  if (!FHost.LoadTheoryFile(FDocument.WorkingFileName())) throw TCommandStopped{};
  FHost.HideEditor();
  FEditorOpen = false;
  FHost.ShowAllDiagramShapes();
  Marks.ChangingSentence = false;

  const auto selectText = [&]() {
    const int index = IndexOfText(FHost.DiagramSentences(), text);
    if (index < 0) return false;
    FHost.SetSelection(index);
    return true;
  };
  if (wasIssue && IndexOfText(Assumptions(), text) >= 0 && selectText()) SetStatuses(false);
  if (wasAssumption && IndexOfText(Issues(), text) >= 0 && selectText()) SetStatuses(true);
  return true;
}

void TEditSession::EnterPressed(std::string_view typed) {
  const std::string_view text = karvel::Trim(typed);
  if (!text.empty() && (Marks.AddingSentence || Marks.ChangingSentence)) {
    // The reader ends a file at a NUL byte: the reload would lose all that
    // follows the text.
    if (text.find('\0') != std::string_view::npos) {
      FHost.SetStatusPanel(1, "A sentence may not contain a NUL byte.");
      return;
    }
    const std::string_view tag = ForbiddenTagIn(text);
    if (!tag.empty()) {
      // The file could not carry the text back: nothing is committed and the
      // user keeps what was typed.
      FHost.SetStatusPanel(1, "A sentence may not contain " + std::string(tag) + ".");
      return;
    }
  }
  const TPendingMarks before = Marks;
  Marks.AddingSupportOrAttack = false;
  if (text.empty()) return;
  Run(
      [&] {
        if (Marks.AddingSentence) {
          CommitNewSentence(text);
          FHost.HideEditor();
          FEditorOpen = false;
          FHost.ShowAllDiagramShapes();
          Marks.AddingSentence = false;
        } else if (Marks.ChangingSentence) {
          CommitChangedSentence(text);
        }
        Marks.AddingConjunct = false;
      },
      &before);
}

}  // namespace ostrel
