#include "TMatchForm.h"

#include <QLabel>
#include <QStatusBar>
#include <QTabWidget>
#include <QTextEdit>
#include <QVBoxLayout>

#include "StatusPanels.h"
#include "TDiagramView.h"
#include "WindowFont.h"

namespace ostrel {

TMatchForm::TMatchForm(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("MatchForm"));
  setFont(WindowFont());
  setWindowTitle(QStringLiteral("Match"));
  move(199, 161);
  resize(682, 519);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  createPages();
  createStatusBar();
  layout->addWidget(PageControl1, 1);
  layout->addWidget(MainStatusBar);
}

void TMatchForm::createPages() {
  PageControl1 = new QTabWidget(this);
  PageControl1->setObjectName(QStringLiteral("PageControl1"));

  TabSheet1 = new QWidget;
  TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
  auto* textLayout = new QVBoxLayout(TabSheet1);
  textLayout->setContentsMargins(0, 0, 0, 0);
  RichEdit1 = new QTextEdit(TabSheet1);
  RichEdit1->setObjectName(QStringLiteral("RichEdit1"));
  RichEdit1->setLineWrapMode(QTextEdit::NoWrap);
  RichEdit1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  textLayout->addWidget(RichEdit1);
  PageControl1->addTab(TabSheet1, QStringLiteral("Textual"));

  TabSheet2 = new QWidget;
  TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
  auto* diagramLayout = new QVBoxLayout(TabSheet2);
  diagramLayout->setContentsMargins(0, 0, 0, 0);
  ScrollBox1 = new TDiagramView(TabSheet2);
  ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
  diagramLayout->addWidget(ScrollBox1);
  PageControl1->addTab(TabSheet2, QStringLiteral("Graphical"));

  PageControl1->setCurrentWidget(TabSheet2);
}

void TMatchForm::createStatusBar() {
  MainStatusBar = new QStatusBar(this);
  MainStatusBar->setObjectName(QStringLiteral("MainStatusBar"));
  MainStatusBar->setSizeGripEnabled(false);
  FStatusPanels = AddStatusPanels(*MainStatusBar);
}

}  // namespace ostrel
