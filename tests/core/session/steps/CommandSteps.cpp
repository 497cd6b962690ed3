#include "CommandSteps.h"

#include <array>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unordered_set>
#include <vector>

namespace ostrel::steps {

using karvel::TKarvelSentence;
using karvel::TListOfKarvelSentences;

std::string TStepInput::Bytes(std::size_t count) {
  std::string bytes;
  while (bytes.size() < count && !Exhausted()) bytes.push_back(static_cast<char>(Byte()));
  return bytes;
}

std::uint8_t TByteInput::Byte() {
  if (FBytes.empty()) return 0;
  const auto byte = static_cast<std::uint8_t>(FBytes.front());
  FBytes.remove_prefix(1);
  return byte;
}

std::string_view StepName(TStep step) {
  static constexpr std::array<std::string_view, static_cast<std::size_t>(TStep::Count)> kNames = {
      "press box",        "press connector",
      "press free area",  "press shape by tag",
      "double click box", "double click free area",
      "open Edit menu",   "set as assumption",
      "set as issue",     "change sentence",
      "add conjunct",     "add sentence",
      "add negation",     "support",
      "attack",           "delete",
      "type bytes",       "type choice",
      "type word",        "Enter",
      "Escape",           "File > New",
      "File > Open",      "File > Open missing",
      "toggle option",    "interpretation button"};
  const auto index = static_cast<std::size_t>(step);
  return index < kNames.size() ? kNames[index] : "?";
}

namespace {

void WriteFile(const std::string& name, std::string_view bytes) {
  std::ofstream(name, std::ios::binary | std::ios::trunc)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadFile(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void AppendElement(std::string& file, const std::string& text) {
  file +=
      "<SENTENCE>\r\n<ELEMENTARYSENTENCE>\r\n" + text + "\r\n</ELEMENTARYSENTENCE>\r\n</SENTENCE>\r\n\r\n";
}

// A text to type: a word of a small vocabulary, so that typed sentences meet
// existing ones, alone or inside a negation or a rule.
std::string Word(TStepInput& in) {
  const auto word = [&in] { return std::string(1, static_cast<char>('a' + in.Byte() % 8)); };
  switch (in.Byte() % 6) {
    case 0:
      return "x(" + word() + ")";
    case 1:
      return "if(" + word() + ", " + word() + ")";
    case 2:
      return "  " + word() + "\t";
    case 3:
      return std::string(kPlaceholderSentenceText);
    default:
      return word();
  }
}

bool ShownBox(const THeadlessSession& w, std::size_t index) {
  return index < w.Boxes().size() && w.Boxes()[index].Visible;
}

}  // namespace

std::string GeneratedTheoryFile(std::size_t sentences, std::uint32_t seed) {
  std::mt19937 engine(seed);
  const auto pick = [&engine](std::size_t below) { return static_cast<std::size_t>(engine() % below); };
  std::vector<std::string> assumptions, issues;
  std::size_t elementary = 0;
  const auto name = [](std::size_t i) {
    std::string text = std::to_string(i);
    text.insert(text.begin(), 's');  // GCC 12 warns falsely on "s" + to_string(i) (-Wrestrict)
    return text;
  };
  for (std::size_t i = 0; i < sentences; ++i) {
    const std::size_t kind = elementary < 2 ? 0 : pick(10);
    if (kind < 5) {
      (pick(5) == 0 ? issues : assumptions).push_back(name(elementary++));
    } else if (kind < 7) {
      // Negations stay issues: an assumption beside its own negation would
      // double the interpretations with every such pair.
      issues.push_back("x(" + name(pick(elementary)) + ")");
    } else {
      const std::size_t to = 1 + pick(elementary - 1);
      const std::size_t from = pick(to);
      const std::string consequent = kind < 9 ? name(to) : "x(" + name(to) + ")";
      assumptions.push_back("if(" + name(from) + ", " + consequent + ")");
    }
  }
  std::string file = "<KARVEL>\r\n<THEORY>\r\n\r\n";
  for (const auto& text : assumptions) AppendElement(file, text);
  file += "</THEORY>\r\n<ISSUES>\r\n\r\n";
  for (const auto& text : issues) AppendElement(file, text);
  file += "</ISSUES>\r\n</KARVEL>\r\n";
  return file;
}

void StartSession(THeadlessSession& w, TStepInput& in) {
  w.New();
  if (in.Byte() % 2 == 0) {
    const std::size_t length = in.Byte() | static_cast<std::size_t>(in.Byte()) << 8;
    WriteFile(kStartFileName, in.Bytes(length));
  } else {
    const std::size_t size = in.Byte() % 24;
    WriteFile(kStartFileName, GeneratedTheoryFile(size, in.Byte()));
  }
  w.Open(kStartFileName);
}

TStep RunStep(THeadlessSession& w, TStepInput& in, TFileSteps files) {
  const auto step = static_cast<TStep>(in.Byte() % static_cast<std::uint8_t>(TStep::Count));
  if (files == TFileSteps::ReopenStart &&
      (step == TStep::FileNew || step == TStep::FileOpen || step == TStep::FileOpenMissing)) {
    w.Open(kStartFileName);
    return step;
  }
  TEditSession& s = w.Session();
  const std::size_t boxes = w.Boxes().size();
  switch (step) {
    case TStep::PressBox: {
      // One index past the boxes presses a shape whose tag names no sentence.
      const std::size_t index = in.Byte() % (boxes + 1);
      if (index == boxes) {
        s.MouseDownOnShape(static_cast<int>(w.DiagramSentences().size()), 0, 0);
      } else if (ShownBox(w, index)) {
        w.PressBox(index);
      }
      break;
    }
    case TStep::PressConnector:
      if (!w.ConnectorTags().empty()) {
        const int tag = w.ConnectorTags()[in.Byte() % w.ConnectorTags().size()];
        s.MouseDownOnShape(tag, 4 * in.Byte(), 4 * in.Byte());
      }
      break;
    case TStep::PressFreeArea: {
      const int x = 4 * in.Byte();
      w.PressFreeArea(x, 4 * in.Byte());
      break;
    }
    case TStep::PressShapeByTag: {
      const int tag = static_cast<int>(in.Byte()) - 2;
      const int x = 4 * in.Byte();
      s.MouseDownOnShape(tag, x, 4 * in.Byte());
      break;
    }
    case TStep::DoubleClickBox:
      if (boxes > 0) {
        const std::size_t index = in.Byte() % boxes;
        if (ShownBox(w, index)) {
          w.PressBox(index);
          s.DoubleClick(static_cast<int>(index));
        }
      }
      break;
    case TStep::DoubleClickFreeArea: {
      const int x = 4 * in.Byte();
      w.PressFreeArea(x, 4 * in.Byte());
      s.DoubleClick(-1);
      break;
    }
    case TStep::OpenEditMenu:
      s.Edit1Click();
      break;
    case TStep::SetAsAssumption:
      s.Setasassumption1Click();
      break;
    case TStep::SetAsIssue:
      s.Setasissue1Click();
      break;
    case TStep::ChangeSentence:
      s.Changeelementarysentence1Click();
      break;
    case TStep::AddConjunct:
      s.Addconjunct1Click();
      break;
    case TStep::AddSentence:
      s.Addstatement1Click();
      break;
    case TStep::AddNegation:
      s.Adddialecticalnegation2Click();
      break;
    case TStep::Support:
      s.Givesupport1Click();
      break;
    case TStep::Attack:
      s.Attack1Click();
      break;
    case TStep::Delete:
      s.Delete1Click();
      break;
    case TStep::TypeBytes: {
      std::string bytes = in.Bytes(in.Byte() % 24);
      if (w.Editor().Visible) w.Type(std::move(bytes));
      break;
    }
    case TStep::TypeChoice: {
      const auto& choices = w.Editor().Choices;
      const std::size_t index = in.Byte();
      if (w.Editor().Visible && !choices.empty()) w.Type(choices[index % choices.size()]);
      break;
    }
    case TStep::TypeWord: {
      std::string word = Word(in);
      if (w.Editor().Visible) w.Type(std::move(word));
      break;
    }
    case TStep::Enter:
      if (w.Editor().Visible) w.PressEnter();
      break;
    case TStep::Escape:
      if (w.Editor().Visible) w.PressEscape();
      break;
    case TStep::FileNew:
      w.New();
      break;
    case TStep::FileOpen:
      if (in.Byte() % 2 == 0) {
        w.Open(kStartFileName);
      } else {
        WriteFile("opened.kvl", in.Bytes(in.Byte()));
        w.Open("opened.kvl");
      }
      break;
    case TStep::FileOpenMissing:
      std::filesystem::remove("missing.kvl");
      w.Open("missing.kvl");
      break;
    case TStep::ToggleOption: {
      TRefreshOptions options = w.Options();
      switch (in.Byte() % 3) {
        case 0:
          options.ShowStructureOnly = !options.ShowStructureOnly;
          break;
        case 1:
          options.ParseSentences = !options.ParseSentences;
          break;
        default:
          options.ShowDialecticalNegations = !options.ShowDialecticalNegations;
          break;
      }
      w.SetOptions(options);
      break;
    }
    case TStep::InterpretationButton:
      w.InterpretationButtonClick(static_cast<int>(in.Byte() % (w.InterpretationButtonCount() + 2)) - 1);
      break;
    case TStep::Count:
      break;
  }
  return step;
}

namespace {

std::string Joined(const TListOfKarvelSentences& list) {
  std::string texts = "[";
  for (const TKarvelSentence* s : list) texts += (texts.size() > 1 ? " | " : "") + s->Text;
  return texts + "]";
}

bool SameTexts(const TListOfKarvelSentences& a, const TListOfKarvelSentences& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](const TKarvelSentence* x, const TKarvelSentence* y) { return x->Text == y->Text; });
}

std::string CheckWorkingFile(THeadlessSession& w) {
  TheoryDocument& document = w.Document();
  karvel::TKarvelTheory& theory = document.Theory();
  if (w.LastRefreshAbandoned()) {
    // The file stays as it was; the window shows an empty document.
    if (!theory.Assumptions.empty() || !theory.Issues.empty() || !w.Boxes().empty() || w.Selection() != -1)
      return "an abandoned refresh left a document or a selection behind";
    return {};
  }
  const std::string bytes = ReadFile(kTemporaryFileName);
  if (bytes != document.File().Text + "\r\n") return "\"~tmp.kvl\" differs from the document's file text";
  TheoryDocument fresh;
  try {
    fresh.Read(kTemporaryFileName, w.Options().ParseSentences);
  } catch (const karvel::TFileError& error) {
    return std::string("\"~tmp.kvl\" cannot be read: ") + error.what();
  }
  fresh.CollectArgumentSentences();
  if (!SameTexts(fresh.Theory().Assumptions, theory.Assumptions))
    return "\"~tmp.kvl\" reads back to the assumptions " + Joined(fresh.Theory().Assumptions) +
           ", the document holds " + Joined(theory.Assumptions);
  if (!SameTexts(fresh.Theory().Issues, theory.Issues))
    return "\"~tmp.kvl\" reads back to the issues " + Joined(fresh.Theory().Issues) +
           ", the document holds " + Joined(theory.Issues);
  return {};
}

std::string CheckSelectionAndDiagram(THeadlessSession& w) {
  const TListOfKarvelSentences& sentences = w.DiagramSentences();
  const int selection = w.Selection();
  const bool valid = selection >= 0 && static_cast<std::size_t>(selection) < sentences.size();
  const TKarvelSentence* expected = valid ? sentences[static_cast<std::size_t>(selection)] : nullptr;
  if (w.Session().SelectedSentence() != expected)
    return "selection " + std::to_string(selection) + " is not read as " +
           (valid ? "that sentence" : "no selection");
  for (const auto& box : w.Boxes())
    if (box.Place.Tag < 0 || static_cast<std::size_t>(box.Place.Tag) >= sentences.size())
      return "a box carries the tag " + std::to_string(box.Place.Tag) + " of no diagram sentence";
  for (int tag : w.ConnectorTags())
    if (tag < 0 || static_cast<std::size_t>(tag) >= sentences.size())
      return "a connector carries the tag " + std::to_string(tag) + " of no diagram sentence";
  return {};
}

std::string CheckMarksAndEditor(THeadlessSession& w) {
  const TPendingMarks& marks = w.Session().Marks;
  const bool shown = w.Editor().Visible;
  if (shown != w.Session().EditorOpen()) return "the session and the editor disagree on whether it is open";
  // Only the two openings show the editor, each setting its mark; only
  // Escape and a commit clear those marks, and both close it.
  if (shown && !marks.AddingSentence && !marks.ChangingSentence)
    return "the editor is open without a sentence being added or changed";
  if (!shown)
    for (const auto& box : w.Boxes())
      if (!box.Visible) return "a box stays hidden while no editor covers it";
  return {};
}

std::string CheckGenerations(THeadlessSession& w) {
  TheoryDocument& document = w.Document();
  // The current one and the one before, which a failed write may still need.
  if (document.LiveGenerations() > 2)
    return std::to_string(document.LiveGenerations()) + " generations alive between steps";
  const karvel::TSentenceArena& arena = document.Theory().Arena();
  std::vector<const TKarvelSentence*> stack;
  const auto push = [&stack](const TListOfKarvelSentences& list) {
    stack.insert(stack.end(), list.begin(), list.end());
  };
  push(document.Theory().Assumptions);
  push(document.Theory().Issues);
  push(document.ArgumentSentences());
  for (const auto& interpretation : document.Interpretations()) push(interpretation);
  push(w.DiagramSentences());
  std::unordered_set<const TKarvelSentence*> seen;
  while (!stack.empty()) {
    const TKarvelSentence* s = stack.back();
    stack.pop_back();
    if (!seen.insert(s).second) continue;
    if (!arena.Owns(s)) return "a sentence of a discarded generation is reachable";
    if (const auto* n = karvel::AsNegation(s)) {
      stack.push_back(n->NegatedSentence);
    } else if (const auto* c = karvel::AsConditional(s)) {
      stack.insert(stack.end(), c->Antecedents.begin(), c->Antecedents.end());
      stack.push_back(c->Consequent);
    }
  }
  return {};
}

}  // namespace

std::string CheckInvariants(THeadlessSession& w) {
  for (auto check : {CheckWorkingFile, CheckSelectionAndDiagram, CheckMarksAndEditor, CheckGenerations}) {
    std::string failure = check(w);
    if (!failure.empty()) return failure;
  }
  return {};
}

TCheckedStep RunCheckedStep(THeadlessSession& w, TStepInput& in, const std::function<void()>& afterStep) {
  const auto texts = [&w] {
    std::unordered_set<std::string> all;
    for (const TKarvelSentence* s : w.Document().Theory().Assumptions) all.insert(s->Text);
    for (const TKarvelSentence* s : w.Document().Theory().Issues) all.insert(s->Text);
    return all;
  };
  const std::string_view typed = karvel::Trim(w.Editor().Text);
  const bool commitsNew = w.Editor().Visible && w.Session().Marks.AddingSentence && !typed.empty() &&
                          TEditSession::ForbiddenTagIn(typed).empty();
  const auto before = commitsNew ? texts() : std::unordered_set<std::string>{};

  TCheckedStep checked;
  const std::size_t errors = w.Errors().size();
  checked.Step = RunStep(w, in);
  if (afterStep) afterStep();
  checked.Failure = CheckInvariants(w);
  // A commit that could not be written is undone: the editor stays open on
  // the text and the theory as it was, or, once a write reached the file,
  // the theory goes back to before the command.
  const bool failedWrite = w.Errors().size() > errors;
  if (checked.Failure.empty() && commitsNew && checked.Step == TStep::Enter && !w.LastRefreshAbandoned() &&
      !failedWrite) {
    const auto after = texts();
    for (const std::string& text : before)
      if (after.count(text) == 0) {
        checked.Failure = "adding a sentence lost \"" + text + "\"";
        break;
      }
  }
  return checked;
}

}  // namespace ostrel::steps
