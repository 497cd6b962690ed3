#include "TMainForm.h"

#include <QAction>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QResizeEvent>
#include <QStatusBar>

#include <optional>
#include <utility>

#include "CommandMenus.h"
#include "DiagramPage.h"
#include "DisplayText.h"
#include "FileNameBytes.h"
#include "InterpretationBar.h"
#include "SearchProgressDialog.h"
#include "StatusIcons.h"
#include "StatusPanels.h"
#include "SummaryView.h"
#include "TDiagramView.h"
#include "TextPages.h"
#include "TheoryCheck.h"
#include "UndoHistory.h"
#include "WindowFont.h"
#include "WindowHistory.h"

namespace ostrel {

namespace {

const QString kInitialCaption = QStringLiteral("Ostrel - an argument assistant based on Karvel");
const QString kCaptionPrefix = QStringLiteral("Ostrel - ");
const QString kKarvelFilter = QStringLiteral("Karvel file (*.kvl)");

}  // namespace

TMainForm::TDialogs TMainForm::StandardDialogs() {
  TDialogs dialogs;
  dialogs.ShowError = [](QWidget* parent, const QString& message) {
    QMessageBox::critical(parent, QStringLiteral("Ostrel"), message);
  };
  dialogs.ChooseFileToOpen = [](QWidget* parent) {
    return QFileDialog::getOpenFileName(parent, QString(), QString(), kKarvelFilter);
  };
  dialogs.ChooseFileToSave = [](QWidget* parent) {
    QFileDialog dialog(parent, QStringLiteral("Save as"), QString(), kKarvelFilter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // Appending the suffix inside the dialog lets it ask before overwriting
    // the file that will really be written.
    dialog.setDefaultSuffix(QStringLiteral("kvl"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    return dialog.selectedFiles().constFirst();
  };
  dialogs.ChooseFileToExport = &TMainForm::ChooseExportFile;
  return dialogs;
}

TMainForm::TMainForm(TDialogs dialogs, QWidget* parent, const QString& workingFileName)
    : QMainWindow(parent), FDialogs(std::move(dialogs)) {
  setObjectName(QStringLiteral("MainForm"));
  if (!workingFileName.isEmpty()) FDocument.SetWorkingFileName(FileNameBytes(workingFileName));
  setAcceptDrops(true);
  setFont(WindowFont());
  setWindowTitle(kInitialCaption);
  // The frame position is the given one; the window manager adds its frame
  // around the given size.
  move(66, 23);
  resize(724, 574);

  TCommandMenus::THandlers commands;
  commands.New = [this] { AsStep([this] { New1Click(); }); };
  commands.Open = [this] { AsStep([this] { Open1Click(); }); };
  commands.SaveAs = [this] { Saveas1Click(); };
  commands.Save = [this] { Save1Click(); };
  commands.Quit = [this] { Quit1Click(); };
  commands.About = [this] { About1Click(); };
  commands.ExportDiagram = [this] { Exportdiagram1Click(); };
  commands.ShowStructureOnly = [this] { AsStep([this] { Showstructureonly1Click(); }); };
  commands.ParseSentences = [this] { AsStep([this] { Parsesentences1Click(); }, /*parseToggled=*/true); };
  commands.ShowDialecticalNegations = [this] { AsStep([this] { Showdialecticalnegations1Click(); }); };
  commands.Test = [this] { Test2Click(); };
  commands.EditMenuOpens = [this] { Edit1Click(); };
  FMenus = std::make_unique<TCommandMenus>(*this, commands);

  FTextPages = std::make_unique<TTextPages>(*this);
  FDiagram = std::make_unique<TDiagramPage>(FSession);
  FInterpretations = std::make_unique<TInterpretationBar>(
      FDiagram->Layout(), *this, [this](QAction* button) { InterpretationButtonClick(button); });
  FTextPages->AddDiagramPage(FDiagram->TakePage(), tr("&Dialectical arguments"));
  createSummaryView();
  FHistory = std::make_unique<TWindowHistory>(
      *this, *FMenus, FSession, FTextPages->Views(), FDocument.WorkingFileName(),
      [this] { LoadTheoryFile(WorkingFileName()); },
      [this](const QString& message) { ReportError(message); });

  createStatusBar();
  // The diagram draws the images; the window's list names them.
  for (int i = 0; i < diagram::kStatusIconCount; ++i) FStatusIcons << diagram::StatusIcon(i);
  createEditingConnections();
  FormCreate();
}

TMainForm::~TMainForm() {
  // The widgets outlive the collaborators for a moment: while they go,
  // nothing of theirs may reach this window.
  QComboBox& editor = FDiagram->Editor();
  editor.removeEventFilter(this);
  if (editor.lineEdit() != nullptr) editor.lineEdit()->removeEventFilter(this);
}

void TMainForm::createStatusBar() {
  auto* mainStatusBar = new QStatusBar(this);
  mainStatusBar->setObjectName(QStringLiteral("MainStatusBar"));
  mainStatusBar->setFixedHeight(19);
  FStatusPanels = AddStatusPanels(*mainStatusBar);
  setStatusBar(mainStatusBar);
}

void TMainForm::FormCreate() {
  FTextPages->HideConsequencesPage();
  FSession.Marks.AddingSentence = false;
  FSession.Marks.ChangingSentence = false;
  FSession.Marks.AddingSupportOrAttack = false;
  FSession.MouseColumn = -1;
  FSession.MouseRow = -1;
  // The start-up's New replaces whatever the last session left in the
  // working file; that argument stays one Undo away.
  std::optional<TWorkingState> previous = FHistory->PreviousSessionState();
  New1Click();
  if (previous && FHistory->RecordReplaced(std::move(*previous)))
    SetStatusPanel(1, "The previous working file was replaced; Undo brings it back.");
  FHistory->UpdateItems();
}

void TMainForm::New1Click() {
  setWindowTitle(kInitialCaption);
  FCurrentFile.clear();
  FDocument.ResetToMinimal();
  EmptyTextViews();
  try {
    FDocument.File().SaveToFile(FDocument.WorkingFileName());
  } catch (const karvel::TFileError& error) {
    // Loading now would bring back whatever an older working file holds.
    AbandonRefresh(diagram::DisplayText(error.what()));
    return;
  }
  LoadTheoryFile(WorkingFileName());
}

void TMainForm::Open1Click() {
  const QString fileName = FDialogs.ChooseFileToOpen(this);
  if (fileName.isEmpty()) return;
  LoadTheoryFile(fileName);
}

void TMainForm::Saveas1Click() {
  QString fileName = FDialogs.ChooseFileToSave(this);
  if (fileName.isEmpty()) return;
  if (QFileInfo(fileName).suffix().isEmpty()) fileName += QStringLiteral(".kvl");
  try {
    FDocument.File().SaveToFile(FileNameBytes(fileName), /*flushToDisk=*/true);
  } catch (const karvel::TFileError& error) {
    ReportError(diagram::DisplayText(error.what()));
    return;
  }
  setWindowTitle(kCaptionPrefix + QFileInfo(fileName).fileName());
  FCurrentFile = fileName;
}

bool TMainForm::LoadTheoryFile(const QString& FileName) {
  if (FileName != WorkingFileName()) {
    setWindowTitle(kCaptionPrefix + QFileInfo(FileName).fileName());
    FCurrentFile = FileName;
  }
  TRefreshOptions options;
  options.ShowStructureOnly = FMenus->ShowStructureOnly();
  options.ParseSentences = FMenus->ParseSentences();
  options.ShowDialecticalNegations = FMenus->ShowDialecticalNegations();
  TSearchProgressDialog progress(this, FSearchDialogDelayMs);
  progress.SetBeforeShow([this] { FDiagram->FinishRemoval(); });
  FSearchDialog = &progress;
  const bool loaded = RunRefresh(FDocument, FileNameBytes(FileName), options, *this);
  FSearchDialog = nullptr;
  // An empty theory from a file without the opening tag is no theory at all.
  if (loaded && FileName != WorkingFileName() && FDocument.Theory().Assumptions.empty() &&
      FDocument.Theory().Issues.empty()) {
    const std::shared_ptr<const std::string> bytes = ReadWorkingFileBytes(FileNameBytes(FileName));
    if (bytes && !HoldsTheory(*bytes)) SetStatusPanel(1, "The file held no theory.");
  }
  return loaded;
}

void TMainForm::InterpretationButtonClick(QAction* button) {
  if (button == nullptr || !FInterpretations->Holds(button)) return;
  const int index = button->data().toInt();
  if (index < 0 || index >= static_cast<int>(FDocument.Interpretations().size())) return;
  FSummaryView->Leave();
  button->setChecked(true);
  FDocument.ApplyInterpretation(index);
  // Only statuses changed: the drawing updates its items where it can.
  DrawArgumentDiagram();
}

void TMainForm::Showstructureonly1Click() { LoadTheoryFile(WorkingFileName()); }

void TMainForm::Parsesentences1Click() { LoadTheoryFile(WorkingFileName()); }

void TMainForm::Showdialecticalnegations1Click() { LoadTheoryFile(WorkingFileName()); }

void TMainForm::Edit1Click() { FSession.Edit1Click(); }

void TMainForm::FormResize() { FDiagram->SetEditorWidth(FSession.EditorWidthAfterResize()); }

void TMainForm::Test2Click() {
  if (FTestForm == nullptr) return;
  FTestForm->show();
  FTestForm->raise();
  FTestForm->activateWindow();
}

void TMainForm::Undo1Click() { FHistory->Replay(/*back=*/true); }

void TMainForm::Redo1Click() { FHistory->Replay(/*back=*/false); }

const TUndoHistory& TMainForm::History() const { return FHistory->Steps(); }

void TMainForm::AsStep(const std::function<void()>& action, bool parseToggled) {
  FHistory->AsStep(action, parseToggled);
}

diagram::TDiagramOptions TMainForm::DiagramOptions() const {
  diagram::TDiagramOptions options;
  options.ShowStructureOnly = FMenus->ShowStructureOnly();
  options.ShowDialecticalNegations = FMenus->ShowDialecticalNegations();
  return options;
}

QString TMainForm::StatusPanelText(int panel) const {
  return FStatusPanels.at(static_cast<std::size_t>(panel))->text();
}

QList<QAction*> TMainForm::InterpretationButtons() const { return FInterpretations->Buttons(); }

QAction* TMainForm::EditMenuItem(TEditCommand command) const { return FMenus->EditMenuItem(command); }

QAction* TMainForm::PopupMenuItem(TEditCommand command) const { return FMenus->PopupMenuItem(command); }

const karvel::TListOfKarvelSentences& TMainForm::DiagramSentences() const {
  return FDiagram->Plan().DiagramSentences;
}

void TMainForm::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  FormResize();
}

void TMainForm::DrawArgumentDiagram() {
  FDiagram->Draw(FDocument.ArgumentSentences(), FDocument.Theory(), DiagramOptions());
}

void TMainForm::AbandonRefresh(const QString& message) {
  // Consistent first: the error box runs an event loop that repaints the window.
  FDocument.Clear();
  RemoveInterpretationButtons();
  FDiagram->View().SetTag(-1);
  FStatusPanels[1]->clear();
  EmptyTextViews();
  RemoveDiagram();
  // An empty drawing also empties the diagram's sentence list, which would
  // otherwise keep pointing into the discarded document.
  DrawArgumentDiagram();
  ReportError(message);
}

void TMainForm::ReportError(const QString& message) { FDialogs.ShowError(this, message); }

// ---- the visible side of the refresh -----------------------------------------------

void TMainForm::RemoveDiagram() {
  if (FSummaryView) FSummaryView->Reset();
  FDiagram->Retire();
}

void TMainForm::EmptyTextViews() { FTextPages->Empty(); }

void TMainForm::SetStatusPanel1(std::string_view text) { SetStatusPanel(1, text); }

void TMainForm::ShowInterpretationButtons(int count) { FInterpretations->Show(count); }

void TMainForm::RemoveInterpretationButtons() { FInterpretations->Remove(); }

const karvel::TListOfKarvelSentences& TMainForm::DrawDiagram(const TRefreshResult&) {
  DrawArgumentDiagram();
  return FDiagram->Plan().DiagramSentences;
}

void TMainForm::FillTextViews(const TRefreshResult&) {
  FTextPages->Fill(FDocument, [this](std::size_t done) {
    if (FSearchDialog != nullptr) FSearchDialog->Reporting(done);
  });
  FSummaryView->Refreshed();
}

karvel::TSearchProgress TMainForm::SearchProgress() {
  return [this](std::size_t found) { return FSearchDialog == nullptr || FSearchDialog->Searching(found); };
}

void TMainForm::AbandonRefresh(const karvel::TFileError& error) {
  AbandonRefresh(diagram::DisplayText(error.what()));
}

}  // namespace ostrel
