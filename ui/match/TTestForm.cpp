#include "TTestForm.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTextEdit>

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

  RichEdit1 = new QTextEdit(this);
  RichEdit1->setObjectName(QStringLiteral("RichEdit1"));
  RichEdit1->setGeometry(104, 224, 289, 193);
}

}  // namespace ostrel
