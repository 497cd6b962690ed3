#include "TPropertiesForm.h"

#include <QFrame>
#include <QPushButton>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextEdit>
#include <QVBoxLayout>

#include <string>
#include <utility>
#include <vector>

#include "DisplayText.h"
#include "KarvelSentence.h"
#include "WindowFont.h"

namespace ostrel {

TPropertiesForm::TPropertiesForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
  setObjectName(QStringLiteral("PropertiesForm"));
  setFont(WindowFont());
  setWindowTitle(tr("Properties"));
  setModal(true);
  move(263, 182);
  resize(377, 257);
  createControls();
}

void TPropertiesForm::createControls() {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);

  RichEdit1 = new QTextEdit(this);
  RichEdit1->setObjectName(QStringLiteral("RichEdit1"));
  RichEdit1->setReadOnly(true);
  RichEdit1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  layout->addWidget(RichEdit1, 1);

  Panel1 = new QFrame(this);
  Panel1->setObjectName(QStringLiteral("Panel1"));
  Panel1->setFixedHeight(38);
  layout->addWidget(Panel1);

  Button1 = new QPushButton(tr("&Ok"), Panel1);
  Button1->setObjectName(QStringLiteral("Button1"));
  Button1->setGeometry(147, 7, 75, 25);
  Button1->setDefault(true);
  connect(Button1, &QPushButton::clicked, this, &TPropertiesForm::Button1Click);
  Button1->setFocus();
}

namespace {

// The lines describing a sentence, each with whether it is a heading.
std::vector<std::pair<std::string, bool>> PropertyLines(const karvel::TKarvelSentence& s) {
  std::vector<std::pair<std::string, bool>> lines;
  const auto heading = [&lines](const char* text) { lines.emplace_back(text, true); };
  const auto value = [&lines](std::string text) { lines.emplace_back("    " + std::move(text), false); };
  const auto gap = [&lines] { lines.emplace_back(std::string(), false); };
  heading("Sentence:");
  value(s.Text);
  gap();
  heading("Type:");
  if (s.IsAssumption) value("Assumption");
  if (s.IsIssue) value("Issue");
  gap();
  heading("Status:");
  if (s.IsJustified) value("Justified");
  if (s.IsDefeated) value("Defeated");
  if (!s.IsJustified && !s.IsDefeated) value("Neither justified nor defeated");
  gap();
  heading("Variables:");
  for (const std::string& variable : s.Variables) value(variable);
  gap();
  return lines;
}

}  // namespace

void TPropertiesForm::ShowProperties(const karvel::TKarvelSentence* sentence) {
  RichEdit1->clear();
  if (sentence != nullptr) {
    QTextCharFormat bold, regular;
    bold.setFontWeight(QFont::Bold);
    regular.setFontWeight(QFont::Normal);
    QTextCursor cursor(RichEdit1->document());
    bool first = true;
    for (const auto& [text, isHeading] : PropertyLines(*sentence)) {
      const QTextCharFormat& format = isHeading ? bold : regular;
      if (!first) cursor.insertBlock();
      first = false;
      cursor.setBlockCharFormat(format);
      cursor.insertText(diagram::DisplayText(text), format);
    }
  }
  exec();
}

void TPropertiesForm::Button1Click() { accept(); }

void TPropertiesForm::reject() {}

}  // namespace ostrel
