#include "UndoHistory.h"

#include "KarvelUnit.h"
#include "TheoryDocument.h"

namespace ostrel {

namespace {

std::size_t SizeOf(const std::shared_ptr<const std::string>& bytes) { return bytes ? bytes->size() : 0; }

bool SameBytes(const std::shared_ptr<const std::string>& a, const std::shared_ptr<const std::string>& b) {
  if (a == b) return true;
  if (!a || !b) return false;
  return *a == *b;
}

}  // namespace

bool TWorkingState::SameAs(const TWorkingState& other) const {
  return Caption == other.Caption && ParseSentences == other.ParseSentences && SameBytes(Bytes, other.Bytes);
}

std::shared_ptr<const std::string> ReadWorkingFileBytes(const std::string& fileName) {
  try {
    return std::make_shared<const std::string>(karvel::ReadFileBytes(fileName));
  } catch (const karvel::TFileError&) {
    return nullptr;
  }
}

bool HoldsAnyTheorySentence(const std::string& bytes) {
  TheoryDocument document;
  document.ReadBytes(bytes, /*parseSentences=*/true);
  const karvel::TKarvelTheory& theory = document.Theory();
  return !theory.Assumptions.empty() || !theory.Issues.empty();
}

bool TUndoHistory::Record(TWorkingState before, TWorkingState after) {
  if (before.SameAs(after)) return false;
  while (FSteps.size() > FCursor) {
    FBytes -= CostOf(FSteps.size() - 1);
    FSteps.pop_back();
  }
  // Consecutive steps mostly meet in the same bytes: keep them once.
  if (!FSteps.empty() && SameBytes(FSteps.back().After.Bytes, before.Bytes))
    before.Bytes = FSteps.back().After.Bytes;
  if (SameBytes(before.Bytes, after.Bytes)) after.Bytes = before.Bytes;
  FSteps.push_back({std::move(before), std::move(after)});
  FBytes += CostOf(FSteps.size() - 1);
  FCursor = FSteps.size();
  // The newest step stays whatever its size: losing the action just done
  // would be worse than going over the bound by one step.
  while (FBytes > FByteBound && FSteps.size() > 1) DropOldest();
  return true;
}

std::size_t TUndoHistory::CostOf(std::size_t index) const {
  const TStep& step = FSteps[index];
  std::size_t cost = step.After.Bytes == step.Before.Bytes ? 0 : SizeOf(step.After.Bytes);
  if (index == 0 || FSteps[index - 1].After.Bytes != step.Before.Bytes) cost += SizeOf(step.Before.Bytes);
  return cost;
}

void TUndoHistory::DropOldest() {
  FBytes -= CostOf(0);
  // The next step's "before" was counted as shared with the dropped "after".
  if (FSteps.size() > 1) FBytes -= CostOf(1);
  FSteps.pop_front();
  FBytes += CostOf(0);
  if (FCursor > 0) --FCursor;
}

}  // namespace ostrel
