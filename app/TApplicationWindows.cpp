#include "TApplicationWindows.h"

#include <QApplication>

#include "ApplicationIcon.h"

#include "TDrawForm.h"
#include "TKarvelForm.h"
#include "TMatchForm.h"
#include "TPropertiesForm.h"
#include "TTestForm.h"
#include "WindowFont.h"

namespace ostrel {

namespace {

// Only the main window's close may end the program, whatever else is open.
void DoNotQuitOnClose(QWidget& window) { window.setAttribute(Qt::WA_QuitOnClose, false); }

}  // namespace

void InitialiseApplication() {
  QApplication::setApplicationName(QStringLiteral("Ostrel"));
  // The taskbar matches the window to its menu entry by this name.
  QGuiApplication::setDesktopFileName(QStringLiteral("org.ostrel.Ostrel"));
  // Menus and dialogs are windows of their own and take the application's font.
  QApplication::setFont(WindowFont());
  QApplication::setWindowIcon(ApplicationIcon());
  // A writer killed between creating its temporary file and renaming it
  // left the file behind; nothing else would ever remove it.
  karvel::RemoveStaleTemporaryFiles(kTemporaryFileName);
}

TApplicationWindows::TApplicationWindows(TMainForm::TDialogs dialogs, const QString& workingFileName)
    : FMainForm(std::make_unique<TMainForm>(std::move(dialogs), nullptr, workingFileName)),
      FKarvelForm(std::make_unique<TKarvelForm>()),
      FDrawForm(std::make_unique<TDrawForm>()),
      FPropertiesForm(std::make_unique<TPropertiesForm>(FMainForm.get())),
      FTestForm(std::make_unique<TTestForm>()),
      FMatchForm(std::make_unique<TMatchForm>()) {
  DoNotQuitOnClose(*FKarvelForm);
  DoNotQuitOnClose(*FDrawForm);
  DoNotQuitOnClose(*FPropertiesForm);
  DoNotQuitOnClose(*FTestForm);
  DoNotQuitOnClose(*FMatchForm);
  FMainForm->SetTestForm(FTestForm.get());
  FMainForm->SetCommandWindows(FPropertiesForm.get(), FMatchForm.get());
}

TApplicationWindows::~TApplicationWindows() {
  // The properties dialog is a child of the main window; release it first so
  // it is not destroyed twice.
  FPropertiesForm.reset();
}

void TApplicationWindows::ShowMainForm() { FMainForm->show(); }

}  // namespace ostrel
