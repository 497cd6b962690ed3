// MainUnit: the working window. It owns the document and rebuilds every view
// from a theory file through one routine, LoadTheoryFile.
#pragma once

#include <QList>
#include <QMainWindow>
#include <QPixmap>
#include <QString>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "CommandAvailability.h"
#include "DrawUnit.h"
#include "EditSession.h"
#include "Refresh.h"
#include "TheoryDocument.h"
#include "UndoHistory.h"

class QAction;
class QActionGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QStatusBar;
class QScrollArea;
class QTabWidget;
class QTextEdit;
class QToolBar;
class QToolButton;

namespace ostrel {

class TDiagramView;
class TMatchForm;
class TPropertiesForm;
class TSearchProgressDialog;
class TSummaryView;
namespace diagram {
class TShapeWithDoubleClicks;
}

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

  explicit TMainForm(TDialogs dialogs = StandardDialogs(), QWidget* parent = nullptr);
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
  [[nodiscard]] const TUndoHistory& History() const { return FHistory; }

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
  [[nodiscard]] const karvel::TListOfKarvelSentences& DiagramSentences() const {
    return FDiagramPlan.DiagramSentences;
  }
  //! Image 0 marks an assumption ("!"), image 1 an issue ("?").
  [[nodiscard]] const QList<QPixmap>& StatusIconsImageList() const { return FStatusIcons; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void createActions();
  void createMenus();
  void createToolBars();
  void createPages();
  void createDiagramPage(QWidget* page);
  void createStatusBar();
  void createStatusIcons();
  //! The "All" choice, its legend and the Summary page (TMainFormSummary.cpp).
  void createSummaryView();

  void DrawArgumentDiagram();
  //! Removes the items a refresh has retired but not yet reused; due before
  //! anything can paint the diagram or press on it.
  void FinishDiagramRemoval();
  //! Leaves the document consistent after a failed load and tells the user.
  void AbandonRefresh(const QString& message);
  void ReportError(const QString& message);
  void CollectDiagramBoxes(const diagram::TDiagramItems& drawing);
  //! Room for the interpretation buttons, and for their scroll bar when needed.
  void FitInterpretationBar();
  //! Frames what the selection index designates: its boxes on the pressed
  //! row, else its connector lines, else all its boxes.
  void UpdateSelectionMark();
  void createEditingConnections();
  void createHistoryItems();
  void createHistoryKeys();
  //! Runs one user action and records it as a step once the action is over:
  //! a two-phase command's step runs from its first phase to Enter or Escape.
  //! parseToggled: the Parse sentences mark was inverted before the action
  //! ran, and the state before it is the one with the old mark.
  void AsStep(const std::function<void()>& action, bool parseToggled = false);
  //! An editor is open or a command waits: the history stays out of the way.
  [[nodiscard]] bool StepUnderWay() const;
  [[nodiscard]] TWorkingState CurrentWorkingState() const;
  void RestoreWorkingState(const TWorkingState& state);
  //! Undo (back) or Redo: restores the step's state, then moves past it.
  void Replay(bool back);
  //! Shows Undo and Redo exactly when they can act.
  void UpdateHistoryItems();
  //! Before the start-up's File > New: the state worth keeping, if any.
  [[nodiscard]] std::optional<TWorkingState> PreviousSessionState() const;
  bool eventFilter(QObject* watched, QEvent* event) override;

  // TEditHost
  bool LoadTheoryFile(const std::string& fileName) override;
  [[nodiscard]] const diagram::TDiagramPlan& DiagramPlan() const override { return FDiagramPlan; }
  [[nodiscard]] std::size_t DiagramBoxCount() const override { return FBoxes.size(); }
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
  TUndoHistory FHistory;
  // The state before the step under way, while one is.
  std::optional<TWorkingState> FStepBefore;
  int FStepDepth = 0;
  // The diagram's items in creation order; after RemoveDiagram, the retired
  // items the next drawing reuses.
  diagram::TDiagramItems FDiagramItems;
  // What the last drawing shows: its sentences, rows and metrics.
  diagram::TDiagramPlan FDiagramPlan;
  diagram::TDiagramMetrics FMetrics;
  bool FDiagramRetired = false;
  // The diagram's sentence boxes in creation order.
  std::vector<diagram::TShapeWithDoubleClicks*> FBoxes;
  // The drawn connector lines (not their hit strips), for the selection mark.
  std::vector<diagram::TShapeWithDoubleClicks*> FConnectors;
  // The last press selected a connector rather than a box.
  bool FConnectorPressed = false;
  // The bytes of the editor's opening text and of its choices, by what they show.
  std::vector<std::pair<QString, std::string>> FEditorBytes;
  QWidget* FTestForm = nullptr;
  // A text view's latest text while its page is not shown (RichEdit1, RichEdit2).
  struct TViewText {
    QTextEdit* View = nullptr;
    QString Text;
    bool Pending = false;
  };
  std::array<TViewText, 2> FViewTexts;
  void SetViewText(TViewText& view, QString text);
  void ShowPendingViewTexts();
  TPropertiesForm* FPropertiesForm = nullptr;
  TMatchForm* FMatchForm = nullptr;
  // The progress dialog of the refresh under way, if any.
  TSearchProgressDialog* FSearchDialog = nullptr;
  int FSearchDialogDelayMs = 500;
  QList<QPixmap> FStatusIcons;
  std::unique_ptr<TSummaryView> FSummaryView;

  // Menus reached through ToolBar1; MainMenu1 has no bar of its own.
  QMenu* File1 = nullptr;
  QMenu* Edit1 = nullptr;
  QMenu* Options1 = nullptr;
  QMenu* Test1 = nullptr;
  QMenu* PopupMenu1 = nullptr;
  QAction* New1 = nullptr;
  QAction* Open1 = nullptr;
  QAction* Saveas1 = nullptr;
  QAction* Exportdiagram1 = nullptr;
  QAction* Showstructureonly1 = nullptr;
  QAction* Parsesentences1 = nullptr;
  QAction* Showdialecticalnegations1 = nullptr;
  QAction* Test2 = nullptr;
  QAction* Undo2MenuItem = nullptr;
  QAction* Redo2MenuItem = nullptr;
  QAction* Undo1MenuItem = nullptr;
  QAction* Redo1MenuItem = nullptr;
  std::array<QAction*, 2> FHistorySeparators{};
  std::array<QAction*, kEditCommandCount> FEditMenuItems{};
  std::array<QAction*, kEditCommandCount> FPopupMenuItems{};

  QWidget* ControlBar1 = nullptr;
  QToolBar* ToolBar1 = nullptr;
  QToolButton* ToolButton1 = nullptr;
  QToolButton* ToolButton2 = nullptr;
  QToolButton* ToolButton3 = nullptr;
  QToolButton* ToolButton4 = nullptr;

  QTabWidget* TextBasedKarvelPageControl = nullptr;
  QWidget* FileTabSheet = nullptr;
  QWidget* TheoryTabSheet = nullptr;
  QWidget* ConsequencesTabSheet = nullptr;
  QWidget* TabSheet1 = nullptr;
  QTextEdit* RichEdit1 = nullptr;
  QTextEdit* RichEdit2 = nullptr;
  QTextEdit* RichEdit3 = nullptr;
  TDiagramView* ScrollBox1 = nullptr;
  QComboBox* ComboBox1 = nullptr;
  QLineEdit* Edit2 = nullptr;
  QToolBar* ToolBar2 = nullptr;
  QScrollArea* FInterpretationBar = nullptr;
  QActionGroup* FInterpretationGroup = nullptr;

  QStatusBar* MainStatusBar = nullptr;
  std::array<QLabel*, 2> FStatusPanels{};
};

}  // namespace ostrel
