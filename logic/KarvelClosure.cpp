// Deductive closure of a sentence list, in the exact order of repeated
// passes, computed by events instead of rescanning the list every pass.
#include <functional>
#include <queue>
#include <unordered_map>
#include <vector>

#include "KarvelTheory.h"

namespace karvel {

namespace {

class TClosureBuilder {
 public:
  explicit TClosureBuilder(TListOfKarvelSentences& closure) : FClosure(closure) {}

  void Run(const TListOfKarvelSentences& sentences) {
    FClosure.clear();
    for (auto* s : sentences) Append(s);
    // A pass examines the items present when it starts, in index order; a
    // conditional fires when, at its turn, all antecedents are in and its
    // consequent is not. Only conditionals that can fire are visited.
    std::size_t passEnd = FClosure.size();
    std::priority_queue<std::size_t, std::vector<std::size_t>, std::greater<>> current;
    for (std::size_t i : FReady) current.push(i);
    FReady.clear();
    while (!current.empty()) {
      while (!current.empty()) {
        const std::size_t i = current.top();
        current.pop();
        auto* conditional = AsConditional(FClosure[i]);
        if (FIndex.count(conditional->Consequent->Text)) continue;  // never fires again
        FCursor = i;
        FPassEnd = passEnd;
        FCurrent = &current;
        Append(conditional->Consequent);
      }
      passEnd = FClosure.size();
      for (std::size_t i : FReady) current.push(i);
      FReady.clear();
    }
  }

 private:
  // Appends a sentence unless its text is present, and wakes the
  // conditionals waiting for that text.
  void Append(TKarvelSentence* s) {
    if (!FIndex.emplace(s->Text, FClosure.size()).second) return;
    const std::size_t index = FClosure.size();
    FClosure.push_back(s);
    if (auto* conditional = AsConditional(s)) {
      std::size_t missing = 0;
      for (auto* a : conditional->Antecedents) {
        if (FIndex.count(a->Text)) continue;
        ++missing;
        FWaiting[a->Text].push_back(index);
      }
      FMissing.emplace(index, missing);
      if (missing == 0) FReady.push_back(index);
    }
    auto waiting = FWaiting.find(s->Text);
    if (waiting == FWaiting.end()) return;
    for (std::size_t c : waiting->second) {
      if (--FMissing[c] != 0) continue;
      // Still ahead of the cursor in this pass: examined in this pass.
      if (FCurrent && c > FCursor && c < FPassEnd)
        FCurrent->push(c);
      else
        FReady.push_back(c);
    }
    FWaiting.erase(waiting);
  }

  TListOfKarvelSentences& FClosure;
  std::unordered_map<std::string_view, std::size_t> FIndex;
  std::unordered_map<std::string_view, std::vector<std::size_t>> FWaiting;
  std::unordered_map<std::size_t, std::size_t> FMissing;
  std::vector<std::size_t> FReady;
  std::size_t FCursor = 0;
  std::size_t FPassEnd = 0;
  std::priority_queue<std::size_t, std::vector<std::size_t>, std::greater<>>* FCurrent = nullptr;
};

}  // namespace

void DeductiveClosure(const TListOfKarvelSentences& sentences, TListOfKarvelSentences& closure) {
  TListOfKarvelSentences result;
  TClosureBuilder(result).Run(sentences);
  closure = std::move(result);
}

bool IsConsistent(const TListOfKarvelSentences& sentences, TKarvelSentence*& culprit) {
  TListOfKarvelSentences closure;
  DeductiveClosure(sentences, closure);
  std::unordered_map<std::string_view, std::size_t> negated;  // S for every "x(S)" present
  for (auto* s : closure) {
    std::string_view inner;
    if (NegatedText(s->Text, inner)) negated.emplace(inner, 0);
  }
  for (auto* s : closure) {
    if (negated.count(s->Text)) {
      culprit = s;
      return false;
    }
  }
  return true;
}

bool IsConsistent(const TListOfKarvelSentences& sentences) {
  TKarvelSentence* culprit = nullptr;
  return IsConsistent(sentences, culprit);
}

bool NextCombination(std::vector<bool>& bits) {
  // Bit 0 is the most significant digit: add one at the last index.
  for (std::size_t i = bits.size(); i-- > 0;) {
    if (!bits[i]) {
      bits[i] = true;
      for (std::size_t j = i + 1; j < bits.size(); ++j) bits[j] = false;
      return true;
    }
  }
  return false;
}

}  // namespace karvel
