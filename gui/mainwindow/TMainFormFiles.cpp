// The file commands beyond New, Open and Save as: Save, Quit, About, files
// named on the command line or dropped on the window.
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QMimeData>
#include <QUrl>

#include "CommandMenus.h"
#include "DisplayText.h"
#include "FileNameBytes.h"
#include "TMainForm.h"
#include "WindowHistory.h"

namespace ostrel {

namespace {

// The first local theory file among dropped URLs, or "".
QString DroppedTheoryFile(const QMimeData* data) {
  if (data == nullptr || !data->hasUrls()) return {};
  for (const QUrl& url : data->urls()) {
    if (!url.isLocalFile()) continue;
    const QString path = url.toLocalFile();
    if (path.endsWith(QStringLiteral(".kvl"), Qt::CaseInsensitive) && QFileInfo(path).isFile()) return path;
  }
  return {};
}

}  // namespace

QString TMainForm::WorkingFileName() const { return QFile::decodeName(FDocument.WorkingFileName().c_str()); }

void TMainForm::Save1Click() {
  // The editor's placeholder is no sentence of the user's.
  if (FSession.EditorOpen()) {
    SetStatusPanel(1, "Finish or cancel the sentence being edited first.");
    return;
  }
  if (FCurrentFile.isEmpty()) {
    Saveas1Click();
    return;
  }
  try {
    FDocument.File().SaveToFile(FileNameBytes(FCurrentFile), /*flushToDisk=*/true);
  } catch (const karvel::TFileError& error) {
    ReportError(diagram::DisplayText(error.what()));
    return;
  }
  SetStatusPanel(1, "Saved " + FileNameBytes(QFileInfo(FCurrentFile).fileName()) + ".");
}

void TMainForm::Quit1Click() { close(); }

void TMainForm::ShowNotice(const QString& notice) {
  if (notice.isEmpty()) return;
  const QString said = StatusPanelText(1);
  FStatusPanels[1]->setText(said.isEmpty() ? notice : said + QLatin1Char(' ') + notice);
}

void TMainForm::About1Click() {
  QMessageBox::about(this, QStringLiteral("About Ostrel"),
                     QStringLiteral("<p><b>Ostrel %1</b></p>"
                                    "<p>An argument assistant: build a dialectical argument as a diagram and "
                                    "see which statements are justified, defeated or neither under every "
                                    "dialectical interpretation.</p>"
                                    "<p>Licence: GPL-3.0-or-later.</p>")
                         .arg(QStringLiteral(OSTREL_VERSION)));
}

void TMainForm::OpenFile(const QString& fileName) {
  if (fileName.isEmpty()) return;
  AsStep([this, fileName] { LoadTheoryFile(fileName); });
}

void TMainForm::dragEnterEvent(QDragEnterEvent* event) {
  if (!DroppedTheoryFile(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent* event) {
  const QString fileName = DroppedTheoryFile(event->mimeData());
  if (fileName.isEmpty()) return;
  event->acceptProposedAction();
  OpenFile(fileName);
}

}  // namespace ostrel
