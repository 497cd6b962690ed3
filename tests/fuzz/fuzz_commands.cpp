// Drives the editing commands the way a user of the window could: the input
// names a theory (file bytes or a generated argument) and then a sequence of
// presses, commands, typing, keys, file and option steps. After every step
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
  for (int i = 0; failure.empty() && i < kMaxSteps && !in.Exhausted(); ++i) {
    const TCheckedStep step = RunCheckedStep(w, in);
    failure = step.Failure;
    if (!failure.empty())
      std::fprintf(stderr, "after step %d (%.*s): %s\n", i, static_cast<int>(StepName(step.Step).size()),
                   StepName(step.Step).data(), failure.c_str());
  }
  if (!failure.empty()) __builtin_trap();
  return 0;
}
