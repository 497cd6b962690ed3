#include "SummaryView.h"

#include <QAction>
#include <QActionGroup>
#include <QFontDatabase>
#include <QGraphicsRectItem>
#include <QLabel>
#include <QPen>
#include <QTabWidget>
#include <QTextEdit>
#include <QToolBar>
#include <QVBoxLayout>

#include <string>
#include <unordered_map>

#include "DisplayText.h"
#include "SearchProgressDialog.h"
#include "TDiagramView.h"
#include "TShapeWithDoubleClicks.h"

namespace ostrel {

namespace {

using karvel::TExtent;
using TEntry = karvel::TTheorySummary::TEntry;

const char* ExtentWord(TExtent extent) {
  switch (extent) {
    case TExtent::All:
      return "all";
    case TExtent::Some:
      return "some";
    case TExtent::None:
      break;
  }
  return "none";
}

// The frames take the colours of the looks they stand next to: blue for
// justified, red for defeated.
const QColor kJustifiedColor(0, 0, 255);
const QColor kDefeatedColor(255, 0, 0);

// Every text's entry: a status depends on the text alone.
std::unordered_map<std::string_view, TEntry> EntriesByText(const karvel::TKarvelTheory& theory,
                                                           const karvel::TTheorySummary& summary) {
  std::unordered_map<std::string_view, TEntry> entries;
  for (std::size_t i = 0; i < theory.Assumptions.size() && i < summary.Assumptions.size(); ++i)
    entries.emplace(theory.Assumptions[i]->Text, summary.Assumptions[i]);
  for (std::size_t i = 0; i < theory.Issues.size() && i < summary.Issues.size(); ++i)
    entries.emplace(theory.Issues[i]->Text, summary.Issues[i]);
  return entries;
}

}  // namespace

std::vector<std::string> SummaryLines(const karvel::TKarvelTheory& theory,
                                      const karvel::TTheorySummary* summary, bool cancelled) {
  std::vector<std::string> lines{"SUMMARY OF ALL DIALECTICAL INTERPRETATIONS"};
  if (summary == nullptr) {
    lines.push_back(
        cancelled ? "    The summary was cancelled."
                  : "    No dialectical interpretations are computed (structure only, or no assumptions).");
    return lines;
  }
  switch (summary->Interpretations) {
    case karvel::TMultiplicity::None:
      lines.push_back("    There is no dialectical interpretation.");
      break;
    case karvel::TMultiplicity::One:
      lines.push_back("    There is 1 dialectical interpretation.");
      break;
    case karvel::TMultiplicity::Several:
      lines.push_back("    There are several dialectical interpretations.");
      break;
  }
  const auto list = [&lines](const char* title, const karvel::TListOfKarvelSentences& sentences,
                             const std::vector<TEntry>& entries) {
    lines.push_back(title);
    lines.push_back("    JUSTIFIED  DEFEATED  SENTENCE");
    for (std::size_t i = 0; i < sentences.size() && i < entries.size(); ++i) {
      std::string line = "    ";
      line += ExtentWord(entries[i].Justified);
      line.resize(15, ' ');
      line += ExtentWord(entries[i].Defeated);
      line.resize(25, ' ');
      line += sentences[i]->Text;
      lines.push_back(std::move(line));
    }
  };
  list("ASSUMPTIONS", theory.Assumptions, summary->Assumptions);
  list("ISSUES", theory.Issues, summary->Issues);
  return lines;
}

TSummaryView::TSummaryView(THost host) : FHost(std::move(host)) {
  FAll = new QAction(QObject::tr("All"), FHost.ButtonBar);
  FAll->setObjectName(QStringLiteral("AllInterpretationsButton"));
  FAll->setCheckable(true);
  FAll->setToolTip(QObject::tr("What holds in all, some or none of the interpretations"));
  FHost.ButtonBar->addAction(FAll);
  QObject::connect(FAll, &QAction::triggered, FAll, [this] { ChooseAll(); });

  FPage = new QWidget;
  FPage->setObjectName(QStringLiteral("SummaryTabSheet"));
  FText = new QTextEdit(FPage);
  FText->setObjectName(QStringLiteral("SummaryView"));
  FText->setReadOnly(true);
  FText->setAcceptRichText(false);
  FText->setLineWrapMode(QTextEdit::NoWrap);
  // The columns line up only in a fixed-width font.
  FText->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  auto* layout = new QVBoxLayout(FPage);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(FText);
  FHost.Pages->addTab(FPage, QObject::tr("S&ummary"));
  QObject::connect(FHost.Pages, &QTabWidget::currentChanged, FPage, [this] {
    if (FHost.Pages->currentWidget() == FPage && !FPageFilled) FillPage();
  });

  FLegend = new QLabel(FHost.Diagram->viewport());
  FLegend->setObjectName(QStringLiteral("SummaryLegend"));
  FLegend->setTextFormat(Qt::RichText);
  FLegend->setFrameShape(QFrame::Box);
  FLegend->setAutoFillBackground(true);
  FLegend->setMargin(4);
  FLegend->setText(
      QObject::tr("<b>All interpretations</b><br>"
                  "<b><font color='#0000ff'>bold blue</font></b>: justified in every one<br>"
                  "<b><s><font color='#ff0000'>bold red, struck out</font></s></b>: defeated in every one<br>"
                  "<font color='#0000ff'>dashed blue frame</font>: justified in some only<br>"
                  "<font color='#ff0000'>dashed red frame</font>: defeated in some only<br>"
                  "<i><font color='#008080'>italic</font></i>, no frame: justified and defeated in none"));
  FLegend->adjustSize();
  FLegend->hide();
}

TSummaryView::~TSummaryView() { RemoveFrames(); }

const karvel::TTheorySummary* TSummaryView::Summary() {
  if (!FComputed) {
    // Cancel keeps nothing: a part of the answers would read as all of them.
    TSearchProgressDialog progress(FHost.Pages->window(), FHost.DialogDelayMs());
    FHost.Document->ComputeSummary(FHost.StructureOnly(),
                                   [&progress](std::size_t found) { return progress.Searching(found); });
    FComputed = true;
  }
  return FHost.Document->Summary();
}

void TSummaryView::Reset() {
  Leave();
  FComputed = false;
  FPageFilled = false;
}

void TSummaryView::Refreshed() {
  if (FHost.Pages->currentWidget() == FPage) FillPage();
}

void TSummaryView::Leave() {
  if (!FChosen) return;
  FChosen = false;
  FAll->setChecked(false);
  RemoveFrames();
  FLegend->hide();
  FHost.Buttons->setExclusionPolicy(QActionGroup::ExclusionPolicy::Exclusive);
}

void TSummaryView::ChooseAll() {
  const karvel::TTheorySummary* summary = Summary();
  if (FHost.Pages->currentWidget() == FPage) FillPage();
  if (summary == nullptr) {
    FAll->setChecked(FChosen);
    return;
  }
  FAll->setChecked(true);
  if (FChosen) return;
  FChosen = true;
  // No numbered button is pressed while the summary is drawn.
  FHost.Buttons->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
  if (QAction* pressed = FHost.Buttons->checkedAction()) pressed->setChecked(false);
  // The looks of "in every interpretation"; the frames add "in some".
  karvel::TKarvelTheory& theory = FHost.Document->Theory();
  const auto entries = EntriesByText(theory, *summary);
  for (karvel::TKarvelSentence* s : theory.StatusSentences()) {
    const auto entry = entries.find(s->Text);
    s->IsJustified = entry != entries.end() && entry->second.Justified == TExtent::All;
    s->IsDefeated = entry != entries.end() && entry->second.Defeated == TExtent::All;
  }
  FHost.Redraw();
  DrawFrames();
  FLegend->move(std::max(0, FHost.Diagram->viewport()->width() - FLegend->width() - 8), 8);
  FLegend->show();
  FLegend->raise();
}

void TSummaryView::DrawFrames() {
  RemoveFrames();
  const karvel::TTheorySummary* summary = FHost.Document->Summary();
  if (summary == nullptr) return;
  const auto entries = EntriesByText(FHost.Document->Theory(), *summary);
  const auto& drawn = FHost.DrawnSentences();
  const auto frame = [this](const QRectF& rect, const QColor& color) {
    auto* item = new QGraphicsRectItem(rect);
    QPen pen(color, 1, Qt::DashLine);
    pen.setCosmetic(true);
    item->setPen(pen);
    item->setZValue(1e6);
    FHost.Diagram->Scene().addItem(item);
    FFrames.push_back(item);
  };
  for (const auto* box : FHost.Boxes()) {
    const int tag = box->Tag();
    if (tag < 0 || static_cast<std::size_t>(tag) >= drawn.size()) continue;
    const auto entry = entries.find(drawn[static_cast<std::size_t>(tag)]->Text);
    if (entry == entries.end()) continue;
    const QRectF rect = box->sceneBoundingRect();
    if (entry->second.Justified == TExtent::Some) frame(rect.adjusted(-2, -2, 2, 2), kJustifiedColor);
    if (entry->second.Defeated == TExtent::Some) frame(rect.adjusted(-4, -4, 4, 4), kDefeatedColor);
  }
}

void TSummaryView::RemoveFrames() {
  for (QGraphicsItem* item : FFrames) delete item;
  FFrames.clear();
}

void TSummaryView::FillPage() {
  const karvel::TTheorySummary* summary = Summary();
  FPageFilled = true;
  const auto lines = SummaryLines(FHost.Document->Theory(), summary, FHost.Document->SummaryStopped());
  QString text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += QLatin1Char('\n');
    text += diagram::DisplayText(lines[i]);
  }
  FText->setPlainText(text);
}

}  // namespace ostrel
