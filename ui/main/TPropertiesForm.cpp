#include "TPropertiesForm.h"

#include <QFrame>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

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

void TPropertiesForm::Button1Click() { accept(); }

void TPropertiesForm::reject() {}

}  // namespace ostrel
