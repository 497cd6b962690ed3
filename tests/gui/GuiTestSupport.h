// Shared setup of the window tests: a private working directory (every load
// writes "~tmp.kvl" into the current one) and dialogs that never block.
#pragma once

#include <QDir>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <deque>
#include <fstream>
#include <memory>
#include <ostream>
#include <sstream>
#include <string>

#include "TMainForm.h"

// Readable failure messages for Qt strings.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
inline void PrintTo(const QStringList& list, std::ostream* out) {
  *out << '{' << list.join(QStringLiteral("|")).toStdString() << '}';
}

namespace ostrel::testing {

//! Dialogs for tests: errors are recorded, file choices come from a queue
//! (an empty queue answers as a cancelled dialog).
struct TScriptedDialogs {
  QStringList Errors;
  std::deque<QString> FilesToOpen;
  std::deque<QString> FilesToSave;
  std::deque<QString> FilesToExport;

  TMainForm::TDialogs Dialogs() {
    TMainForm::TDialogs dialogs;
    dialogs.ShowError = [this](QWidget*, const QString& message) { Errors << message; };
    dialogs.ChooseFileToOpen = [this](QWidget*) { return Next(FilesToOpen); };
    dialogs.ChooseFileToSave = [this](QWidget*) { return Next(FilesToSave); };
    dialogs.ChooseFileToExport = [this](QWidget*) { return Next(FilesToExport); };
    return dialogs;
  }

 private:
  static QString Next(std::deque<QString>& queue) {
    if (queue.empty()) return QString();
    QString next = queue.front();
    queue.pop_front();
    return next;
  }
};

//! Runs each test in a fresh temporary directory and returns to the old one.
class TWorkingDirectoryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(FDirectory.isValid());
    FPrevious = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(FDirectory.path()));
  }
  void TearDown() override { QDir::setCurrent(FPrevious); }

  //! The absolute path of a file in the working directory.
  [[nodiscard]] QString PathOf(const QString& name) const { return FDirectory.filePath(name); }

  //! Writes bytes verbatim and returns the absolute path.
  QString WriteFile(const QString& name, const std::string& bytes) const {
    const QString path = PathOf(name);
    std::ofstream out(path.toStdString(), std::ios::binary);
    out << bytes;
    return path;
  }

  [[nodiscard]] static std::string ReadFile(const QString& path) {
    std::ifstream in(path.toStdString(), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
  }

 private:
  QTemporaryDir FDirectory;
  QString FPrevious;
};

}  // namespace ostrel::testing
