// Benchmarks of the logic core: the reload of large and adversarial theory
// files, the deductive closure of long lists, and the interpretation search on
// theories whose plain enumeration would never finish. Every benchmark checks
// its result, so that a wrong fast path cannot pass for a fast one.
//
// Run: bench_logic --benchmark_repetitions=3 --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <map>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

#include "KarvelUnit.h"
#include "TheoryDocument.h"

using namespace karvel;

namespace {

constexpr std::size_t kMB = 1000 * 1000;

// Small deterministic generator, so every run reads the same files.
class TRandom {
 public:
  explicit TRandom(std::uint64_t seed) : FState(seed) {}
  std::uint32_t Next() {
    FState = FState * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<std::uint32_t>(FState >> 33);
  }
  std::size_t Below(std::size_t n) { return n == 0 ? 0 : Next() % n; }

 private:
  std::uint64_t FState;
};

// ------------------------------------------------------------ file builders

class TFileBuilder {
 public:
  void Line(std::string_view text) {
    Out.append(text);
    Out.append("\r\n");
  }
  void Elementary(std::string_view text) {
    Line("<SENTENCE>");
    Line("<ELEMENTARYSENTENCE>");
    Line(text);
    Line("</ELEMENTARYSENTENCE>");
    Line("</SENTENCE>");
  }
  void OpenNegation() {
    Line("<SENTENCE>");
    Line("<DIALECTICALNEGATION>");
  }
  void CloseNegation() {
    Line("</DIALECTICALNEGATION>");
    Line("</SENTENCE>");
  }
  void Negation(std::string_view text) {
    OpenNegation();
    Elementary(text);
    CloseNegation();
  }
  void Conditional(const std::vector<std::string>& antecedents, std::string_view consequent,
                   bool negatedConsequent) {
    Line("<SENTENCE>");
    Line("<CONDITIONAL>");
    Line("<ANTECEDENT>");
    for (const auto& a : antecedents) Elementary(a);
    Line("</ANTECEDENT>");
    Line("<CONSEQUENT>");
    if (negatedConsequent)
      Negation(consequent);
    else
      Elementary(consequent);
    Line("</CONSEQUENT>");
    Line("</CONDITIONAL>");
    Line("</SENTENCE>");
  }
  std::string Out;
};

std::string Claim(std::size_t i) { return "c" + std::to_string(i); }

// One sentence of the realistic mix: elementary sentences, negations and
// conditionals with 1-3 antecedents, stored as tagged structure or as typed
// texts to be parsed. Returns the canonical text the reader must produce.
std::string RealisticSentence(TFileBuilder& b, TRandom& random, std::size_t k) {
  const auto earlier = [&] { return Claim(random.Below(k + 1)); };
  std::string text;
  switch (k % 10) {
    case 0:
    case 1:
    case 2:
    case 3:
    case 4:
      text = Claim(k);
      b.Elementary(text);
      break;
    case 5:
      text = earlier();
      b.Negation(text);
      text = "x(" + text + ")";
      break;
    case 6: {
      std::vector<std::string> antecedents(1 + random.Below(3));
      text = "if(";
      for (auto& a : antecedents) {
        a = earlier();
        text += a + ", ";
      }
      const std::string consequent = earlier();
      const bool negated = random.Below(2) == 0;
      b.Conditional(antecedents, consequent, negated);
      text += (negated ? "x(" + consequent + ")" : consequent) + ")";
      break;
    }
    case 7:
      text = "x(" + earlier() + ")";
      b.Elementary(text);
      break;
    case 8: {
      const std::string a = earlier();
      text = "if(" + a + ", x(" + earlier() + "))";
      b.Elementary(text);
      break;
    }
    default: {
      const std::string a = earlier();
      text = "if(" + a + ", " + earlier() + ", " + Claim(k) + ")";
      b.Elementary(text);
      break;
    }
  }
  b.Line("");
  return text;
}

struct TShape {
  std::string Bytes;
  std::size_t Sentences = 0;    // distinct sentences the reader must keep
  std::size_t Assumptions = 0;  // of which in the theory section
};

// A realistic document of about `bytes` bytes: 90% assumptions, 10% issues.
TShape RealisticFile(std::size_t bytes) {
  TFileBuilder b;
  TRandom random(42);
  TShape shape;
  std::unordered_set<std::string> assumptions, issues;
  b.Line("<KARVEL>");
  b.Line("<THEORY>");
  b.Line("");
  std::size_t k = 0;
  while (b.Out.size() < bytes * 9 / 10) assumptions.insert(RealisticSentence(b, random, k++));
  b.Line("</THEORY>");
  b.Line("<ISSUES>");
  b.Line("");
  while (b.Out.size() < bytes) {
    std::string text = RealisticSentence(b, random, k++);
    if (!assumptions.count(text)) issues.insert(std::move(text));
  }
  b.Line("</ISSUES>");
  b.Line("</KARVEL>");
  shape.Bytes = std::move(b.Out);
  shape.Sentences = assumptions.size() + issues.size();
  shape.Assumptions = assumptions.size();
  return shape;
}

// No "</THEORY>" and no "<ISSUES>": the theory section yields nothing and
// every sentence is read by the issues loop, whose closing tag is at the
// very end of the file.
TShape NoTheoryEndFile(std::size_t bytes) {
  TShape shape = RealisticFile(bytes);
  for (std::string_view tag : {"</THEORY>\r\n", "<ISSUES>\r\n"})
    shape.Bytes.erase(shape.Bytes.find(tag), tag.size());
  return shape;
}

// Every element lacks "</SENTENCE>", so each read looks for it to the end.
TShape NoSentenceEndFile(std::size_t bytes) {
  TShape shape = RealisticFile(bytes);
  std::string out;
  out.reserve(shape.Bytes.size());
  std::string_view in = shape.Bytes;
  constexpr std::string_view tag = "</SENTENCE>\r\n";
  for (std::size_t at; (at = in.find(tag)) != std::string_view::npos; in.remove_prefix(at + tag.size()))
    out.append(in.substr(0, at));
  out.append(in);
  shape.Bytes = std::move(out);
  return shape;
}

// Realistic sentences with a depth-200 negation chain every 25th sentence,
// alternately typed as text and nested as elements.
TShape DeepChainsFile(std::size_t bytes) {
  constexpr int depth = 200;
  TFileBuilder b;
  TRandom random(7);
  TShape shape;
  b.Line("<KARVEL>");
  b.Line("<THEORY>");
  b.Line("");
  std::size_t k = 0;
  std::unordered_set<std::string> texts;
  while (b.Out.size() < bytes) {
    if (k % 25 == 24) {
      if (k % 50 == 49) {
        std::string text;
        for (int i = 0; i < depth; ++i) text += "x(";
        text += Claim(k);
        text.append(depth, ')');
        b.Elementary(text);
      } else {
        for (int i = 1; i < depth; ++i) b.OpenNegation();
        b.Elementary(Claim(k));
        for (int i = 1; i < depth; ++i) b.CloseNegation();
      }
      b.Line("");
      texts.insert(std::to_string(k));
      ++k;
    } else {
      texts.insert(RealisticSentence(b, random, k++));
    }
  }
  b.Line("</THEORY>");
  b.Line("<ISSUES>");
  b.Line("");
  b.Line("</ISSUES>");
  b.Line("</KARVEL>");
  shape.Bytes = std::move(b.Out);
  shape.Sentences = texts.size();
  return shape;
}

// One section holding one typed conditional that is the whole file:
// if(c0, c1, ..., cN).
TShape OneHugeConditionalFile(std::size_t bytes) {
  TShape shape;
  std::string text = "if(";
  std::size_t k = 0;
  while (text.size() < bytes) text += Claim(k++) + ", ";
  text += "last)";
  TFileBuilder b;
  b.Line("<KARVEL>");
  b.Line("<THEORY>");
  b.Elementary(text);
  b.Line("</THEORY>");
  b.Line("</KARVEL>");
  shape.Bytes = std::move(b.Out);
  shape.Sentences = 1;
  return shape;
}

// Typed conditionals with long runs of commas, half of them never closed.
TShape CommaRunsFile(std::size_t bytes) {
  TFileBuilder b;
  TShape shape;
  b.Line("<KARVEL>");
  b.Line("<THEORY>");
  std::size_t k = 0;
  while (b.Out.size() < bytes) {
    std::string text = "if(" + Claim(k);
    text.append(2000, ',');
    if (k % 2 == 0) text += Claim(k + 1) + ")";
    b.Elementary(text);
    ++k;
  }
  b.Line("</THEORY>");
  b.Line("</KARVEL>");
  shape.Bytes = std::move(b.Out);
  shape.Sentences = k;
  return shape;
}

// Normal theory, then an issues section of unterminated elements: each
// opens a negation that never closes.
TShape UnterminatedFile(std::size_t bytes) {
  TShape shape = RealisticFile(bytes / 2);
  const std::size_t issues = shape.Bytes.find("<ISSUES>\r\n") + 10;
  std::string tail;
  while (shape.Bytes.size() + tail.size() < bytes)
    tail += "<SENTENCE>\r\n<DIALECTICALNEGATION>\r\n<SENTENCE>\r\n<CONDITIONAL>\r\n<ANTECEDENT>\r\n";
  shape.Bytes.insert(issues, tail);
  return shape;
}

// ------------------------------------------------------------ read benchmarks

using TShapeMaker = TShape (*)(std::size_t);

const TShape& CachedShape(TShapeMaker make, std::size_t bytes) {
  static std::map<std::pair<TShapeMaker, std::size_t>, TShape> cache;
  auto it = cache.find({make, bytes});
  if (it == cache.end()) it = cache.emplace(std::make_pair(make, bytes), make(bytes)).first;
  return it->second;
}

double Seconds(std::chrono::steady_clock::time_point from) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - from).count();
}

// The reload of a file held in memory: ReadBytes (read, parse, rewrite) and
// the release of the document. Step times are reported as counters.
void ReadFile(benchmark::State& state, TShapeMaker make, bool parse, std::size_t expected) {
  const TShape& shape = CachedShape(make, static_cast<std::size_t>(state.range(0)) * kMB);
  double read = 0, release = 0;
  std::size_t assumptions = 0, issues = 0, written = 0;
  for (auto _ : state) {
    auto document = std::make_unique<ostrel::TheoryDocument>();
    const auto start = std::chrono::steady_clock::now();
    document->ReadBytes(shape.Bytes, parse);
    read += Seconds(start);
    assumptions = document->Theory().Assumptions.size();
    issues = document->Theory().Issues.size();
    written = document->File().Text.size();
    benchmark::DoNotOptimize(written);
    const auto freed = std::chrono::steady_clock::now();
    document.reset();
    release += Seconds(freed);
  }
  if (assumptions + issues != expected) {
    state.SkipWithError(
        ("expected " + std::to_string(expected) + " sentences, read " + std::to_string(assumptions + issues))
            .c_str());
    return;
  }
  const double mb = static_cast<double>(shape.Bytes.size()) / kMB;
  const double n = static_cast<double>(state.iterations());
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * shape.Bytes.size()));
  state.counters["MB"] = mb;
  state.counters["sentences"] = static_cast<double>(assumptions + issues);
  state.counters["written_MB"] = static_cast<double>(written) / kMB;
  state.counters["ms_per_MB"] = 1000 * (read + release) / n / mb;
  state.counters["free_ms"] = 1000 * release / n;
}

void BM_ReadRealistic(benchmark::State& state) {
  const auto& shape = CachedShape(RealisticFile, static_cast<std::size_t>(state.range(0)) * kMB);
  ReadFile(state, RealisticFile, true, shape.Sentences);
}
void BM_ReadRealisticUnparsed(benchmark::State& state) {
  const auto& shape = CachedShape(RealisticFile, static_cast<std::size_t>(state.range(0)) * kMB);
  ReadFile(state, RealisticFile, false, shape.Sentences);
}
void BM_ReadNoTheoryEnd(benchmark::State& state) {
  // Every sentence is read as an issue.
  const auto& shape = CachedShape(NoTheoryEndFile, static_cast<std::size_t>(state.range(0)) * kMB);
  ReadFile(state, NoTheoryEndFile, true, shape.Sentences);
}
void BM_ReadNoSentenceEnd(benchmark::State& state) {
  // Without closing tags every element still reads.
  const auto& shape = CachedShape(RealisticFile, static_cast<std::size_t>(state.range(0)) * kMB);
  ReadFile(state, NoSentenceEndFile, true, shape.Sentences);
}
void BM_ReadDeepChains(benchmark::State& state) {
  const auto& shape = CachedShape(DeepChainsFile, static_cast<std::size_t>(state.range(0)) * kMB);
  ReadFile(state, DeepChainsFile, true, shape.Sentences);
}
void BM_ReadOneHugeConditional(benchmark::State& state) { ReadFile(state, OneHugeConditionalFile, true, 1); }
void BM_ReadCommaRuns(benchmark::State& state) {
  const auto& shape = CachedShape(CommaRunsFile, static_cast<std::size_t>(state.range(0)) * kMB);
  ReadFile(state, CommaRunsFile, true, shape.Sentences);
}
void BM_ReadUnterminated(benchmark::State& state) {
  // The first unterminated element ends the issues section.
  const auto& shape = CachedShape(RealisticFile, static_cast<std::size_t>(state.range(0)) * kMB / 2);
  ReadFile(state, UnterminatedFile, true, shape.Assumptions);
}

#define READ_BENCHMARK(name) BENCHMARK(name)->Arg(10)->Arg(20)->Unit(benchmark::kMillisecond)
// 5 and 40 MB too, to tell the growth of the cost from cache effects.
READ_BENCHMARK(BM_ReadRealistic)->Arg(5)->Arg(40);
READ_BENCHMARK(BM_ReadRealisticUnparsed);
READ_BENCHMARK(BM_ReadNoTheoryEnd);
READ_BENCHMARK(BM_ReadNoSentenceEnd);
READ_BENCHMARK(BM_ReadDeepChains);
READ_BENCHMARK(BM_ReadOneHugeConditional);
READ_BENCHMARK(BM_ReadCommaRuns);
READ_BENCHMARK(BM_ReadUnterminated);

// The steps one by one on the realistic 10 MB file, to see where time goes.
void BM_ReadStepsRealistic(benchmark::State& state) {
  const TShape& shape = CachedShape(RealisticFile, 10 * kMB);
  double load = 0, parse = 0, write = 0;
  for (auto _ : state) {
    TKarvelFile file;
    TKarvelTheory theory;
    auto t0 = std::chrono::steady_clock::now();
    file.LoadFromBytes(shape.Bytes);
    load += Seconds(t0);
    t0 = std::chrono::steady_clock::now();
    theory.LoadFromKarvelFile(file);
    theory.ParseText(true);
    parse += Seconds(t0);
    t0 = std::chrono::steady_clock::now();
    theory.SaveToKarvelFile(file);
    write += Seconds(t0);
    if (theory.Assumptions.size() + theory.Issues.size() != shape.Sentences)
      state.SkipWithError("sentences lost");
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["load_ms"] = 1000 * load / n;
  state.counters["parse_ms"] = 1000 * parse / n;
  state.counters["write_ms"] = 1000 * write / n;
}
BENCHMARK(BM_ReadStepsRealistic)->Unit(benchmark::kMillisecond);

// ------------------------------------------------------------ nesting limit

std::string DeepTypedText(int depth) {
  std::string text;
  text.reserve(3 * static_cast<std::size_t>(depth) + 1);
  for (int i = 0; i < depth; ++i) text += "x(";
  text += "p";
  text.append(static_cast<std::size_t>(depth), ')');
  return text;
}

// 100,000 levels typed as text: beyond the nesting limit the whole text is
// one elementary sentence.
void BM_ParseDeepTypedText(benchmark::State& state) {
  const std::string text = DeepTypedText(100000);
  for (auto _ : state) {
    TSentenceArena arena;
    TKarvelSentence* s = ParseSentence(text, arena);
    if (!IsElementary(s) || s->Text != text)
      state.SkipWithError("deep text not kept as one elementary sentence");
  }
}
BENCHMARK(BM_ParseDeepTypedText)->Unit(benchmark::kMillisecond);

// 100,000 nested negation elements: too deep, so the sentence is malformed
// and the theory section ends before it; the sentence after the issues
// opening tag still reads.
void BM_ReadDeepNestedElements(benchmark::State& state) {
  TFileBuilder b;
  b.Line("<KARVEL>");
  b.Line("<THEORY>");
  for (int i = 0; i < 100000; ++i) b.OpenNegation();
  b.Elementary("p");
  for (int i = 0; i < 100000; ++i) b.CloseNegation();
  b.Line("</THEORY>");
  b.Line("<ISSUES>");
  b.Elementary("q");
  b.Line("</ISSUES>");
  b.Line("</KARVEL>");
  for (auto _ : state) {
    ostrel::TheoryDocument document;
    document.ReadBytes(b.Out, true);
    if (!document.Theory().Assumptions.empty() || document.Theory().Issues.size() != 1)
      state.SkipWithError("deep element not dropped as malformed");
  }
  state.counters["MB"] = static_cast<double>(b.Out.size()) / kMB;
}
BENCHMARK(BM_ReadDeepNestedElements)->Unit(benchmark::kMillisecond);

// ------------------------------------------------------------ closure

// 100,000 sentences: 10 facts and rules chaining them, c_i from c_(i-1) and
// sometimes also c_(i-2), c_(i-3). Order 0 lists the rules forward, 1
// backward (one new consequent per pass of the plain method), 2 shuffled.
void BM_DeductiveClosure(benchmark::State& state) {
  constexpr std::size_t n = 100000, facts = 10;
  TSentenceArena arena;
  std::vector<TKarvelSentence*> claims;
  for (std::size_t i = 0; i < n; ++i) claims.push_back(arena.NewElementary(Claim(i)));
  TListOfKarvelSentences list(claims.begin(), claims.begin() + facts);
  TListOfKarvelSentences rules;
  for (std::size_t i = facts; i < n; ++i) {
    auto* rule = arena.NewConditional();
    rule->Antecedents.push_back(claims[i - 1]);
    if (i % 3 == 0) rule->Antecedents.push_back(claims[i - 2]);
    if (i % 5 == 0) rule->Antecedents.push_back(claims[i - 3]);
    rule->Consequent = claims[i];
    ComposeText(rule);
    rules.push_back(rule);
  }
  if (state.range(0) == 1) std::reverse(rules.begin(), rules.end());
  if (state.range(0) == 2) {
    TRandom random(3);
    for (std::size_t i = rules.size(); i > 1; --i) std::swap(rules[i - 1], rules[random.Below(i)]);
  }
  list.insert(list.end(), rules.begin(), rules.end());
  for (auto _ : state) {
    TListOfKarvelSentences closure;
    DeductiveClosure(list, closure);
    if (closure.size() != list.size() + (n - facts)) state.SkipWithError("closure incomplete");
    benchmark::DoNotOptimize(closure.data());
  }
  state.counters["sentences"] = static_cast<double>(list.size());
}
BENCHMARK(BM_DeductiveClosure)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// A text lookup that scans to the end of a 100,000-sentence list.
void BM_IndexOfTextLast(benchmark::State& state) {
  TSentenceArena arena;
  TListOfKarvelSentences list;
  for (std::size_t i = 0; i < 100000; ++i) list.push_back(arena.NewElementary(Claim(i)));
  const std::string probe = Claim(99999);
  for (auto _ : state) {
    const int index = IndexOfText(list, probe);
    if (index != 99999) state.SkipWithError("wrong index");
    benchmark::DoNotOptimize(index);
  }
}
BENCHMARK(BM_IndexOfTextLast)->Unit(benchmark::kMicrosecond);

// ------------------------------------------------------------ interpretations

void AddAssumption(TKarvelTheory& theory, const std::string& text) {
  TKarvelSentence* s = ParseSentence(text, theory.Arena());
  s->IsAssumption = true;
  theory.Assumptions.push_back(s);
}

std::string A(std::size_t i) { return "a" + std::to_string(i); }

// Assumptions a_1..a_n and if(a_i, x(a_(i+1))); with `cycle` also
// if(a_n, x(a_1)).
void AttackChain(TKarvelTheory& theory, std::size_t n, bool cycle) {
  for (std::size_t i = 1; i <= n; ++i) AddAssumption(theory, A(i));
  for (std::size_t i = 1; i < n; ++i) AddAssumption(theory, "if(" + A(i) + ", x(" + A(i + 1) + "))");
  if (cycle) AddAssumption(theory, "if(" + A(n) + ", x(" + A(1) + "))");
}

void MutualPairs(TKarvelTheory& theory, std::size_t pairs) {
  for (std::size_t i = 0; i < pairs; ++i) {
    const std::string p = "p" + std::to_string(i), q = "q" + std::to_string(i);
    AddAssumption(theory, p);
    AddAssumption(theory, q);
    AddAssumption(theory, "if(" + p + ", x(" + q + "))");
    AddAssumption(theory, "if(" + q + ", x(" + p + "))");
  }
}

void Interpretations(benchmark::State& state, TKarvelTheory& theory, std::size_t expected) {
  for (auto _ : state) {
    TListOfListOfKarvelSentences interpretations;
    theory.ComputeInterpretations(interpretations);
    if (interpretations.size() != expected) {
      state.SkipWithError(("expected " + std::to_string(expected) + " interpretations, got " +
                           std::to_string(interpretations.size()))
                              .c_str());
      break;
    }
  }
  state.counters["assumptions"] = static_cast<double>(theory.Assumptions.size());
  state.counters["interpretations"] = static_cast<double>(expected);
}

void BM_InterpretationsEvenCycle(benchmark::State& state) {
  TKarvelTheory theory;
  AttackChain(theory, 200, true);
  Interpretations(state, theory, 2);
}
void BM_InterpretationsOddCycle(benchmark::State& state) {
  TKarvelTheory theory;
  AttackChain(theory, 201, true);
  Interpretations(state, theory, 0);
}
void BM_InterpretationsChain(benchmark::State& state) {
  TKarvelTheory theory;
  AttackChain(theory, 10000, false);
  Interpretations(state, theory, 1);
}
void BM_InterpretationsMutualPairs(benchmark::State& state) {
  TKarvelTheory theory;
  MutualPairs(theory, 12);
  Interpretations(state, theory, 4096);
}
// The attack chain of n where every a_i also gives c, and c starts a
// derivation of n more steps: each assumption the grounded step drops takes
// the whole derivation out of the closure and back in.
void BM_InterpretationsChainSharedConsequence(benchmark::State& state) {
  const auto n = static_cast<std::size_t>(state.range(0));
  TKarvelTheory theory;
  AttackChain(theory, n, false);
  for (std::size_t i = 1; i <= n; ++i) AddAssumption(theory, "if(" + A(i) + ", c)");
  AddAssumption(theory, "if(c, d1)");
  for (std::size_t j = 1; j < n; ++j)
    AddAssumption(theory, "if(d" + std::to_string(j) + ", d" + std::to_string(j + 1) + ")");
  Interpretations(state, theory, 1);
}
BENCHMARK(BM_InterpretationsChainSharedConsequence)->Arg(2000)->Arg(4000)->Unit(benchmark::kMillisecond);

// The same pairs (8 of them) in a theory where one text stands for two
// structures: an elementary antecedent "if(z, w)" beside the conditional
// if(z, w). Such theories take the plain enumeration of 2^16 candidates.
void BM_InterpretationsAmbiguousPairs(benchmark::State& state) {
  TKarvelTheory theory;
  MutualPairs(theory, static_cast<std::size_t>(state.range(0)));
  AddAssumption(theory, "if(z, w)");
  auto* rule = theory.Arena().NewConditional();
  rule->Antecedents.push_back(theory.Arena().NewElementary("if(z, w)"));
  rule->Consequent = theory.Arena().NewElementary("v");
  ComposeText(rule);
  CollectVariables(rule);
  rule->IsAssumption = true;
  theory.Assumptions.push_back(rule);
  Interpretations(state, theory, std::size_t{1} << state.range(0));
}
BENCHMARK(BM_InterpretationsEvenCycle)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InterpretationsOddCycle)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InterpretationsChain)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InterpretationsMutualPairs)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InterpretationsAmbiguousPairs)->Arg(6)->Arg(8)->Unit(benchmark::kMillisecond);

// The document's refresh step on the mutual pairs: interpretations plus the
// statuses of the first.
void BM_DocumentInterpretationsMutualPairs(benchmark::State& state) {
  std::string text = "<KARVEL>\r\n<THEORY>\r\n";
  for (std::size_t i = 0; i < 12; ++i) {
    const std::string p = "p" + std::to_string(i), q = "q" + std::to_string(i);
    for (const std::string& t : {p, q, "if(" + p + ", x(" + q + "))", "if(" + q + ", x(" + p + "))"})
      text += "<SENTENCE>\r\n<ELEMENTARYSENTENCE>\r\n" + t + "\r\n</ELEMENTARYSENTENCE>\r\n</SENTENCE>\r\n";
  }
  text += "</THEORY>\r\n</KARVEL>\r\n";
  ostrel::TheoryDocument document;
  document.ReadBytes(text, true);
  for (auto _ : state) {
    document.ComputeInterpretations(false);
    if (document.Interpretations().size() != 4096) state.SkipWithError("expected 4096 interpretations");
  }
}
BENCHMARK(BM_DocumentInterpretationsMutualPairs)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
