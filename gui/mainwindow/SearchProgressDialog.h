// Keeps the window alive through a long refresh: after a delay, a modal
// dialog with the number of interpretations found so far and a Cancel button,
// and the events of the application processed from the search's callback on
// the same thread. Before the dialog is up no event is processed, so nothing
// can start a second refresh inside the first.
#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QProgressDialog>

#include <cstddef>
#include <functional>
#include <memory>
#include <utility>

class QWidget;

namespace ostrel {

class TSearchProgressDialog {
 public:
  //! delayMs: how long the refresh runs before the dialog shows.
  TSearchProgressDialog(QWidget* owner, int delayMs);
  TSearchProgressDialog(const TSearchProgressDialog&) = delete;
  TSearchProgressDialog& operator=(const TSearchProgressDialog&) = delete;
  ~TSearchProgressDialog();

  //! The search has found this many interpretations; false once the user
  //! has cancelled, which stops the search.
  bool Searching(std::size_t found);
  //! The consequences report has written this many interpretations.
  void Reporting(std::size_t done);

  [[nodiscard]] bool Cancelled() const { return FCancelled; }
  //! Runs once, just before the dialog shows and events begin to flow.
  void SetBeforeShow(std::function<void()> beforeShow) { FBeforeShow = std::move(beforeShow); }

 private:
  // Shows the dialog once the delay is over; true while it is up.
  bool ShowWhenDue();
  // Events are processed now and then, not on every call of a fast search.
  [[nodiscard]] bool EventsDue() const;
  void ShowAndProcessEvents(const QString& label);

  QWidget* FOwner;
  int FDelayMs;
  QElapsedTimer FSinceStart;
  QElapsedTimer FSinceEvents;
  std::unique_ptr<QProgressDialog> FDialog;
  bool FCancelled = false;
  std::function<void()> FBeforeShow;
};

}  // namespace ostrel
