#include "TheoryDocument.h"

namespace ostrel {

namespace {
constexpr std::size_t kStatusCacheBytes = std::size_t{32} << 20;
// Bytes of member lists a refresh keeps of the interpretations it finds;
// the rest are counted, and a report that lists them all searches again.
constexpr std::size_t kKeptInterpretationBytes = std::size_t{64} << 20;
}  // namespace

using karvel::TKarvelSentence;

TheoryDocument::TheoryDocument()
    : FKarvelFile(std::make_unique<karvel::TKarvelFile>()),
      FTheory(std::make_unique<karvel::TKarvelTheory>()) {}

TheoryDocument::TGenerationPin::TGenerationPin(TheoryDocument& document) : FDocument(document) {
  ++FDocument.FPins;
}

TheoryDocument::TGenerationPin::~TGenerationPin() {
  if (--FDocument.FPins == 0) FDocument.FPinnedArenas.clear();
}

std::size_t TheoryDocument::LiveGenerations() const {
  return 1 + (FPreviousArena ? 1 : 0) + FPinnedArenas.size();
}

void TheoryDocument::Discard() {
  // Sentences of the outgoing generation stay alive for one more reload:
  // a command may put them into the lists of the theory it reloads.
  if (FPins > 0 && FPreviousArena) FPinnedArenas.push_back(FPreviousArena);
  FPreviousArena = FTheory->SharedArena();
  FArgumentSentences.clear();
  FInterpretations.clear();
  FStatusCache = {};
  FCount = 0;
  FComputed = false;
  FStopped = false;
  FSummary.reset();
  FSummaryStopped = false;
  FKarvelFile = std::make_unique<karvel::TKarvelFile>();
  FTheory = std::make_unique<karvel::TKarvelTheory>();
}

void TheoryDocument::ResetToMinimal() {
  Discard();
  FKarvelFile->Text = kMinimalDocument;
}

void TheoryDocument::Clear() {
  // The load that failed has discarded the document already; discarding again
  // would free the generation a command may still hold.
  FArgumentSentences.clear();
  FInterpretations.clear();
  FStatusCache = {};
  FCount = 0;
  FComputed = false;
  FStopped = false;
  FSummary.reset();
  FSummaryStopped = false;
  FKarvelFile->Text.clear();
  FTheory->Text.clear();
  FTheory->Assumptions.clear();
  FTheory->Issues.clear();
}

void TheoryDocument::Read(const std::string& fileName, bool parseSentences) {
  Discard();  // an unreadable file leaves the document empty
  FKarvelFile->LoadFromFile(fileName);
  FTheory->LoadFromKarvelFile(*FKarvelFile);
  FTheory->ParseText(parseSentences);
  FTheory->SaveToKarvelFile(*FKarvelFile);
}

void TheoryDocument::ReadBytes(std::string_view bytes, bool parseSentences) {
  Discard();
  FKarvelFile->LoadFromBytes(bytes);
  FTheory->LoadFromKarvelFile(*FKarvelFile);
  FTheory->ParseText(parseSentences);
  FTheory->SaveToKarvelFile(*FKarvelFile);
}

void TheoryDocument::ComputeInterpretations(bool showStructureOnly, const karvel::TSearchProgress& progress) {
  FInterpretations.clear();
  FStatusCache = {};
  FStopped = false;
  FCount = 0;
  FComputed = !showStructureOnly && !FTheory->Assumptions.empty();
  if (!FComputed) return;
  std::size_t bytes = 0;
  const karvel::TSearchOutcome outcome = FTheory->ForEachInterpretation(
      [&](const karvel::TListOfKarvelSentences& interpretation) {
        ++FCount;
        bytes += (interpretation.size() + 4) * sizeof(void*);
        if (bytes <= kKeptInterpretationBytes) FInterpretations.push_back(interpretation);
      },
      progress);
  FStopped = outcome == karvel::TSearchOutcome::Stopped;
  FTheory->SetStatuses(FInterpretations.empty() ? karvel::TListOfKarvelSentences{}
                                                : FInterpretations.front());
}

void TheoryDocument::StreamInterpretations(const karvel::TInterpretationVisitor& visit,
                                           const karvel::TSearchProgress& progress) {
  FInterpretations.clear();
  FStatusCache = {};
  FStopped = false;
  FCount = 0;
  FComputed = true;
  const karvel::TSearchOutcome outcome = FTheory->ForEachInterpretation(
      [&](const karvel::TListOfKarvelSentences& interpretation) {
        ++FCount;
        visit(interpretation);
      },
      progress);
  FStopped = outcome == karvel::TSearchOutcome::Stopped;
}

void TheoryDocument::ComputeSummary(bool showStructureOnly, const karvel::TSearchProgress& progress) {
  FSummary.reset();
  FSummaryStopped = false;
  if (showStructureOnly || FTheory->Assumptions.empty()) return;
  karvel::TTheorySummary summary;
  FSummaryStopped = FTheory->Summarize(summary, progress) == karvel::TSearchOutcome::Stopped;
  if (!FSummaryStopped) FSummary = std::move(summary);
}

std::string TheoryDocument::StatusText() const {
  if (!FComputed) return {};
  return InterpretationCountText(FCount, FStopped);
}

bool RegisterDrawnSentences(karvel::TKarvelTheory& theory, const karvel::TListOfKarvelSentences& drawn) {
  // After CollectArgumentSentences every collected object is marked; what
  // is left are other objects of the same texts, and parts of those.
  bool unmarked = false;
  for (const TKarvelSentence* s : drawn) unmarked = unmarked || (!s->IsAssumption && !s->IsIssue);
  if (!unmarked) return false;
  karvel::TTextIndex assumptions(theory.Assumptions.size()), issues(theory.Issues.size());
  for (auto* s : theory.Assumptions) assumptions.Insert(s->Text);
  for (auto* s : theory.Issues) issues.Insert(s->Text);
  for (TKarvelSentence* s : drawn) {
    if (s->IsAssumption || s->IsIssue) continue;
    if (assumptions.Contains(s->Text)) s->IsAssumption = true;
    if (issues.Contains(s->Text)) {
      s->IsAssumption = false;
      s->IsIssue = true;
    }
    if (!s->IsAssumption && !s->IsIssue) {
      s->IsIssue = true;
      theory.Issues.push_back(s);
      issues.Insert(s->Text);
    }
  }
  return true;
}

std::string InterpretationCountText(std::size_t n, bool stopped) {
  if (stopped) {
    // Nobody may take a partial answer for the whole one.
    return "Search stopped: " + std::to_string(n) +
           (n == 1 ? " dialectical interpretation" : " dialectical interpretations") + " found so far.";
  }
  if (n == 0) return "There is no dialectical interpretation.";
  if (n == 1) return "There is 1 dialectical interpretation.";
  return "There are " + std::to_string(n) + " dialectical interpretations.";
}

void TheoryDocument::CollectArgumentSentences() {
  FStatusCache = {};
  FArgumentSentences.clear();
  karvel::TSentenceCollector collector(FArgumentSentences);
  for (auto* s : FTheory->Assumptions) collector.Collect(s);
  for (auto* s : FTheory->Issues) collector.Collect(s);

  karvel::TTextIndex assumptions(FTheory->Assumptions.size()), issues(FArgumentSentences.size());
  for (auto* s : FTheory->Assumptions) assumptions.Insert(s->Text);
  for (auto* s : FTheory->Issues) issues.Insert(s->Text);
  for (TKarvelSentence* s : FArgumentSentences) {
    if (assumptions.Contains(s->Text)) {
      s->IsAssumption = true;
      s->IsIssue = false;
    }
    if (issues.Contains(s->Text)) {
      s->IsAssumption = false;
      s->IsIssue = true;
    }
    if (!s->IsAssumption && !s->IsIssue) {
      s->IsIssue = true;
      FTheory->Issues.push_back(s);
      issues.Insert(s->Text);
    }
  }
}

void TheoryDocument::WriteTheoryView(const TViewLine& line, std::size_t maxBytes,
                                     const std::function<void(std::size_t done)>& progress) {
  std::size_t bytes = 0;
  const auto emit = [&](std::string text) {
    bytes += text.size() + 1;
    line(std::move(text));
  };
  const auto emitText = [&](const char* indent, std::string_view text) {
    // A text read from an element of several lines holds line breaks; it
    // shows as the lines it is, each indented alike.
    for (;;) {
      const std::size_t end = text.find_first_of("\r\n");
      if (end == std::string_view::npos) break;
      emit(std::string(indent).append(text.substr(0, end)));
      text.remove_prefix(text.compare(end, 2, "\r\n") == 0 ? end + 2 : end + 1);
    }
    emit(std::string(indent).append(text));
  };
  emit("ASSUMPTIONS");
  emit("");
  for (auto* s : FTheory->Assumptions) emitText("", s->Text);
  for (const char* l : {"", "", "ISSUES", ""}) emit(l);
  for (auto* s : FTheory->Issues) emitText("", s->Text);
  emit("");
  emit("");

  // Statuses read off each interpretation's closure: the report changes no
  // sentence, so the statuses the diagram shows stay those of the first.
  std::vector<karvel::TKarvelTheory::TStatus> assumptionStatuses, issueStatuses;
  const auto statusSections = [&](const karvel::TListOfKarvelSentences& interpretation) {
    FTheory->StatusesOf(interpretation, assumptionStatuses, issueStatuses);
    const auto section = [&](const char* heading, const karvel::TListOfKarvelSentences& sentences,
                             const std::vector<karvel::TKarvelTheory::TStatus>& statuses, auto test) {
      emit(heading);
      for (std::size_t i = 0; i < sentences.size(); ++i)
        if (test(statuses[i])) emitText("        ", sentences[i]->Text);
    };
    const auto justified = [](const karvel::TKarvelTheory::TStatus& s) { return s.Justified; };
    const auto defeated = [](const karvel::TKarvelTheory::TStatus& s) { return s.Defeated; };
    const auto unsettled = [](const karvel::TKarvelTheory::TStatus& s) {
      return !s.Justified && !s.Defeated;
    };
    section("    JUSTIFIED ASSUMPTIONS", FTheory->Assumptions, assumptionStatuses, justified);
    section("    DEFEATED ASSUMPTIONS", FTheory->Assumptions, assumptionStatuses, defeated);
    section("    JUSTIFIED ISSUES", FTheory->Issues, issueStatuses, justified);
    section("    DEFEATED ISSUES", FTheory->Issues, issueStatuses, defeated);
    section("    UNSETTLED ISSUES", FTheory->Issues, issueStatuses, unsettled);
  };
  const std::size_t n = FComputed ? FCount : FInterpretations.size();
  if (n == 0) {
    emit("THERE IS NO DIALECTICAL INTERPRETATION OF THE ASSUMPTIONS");
    emit("");
    return;
  }
  if (n == 1) {
    emit("UNIQUE DIALECTICAL INTERPRETATION");
    statusSections(FInterpretations.empty() ? karvel::TListOfKarvelSentences{} : FInterpretations.front());
    return;
  }
  std::size_t listed = 0;
  const auto numbered = [&](const karvel::TListOfKarvelSentences& interpretation) {
    if (bytes > maxBytes || listed >= n) return;
    emit("DIALECTICAL INTERPRETATION " + std::to_string(++listed));
    statusSections(interpretation);
    emit("");
    emit("");
    if (progress) progress(listed);
  };
  if (FInterpretations.size() == n || maxBytes != SIZE_MAX) {
    for (const auto& interpretation : FInterpretations) numbered(interpretation);
  } else {
    // More were found than kept: they are searched for again, each listed
    // as it comes.
    FTheory->ForEachInterpretation(numbered);
  }
  if (listed < n)
    emit("THE THEORY VIEW LISTS THE FIRST " + std::to_string(listed) + " OF " + std::to_string(n) +
         " DIALECTICAL INTERPRETATIONS");
}

std::vector<std::string> TheoryDocument::TheoryViewLines(
    const std::function<void(std::size_t done)>& progress) {
  std::vector<std::string> lines;
  WriteTheoryView([&lines](std::string line) { lines.push_back(std::move(line)); }, kTheoryViewBytes,
                  progress);
  return lines;
}

void TheoryDocument::RegisterDrawnSentences(const karvel::TListOfKarvelSentences& drawn) {
  if (ostrel::RegisterDrawnSentences(*FTheory, drawn)) FStatusCache = {};
}

void TheoryDocument::RefreshVariables() {
  for (auto* s : FTheory->Assumptions) karvel::CollectVariables(s);
  for (auto* s : FTheory->Issues) karvel::CollectVariables(s);
}

void TheoryDocument::ApplyInterpretation(int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= FInterpretations.size()) return;
  const auto at = static_cast<std::size_t>(index);
  TStatusCache& cache = FStatusCache;
  if (cache.Flags.empty()) {
    cache.Sentences = FTheory->StatusSentences();
    cache.Flags.resize(FInterpretations.size());
  }
  std::vector<std::uint8_t>& flags = cache.Flags[at];
  if (!flags.empty() || cache.Sentences.empty()) {
    for (std::size_t i = 0; i < flags.size(); ++i) {
      cache.Sentences[i]->IsJustified = (flags[i] & 1) != 0;
      cache.Sentences[i]->IsDefeated = (flags[i] & 2) != 0;
    }
    return;
  }
  FTheory->SetStatuses(FInterpretations[at]);
  // Bounded, so that thousands of interpretations of a large argument do not
  // hold their flags all at once.
  if (cache.Bytes + cache.Sentences.size() > kStatusCacheBytes) return;
  flags.reserve(cache.Sentences.size());
  for (const karvel::TKarvelSentence* s : cache.Sentences)
    flags.push_back(static_cast<std::uint8_t>((s->IsJustified ? 1 : 0) | (s->IsDefeated ? 2 : 0)));
  cache.Bytes += flags.size();
}

std::vector<std::string> TheoryDocument::FileLines() const {
  std::vector<std::string> lines;
  std::string_view text = FKarvelFile->Text;
  while (!text.empty()) {
    const std::size_t end = text.find("\r\n");
    if (end == std::string_view::npos) {
      lines.emplace_back(text);
      break;
    }
    lines.emplace_back(text.substr(0, end));
    text.remove_prefix(end + 2);
  }
  return lines;
}

}  // namespace ostrel
