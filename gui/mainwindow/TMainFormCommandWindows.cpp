// The main window's commands that answer in a window of their own: the
// properties dialog and the match window. Neither changes the document.
#include "TMainForm.h"
#include "TMatchForm.h"
#include "TPropertiesForm.h"

namespace ostrel {

void TMainForm::Properties1MenuItemClick() {
  if (FPropertiesForm == nullptr) return;
  // Modal: until "&Ok" this window is not the active one and its diagram
  // takes no presses.
  FPropertiesForm->ShowProperties(FSession.SelectedSentence());
}

void TMainForm::Match1MenuItemClick() {
  const karvel::TKarvelSentence* selected = FSession.SelectedSentence();
  if (FMatchForm == nullptr || selected == nullptr) return;
  FMatchForm->ShowMatches(selected->Text, FDocument.Theory(), DiagramOptions());
}

}  // namespace ostrel
