// Ostrel: an argument assistant. Start-up creates the windows and runs the
// message loop until the main window closes.
#include <QApplication>

#include "TApplicationWindows.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  ostrel::InitialiseApplication();
  ostrel::TApplicationWindows windows;
  windows.ShowMainForm();
  return QApplication::exec();
}
