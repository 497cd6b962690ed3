// The main window's undo history: every user action that changes the
// working file or the caption is one step, undone and redone through the
// refresh cycle like any other change.
#include <QAction>
#include <QEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenu>
#include <QTextEdit>

#include <utility>

#include "DisplayText.h"
#include "FileNameBytes.h"
#include "TMainForm.h"

namespace ostrel {

namespace {

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

void TMainForm::createHistoryItems() {
  const auto add = [this](QMenu* menu, const QString& caption, const QString& name,
                          QKeySequence::StandardKey key, void (TMainForm::*handler)()) {
    QAction* item = menu->addAction(caption);
    item->setObjectName(name);
    item->setShortcut(key);
    item->setVisible(false);
    connect(item, &QAction::triggered, this, handler);
    return item;
  };
  Undo2MenuItem =
      add(Edit1, tr("&Undo"), QStringLiteral("Undo2MenuItem"), QKeySequence::Undo, &TMainForm::Undo1Click);
  Redo2MenuItem =
      add(Edit1, tr("&Redo"), QStringLiteral("Redo2MenuItem"), QKeySequence::Redo, &TMainForm::Redo1Click);
  FHistorySeparators[0] = Edit1->addSeparator();
  FHistorySeparators[0]->setObjectName(QStringLiteral("N13"));
  Undo1MenuItem = add(PopupMenu1, tr("&Undo"), QStringLiteral("Undo1MenuItem"), QKeySequence::Undo,
                      &TMainForm::Undo1Click);
  Redo1MenuItem = add(PopupMenu1, tr("&Redo"), QStringLiteral("Redo1MenuItem"), QKeySequence::Redo,
                      &TMainForm::Redo1Click);
  FHistorySeparators[1] = PopupMenu1->addSeparator();
  FHistorySeparators[1]->setObjectName(QStringLiteral("N14"));
  // The Edit menu's items serve the keys anywhere in the window; the
  // popup's show them but answer only while the popup is open.
  addAction(Undo2MenuItem);
  addAction(Redo2MenuItem);
  Undo1MenuItem->setShortcutContext(Qt::WidgetShortcut);
  Redo1MenuItem->setShortcutContext(Qt::WidgetShortcut);
}

void TMainForm::createHistoryKeys() {
  auto* keys = new THistoryKeysForWindow(this);
  for (QTextEdit* view : {RichEdit1, RichEdit2, RichEdit3}) view->installEventFilter(keys);
}

void TMainForm::AsStep(const std::function<void()>& action, bool parseToggled) {
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
  UpdateHistoryItems();
}

bool TMainForm::StepUnderWay() const { return FSession.EditorOpen() || FSession.Marks != TPendingMarks{}; }

TWorkingState TMainForm::CurrentWorkingState() const {
  TWorkingState state;
  state.Bytes = ReadWorkingFileBytes();
  const QByteArray caption = windowTitle().toUtf8();
  state.Caption.assign(caption.constData(), static_cast<std::size_t>(caption.size()));
  state.ParseSentences = Parsesentences1->isChecked();
  return state;
}

std::optional<TWorkingState> TMainForm::PreviousSessionState() const {
  TWorkingState state = CurrentWorkingState();
  if (!state.Bytes || !HoldsAnyTheorySentence(*state.Bytes)) return std::nullopt;
  return state;
}

void TMainForm::RestoreWorkingState(const TWorkingState& state) {
  const std::string_view bytes = state.Bytes ? std::string_view(*state.Bytes) : std::string_view();
  karvel::WriteFileAtomically(kTemporaryFileName, {bytes});
  Parsesentences1->setChecked(state.ParseSentences);
  LoadTheoryFile(QString::fromLatin1(kTemporaryFileName));
  setWindowTitle(QString::fromUtf8(state.Caption.data(), static_cast<qsizetype>(state.Caption.size())));
  FSession.SelectNothing();
}

void TMainForm::Undo1Click() { Replay(/*back=*/true); }

void TMainForm::Redo1Click() { Replay(/*back=*/false); }

void TMainForm::Replay(bool back) {
  if (StepUnderWay() || FStepBefore || !(back ? FHistory.CanUndo() : FHistory.CanRedo())) return;
  try {
    RestoreWorkingState(back ? FHistory.UndoTarget() : FHistory.RedoTarget());
    back ? FHistory.StepBack() : FHistory.StepForward();
  } catch (const karvel::TFileError& error) {
    // The working file is as it was: the step stays where it is.
    ReportError(diagram::DisplayText(error.what()));
  }
  UpdateHistoryItems();
}

void TMainForm::UpdateHistoryItems() {
  if (Undo2MenuItem == nullptr) return;
  const bool free = !StepUnderWay() && !FStepBefore;
  for (QAction* item : {Undo2MenuItem, Undo1MenuItem}) item->setVisible(free && FHistory.CanUndo());
  for (QAction* item : {Redo2MenuItem, Redo1MenuItem}) item->setVisible(free && FHistory.CanRedo());
  // With neither item the menus read as they always have.
  for (QAction* separator : FHistorySeparators)
    separator->setVisible(Undo2MenuItem->isVisible() || Redo2MenuItem->isVisible());
}

}  // namespace ostrel
