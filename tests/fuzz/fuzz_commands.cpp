// Drives the editing commands the way a user of the window could: the input
// names a theory (file bytes or a generated argument) and then a sequence of
// presses, commands, typing, keys, file and option steps, each with the
// write failures the input asks for. After every step
// the invariants of CommandSteps.h must hold; a failure prints the step and
// traps, so that libFuzzer keeps the input.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "CommandSteps.h"

namespace {

// Enough for long two-phase sequences; each step may reload twice.
constexpr int kMaxSteps = 64;

// The file layer as an unlucky disk has it: for each step the input may say
// that the disk is full, that renames fail, or that one write of the step
// fails either way. Every write counts, the commands' and the refreshes'.
class TStepFaults final : public karvel::TWriteFaults {
 public:
  TStepFaults() { karvel::SetWriteFaults(this); }
  ~TStepFaults() override { karvel::SetWriteFaults(nullptr); }
  TStepFaults(const TStepFaults&) = delete;
  TStepFaults& operator=(const TStepFaults&) = delete;

  //! Chooses the faults of the next step from one byte.
  void Choose(std::uint8_t byte) {
    FWrite = 0;
    FFault = karvel::TWriteFault::None;
    FOnly = -1;
    switch (byte % 16) {
      case 0:
        FFault = karvel::TWriteFault::NoSpace;
        break;
      case 1:
        FFault = karvel::TWriteFault::RenameFails;
        break;
      case 2:
      case 3:
        FFault = byte % 16 == 2 ? karvel::TWriteFault::NoSpace : karvel::TWriteFault::RenameFails;
        FOnly = (byte >> 4) % 4;  // the first to the fourth write of the step
        break;
      default:
        break;
    }
  }
  //! No faults while the invariants are checked.
  void Clear() { FFault = karvel::TWriteFault::None; }

  bool Next(karvel::TWriteFault fault) override {
    const int write = FWrite;
    // A write asks for the rename once, at its end.
    if (fault == karvel::TWriteFault::RenameFails) ++FWrite;
    return fault == FFault && (FOnly < 0 || write == FOnly);
  }

 private:
  karvel::TWriteFault FFault = karvel::TWriteFault::None;
  int FOnly = -1;
  int FWrite = 0;
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // Every reload writes "~tmp.kvl" into the current directory, so the run
  // moves to a scratch one: give corpus and artifact paths as absolute ones.
  std::string directory =
      std::string(std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp") + "/ostrel-fuzz-commands.XXXXXX";
  if (::mkdtemp(directory.data()) == nullptr || ::chdir(directory.c_str()) != 0) std::abort();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace ostrel::steps;
  TByteInput in(std::string_view(reinterpret_cast<const char*>(data), size));
  ostrel::THeadlessSession w;
  StartSession(w, in);
  std::string failure = CheckInvariants(w);
  TStepFaults faults;
  for (int i = 0; failure.empty() && i < kMaxSteps && !in.Exhausted(); ++i) {
    faults.Choose(in.Byte());
    const TCheckedStep step = RunCheckedStep(w, in, [&faults] { faults.Clear(); });
    failure = step.Failure;
    if (!failure.empty())
      std::fprintf(stderr, "after step %d (%.*s): %s\n", i, static_cast<int>(StepName(step.Step).size()),
                   StepName(step.Step).data(), failure.c_str());
  }
  if (!failure.empty()) __builtin_trap();
  return 0;
}
