// The fixture of the window tests that edit: a shown, active main window in
// a private working directory, with presses at diagram points.
#pragma once

#include <QComboBox>
#include <QGraphicsItem>
#include <QTest>

#include <memory>
#include <string>
#include <vector>

#include "DrawUnit.h"
#include "GuiTestSupport.h"
#include "TDiagramView.h"
#include "TMainForm.h"
#include "TShapeWithDoubleClicks.h"
#include "TestTheory.h"

namespace ostrel::testing {

//! A shown, active main window with its diagram view and in-place editor.
class TEditingWindowTest : public TWorkingDirectoryTest {
 protected:
  void SetUp() override {
    TWorkingDirectoryTest::SetUp();
    Form = std::make_unique<TMainForm>(Dialogs.Dialogs());
    Form->show();
    Form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form.get()));
    View = Form->findChild<TDiagramView*>(QStringLiteral("ScrollBox1"));
    Editor = Form->findChild<QComboBox*>(QStringLiteral("ComboBox1"));
    ASSERT_NE(View, nullptr);
    ASSERT_NE(Editor, nullptr);
  }
  void TearDown() override {
    Form.reset();
    TWorkingDirectoryTest::TearDown();
  }
  void OpenTheory(const std::vector<std::string>& assumptions, const std::vector<std::string>& issues = {}) {
    Dialogs.FilesToOpen.push_back(
        WriteFile(QStringLiteral("theory.kvl"), karvel::testing::ElementaryFile(assumptions, issues)));
    Form->Open1Click();
  }
  std::vector<diagram::TShapeWithDoubleClicks*> Boxes() const {
    std::vector<diagram::TShapeWithDoubleClicks*> boxes;
    for (QGraphicsItem* item : View->Scene().items(Qt::AscendingOrder))
      if (auto* shape = qgraphicsitem_cast<diagram::TShapeWithDoubleClicks*>(item); shape && shape->IsBox())
        boxes.push_back(shape);
    return boxes;
  }
  diagram::TShapeWithDoubleClicks* BoxOf(const std::string& text) const {
    for (auto* box : Boxes())
      if (Form->DiagramSentences().at(static_cast<std::size_t>(box->Tag()))->Text == text) return box;
    return nullptr;
  }
  // A press at a diagram point, wherever the view is scrolled.
  void PressAt(QPoint diagramPoint, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mousePress(View->viewport(), button, {}, View->mapFromScene(diagramPoint));
    QTest::mouseRelease(View->viewport(), button, {}, View->mapFromScene(diagramPoint));
  }
  void PressOn(const std::string& text) {
    auto* box = BoxOf(text);
    ASSERT_NE(box, nullptr) << text;
    PressAt(box->Rect().topLeft() + QPoint(4, 10));
  }
  std::vector<std::string> Assumptions() {
    return karvel::testing::Texts(Form->Document().Theory().Assumptions);
  }
  std::vector<std::string> Issues() { return karvel::testing::Texts(Form->Document().Theory().Issues); }

  TScriptedDialogs Dialogs;
  std::unique_ptr<TMainForm> Form;
  TDiagramView* View = nullptr;
  QComboBox* Editor = nullptr;
};

}  // namespace ostrel::testing
