// Which Edit commands the two menus offer: the visibility of every item, kept
// as state between the moments that recompute it (a press in the diagram for
// both menus, the opening of the Edit menu for that menu alone).
#pragma once

#include <array>
#include <cstddef>

#include "KarvelSentence.h"

namespace ostrel {

//! The Edit commands, in menu order; each has one item in the Edit menu and
//! one in the diagram's popup menu.
enum class TEditCommand {
  Setasassumption,
  Setasissue,
  Changeelementarysentence,
  Addconjunct,
  Addstatement,
  Adddialecticalnegation,
  Givesupport,
  Attack,
  Delete,
  Match,
  Instantiate,
  Properties,
};
inline constexpr int kEditCommandCount = 12;

//! The shown (true) or hidden state of one menu's command items.
class TMenuItemStates {
 public:
  //! The form's defaults: only "Add elementary sentence" is shown.
  TMenuItemStates();
  [[nodiscard]] bool Shown(TEditCommand command) const { return FShown[Index(command)]; }
  void Show(TEditCommand command, bool shown = true) { FShown[Index(command)] = shown; }
  void Hide(TEditCommand command) { Show(command, false); }
  bool operator==(const TMenuItemStates&) const = default;

 private:
  static std::size_t Index(TEditCommand command) { return static_cast<std::size_t>(command); }
  std::array<bool, kEditCommandCount> FShown{};
};

//! Both menus.
struct TMenuVisibility {
  TMenuItemStates Edit;
  TMenuItemStates Popup;
};

//! A press on a sentence's box or on a rule's connector (the rule's
//! conditional); both menus.
void MouseDownOnSentence(TMenuVisibility& menus, const karvel::TKarvelSentence& sentence);
//! A press on the free area of the diagram; both menus.
void MouseDownOnFreeArea(TMenuVisibility& menus);
//! The Edit menu opens; selected is null without a valid selection.
void EditMenuOpened(TMenuItemStates& edit, const karvel::TKarvelSentence* selected);

}  // namespace ostrel
