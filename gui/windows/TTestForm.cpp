#include "TTestForm.h"

#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <QTextEdit>

#include <string>
#include <vector>

#include "DisplayText.h"
#include "KarvelUnit.h"
#include "WindowFont.h"

namespace ostrel {

TTestForm::TTestForm(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("TestForm"));
  setFont(WindowFont());
  setWindowTitle(QStringLiteral("TestForm"));
  move(249, 103);
  resize(696, 480);
  createControls();
}

void TTestForm::createControls() {
  // Fixed places, as the window was laid out; it has no layout manager.
  Edit1 = new QLineEdit(QStringLiteral("aa<x>bbb<x>cc"), this);
  Edit1->setObjectName(QStringLiteral("Edit1"));
  Edit1->setGeometry(96, 48, 201, 21);

  Edit2 = new QLineEdit(QStringLiteral("aaxbbbxcc"), this);
  Edit2->setObjectName(QStringLiteral("Edit2"));
  Edit2->setGeometry(96, 96, 201, 21);

  Button1 = new QPushButton(tr("&Ok"), this);
  Button1->setObjectName(QStringLiteral("Button1"));
  Button1->setGeometry(96, 152, 75, 25);
  connect(Button1, &QPushButton::clicked, this, &TTestForm::Button1Click);

  RichEdit1 = new QTextEdit(this);
  RichEdit1->setObjectName(QStringLiteral("RichEdit1"));
  RichEdit1->setGeometry(104, 224, 289, 193);
}

namespace {

std::string Bytes(const QLineEdit& edit) {
  const QByteArray utf8 = edit.text().toUtf8();
  return {utf8.constData(), static_cast<std::size_t>(utf8.size())};
}

}  // namespace

void TTestForm::Button1Click() {
  const std::string templ = Bytes(*Edit1);
  karvel::TSentenceArena arena;
  karvel::TKarvelSentence* s = arena.NewElementary(templ);
  karvel::CollectVariables(s);
  std::vector<std::string> lines = s->Variables;
  std::vector<std::string> values;
  if (karvel::MatchTemplate(templ, Bytes(*Edit2), s->Variables, values)) {
    for (std::size_t i = 0; i < lines.size(); ++i) lines[i] += ": " + values[i];
  }
  QStringList shown;
  for (const std::string& line : lines) shown << diagram::DisplayText(line);
  RichEdit1->setPlainText(shown.join(QLatin1Char('\n')));
}

}  // namespace ostrel
