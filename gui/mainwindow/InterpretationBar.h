// The bar of numbered interpretation buttons under the diagram: one
// exclusive button per interpretation the last refresh found, in a strip
// that scrolls sideways when they do not fit.
#pragma once

#include <QList>
#include <QMetaObject>

#include <functional>

class QAction;
class QActionGroup;
class QObject;
class QScrollArea;
class QToolBar;
class QVBoxLayout;

namespace ostrel {

class TInterpretationBar final {
 public:
  //! Adds the hidden bar to the bottom of a page's layout; the buttons'
  //! group belongs to owner, which also receives the presses.
  TInterpretationBar(QVBoxLayout& pageLayout, QObject& owner, const std::function<void(QAction*)>& pressed);
  ~TInterpretationBar();
  TInterpretationBar(const TInterpretationBar&) = delete;
  TInterpretationBar& operator=(const TInterpretationBar&) = delete;

  //! Shows count buttons, "1" pressed; count is at least one.
  void Show(int count);
  //! Hides the bar and deletes its buttons.
  void Remove();
  //! The buttons, "1" first.
  [[nodiscard]] QList<QAction*> Buttons() const;
  //! The bar the buttons sit on, and their exclusive group.
  [[nodiscard]] QToolBar& Bar() const { return *ToolBar2; }
  [[nodiscard]] QActionGroup& Group() const { return *FGroup; }
  [[nodiscard]] bool Holds(QAction* button) const;

 private:
  //! Room for the buttons, and for their scroll bar when needed.
  void Fit();

  QToolBar* ToolBar2 = nullptr;
  QScrollArea* FScrollArea = nullptr;
  QActionGroup* FGroup = nullptr;
  // The widgets outlive this object; their signal must not reach it then.
  QMetaObject::Connection FFitConnection;
};

}  // namespace ostrel
