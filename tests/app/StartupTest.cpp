// Start-up: the six windows with their captions, places and controls; only
// the main window is shown, and the hidden Test command reaches its window.
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTextEdit>

#include <gtest/gtest.h>

#include "DrawUnit.h"
#include "GuiTestSupport.h"
#include "TApplicationWindows.h"
#include "TDiagramView.h"
#include "TDrawForm.h"
#include "TKarvelForm.h"
#include "TMatchForm.h"
#include "TPropertiesForm.h"
#include "TTestForm.h"
#include "WindowFont.h"

namespace ostrel {
namespace {

class StartupTest : public testing::TWorkingDirectoryTest {
 protected:
  testing::TScriptedDialogs Dialogs;
};

TEST_F(StartupTest, CreatesSixWindowsAndShowsOnlyTheMainOne) {
  TApplicationWindows windows(Dialogs.Dialogs());
  windows.ShowMainForm();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&windows.MainForm()));

  struct Expected {
    QWidget* Window;
    const char* Caption;
    QPoint Position;
    QSize Size;
  };
  const Expected expected[] = {
      {&windows.MainForm(), "Ostrel - an argument assistant based on Karvel", {66, 23}, {724, 574}},
      {&windows.KarvelForm(), "KarvelForm", {104, 120}, {696, 480}},
      {&windows.PropertiesForm(), "Properties", {263, 182}, {377, 257}},
      {&windows.TestForm(), "TestForm", {249, 103}, {696, 480}},
      {&windows.MatchForm(), "Match", {199, 161}, {682, 519}},
  };
  for (const Expected& window : expected) {
    SCOPED_TRACE(window.Caption);
    EXPECT_EQ(window.Window->windowTitle(), window.Caption);
    EXPECT_EQ(window.Window->pos(), window.Position);
    EXPECT_EQ(window.Window->size(), window.Size);
    EXPECT_EQ(window.Window->font().pointSize(), 8);
  }
  EXPECT_EQ(windows.DrawForm().windowTitle(), "DrawForm");
  EXPECT_TRUE(windows.MainForm().isVisible());
  for (QWidget* hidden :
       {static_cast<QWidget*>(&windows.KarvelForm()), static_cast<QWidget*>(&windows.DrawForm()),
        static_cast<QWidget*>(&windows.PropertiesForm()), static_cast<QWidget*>(&windows.TestForm()),
        static_cast<QWidget*>(&windows.MatchForm())}) {
    EXPECT_FALSE(hidden->isVisible()) << hidden->objectName().toStdString();
  }
  // Closing a companion window must not end the program; the main one does.
  EXPECT_FALSE(windows.TestForm().testAttribute(Qt::WA_QuitOnClose));
  EXPECT_TRUE(windows.MainForm().testAttribute(Qt::WA_QuitOnClose));
}

TEST_F(StartupTest, HiddenTestCommandShowsTheTestWindow) {
  TApplicationWindows windows(Dialogs.Dialogs());
  windows.MainForm().findChild<QAction*>("Test2")->trigger();
  EXPECT_TRUE(windows.TestForm().isVisible());
  EXPECT_FALSE(windows.MatchForm().isVisible());
}

TEST_F(StartupTest, DrawFormSetsTheDiagramMetrics) {
  TDrawForm form;
  form.Metrics().RowHeight = 0;
  form.Metrics().LeftMargin = 0;
  form.FormCreate();
  EXPECT_EQ(form.Metrics().RowHeight, 22);
  EXPECT_EQ(form.Metrics().HalfRowHeight, 11);
  EXPECT_EQ(form.Metrics().LeftMargin, 2);
  EXPECT_EQ(form.Metrics().ColumnWidth, 18);
}

TEST_F(StartupTest, TestWindowControls) {
  TTestForm form;
  const auto* edit1 = form.findChild<QLineEdit*>("Edit1");
  const auto* edit2 = form.findChild<QLineEdit*>("Edit2");
  const auto* button = form.findChild<QPushButton*>("Button1");
  const auto* report = form.findChild<QTextEdit*>("RichEdit1");
  ASSERT_TRUE(edit1 && edit2 && button && report);
  EXPECT_EQ(edit1->text(), "aa<x>bbb<x>cc");
  EXPECT_EQ(edit2->text(), "aaxbbbxcc");
  EXPECT_EQ(edit1->geometry(), QRect(96, 48, 201, 21));
  EXPECT_EQ(edit2->geometry(), QRect(96, 96, 201, 21));
  EXPECT_EQ(button->text(), "&Ok");
  EXPECT_EQ(button->geometry(), QRect(96, 152, 75, 25));
  EXPECT_EQ(report->geometry(), QRect(104, 224, 289, 193));
}

TEST_F(StartupTest, MatchWindowOpensOnTheGraphicalTab) {
  TMatchForm form;
  const auto* pages = form.findChild<QTabWidget*>("PageControl1");
  ASSERT_NE(pages, nullptr);
  ASSERT_EQ(pages->count(), 2);
  EXPECT_EQ(pages->tabText(0), "Textual");
  EXPECT_EQ(pages->tabText(1), "Graphical");
  EXPECT_EQ(pages->currentIndex(), 1);
  EXPECT_NE(form.findChild<QTextEdit*>("RichEdit1"), nullptr);
  EXPECT_NE(form.findChild<TDiagramView*>("ScrollBox1"), nullptr);
}

TEST_F(StartupTest, PropertiesDialogClosesOnlyThroughOk) {
  TPropertiesForm dialog;
  EXPECT_TRUE(dialog.RichEdit()->isReadOnly());
  EXPECT_FALSE(dialog.windowFlags() & Qt::WindowCloseButtonHint);
  const auto* button = dialog.findChild<QPushButton*>("Button1");
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->geometry(), QRect(147, 7, 75, 25));

  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  QTest::keyClick(&dialog, Qt::Key_Escape);
  EXPECT_TRUE(dialog.isVisible());
  dialog.Button1Click();
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST(WindowFontTest, IsEightPointSansSerif) {
  const QFont font = WindowFont();
  EXPECT_EQ(font.pointSize(), 8);
  EXPECT_EQ(font.families().constFirst(), "MS Sans Serif");
  EXPECT_EQ(font.styleHint(), QFont::SansSerif);
}

}  // namespace
}  // namespace ostrel

namespace ostrel {
namespace {

// The window shows the icon the install puts into the icon theme.
TEST(StartupIconTest, WindowIconIsTheInstalledOne) {
  const QIcon previous = QApplication::windowIcon();
  InitialiseApplication();
  const QImage installed(QStringLiteral(OSTREL_ICON_32));
  ASSERT_EQ(installed.size(), QSize(32, 32));
  const QImage shown = QApplication::windowIcon().pixmap(32).toImage().convertToFormat(installed.format());
  EXPECT_EQ(shown, installed);
  EXPECT_TRUE(QApplication::windowIcon().availableSizes().contains(QSize(16, 16)));
  QApplication::setWindowIcon(previous);
}

}  // namespace
}  // namespace ostrel
