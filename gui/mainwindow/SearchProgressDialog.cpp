#include "SearchProgressDialog.h"

#include <QAbstractButton>
#include <QCoreApplication>

namespace ostrel {

namespace {
// Often enough that the dialog follows the pointer and paints smoothly.
constexpr qint64 kEventIntervalMs = 40;
}  // namespace

TSearchProgressDialog::TSearchProgressDialog(QWidget* owner, int delayMs) : FOwner(owner), FDelayMs(delayMs) {
  FSinceStart.start();
}

TSearchProgressDialog::~TSearchProgressDialog() {
  if (FDialog != nullptr) FDialog->hide();
}

bool TSearchProgressDialog::ShowWhenDue() {
  if (FDialog != nullptr) return true;
  if (FSinceStart.elapsed() < FDelayMs) return false;
  if (FBeforeShow) std::exchange(FBeforeShow, nullptr)();
  FDialog = std::make_unique<QProgressDialog>(FOwner);
  FDialog->setObjectName(QStringLiteral("SearchProgressDialog"));
  FDialog->setWindowTitle(QCoreApplication::applicationName());
  FDialog->setWindowModality(Qt::ApplicationModal);
  FDialog->setCancelButtonText(QStringLiteral("Cancel"));
  FDialog->setRange(0, 0);  // the number of interpretations is not known ahead
  FDialog->setMinimumDuration(0);
  FDialog->setAutoClose(false);
  FDialog->setAutoReset(false);
  FDialog->setLabelText(QStringLiteral("Computing dialectical interpretations..."));
  FDialog->show();
  FSinceEvents.invalidate();
  return true;
}

bool TSearchProgressDialog::EventsDue() const {
  return !FSinceEvents.isValid() || FSinceEvents.elapsed() >= kEventIntervalMs;
}

void TSearchProgressDialog::ShowAndProcessEvents(const QString& label) {
  FDialog->setLabelText(label);
  QCoreApplication::processEvents();
  FSinceEvents.start();
}

bool TSearchProgressDialog::Searching(std::size_t found) {
  if (FCancelled) return false;
  if (!ShowWhenDue() || !EventsDue()) return true;
  ShowAndProcessEvents(QStringLiteral("Computing dialectical interpretations...\n%1 found so far.")
                           .arg(static_cast<qulonglong>(found)));
  // Only the events just processed can have pressed Cancel.
  if (FDialog->wasCanceled()) FCancelled = true;
  return !FCancelled;
}

void TSearchProgressDialog::Reporting(std::size_t done) {
  if (!ShowWhenDue() || !EventsDue()) return;
  // A cancel hid the dialog; events may only flow while it blocks the window.
  if (!FDialog->isVisible()) FDialog->show();
  // The search is over; what remains cannot be cancelled.
  if (FDialog->findChild<QAbstractButton*>() != nullptr) FDialog->setCancelButton(nullptr);
  ShowAndProcessEvents(QStringLiteral("Writing the consequences report...\n%1 interpretations written.")
                           .arg(static_cast<qulonglong>(done)));
}

}  // namespace ostrel
