// Deductive closure of a sentence list, in the exact order of repeated
// passes, computed by events instead of rescanning the list every pass.
#include <functional>
#include <queue>
#include <vector>

#include "KarvelTextIndex.h"
#include "KarvelTheory.h"

namespace karvel {

namespace {

class TClosureBuilder {
 public:
  TClosureBuilder(TListOfKarvelSentences& closure, std::size_t expected,
                  std::vector<std::size_t>* firedBy = nullptr)
      : FClosure(closure), FFiredBy(firedBy), FTexts(2 * expected) {
    FClosure.reserve(expected);
    if (FFiredBy) FFiredBy->clear();
  }

  void Run(const TListOfKarvelSentences& sentences) {
    FClosure.clear();
    for (auto* s : sentences) Append(s);
    // A pass examines the items present when it starts, in index order; a
    // conditional fires when, at its turn, all antecedents are in and its
    // consequent is not. Only conditionals that can fire are visited.
    std::size_t passEnd = FClosure.size();
    for (std::size_t i : FReady) FCurrent.push(i);
    FReady.clear();
    while (!FCurrent.empty()) {
      while (!FCurrent.empty()) {
        const std::size_t i = FCurrent.top();
        FCurrent.pop();
        auto* conditional = static_cast<TKarvelConditional*>(FClosure[i]);
        const int consequent = Id(conditional->Consequent->Text);
        if (FIn[consequent]) continue;  // never fires again
        FCursor = i;
        FPassEnd = passEnd;
        FFiring = i;
        Append(conditional->Consequent, consequent);
      }
      passEnd = FClosure.size();
      for (std::size_t i : FReady) FCurrent.push(i);
      FReady.clear();
    }
  }

 private:
  // Texts are numbered once; membership and waiting lists are by number.
  int Id(std::string_view text) {
    const int id = FTexts.Insert(text).first;
    if (static_cast<std::size_t>(id) >= FIn.size()) {
      FIn.push_back(false);
      FFirstWaiting.push_back(-1);
    }
    return id;
  }
  // Appends a sentence unless its text is present, and wakes the
  // conditionals waiting for that text.
  void Append(TKarvelSentence* s, int id = -1) {
    if (id < 0) id = Id(s->Text);
    if (FIn[id]) return;
    FIn[id] = true;
    const std::size_t index = FClosure.size();
    FClosure.push_back(s);
    if (FFiredBy) FFiredBy->push_back(FFiring);
    FMissing.push_back(0);
    if (auto* conditional = AsConditional(s)) {
      std::size_t missing = 0;
      for (auto* a : conditional->Antecedents) {
        const int antecedent = Id(a->Text);
        if (FIn[antecedent]) continue;
        ++missing;
        // Waiting lists are chained through one array: no allocation per text.
        FWaits.push_back({index, FFirstWaiting[antecedent]});
        FFirstWaiting[antecedent] = static_cast<int>(FWaits.size()) - 1;
      }
      FMissing[index] = missing;
      if (missing == 0) FReady.push_back(index);
    }
    // Woken in the order they started waiting, which the heap and the ready
    // list do not depend on.
    for (int w = FFirstWaiting[id]; w >= 0; w = FWaits[w].Next) {
      const std::size_t c = FWaits[w].Conditional;
      if (--FMissing[c] != 0) continue;
      // Still ahead of the cursor in this pass: examined in this pass.
      if (FPassEnd > 0 && c > FCursor && c < FPassEnd)
        FCurrent.push(c);
      else
        FReady.push_back(c);
    }
    FFirstWaiting[id] = -1;
  }

  TListOfKarvelSentences& FClosure;
  std::vector<std::size_t>* FFiredBy;
  std::size_t FFiring = kNotFired;  // the conditional whose consequent is being appended
  TTextIndex FTexts;
  struct TWait {
    std::size_t Conditional;
    int Next;
  };
  std::vector<char> FIn;
  std::vector<int> FFirstWaiting;  // by text: head of its chain in FWaits
  std::vector<TWait> FWaits;
  std::vector<std::size_t> FMissing;  // by closure index
  std::vector<std::size_t> FReady;
  std::size_t FCursor = 0;
  std::size_t FPassEnd = 0;  // 0 until the first pass starts
  std::priority_queue<std::size_t, std::vector<std::size_t>, std::greater<>> FCurrent;
};

}  // namespace

void DeductiveClosure(const TListOfKarvelSentences& sentences, TListOfKarvelSentences& closure) {
  TListOfKarvelSentences result;
  TClosureBuilder(result, sentences.size()).Run(sentences);
  closure = std::move(result);
}

void DeductiveClosure(const TListOfKarvelSentences& sentences, TListOfKarvelSentences& closure,
                      std::vector<std::size_t>& firedBy) {
  TListOfKarvelSentences result;
  std::vector<std::size_t> fired;
  TClosureBuilder(result, sentences.size(), &fired).Run(sentences);
  closure = std::move(result);
  firedBy = std::move(fired);
}

bool IsConsistent(const TListOfKarvelSentences& sentences, TKarvelSentence*& culprit) {
  TListOfKarvelSentences closure;
  DeductiveClosure(sentences, closure);
  TTextIndex negated;  // S for every "x(S)" present
  for (auto* s : closure) {
    std::string_view inner;
    if (NegatedText(s->Text, inner)) negated.Insert(inner);
  }
  for (auto* s : closure) {
    if (negated.Contains(s->Text)) {
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
