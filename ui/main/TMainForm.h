// MainUnit: the working window. It owns the document and rebuilds every view
// from a theory file through one routine, LoadTheoryFile.
#pragma once

#include <QList>
#include <QMainWindow>
#include <QPixmap>

#include <array>
#include <functional>

#include "DrawUnit.h"
#include "TheoryDocument.h"

class QAction;
class QActionGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QStatusBar;
class QTabWidget;
class QTextEdit;
class QToolBar;
class QToolButton;

namespace ostrel {

class TDiagramView;

//! The Edit commands, in menu order; each has one item in the Edit menu and
//! one in the diagram's popup menu.
enum class TEditCommand {
  Setasassumption,
  Setasissue,
  Changeelementarysentence,
  Addconjunct,
  Addstatement,
  Adddialecticalnegation,
  Givesupport,
  Attack,
  Delete,
  Match,
  Instantiate,
  Properties,
};
inline constexpr int kEditCommandCount = 12;

class TMainForm final : public QMainWindow {
  Q_OBJECT

 public:
  //! Everything that talks to the user outside the window: the error box and
  //! the file dialogs. Tests replace them to run without blocking.
  struct TDialogs {
    std::function<void(QWidget* parent, const QString& message)> ShowError;
    //! The chosen path, or an empty string when the user cancels.
    std::function<QString(QWidget* parent)> ChooseFileToOpen;
    std::function<QString(QWidget* parent)> ChooseFileToSave;
  };
  //! The standard error box and file dialogs.
  static TDialogs StandardDialogs();

  //! Editor modes and the cell of the last press, shared by later commands.
  struct TInteraction {
    bool AddingSentence = false;
    bool ChangingSentence = false;
    bool AddingSupportOrAttack = false;
    bool AddingConjunct = false;
    int MouseRow = -1;
    int MouseColumn = -1;
  };

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
  //! The refresh cycle: rebuilds the document and every view from a file.
  void LoadTheoryFile(const QString& FileName);
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

  //! The test window Test2Click shows (created after this window).
  void SetTestForm(QWidget* testForm) { FTestForm = testForm; }

  [[nodiscard]] TheoryDocument& Document() { return FDocument; }
  [[nodiscard]] const TInteraction& Interaction() const { return FInteraction; }
  [[nodiscard]] diagram::TDiagramOptions DiagramOptions() const;
  //! The text of status panel 0 or 1.
  [[nodiscard]] QString StatusPanelText(int panel) const;
  //! The numbered interpretation buttons, "1" first.
  [[nodiscard]] QList<QAction*> InterpretationButtons() const;
  [[nodiscard]] QAction* EditMenuItem(TEditCommand command) const;
  [[nodiscard]] QAction* PopupMenuItem(TEditCommand command) const;
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

  void EmptyTextViews();
  void FillTextViews();
  void DrawArgumentDiagram();
  void ShowInterpretationButtons(int count);
  void RemoveInterpretationButtons();
  //! Leaves the document consistent after a failed load and tells the user.
  void AbandonRefresh(const QString& message);
  void ReportError(const QString& message);

  TDialogs FDialogs;
  TheoryDocument FDocument;
  TInteraction FInteraction;
  QWidget* FTestForm = nullptr;
  QList<QPixmap> FStatusIcons;

  // Menus reached through ToolBar1; MainMenu1 has no bar of its own.
  QMenu* File1 = nullptr;
  QMenu* Edit1 = nullptr;
  QMenu* Options1 = nullptr;
  QMenu* Test1 = nullptr;
  QMenu* PopupMenu1 = nullptr;
  QAction* New1 = nullptr;
  QAction* Open1 = nullptr;
  QAction* Saveas1 = nullptr;
  QAction* Showstructureonly1 = nullptr;
  QAction* Parsesentences1 = nullptr;
  QAction* Showdialecticalnegations1 = nullptr;
  QAction* Test2 = nullptr;
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
  QActionGroup* FInterpretationGroup = nullptr;

  QStatusBar* MainStatusBar = nullptr;
  std::array<QLabel*, 2> FStatusPanels{};
};

}  // namespace ostrel
