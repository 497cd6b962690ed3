// The window the main-window benchmarks share, and the theories they load.
#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include <memory>
#include <string>

#include "TMainForm.h"

namespace ostrel::bench {

// n elementary assumptions; every fourth sentence is instead a rule by which
// the previous one supports the next, so the diagram has trees to lay out.
inline std::string TheoryFile(int sentences, bool withRules) {
  std::string text = "<KARVEL>\r\n<THEORY>\r\n\r\n";
  const auto element = [&text](const std::string& t) {
    text += "<SENTENCE>\r\n<ELEMENTARYSENTENCE>\r\n" + t + "\r\n</ELEMENTARYSENTENCE>\r\n</SENTENCE>\r\n\r\n";
  };
  for (int i = 0; i < sentences; ++i) {
    if (withRules && i % 4 == 3) {
      element("if(claim " + std::to_string(i - 1) + ", claim " + std::to_string(i + 1) + ")");
    } else {
      element("claim " + std::to_string(i));
    }
  }
  text += "</THEORY>\r\n<ISSUES>\r\n\r\n</ISSUES>\r\n</KARVEL>\r\n";
  return text;
}

// One window for every benchmark, as in the program.
struct TFixture {
  QTemporaryDir Directory;
  std::unique_ptr<ostrel::TMainForm> Form;

  TFixture() {
    QDir::setCurrent(Directory.path());
    ostrel::TMainForm::TDialogs dialogs = ostrel::TMainForm::StandardDialogs();
    dialogs.ShowError = [](QWidget*, const QString& message) {
      qFatal("unexpected error box: %s", qPrintable(message));
    };
    Form = std::make_unique<ostrel::TMainForm>(std::move(dialogs));
    Form->show();
    QCoreApplication::processEvents();
  }
};

//! The one window, made on first use; main releases it before the
//! application object goes.
TFixture& Fixture();
void ReleaseFixture();

}  // namespace ostrel::bench
