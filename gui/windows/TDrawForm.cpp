#include "TDrawForm.h"

#include "WindowFont.h"

namespace ostrel {

TDrawForm::TDrawForm(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("DrawForm"));
  setFont(WindowFont());
  setWindowTitle(QStringLiteral("DrawForm"));
  FormCreate();
}

void TDrawForm::FormCreate() { diagram::InitDiagramMetrics(FMetrics); }

}  // namespace ostrel
