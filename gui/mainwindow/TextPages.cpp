#include "TextPages.h"

#include <QCoreApplication>
#include <QMainWindow>
#include <QStringDecoder>
#include <QTabWidget>
#include <QTextEdit>
#include <QVBoxLayout>

#include <string>
#include <utility>
#include <vector>

#include "DisplayText.h"
#include "TheoryDocument.h"

namespace ostrel {

namespace {

// The captions keep the translation context they have always had.
QString Tr(const char* text) { return QCoreApplication::translate("ostrel::TMainForm", text); }

// Texts up to this many characters go into a view at once, shown or not.
constexpr qsizetype kImmediateViewTextSize = 32 * 1024;

QString JoinLines(const std::vector<std::string>& lines) {
  std::size_t size = 0;
  for (const std::string& line : lines) size += line.size() + 1;
  std::string joined;
  joined.reserve(size);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) joined += '\n';
    joined += lines[i];
  }
  // Each line reads as the diagram reads its texts: one line that is not
  // UTF-8 must not turn every other line to Latin-1. A line break cannot sit
  // inside a UTF-8 sequence, so a whole that decodes is decoded per line too.
  QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text = decoder(QByteArrayView(joined.data(), static_cast<qsizetype>(joined.size())));
  if (!decoder.hasError()) return text;
  text.clear();
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += QLatin1Char('\n');
    text += diagram::DisplayText(lines[i]);
  }
  return text;
}

// A page holding one text view, added to the tab control.
QTextEdit* AddTextPage(QTabWidget& pages, const char* pageName, const char* viewName, const char* caption,
                       bool bothScrollBars, QWidget** pageOut = nullptr) {
  auto page = std::make_unique<QWidget>();
  page->setObjectName(QString::fromLatin1(pageName));
  auto* view = new QTextEdit(page.get());
  view->setObjectName(QString::fromLatin1(viewName));
  view->setAcceptRichText(false);
  if (bothScrollBars) {
    // With a horizontal bar long sentences stay on one line each.
    view->setLineWrapMode(QTextEdit::NoWrap);
    view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  }
  auto* layout = new QVBoxLayout(page.get());
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(view);
  if (pageOut != nullptr) *pageOut = page.get();
  pages.addTab(page.release(), Tr(caption));
  return view;
}

}  // namespace

TTextPages::TTextPages(QMainWindow& window) {
  TextBasedKarvelPageControl = new QTabWidget(&window);
  TextBasedKarvelPageControl->setObjectName(QStringLiteral("TextBasedKarvelPageControl"));
  window.setCentralWidget(TextBasedKarvelPageControl);

  RichEdit1 = AddTextPage(*TextBasedKarvelPageControl, "FileTabSheet", "RichEdit1", "F&ile", true);
  RichEdit2 = AddTextPage(*TextBasedKarvelPageControl, "TheoryTabSheet", "RichEdit2", "T&heory", true);
  RichEdit3 = AddTextPage(*TextBasedKarvelPageControl, "ConsequencesTabSheet", "RichEdit3", "&Consequences",
                          false, &ConsequencesTabSheet);
  FViewTexts[0].View = RichEdit1;
  FViewTexts[1].View = RichEdit2;
}

TTextPages::~TTextPages() { QObject::disconnect(FPageConnection); }

void TTextPages::AddDiagramPage(std::unique_ptr<QWidget> page, const QString& caption) {
  QWidget* shown = page.get();
  TextBasedKarvelPageControl->addTab(page.release(), caption);
  TextBasedKarvelPageControl->setCurrentWidget(shown);
  FPageConnection = QObject::connect(TextBasedKarvelPageControl, &QTabWidget::currentChanged,
                                     TextBasedKarvelPageControl, [this] { ShowPendingViewTexts(); });
}

void TTextPages::HideConsequencesPage() {
  TextBasedKarvelPageControl->setTabVisible(TextBasedKarvelPageControl->indexOf(ConsequencesTabSheet), false);
}

void TTextPages::Empty() {
  for (TViewText& view : FViewTexts) SetViewText(view, QString());
  RichEdit3->clear();
}

void TTextPages::Fill(TheoryDocument& document, const std::function<void(std::size_t done)>& reporting) {
  SetViewText(FViewTexts[0], JoinLines(document.FileLines()));
  SetViewText(FViewTexts[1], JoinLines(document.TheoryViewLines(reporting)));
}

void TTextPages::SetViewText(TViewText& view, QString text) {
  // Building and laying out a long document costs far more than the rest of
  // a refresh, so a view whose page is not shown gets its text when the page
  // is. A short text is set at once: it costs little, and the view is then
  // always current for whoever reads it.
  const bool shown = TextBasedKarvelPageControl->currentWidget() == view.View->parentWidget();
  if (shown || text.size() + view.View->document()->characterCount() < kImmediateViewTextSize) {
    view.Pending = false;
    view.Text.clear();
    // One assignment per view: appending line by line costs a layout pass each.
    view.View->setPlainText(text);
  } else {
    view.Pending = true;
    view.Text = std::move(text);
  }
}

void TTextPages::ShowPendingViewTexts() {
  for (TViewText& view : FViewTexts) {
    if (view.Pending && TextBasedKarvelPageControl->currentWidget() == view.View->parentWidget()) {
      view.Pending = false;
      view.View->setPlainText(std::exchange(view.Text, QString()));
    }
  }
}

}  // namespace ostrel
