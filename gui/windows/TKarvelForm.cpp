#include "TKarvelForm.h"

#include "WindowFont.h"

namespace ostrel {

TKarvelForm::TKarvelForm(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("KarvelForm"));
  setFont(WindowFont());
  setWindowTitle(QStringLiteral("KarvelForm"));
  move(104, 120);
  resize(696, 480);
}

}  // namespace ostrel
