// TestUnit: the matcher test window, reachable only through the hidden Test
// menu. Two texts in, the variables and their values out.
#pragma once

#include <QWidget>

class QLineEdit;
class QPushButton;
class QTextEdit;

namespace ostrel {

class TTestForm final : public QWidget {
  Q_OBJECT

 public:
  explicit TTestForm(QWidget* parent = nullptr);
  TTestForm(const TTestForm&) = delete;
  TTestForm& operator=(const TTestForm&) = delete;

  //! Matches Edit2's text against the template in Edit1 and lists the
  //! template's variables, each with ": " and its value when it matched.
  void Button1Click();

 private:
  void createControls();

  QLineEdit* Edit1 = nullptr;
  QLineEdit* Edit2 = nullptr;
  QPushButton* Button1 = nullptr;
  QTextEdit* RichEdit1 = nullptr;
};

}  // namespace ostrel
