// MainUnit: the working window. It owns the document and rebuilds every view
// from a theory file through one routine, LoadTheoryFile. Its parts are
// collaborators of its own: the command menus, the text pages, the diagram
// page, the interpretation bar and the undo history.
#pragma once

#include <QList>
#include <QMainWindow>
#include <QPixmap>
#include <QString>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "CommandAvailability.h"
#include "DrawUnit.h"
#include "EditSession.h"
#include "Refresh.h"
#include "TheoryDocument.h"
#include "UndoHistory.h"

class QAction;
class QLabel;

namespace ostrel {

class TCommandMenus;
class TDiagramPage;
class TInterpretationBar;
class TMatchForm;
class TPropertiesForm;
class TSearchProgressDialog;
class TSummaryView;
class TTextPages;
class TWindowHistory;

class TMainForm final : public QMainWindow, private TEditHost, private TRefreshView {
  Q_OBJECT

 public:
  //! Everything that talks to the user outside the window: the error box and
  //! the file dialogs. Tests replace them to run without blocking.
  struct TDialogs {
    std::function<void(QWidget* parent, const QString& message)> ShowError;
    //! The chosen path, or an empty string when the user cancels.
    std::function<QString(QWidget* parent)> ChooseFileToOpen;
    std::function<QString(QWidget* parent)> ChooseFileToSave;
    //! The file to export the diagram to; its extension names the format.
    std::function<QString(QWidget* parent)> ChooseFileToExport;
  };
  //! The standard error box and file dialogs.
  static TDialogs StandardDialogs();

  //! workingFileName: the working file this window keeps ("~tmp.kvl" in the
  //! current folder when empty).
  explicit TMainForm(TDialogs dialogs = StandardDialogs(), QWidget* parent = nullptr,
                     const QString& workingFileName = {});
  ~TMainForm() override;
  TMainForm(const TMainForm&) = delete;
  TMainForm& operator=(const TMainForm&) = delete;

  //! Creation handler: hides the Consequences tab, resets the editor state
  //! and runs File > New.
  void FormCreate();
  //! File > New: the minimal theory, written to the working file and loaded.
  void New1Click();
  //! File > Open: loads the chosen file; a cancelled dialog changes nothing.
  void Open1Click();
  //! File > Save as: writes the rewritten file text to a file of the user's.
  void Saveas1Click();
  //! File > Save: writes the rewritten file text to the file the document
  //! was opened from or last saved as; with none, acts as Save as.
  void Save1Click();
  //! File > Quit: closes the window, which ends the program.
  void Quit1Click();
  //! Help > About Ostrel.
  void About1Click();
  //! Opens a file as File > Open does with it chosen, as one undo step: the
  //! command line's FILE and a file dropped on the window.
  void OpenFile(const QString& fileName);
  //! Adds a note for the user to status panel 1, after what it says.
  void ShowNotice(const QString& notice);
  //! The file Save writes to ("" when there is none).
  [[nodiscard]] const QString& CurrentFile() const { return FCurrentFile; }
  //! The working file as the document opens it.
  [[nodiscard]] QString WorkingFileName() const;
  //! File > Export diagram: writes the whole diagram as shown, as SVG, PNG
  //! or PDF (TMainFormExport.cpp).
  void Exportdiagram1Click();
  //! The standard export dialog: the chosen filter supplies a missing extension.
  static QString ChooseExportFile(QWidget* parent);
  //! The refresh cycle: rebuilds the document and every view from a file;
  //! false when it was abandoned (the user has been told).
  bool LoadTheoryFile(const QString& FileName);
  //! Shows the diagram with the statuses of the button's interpretation.
  void InterpretationButtonClick(QAction* button);
  //! The option handlers; the menu has already inverted the check mark.
  void Showstructureonly1Click();
  void Parsesentences1Click();
  void Showdialecticalnegations1Click();
  //! Runs each time the Edit menu opens.
  void Edit1Click();
  //! Keeps the in-place editor as wide as the diagram container.
  void FormResize();
  //! Shows the matcher test window without waiting for it.
  void Test2Click();

  //! Edit > Undo: the working file and caption before the last step, reloaded.
  void Undo1Click();
  //! Edit > Redo: the working file and caption after the step undone last.
  void Redo1Click();
  [[nodiscard]] const TUndoHistory& History() const;

  //! The test window Test2Click shows (created after this window).
  void SetTestForm(QWidget* testForm) { FTestForm = testForm; }
  //! Both "&Properties" items: the selected sentence described in the modal
  //! properties dialog (empty without a valid selection).
  void Properties1MenuItemClick();
  //! Both "&Match" items: the matches of the selected sentence, reported and
  //! drawn in the match window; nothing without a valid selection.
  void Match1MenuItemClick();
  //! Both "In&stantiate" items, which stay hidden: nothing.
  void Instantiate1MenuItemClick() {}
  //! The windows those commands use (created after this window).
  void SetCommandWindows(TPropertiesForm* properties, TMatchForm* match) {
    FPropertiesForm = properties;
    FMatchForm = match;
  }

  [[nodiscard]] TheoryDocument& Document() { return FDocument; }
  //! The editing side: marks, the cell of the last press, the commands.
  [[nodiscard]] TEditSession& Session() { return FSession; }

  // Selection in the diagram; point in diagram coordinates.
  void ScrollBox1MouseDown(QPoint point);
  void ScrollBox1DblClick(QPoint point);
  //! The in-place editor's keys; true when the key was Escape or Enter.
  bool ComboBox1KeyDown(int key);
  [[nodiscard]] diagram::TDiagramOptions DiagramOptions() const;
  //! The text of status panel 0 or 1.
  [[nodiscard]] QString StatusPanelText(int panel) const;
  //! How long a refresh runs before its progress dialog shows (tests shorten it).
  void SetSearchDialogDelay(int ms) { FSearchDialogDelayMs = ms; }
  //! The numbered interpretation buttons, "1" first.
  [[nodiscard]] QList<QAction*> InterpretationButtons() const;
  [[nodiscard]] QAction* EditMenuItem(TEditCommand command) const;
  [[nodiscard]] QAction* PopupMenuItem(TEditCommand command) const;
  //! The sentences of the drawn diagram, indexed by the items' tags.
  [[nodiscard]] const karvel::TListOfKarvelSentences& DiagramSentences() const;
  //! Image 0 marks an assumption ("!"), image 1 an issue ("?").
  [[nodiscard]] const QList<QPixmap>& StatusIconsImageList() const { return FStatusIcons; }

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void createStatusBar();
  void createEditingConnections();
  //! The "All" choice, its legend and the Summary page (TMainFormSummary.cpp).
  void createSummaryView();
  void DrawArgumentDiagram();
  //! Leaves the document consistent after a failed load and tells the user.
  void AbandonRefresh(const QString& message);
  void ReportError(const QString& message);
  void AsStep(const std::function<void()>& action, bool parseToggled = false);
  bool eventFilter(QObject* watched, QEvent* event) override;

  // TEditHost
  bool LoadTheoryFile(const std::string& fileName) override;
  [[nodiscard]] const diagram::TDiagramPlan& DiagramPlan() const override;
  [[nodiscard]] std::size_t DiagramBoxCount() const override;
  [[nodiscard]] TDiagramBoxPlace DiagramBox(std::size_t index) const override;
  void HideDiagramBox(std::size_t index) override;
  void ShowAllDiagramShapes() override;
  [[nodiscard]] int Selection() const override;
  void SetSelection(int index) override;
  [[nodiscard]] int ContainerWidth() const override;
  void OpenEditor(const TEditorPlacement& placement, std::string_view text,
                  const std::vector<std::string>& choices) override;
  void HideEditor() override;
  void SetStatusPanel(int panel, std::string_view text) override;
  void ApplyMenuVisibility(const TMenuVisibility& menus) override;
  void ReportError(const std::string& message) override;

  // TRefreshView
  void RemoveDiagram() override;
  void EmptyTextViews() override;
  void SetStatusPanel1(std::string_view text) override;
  void ShowInterpretationButtons(int count) override;
  void RemoveInterpretationButtons() override;
  const karvel::TListOfKarvelSentences& DrawDiagram(const TRefreshResult& result) override;
  void FillTextViews(const TRefreshResult& result) override;
  [[nodiscard]] karvel::TSearchProgress SearchProgress() override;
  void AbandonRefresh(const karvel::TFileError& error) override;

  TDialogs FDialogs;
  TheoryDocument FDocument;
  TEditSession FSession{FDocument, *this};

  std::unique_ptr<TCommandMenus> FMenus;
  std::unique_ptr<TTextPages> FTextPages;
  std::unique_ptr<TDiagramPage> FDiagram;
  std::unique_ptr<TInterpretationBar> FInterpretations;
  std::unique_ptr<TWindowHistory> FHistory;
  std::unique_ptr<TSummaryView> FSummaryView;
  std::array<QLabel*, 2> FStatusPanels{};
  QList<QPixmap> FStatusIcons;

  QWidget* FTestForm = nullptr;
  TPropertiesForm* FPropertiesForm = nullptr;
  TMatchForm* FMatchForm = nullptr;
  // The progress dialog of the refresh under way, if any.
  TSearchProgressDialog* FSearchDialog = nullptr;
  int FSearchDialogDelayMs = 500;
  // Where Save writes: the file opened or last saved as.
  QString FCurrentFile;
};

}  // namespace ostrel
