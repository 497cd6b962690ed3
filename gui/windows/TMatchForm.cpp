#include "TMatchForm.h"

#include <QLabel>
#include <QStatusBar>
#include <QStringList>
#include <QTabWidget>
#include <QTextEdit>
#include <QVBoxLayout>

#include <string>
#include <vector>

#include "DisplayText.h"
#include "DrawUnit.h"
#include "MatchCommand.h"
#include "StatusPanels.h"
#include "TDiagramView.h"
#include "WindowFont.h"

namespace ostrel {

TMatchForm::TMatchForm(QWidget* parent)
    : QWidget(parent, Qt::Window), FTheory(std::make_unique<karvel::TKarvelTheory>()) {
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

TMatchForm::~TMatchForm() = default;

void TMatchForm::createPages() {
  PageControl1 = new QTabWidget(this);
  PageControl1->setObjectName(QStringLiteral("PageControl1"));

  TabSheet1 = new QWidget;
  TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
  auto* textLayout = new QVBoxLayout(TabSheet1);
  textLayout->setContentsMargins(0, 0, 0, 0);
  RichEdit1 = new QTextEdit(TabSheet1);
  RichEdit1->setObjectName(QStringLiteral("RichEdit1"));
  RichEdit1->setAcceptRichText(false);
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

void TMatchForm::ShowMatches(std::string_view text, karvel::TKarvelTheory& theory,
                             const diagram::TDiagramOptions& options) {
  auto drawingTheory = std::make_unique<karvel::TKarvelTheory>();
  TMatchResult result = MatchSentence(text, theory, drawingTheory->Arena());

  // One paragraph per line; the closing empty line is the last paragraph.
  QStringList report;
  for (const std::string& line : MatchReportLines(text, result)) report << diagram::DisplayText(line);
  RichEdit1->setPlainText(report.join(QLatin1Char('\n')));

  diagram::RemoveDiagramItems(ScrollBox1->Scene());
  FInstances = std::move(result.Instances);
  const std::size_t instances = FInstances.size();
  karvel::TSentenceCollector parts(FInstances);
  for (std::size_t i = 0; i < instances; ++i) {
    karvel::TKarvelSentence* instance = FInstances[i];
    parts.Collect(instance);
    if (instance->IsAssumption) instance->IsJustified = true;
  }
  diagram::TDiagramMetrics metrics;
  diagram::InitDiagramMetrics(metrics);
  FDiagramSentences =
      diagram::DrawDiagram(ScrollBox1->Scene(), FInstances, 0, 0, *drawingTheory, options, metrics)
          .DiagramSentences;
  // The instances are marked as a refresh marks what the main window draws.
  RegisterDrawnSentences(*drawingTheory, FDiagramSentences);
  // Nothing shows the previous run's instances any more.
  FTheory = std::move(drawingTheory);
  ScrollBox1->UpdateExtent();

  show();
  raise();
  activateWindow();
}

}  // namespace ostrel
