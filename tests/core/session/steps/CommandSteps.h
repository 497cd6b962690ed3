// Random use of the editing commands on the headless session: steps decoded
// from bytes (a fuzzer's input or a seeded generator), and the invariants
// that must hold after every step. The command fuzzer, the seeded driver
// test and the memory benchmark share them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <string_view>

#include "HeadlessSession.h"

namespace ostrel::steps {

//! Where the decoder takes its bytes from.
class TStepInput {
 public:
  virtual ~TStepInput() = default;
  //! The next byte; 0 once the input is used up.
  virtual std::uint8_t Byte() = 0;
  [[nodiscard]] virtual bool Exhausted() const = 0;
  //! Up to count bytes, fewer when the input ends.
  std::string Bytes(std::size_t count);
};

//! A fuzzer's input.
class TByteInput final : public TStepInput {
 public:
  explicit TByteInput(std::string_view bytes) : FBytes(bytes) {}
  std::uint8_t Byte() override;
  [[nodiscard]] bool Exhausted() const override { return FBytes.empty(); }

 private:
  std::string_view FBytes;
};

//! An endless input from a seed, so that a failing run can be replayed.
class TRandomInput final : public TStepInput {
 public:
  explicit TRandomInput(std::uint32_t seed) : FEngine(seed) {}
  std::uint8_t Byte() override { return static_cast<std::uint8_t>(FEngine() & 0xFF); }
  [[nodiscard]] bool Exhausted() const override { return false; }

 private:
  std::mt19937 FEngine;
};

//! What one step does, in decoding order.
enum class TStep : std::uint8_t {
  PressBox,
  PressConnector,
  PressFreeArea,
  PressShapeByTag,
  DoubleClickBox,
  DoubleClickFreeArea,
  OpenEditMenu,
  SetAsAssumption,
  SetAsIssue,
  ChangeSentence,
  AddConjunct,
  AddSentence,
  AddNegation,
  Support,
  Attack,
  Delete,
  TypeBytes,
  TypeChoice,
  TypeWord,
  Enter,
  Escape,
  FileNew,
  FileOpen,
  FileOpenMissing,
  ToggleOption,
  InterpretationButton,
  Count
};

[[nodiscard]] std::string_view StepName(TStep step);

//! A theory file of the given number of assumptions and issues in the
//! writer's layout: elementary sentences, negations and rules over them,
//! the rules pointing only from earlier sentences to later ones.
[[nodiscard]] std::string GeneratedTheoryFile(std::size_t sentences, std::uint32_t seed);

//! The name under which the driver keeps the theory it started from.
inline constexpr const char* kStartFileName = "start.kvl";

//! Starts the session on a theory taken from the input: either file bytes
//! (first byte even; then a two-byte length) or a generated theory (first
//! byte odd; then its size and seed). Writes files into the current
//! directory.
void StartSession(THeadlessSession& w, TStepInput& in);

//! Which steps may replace the document.
enum class TFileSteps : std::uint8_t {
  //! File > New and File > Open of any bytes, as a user could.
  Any,
  //! Each file step reopens the theory the session started from, so that a
  //! long session keeps working on an argument of that size.
  ReopenStart,
};

//! Decodes and runs one step, as the window would deliver it: keys reach the
//! editor only while it is shown, a double click only a shown box.
TStep RunStep(THeadlessSession& w, TStepInput& in, TFileSteps files = TFileSteps::Any);

//! Empty when every invariant holds after a step; otherwise what failed.
//! Reads "~tmp.kvl" from the current directory.
[[nodiscard]] std::string CheckInvariants(THeadlessSession& w);

struct TCheckedStep {
  TStep Step = TStep::Count;
  //! Empty when the step kept every invariant.
  std::string Failure;
};

//! RunStep, then CheckInvariants, and for a commit of a new sentence also
//! that every text the theory held before is still there: adding a
//! sentence loses none (unless a write failed). afterStep runs between the
//! step and the checks.
TCheckedStep RunCheckedStep(THeadlessSession& w, TStepInput& in, const std::function<void()>& afterStep = {});

}  // namespace ostrel::steps
