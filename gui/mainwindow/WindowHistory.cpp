#include "WindowHistory.h"

#include <QAction>
#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMainWindow>
#include <QMenu>
#include <QTextEdit>

#include <utility>

#include "CommandMenus.h"
#include "DisplayText.h"
#include "EditSession.h"
#include "TheoryDocument.h"

namespace ostrel {

namespace {

// The captions keep the translation context they have always had.
QString Tr(const char* text) { return QCoreApplication::translate("ostrel::TMainForm", text); }

// The text views keep Ctrl+Z for the window's history: their own undo would
// only take back typing that the next refresh replaces anyway.
class THistoryKeysForWindow final : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::ShortcutOverride) {
      auto* key = static_cast<QKeyEvent*>(event);
      if (key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo)) return true;
    }
    return QObject::eventFilter(watched, event);
  }
};

}  // namespace

TWindowHistory::TWindowHistory(QMainWindow& window, const TCommandMenus& menus, TEditSession& session,
                               const std::array<QTextEdit*, 3>& textViews,
                               std::function<void()> reloadWorkingFile,
                               std::function<void(const QString&)> reportError)
    : FWindow(window),
      FMenus(menus),
      FSession(session),
      FReloadWorkingFile(std::move(reloadWorkingFile)),
      FReportError(std::move(reportError)) {
  // Undo and Redo head both menus, above the Edit commands.
  const auto add = [this](QMenu& menu, QAction* before, const char* caption, const QString& name,
                          QKeySequence::StandardKey key, bool back) {
    auto* item = new QAction(Tr(caption), &menu);
    menu.insertAction(before, item);
    item->setObjectName(name);
    item->setShortcut(key);
    item->setVisible(false);
    QObject::connect(item, &QAction::triggered, &FWindow, [this, back] { Replay(back); });
    return item;
  };
  QMenu& edit = menus.EditMenu();
  QAction* firstEditCommand = edit.actions().value(0, nullptr);
  Undo2MenuItem =
      add(edit, firstEditCommand, "&Undo", QStringLiteral("Undo2MenuItem"), QKeySequence::Undo, true);
  Redo2MenuItem =
      add(edit, firstEditCommand, "&Redo", QStringLiteral("Redo2MenuItem"), QKeySequence::Redo, false);
  FHistorySeparators[0] = edit.insertSeparator(firstEditCommand);
  FHistorySeparators[0]->setObjectName(QStringLiteral("N13"));
  QMenu& popup = menus.PopupMenu();
  QAction* firstPopupCommand = popup.actions().value(0, nullptr);
  Undo1MenuItem =
      add(popup, firstPopupCommand, "&Undo", QStringLiteral("Undo1MenuItem"), QKeySequence::Undo, true);
  Redo1MenuItem =
      add(popup, firstPopupCommand, "&Redo", QStringLiteral("Redo1MenuItem"), QKeySequence::Redo, false);
  FHistorySeparators[1] = popup.insertSeparator(firstPopupCommand);
  FHistorySeparators[1]->setObjectName(QStringLiteral("N14"));
  // The Edit menu's items serve the keys anywhere in the window; the
  // popup's show them but answer only while the popup is open.
  window.addAction(Undo2MenuItem);
  window.addAction(Redo2MenuItem);
  Undo1MenuItem->setShortcutContext(Qt::WidgetShortcut);
  Redo1MenuItem->setShortcutContext(Qt::WidgetShortcut);

  auto* keys = new THistoryKeysForWindow(&window);
  for (QTextEdit* view : textViews) view->installEventFilter(keys);
}

void TWindowHistory::AsStep(const std::function<void()>& action, bool parseToggled) {
  // A nested action (a command's Enter inside its own step) joins the step.
  if (!FStepBefore && FStepDepth == 0) {
    FStepBefore = CurrentWorkingState();
    if (parseToggled) FStepBefore->ParseSentences = !FStepBefore->ParseSentences;
  }
  ++FStepDepth;
  action();
  --FStepDepth;
  if (FStepDepth == 0 && FStepBefore && !StepUnderWay()) {
    FHistory.Record(*std::exchange(FStepBefore, std::nullopt), CurrentWorkingState());
  }
  UpdateItems();
}

bool TWindowHistory::StepUnderWay() const {
  return FSession.EditorOpen() || FSession.Marks != TPendingMarks{};
}

TWorkingState TWindowHistory::CurrentWorkingState() const {
  TWorkingState state;
  state.Bytes = ReadWorkingFileBytes();
  const QByteArray caption = FWindow.windowTitle().toUtf8();
  state.Caption.assign(caption.constData(), static_cast<std::size_t>(caption.size()));
  state.ParseSentences = FMenus.ParseSentences();
  return state;
}

std::optional<TWorkingState> TWindowHistory::PreviousSessionState() const {
  TWorkingState state = CurrentWorkingState();
  if (!state.Bytes || !HoldsAnyTheorySentence(*state.Bytes)) return std::nullopt;
  return state;
}

bool TWindowHistory::RecordReplaced(TWorkingState previous) {
  return FHistory.Record(std::move(previous), CurrentWorkingState());
}

void TWindowHistory::RestoreWorkingState(const TWorkingState& state) {
  const std::string_view bytes = state.Bytes ? std::string_view(*state.Bytes) : std::string_view();
  karvel::WriteFileAtomically(kTemporaryFileName, {bytes});
  FMenus.SetParseSentences(state.ParseSentences);
  FReloadWorkingFile();
  FWindow.setWindowTitle(
      QString::fromUtf8(state.Caption.data(), static_cast<qsizetype>(state.Caption.size())));
  FSession.SelectNothing();
}

void TWindowHistory::Replay(bool back) {
  if (StepUnderWay() || FStepBefore || !(back ? FHistory.CanUndo() : FHistory.CanRedo())) return;
  try {
    RestoreWorkingState(back ? FHistory.UndoTarget() : FHistory.RedoTarget());
    back ? FHistory.StepBack() : FHistory.StepForward();
  } catch (const karvel::TFileError& error) {
    // The working file is as it was: the step stays where it is.
    FReportError(diagram::DisplayText(error.what()));
  }
  UpdateItems();
}

void TWindowHistory::UpdateItems() {
  const bool free = !StepUnderWay() && !FStepBefore;
  for (QAction* item : {Undo2MenuItem, Undo1MenuItem}) item->setVisible(free && FHistory.CanUndo());
  for (QAction* item : {Redo2MenuItem, Redo1MenuItem}) item->setVisible(free && FHistory.CanRedo());
  // With neither item the menus read as they always have.
  for (QAction* separator : FHistorySeparators)
    separator->setVisible(Undo2MenuItem->isVisible() || Redo2MenuItem->isVisible());
}

}  // namespace ostrel
