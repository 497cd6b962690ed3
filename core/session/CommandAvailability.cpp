#include "CommandAvailability.h"

namespace ostrel {

using karvel::TKarvelSentence;
using C = TEditCommand;

TMenuItemStates::TMenuItemStates() { Show(C::Addstatement); }

namespace {

void MouseDownOn(TMenuItemStates& menu, const TKarvelSentence& s) {
  // Match is offered for a sentence without variables, which can be an
  // instance of a template; Instantiate has no behaviour and is never shown.
  if (!s.Variables.empty()) {
    menu.Hide(C::Match);
  } else {
    menu.Hide(C::Instantiate);
    menu.Show(C::Match);
  }
  menu.Show(C::Changeelementarysentence, karvel::IsElementary(&s));
  menu.Show(C::Addconjunct, karvel::IsConditional(&s));
  for (C shown : {C::Givesupport, C::Attack, C::Delete, C::Properties}) menu.Show(shown);
  if (s.IsAssumption) {
    menu.Hide(C::Setasassumption);
    menu.Show(C::Setasissue);
  }
  if (s.IsIssue) {
    menu.Show(C::Setasassumption);
    menu.Hide(C::Setasissue);
  }
  if (!s.IsAssumption && !s.IsIssue) {
    menu.Show(C::Setasassumption);
    menu.Show(C::Setasissue);
  }
}

void MouseDownOnNothing(TMenuItemStates& menu) {
  for (C hidden : {C::Setasassumption, C::Setasissue, C::Changeelementarysentence, C::Addconjunct,
                   C::Adddialecticalnegation, C::Givesupport, C::Attack, C::Delete, C::Match, C::Instantiate,
                   C::Properties})
    menu.Hide(hidden);
}

}  // namespace

void MouseDownOnSentence(TMenuVisibility& menus, const TKarvelSentence& sentence) {
  MouseDownOn(menus.Edit, sentence);
  MouseDownOn(menus.Popup, sentence);
}

void MouseDownOnFreeArea(TMenuVisibility& menus) {
  MouseDownOnNothing(menus.Edit);
  MouseDownOnNothing(menus.Popup);
}

void EditMenuOpened(TMenuItemStates& edit, const TKarvelSentence* selected) {
  if (selected == nullptr) {
    for (C hidden : {C::Setasassumption, C::Setasissue, C::Changeelementarysentence, C::Addconjunct,
                     C::Adddialecticalnegation, C::Givesupport, C::Attack, C::Delete})
      edit.Hide(hidden);
    return;
  }
  // With neither mark both set-as items keep their state.
  if (selected->IsAssumption) {
    edit.Hide(C::Setasassumption);
    edit.Show(C::Setasissue);
  }
  if (selected->IsIssue) {
    edit.Show(C::Setasassumption);
    edit.Hide(C::Setasissue);
  }
  edit.Show(C::Changeelementarysentence, karvel::IsElementary(selected));
  edit.Show(C::Addconjunct, karvel::IsConditional(selected));
  edit.Hide(C::Adddialecticalnegation);
  for (C shown : {C::Givesupport, C::Attack, C::Delete, C::Properties}) edit.Show(shown);
}

}  // namespace ostrel
