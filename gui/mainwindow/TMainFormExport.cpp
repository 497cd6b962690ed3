// File > Export diagram: the diagram container's scene written to a file.
#include <QFileDialog>
#include <QLabel>
#include <QStringList>

#include "DiagramExport.h"
#include "DiagramPage.h"
#include "TDiagramView.h"
#include "TMainForm.h"

namespace ostrel {

namespace {

struct TExportFilter {
  const char* Filter;
  const char* Suffix;
};
constexpr TExportFilter kExportFilters[] = {
    {"SVG image (*.svg)", "svg"},
    {"PNG image (*.png)", "png"},
    {"PDF document (*.pdf)", "pdf"},
};

QString SuffixOfFilter(const QString& filter) {
  for (const TExportFilter& f : kExportFilters)
    if (filter == QLatin1String(f.Filter)) return QString::fromLatin1(f.Suffix);
  return QString::fromLatin1(kExportFilters[0].Suffix);
}

}  // namespace

QString TMainForm::ChooseExportFile(QWidget* parent) {
  QStringList filters;
  for (const TExportFilter& f : kExportFilters) filters << QString::fromLatin1(f.Filter);
  QFileDialog dialog(parent, QStringLiteral("Export diagram"), QString(), filters.join(QStringLiteral(";;")));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  // The suffix is added inside the dialog so that it asks before overwriting
  // the file that will really be written.
  dialog.setDefaultSuffix(SuffixOfFilter(dialog.selectedNameFilter()));
  QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                   [&dialog](const QString& filter) { dialog.setDefaultSuffix(SuffixOfFilter(filter)); });
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
  QString fileName = dialog.selectedFiles().constFirst();
  // A typed extension of another kind keeps its name and gets the filter's.
  if (diagram::ExportFormatOfFileName(fileName) == diagram::TExportFormat::None)
    fileName += QLatin1Char('.') + SuffixOfFilter(dialog.selectedNameFilter());
  return fileName;
}

void TMainForm::Exportdiagram1Click() {
  if (!FDialogs.ChooseFileToExport) return;
  QString fileName = FDialogs.ChooseFileToExport(this);
  if (fileName.isEmpty()) return;
  diagram::TExportFormat format = diagram::ExportFormatOfFileName(fileName);
  if (format == diagram::TExportFormat::None) {
    fileName += QStringLiteral(".svg");
    format = diagram::TExportFormat::Svg;
  }
  const diagram::TExportOutcome outcome =
      diagram::ExportDiagramFile(FDiagram->View().Scene(), fileName, format);
  if (!outcome.Written)
    ReportError(outcome.Message);
  else if (!outcome.Message.isEmpty())
    FStatusPanels[1]->setText(outcome.Message);
}

}  // namespace ostrel
