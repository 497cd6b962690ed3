// The main window's undo history: every user action that changes the
// working file or the caption is one step, undone and redone through the
// refresh cycle like any other change.
#pragma once

#include <QString>

#include <array>
#include <functional>
#include <optional>

#include "UndoHistory.h"

class QAction;
class QMainWindow;
class QTextEdit;

namespace ostrel {

class TCommandMenus;
class TEditSession;

class TWindowHistory final {
 public:
  //! Adds Undo and Redo to the top of both menus and the keys to the window.
  //! reloadWorkingFile runs the refresh cycle on the working file;
  //! reportError tells the user of a file that cannot be written.
  TWindowHistory(QMainWindow& window, const TCommandMenus& menus, TEditSession& session,
                 const std::array<QTextEdit*, 3>& textViews, std::string workingFileName,
                 std::function<void()> reloadWorkingFile, std::function<void(const QString&)> reportError);
  TWindowHistory(const TWindowHistory&) = delete;
  TWindowHistory& operator=(const TWindowHistory&) = delete;

  [[nodiscard]] const TUndoHistory& Steps() const { return FHistory; }

  //! Runs one user action and records it as a step once the action is over:
  //! a two-phase command's step runs from its first phase to Enter or Escape.
  //! parseToggled: the Parse sentences mark was inverted before the action
  //! ran, and the state before it is the one with the old mark.
  void AsStep(const std::function<void()>& action, bool parseToggled = false);
  //! Undo (back) or Redo: restores the step's state, then moves past it.
  void Replay(bool back);
  //! Shows Undo and Redo exactly when they can act.
  void UpdateItems();

  //! Before the start-up's File > New: the state worth keeping, if any.
  [[nodiscard]] std::optional<TWorkingState> PreviousSessionState() const;
  //! After it: the step from that state to the current one; false when none
  //! was recorded.
  bool RecordReplaced(TWorkingState previous);

 private:
  //! An editor is open or a command waits: the history stays out of the way.
  [[nodiscard]] bool StepUnderWay() const;
  [[nodiscard]] TWorkingState CurrentWorkingState() const;
  void RestoreWorkingState(const TWorkingState& state);

  QMainWindow& FWindow;
  const TCommandMenus& FMenus;
  TEditSession& FSession;
  std::string FWorkingFileName;
  std::function<void()> FReloadWorkingFile;
  std::function<void(const QString&)> FReportError;
  TUndoHistory FHistory;
  // The state before the step under way, while one is.
  std::optional<TWorkingState> FStepBefore;
  int FStepDepth = 0;
  QAction* Undo2MenuItem = nullptr;
  QAction* Redo2MenuItem = nullptr;
  QAction* Undo1MenuItem = nullptr;
  QAction* Redo1MenuItem = nullptr;
  std::array<QAction*, 2> FHistorySeparators{};
};

}  // namespace ostrel
