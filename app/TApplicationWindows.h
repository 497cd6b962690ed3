// Start-up: the program's six windows, created in their fixed order. Only
// the main window is ever shown by start-up itself.
#pragma once

#include <memory>

#include "TMainForm.h"

namespace ostrel {

class TDrawForm;
class TKarvelForm;
class TMatchForm;
class TPropertiesForm;
class TTestForm;

class TApplicationWindows final {
 public:
  //! Creates TMainForm, TKarvelForm, TDrawForm, TPropertiesForm, TTestForm
  //! and TMatchForm, in this order.
  //! workingFileName: the main window's working file ("~tmp.kvl" when empty).
  explicit TApplicationWindows(TMainForm::TDialogs dialogs = TMainForm::StandardDialogs(),
                               const QString& workingFileName = {});
  ~TApplicationWindows();
  TApplicationWindows(const TApplicationWindows&) = delete;
  TApplicationWindows& operator=(const TApplicationWindows&) = delete;

  //! Shows the main window; closing it ends the message loop.
  void ShowMainForm();

  [[nodiscard]] TMainForm& MainForm() { return *FMainForm; }
  [[nodiscard]] TKarvelForm& KarvelForm() { return *FKarvelForm; }
  [[nodiscard]] TDrawForm& DrawForm() { return *FDrawForm; }
  [[nodiscard]] TPropertiesForm& PropertiesForm() { return *FPropertiesForm; }
  [[nodiscard]] TTestForm& TestForm() { return *FTestForm; }
  [[nodiscard]] TMatchForm& MatchForm() { return *FMatchForm; }

 private:
  std::unique_ptr<TMainForm> FMainForm;
  std::unique_ptr<TKarvelForm> FKarvelForm;
  std::unique_ptr<TDrawForm> FDrawForm;
  std::unique_ptr<TPropertiesForm> FPropertiesForm;
  std::unique_ptr<TTestForm> FTestForm;
  std::unique_ptr<TMatchForm> FMatchForm;
};

//! The application-wide settings start-up makes before the first window.
void InitialiseApplication();

}  // namespace ostrel
