// The window's pages: the File, Theory and Consequences text views, and the
// tab control they share with the diagram page. A long text for a page that
// is not shown waits until the page is.
#pragma once

#include <QMetaObject>
#include <QString>

#include <array>
#include <cstddef>
#include <functional>
#include <memory>

class QMainWindow;
class QTabWidget;
class QTextEdit;
class QWidget;

namespace ostrel {

class TheoryDocument;

class TTextPages final {
 public:
  //! The tab control as the window's central widget, with the three text pages.
  explicit TTextPages(QMainWindow& window);
  ~TTextPages();
  TTextPages(const TTextPages&) = delete;
  TTextPages& operator=(const TTextPages&) = delete;

  //! The last page, the one shown from the start.
  void AddDiagramPage(std::unique_ptr<QWidget> page, const QString& caption);
  void HideConsequencesPage();
  void Empty();
  //! The file's text and the theory's report; reporting hears how many
  //! interpretations the report has written.
  void Fill(TheoryDocument& document, const std::function<void(std::size_t done)>& reporting);
  //! RichEdit1, RichEdit2, RichEdit3.
  [[nodiscard]] std::array<QTextEdit*, 3> Views() const { return {RichEdit1, RichEdit2, RichEdit3}; }
  [[nodiscard]] QTabWidget& Pages() const { return *TextBasedKarvelPageControl; }

 private:
  // A text view's latest text while its page is not shown (RichEdit1, RichEdit2).
  struct TViewText {
    QTextEdit* View = nullptr;
    QString Text;
    bool Pending = false;
  };
  void SetViewText(TViewText& view, QString text);
  void ShowPendingViewTexts();

  QTabWidget* TextBasedKarvelPageControl = nullptr;
  QWidget* ConsequencesTabSheet = nullptr;
  QTextEdit* RichEdit1 = nullptr;
  QTextEdit* RichEdit2 = nullptr;
  QTextEdit* RichEdit3 = nullptr;
  std::array<TViewText, 2> FViewTexts;
  // The tab control outlives this object; its signal must not reach it then.
  QMetaObject::Connection FPageConnection;
};

}  // namespace ostrel
