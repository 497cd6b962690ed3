// PropertiesUnit: the modal dialog that describes the selected sentence. It
// only displays; nothing is read back from it.
#pragma once

#include <QDialog>

class QFrame;
class QPushButton;
class QTextEdit;

namespace karvel {
class TKarvelSentence;
}

namespace ostrel {

class TPropertiesForm final : public QDialog {
  Q_OBJECT

 public:
  explicit TPropertiesForm(QWidget* parent = nullptr);
  TPropertiesForm(const TPropertiesForm&) = delete;
  TPropertiesForm& operator=(const TPropertiesForm&) = delete;

  //! Replaces the text by the description of the sentence (bold headings,
  //! values indented by four spaces; nothing for null) and shows the dialog
  //! modally until "&Ok" closes it.
  void ShowProperties(const karvel::TKarvelSentence* sentence);
  //! Closes the dialog.
  void Button1Click();
  //! The dialog closes only through "&Ok": Escape and the window manager's
  //! close request are ignored.
  void reject() override;

  [[nodiscard]] QTextEdit* RichEdit() const { return RichEdit1; }

 private:
  void createControls();

  QTextEdit* RichEdit1 = nullptr;
  QFrame* Panel1 = nullptr;
  QPushButton* Button1 = nullptr;
};

}  // namespace ostrel
