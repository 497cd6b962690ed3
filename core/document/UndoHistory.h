// Undo and redo over the working file: each step keeps the bytes of
// "~tmp.kvl" and the window's caption before and after one user action.
// Knows nothing about widgets; the window records and replays the steps.
#pragma once

#include <cstddef>
#include <deque>
#include <memory>
#include <optional>
#include <string>

#include "TheoryDocument.h"

namespace ostrel {

//! What a step restores: the working file's bytes, the caption, and the one
//! option that changes what a reload writes.
struct TWorkingState {
  //! Shared between neighbouring steps, which mostly hold the same bytes.
  std::shared_ptr<const std::string> Bytes;
  std::string Caption;
  bool ParseSentences = true;

  [[nodiscard]] bool SameAs(const TWorkingState& other) const;
};

//! The bytes of the working file now (none when it cannot be read).
std::shared_ptr<const std::string> ReadWorkingFileBytes(const std::string& fileName = kTemporaryFileName);
//! Whether these bytes hold a theory with at least one sentence.
bool HoldsAnyTheorySentence(const std::string& bytes);

class TUndoHistory {
 public:
  //! The history drops its oldest steps beyond this many bytes.
  static constexpr std::size_t kDefaultByteBound = std::size_t{64} << 20;
  explicit TUndoHistory(std::size_t byteBound = kDefaultByteBound) : FByteBound(byteBound) {}

  //! A finished action: recorded unless it changed nothing. Drops the
  //! steps that could be redone. False when nothing was recorded.
  bool Record(TWorkingState before, TWorkingState after);
  [[nodiscard]] bool CanUndo() const { return FCursor > 0; }
  [[nodiscard]] bool CanRedo() const { return FCursor < FSteps.size(); }
  //! The state Undo goes back to; only when CanUndo().
  [[nodiscard]] const TWorkingState& UndoTarget() const { return FSteps[FCursor - 1].Before; }
  //! The state Redo goes forward to; only when CanRedo().
  [[nodiscard]] const TWorkingState& RedoTarget() const { return FSteps[FCursor].After; }
  //! Moves past the step once its state has been restored.
  void StepBack() { --FCursor; }
  void StepForward() { ++FCursor; }

  [[nodiscard]] std::size_t StepCount() const { return FSteps.size(); }
  //! Bytes held, each shared buffer counted once.
  [[nodiscard]] std::size_t Bytes() const { return FBytes; }

 private:
  struct TStep {
    TWorkingState Before;
    TWorkingState After;
  };
  //! The bytes a step adds to those of the step before it.
  [[nodiscard]] std::size_t CostOf(std::size_t index) const;
  void DropOldest();

  std::deque<TStep> FSteps;
  std::size_t FCursor = 0;  // steps before it can be undone, from it on redone
  std::size_t FBytes = 0;
  std::size_t FByteBound;
};

}  // namespace ostrel
