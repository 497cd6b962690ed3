// The child of the kill test: in the directory given, adds sentences one by
// one through the editor, each commit writing "~tmp.kvl" and reloading it,
// and starts again with File > New after a while. Runs until killed.
// With a count as the second argument it runs that many steps instead and
// copies "~tmp.kvl" after each into states/, so that the test knows every
// complete file a run writes.
#include <filesystem>
#include <string>

#include "HeadlessSession.h"

namespace {

constexpr int kSentencesPerDocument = 40;

void Step(ostrel::THeadlessSession& w, long step) {
  const long n = step % (kSentencesPerDocument + 1);
  if (n == kSentencesPerDocument) {
    w.New();
    return;
  }
  w.Session().Addstatement1Click();
  w.Type("sentence " + std::to_string(n));
  w.PressEnter();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  std::filesystem::current_path(argv[1]);
  ostrel::THeadlessSession w;
  w.New();
  if (argc == 2) {
    for (long step = 0;; ++step) Step(w, step);
  }
  const long count = std::stol(argv[2]);
  std::filesystem::create_directories("states");
  for (long step = 0; step < count; ++step) {
    Step(w, step);
    std::filesystem::copy_file(ostrel::kTemporaryFileName, "states/" + std::to_string(step) + ".kvl");
  }
  return 0;
}
