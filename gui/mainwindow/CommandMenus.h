// The main window's commands as the user reaches them: the File, Edit,
// Options and Test menus dropping down from the tool buttons of the control
// bar, and the diagram's popup menu with the same Edit commands.
#pragma once

#include <QString>

#include <array>
#include <functional>

#include "CommandAvailability.h"

class QAction;
class QMainWindow;
class QMenu;
class QPoint;

namespace ostrel {

class TCommandMenus final {
 public:
  //! What the File, Options and Test items run, and what runs each time the
  //! Edit menu opens. The Edit commands are connected by the window through
  //! EditMenuItem and PopupMenuItem.
  struct THandlers {
    std::function<void()> New;
    std::function<void()> Open;
    std::function<void()> SaveAs;
    std::function<void()> ExportDiagram;
    std::function<void()> ShowStructureOnly;
    std::function<void()> ParseSentences;
    std::function<void()> ShowDialecticalNegations;
    std::function<void()> Test;
    std::function<void()> EditMenuOpens;
  };

  //! Builds everything with the window as the owner and makes the control
  //! bar the window's menu widget.
  TCommandMenus(QMainWindow& window, const THandlers& handlers);
  TCommandMenus(const TCommandMenus&) = delete;
  TCommandMenus& operator=(const TCommandMenus&) = delete;

  [[nodiscard]] QMenu& EditMenu() const { return *Edit1; }
  [[nodiscard]] QMenu& PopupMenu() const { return *PopupMenu1; }
  [[nodiscard]] QAction* EditMenuItem(TEditCommand command) const;
  [[nodiscard]] QAction* PopupMenuItem(TEditCommand command) const;
  //! Both menus show what the visibility says.
  void ApplyVisibility(const TMenuVisibility& menus) const;
  //! Runs the popup menu at a global position until it closes.
  void ExecPopup(const QPoint& global) const;

  // The Options marks.
  [[nodiscard]] bool ShowStructureOnly() const;
  [[nodiscard]] bool ParseSentences() const;
  void SetParseSentences(bool parse) const;
  [[nodiscard]] bool ShowDialecticalNegations() const;

 private:
  void createEditMenus(QMainWindow& window, const THandlers& handlers);

  // The control bar, its tool buttons, the File and Options menus and their
  // items belong to the window; these are the ones read after construction.
  QMenu* Edit1 = nullptr;
  QMenu* PopupMenu1 = nullptr;
  QAction* Showstructureonly1 = nullptr;
  QAction* Parsesentences1 = nullptr;
  QAction* Showdialecticalnegations1 = nullptr;
  std::array<QAction*, kEditCommandCount> FEditMenuItems{};
  std::array<QAction*, kEditCommandCount> FPopupMenuItems{};
};

}  // namespace ostrel
