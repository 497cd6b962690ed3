// The main window: start-up state, the refresh cycle driven through File >
// Open, the options, the interpretation buttons, Save as and failing files.
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGraphicsScene>
#include <QImage>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QProgressDialog>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "DrawUnit.h"
#include "GuiTestSupport.h"
#include "TDiagramLabel.h"
#include "TDiagramView.h"
#include "TLine.h"
#include "TMainForm.h"
#include "TShapeWithDoubleClicks.h"
#include "TStatusImage.h"
#include "TestTheory.h"

namespace ostrel {
namespace {

using karvel::testing::ElementaryFile;
using karvel::testing::Texts;
using testing::TScriptedDialogs;

// p, q and r attack each other pairwise: one interpretation per assumption.
const std::vector<std::string> kThreeWay = {
    "p", "q", "r", "if(p, x(q))", "if(q, x(p))", "if(q, x(r))", "if(r, x(q))", "if(p, x(r))", "if(r, x(p))"};
const std::string kEmptyLayout =
    "<KARVEL>\r\n<THEORY>\r\n\r\n</THEORY>\r\n<ISSUES>\r\n\r\n</ISSUES>\r\n</KARVEL>\r\n";
const QString kInitialCaption = QStringLiteral("Ostrel - an argument assistant based on Karvel");

class MainFormTest : public testing::TWorkingDirectoryTest {
 protected:
  void SetUp() override {
    TWorkingDirectoryTest::SetUp();
    Form = std::make_unique<TMainForm>(Dialogs.Dialogs());
  }
  void TearDown() override {
    Form.reset();
    TWorkingDirectoryTest::TearDown();
  }

  template <typename T>
  T* Child(const char* name) const {
    T* child = Form->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
  }
  QString View(const char* name) const { return Child<QTextEdit>(name)->toPlainText(); }
  QStringList ViewLines(const char* name) const { return View(name).split(QLatin1Char('\n')); }
  QStringList ButtonCaptions() const {
    QStringList captions;
    for (const QAction* button : Form->InterpretationButtons()) captions << button->text();
    return captions;
  }
  bool ToolBar2Shown() const { return !Child<QToolBar>("ToolBar2")->isHidden(); }
  int Selection() const { return Child<TDiagramView>("ScrollBox1")->property("Tag").toInt(); }

  void Open(const QString& path) {
    Dialogs.FilesToOpen.push_back(path);
    Form->Open1Click();
  }
  void OpenTheory(const std::vector<std::string>& assumptions, const std::vector<std::string>& issues = {}) {
    Open(WriteFile(QStringLiteral("theory.kvl"), ElementaryFile(assumptions, issues)));
  }
  // The justified elementary assumptions; the rules of kThreeWay are justified in each.
  std::set<std::string> JustifiedAssumptions() {
    std::set<std::string> justified;
    for (const auto* s : Form->Document().Theory().Assumptions) {
      if (s->IsJustified && karvel::IsElementary(s)) justified.insert(s->Text);
    }
    return justified;
  }
  std::set<std::string> ElementaryTextsOf(const karvel::TListOfKarvelSentences& interpretation) {
    std::set<std::string> texts;
    for (const auto* s : interpretation) {
      if (karvel::IsElementary(s)) texts.insert(s->Text);
    }
    return texts;
  }

  TScriptedDialogs Dialogs;
  std::unique_ptr<TMainForm> Form;
};

TEST_F(MainFormTest, StartsWithTheEmptyTheory) {
  EXPECT_EQ(Form->windowTitle(), kInitialCaption);
  auto* pages = Child<QTabWidget>("TextBasedKarvelPageControl");
  EXPECT_EQ(pages->currentWidget()->objectName(), "TabSheet1");
  const int consequences = pages->indexOf(Child<QWidget>("ConsequencesTabSheet"));
  EXPECT_FALSE(pages->isTabVisible(consequences));
  EXPECT_TRUE(Form->InterpretationButtons().isEmpty());
  EXPECT_FALSE(ToolBar2Shown());
  EXPECT_EQ(Form->StatusPanelText(0), "");
  EXPECT_EQ(Form->StatusPanelText(1), "");
  EXPECT_EQ(Selection(), -1);
  EXPECT_EQ(Form->Session().MouseRow, -1);
  EXPECT_EQ(Form->Session().MouseColumn, -1);
  // The working file holds the rewritten empty theory, not the minimal one.
  EXPECT_EQ(ReadFile(PathOf("~tmp.kvl")), kEmptyLayout + "\r\n");
  EXPECT_TRUE(Dialogs.Errors.isEmpty());
}

TEST_F(MainFormTest, TextViewsOfTheEmptyTheory) {
  EXPECT_EQ(ViewLines("RichEdit2"),
            (QStringList{"ASSUMPTIONS", "", "", "", "ISSUES", "", "", "",
                         "THERE IS NO DIALECTICAL INTERPRETATION OF THE ASSUMPTIONS", ""}));
  EXPECT_EQ(ViewLines("RichEdit1"),
            (QStringList{"<KARVEL>", "<THEORY>", "", "</THEORY>", "<ISSUES>", "", "</ISSUES>", "</KARVEL>"}));
  EXPECT_EQ(View("RichEdit3"), "");
  EXPECT_FALSE(Child<QTextEdit>("RichEdit1")->isReadOnly());
  EXPECT_FALSE(Child<QTextEdit>("RichEdit2")->isReadOnly());
}

TEST_F(MainFormTest, OpenShowsTheRewrittenTheoryAndNamesTheFile) {
  ASSERT_TRUE(QDir().mkdir("sub"));
  const std::string body = ElementaryFile({"p", "q", "p"}, {"s"});
  Open(WriteFile("sub/y.kvl", "preamble line\r\n" + body + "trailing text\r\n"));

  const std::string rewritten = ElementaryFile({"p", "q"}, {"s"});
  EXPECT_EQ(Form->windowTitle(), "Ostrel - y.kvl");
  EXPECT_EQ(View("RichEdit1") + "\n", QString::fromStdString(rewritten).replace("\r\n", "\n"));
  EXPECT_FALSE(View("RichEdit1").contains("preamble"));
  EXPECT_EQ(ReadFile(PathOf("~tmp.kvl")), rewritten + "\r\n");
  EXPECT_EQ(ViewLines("RichEdit2").mid(0, 9),
            (QStringList{"ASSUMPTIONS", "", "p", "q", "", "", "ISSUES", "", "s"}));

  // Option changes and other reloads of the working file keep the caption.
  Child<QAction>("Showstructureonly1")->trigger();
  EXPECT_EQ(Form->windowTitle(), "Ostrel - y.kvl");
  Form->New1Click();
  EXPECT_EQ(Form->windowTitle(), kInitialCaption);
}

TEST_F(MainFormTest, CancelledOpenChangesNothing) {
  OpenTheory({"p", "q"});
  const QString file = View("RichEdit1");
  Form->Open1Click();  // the dialog queue is empty: cancelled
  EXPECT_EQ(View("RichEdit1"), file);
  EXPECT_EQ(Form->windowTitle(), "Ostrel - theory.kvl");
}

TEST_F(MainFormTest, ThreeInterpretationsGiveThreeButtons) {
  OpenTheory(kThreeWay);
  EXPECT_EQ(Form->StatusPanelText(1), "There are 3 dialectical interpretations.");
  EXPECT_TRUE(ToolBar2Shown());
  EXPECT_EQ(ButtonCaptions(), (QStringList{"1", "2", "3"}));
  const QList<QAction*> buttons = Form->InterpretationButtons();
  for (int i = 0; i < buttons.size(); ++i) {
    EXPECT_EQ(buttons[i]->data().toInt(), i);
    EXPECT_TRUE(buttons[i]->isCheckable());
    EXPECT_EQ(buttons[i]->isChecked(), i == 0);
  }
  const QStringList report = ViewLines("RichEdit2");
  EXPECT_TRUE(report.contains("DIALECTICAL INTERPRETATION 3"));
  // After the report the sentences carry the first interpretation again.
  const auto& interpretations = Form->Document().Interpretations();
  ASSERT_EQ(interpretations.size(), 3U);
  EXPECT_EQ(JustifiedAssumptions(), ElementaryTextsOf(interpretations[0]));
}

TEST_F(MainFormTest, PressingAButtonChangesStatusesButNotTheViews) {
  Form->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(Form.get()));
  OpenTheory(kThreeWay);
  const QString file = View("RichEdit1");
  const QString theory = View("RichEdit2");
  const auto before = JustifiedAssumptions();

  QAction* second = Form->InterpretationButtons().at(1);
  auto* secondButton = qobject_cast<QToolButton*>(Child<QToolBar>("ToolBar2")->widgetForAction(second));
  ASSERT_NE(secondButton, nullptr);
  QTest::mouseClick(secondButton, Qt::LeftButton);

  EXPECT_TRUE(second->isChecked());
  EXPECT_FALSE(Form->InterpretationButtons().at(0)->isChecked());
  const auto after = JustifiedAssumptions();
  EXPECT_NE(after, before);
  EXPECT_EQ(after, ElementaryTextsOf(Form->Document().Interpretations()[1]));
  EXPECT_EQ(View("RichEdit1"), file);
  EXPECT_EQ(View("RichEdit2"), theory);
  EXPECT_EQ(ButtonCaptions(), (QStringList{"1", "2", "3"}));
}

TEST_F(MainFormTest, OneOrNoInterpretationGivesNoButtons) {
  OpenTheory(kThreeWay);
  OpenTheory({"p", "q"});
  EXPECT_EQ(Form->StatusPanelText(1), "There is 1 dialectical interpretation.");
  EXPECT_TRUE(Form->InterpretationButtons().isEmpty());
  EXPECT_FALSE(ToolBar2Shown());
  EXPECT_TRUE(ViewLines("RichEdit2").contains("UNIQUE DIALECTICAL INTERPRETATION"));

  OpenTheory(kThreeWay);
  OpenTheory({"p", "if(p, x(p))"});
  EXPECT_EQ(Form->StatusPanelText(1), "There is no dialectical interpretation.");
  EXPECT_TRUE(Form->InterpretationButtons().isEmpty());
  EXPECT_FALSE(ToolBar2Shown());
}

TEST_F(MainFormTest, TheoryWithoutAssumptionsClearsButtonsAndPanel) {
  OpenTheory(kThreeWay);
  ASSERT_EQ(Form->InterpretationButtons().size(), 3);
  OpenTheory({}, {"q"});
  EXPECT_TRUE(Form->InterpretationButtons().isEmpty());
  EXPECT_FALSE(ToolBar2Shown());
  EXPECT_EQ(Form->StatusPanelText(1), "");
}

TEST_F(MainFormTest, ShowStructureOnlyComputesNothingUntilTurnedOff) {
  OpenTheory(kThreeWay);
  QAction* option = Child<QAction>("Showstructureonly1");
  ASSERT_FALSE(option->isChecked());
  option->trigger();
  EXPECT_TRUE(option->isChecked());
  EXPECT_TRUE(Form->DiagramOptions().ShowStructureOnly);
  EXPECT_TRUE(Form->InterpretationButtons().isEmpty());
  EXPECT_FALSE(ToolBar2Shown());
  EXPECT_EQ(Form->StatusPanelText(1), "");
  const QStringList report = ViewLines("RichEdit2");
  EXPECT_EQ(report.mid(report.size() - 2),
            (QStringList{"THERE IS NO DIALECTICAL INTERPRETATION OF THE ASSUMPTIONS", ""}));
  EXPECT_TRUE(report.contains("p"));  // the theory itself is still listed
  EXPECT_TRUE(JustifiedAssumptions().empty());

  option->trigger();
  EXPECT_EQ(ButtonCaptions(), (QStringList{"1", "2", "3"}));
  EXPECT_EQ(Form->StatusPanelText(1), "There are 3 dialectical interpretations.");
}

TEST_F(MainFormTest, ParseSentencesOffKeepsConditionalsElementary) {
  QAction* option = Child<QAction>("Parsesentences1");
  ASSERT_TRUE(option->isChecked());
  option->trigger();
  OpenTheory(kThreeWay);
  // Nine unrelated elementary sentences cannot attack each other.
  EXPECT_EQ(Form->StatusPanelText(1), "There is 1 dialectical interpretation.");
  EXPECT_TRUE(Form->InterpretationButtons().isEmpty());
  // The working file keeps the texts as elementary sentences; parsing them
  // again on the reload turns them into rules.
  option->trigger();
  EXPECT_EQ(Form->InterpretationButtons().size(), 3);
}

TEST_F(MainFormTest, PartsOfTheArgumentBecomeIssues) {
  OpenTheory({"if(a, b)"});
  const QStringList report = ViewLines("RichEdit2");
  const auto issues = report.indexOf("ISSUES");
  ASSERT_GE(issues, 0);
  const QStringList issueLines = report.mid(issues + 2, 2);
  EXPECT_EQ(std::set<QString>(issueLines.begin(), issueLines.end()), (std::set<QString>{"a", "b"}));
  // The file view is the file as rewritten before the parts became issues.
  EXPECT_TRUE(View("RichEdit1").contains("<CONDITIONAL>"));
  EXPECT_TRUE(View("RichEdit1").contains("<ISSUES>\n\n</ISSUES>"));
}

TEST_F(MainFormTest, UnreadableFileLeavesAnEmptyConsistentDocument) {
  OpenTheory(kThreeWay);
  ASSERT_EQ(Form->InterpretationButtons().size(), 3);
  Child<TDiagramView>("ScrollBox1")->SetTag(4);
  const std::string workingFile = ReadFile(PathOf("~tmp.kvl"));

  const QString missing = PathOf("missing.kvl");
  Open(missing);

  EXPECT_EQ(Dialogs.Errors, QStringList{"Cannot open file " + missing});
  EXPECT_TRUE(Form->Document().Theory().Assumptions.empty());
  EXPECT_TRUE(Form->Document().Theory().Issues.empty());
  EXPECT_TRUE(Form->Document().Interpretations().empty());
  EXPECT_TRUE(Form->InterpretationButtons().isEmpty());
  EXPECT_FALSE(ToolBar2Shown());
  EXPECT_EQ(Selection(), -1);
  EXPECT_EQ(Form->StatusPanelText(1), "");
  EXPECT_EQ(View("RichEdit1"), "");
  EXPECT_EQ(View("RichEdit2"), "");
  EXPECT_TRUE(Form->DiagramSentences().empty());
  // The abandoned load wrote nothing: the user's work is still in the working file.
  EXPECT_EQ(ReadFile(PathOf("~tmp.kvl")), workingFile);
}

TEST_F(MainFormTest, UnwritableWorkingFileAbandonsTheRefresh) {
  const QString theory = WriteFile("theory.kvl", ElementaryFile(kThreeWay));
  Open(theory);
  ASSERT_EQ(Form->InterpretationButtons().size(), 3);
  // A directory in the working file's place cannot be replaced, even by root.
  ASSERT_TRUE(QFile::remove(PathOf("~tmp.kvl")));
  ASSERT_TRUE(QDir().mkdir("~tmp.kvl"));

  Open(theory);

  EXPECT_EQ(Dialogs.Errors, QStringList{"Cannot create file ~tmp.kvl"});
  EXPECT_TRUE(Form->Document().Theory().Assumptions.empty());
  EXPECT_TRUE(Form->Document().File().Text.empty());
  EXPECT_TRUE(Form->InterpretationButtons().isEmpty());
  EXPECT_EQ(Selection(), -1);
  EXPECT_EQ(View("RichEdit1"), "");
  EXPECT_EQ(View("RichEdit2"), "");

  // File > New stops at the same error instead of loading a stale file.
  Dialogs.Errors.clear();
  Form->New1Click();
  EXPECT_EQ(Dialogs.Errors, QStringList{"Cannot create file ~tmp.kvl"});
  EXPECT_EQ(View("RichEdit2"), "");
}

TEST_F(MainFormTest, FileViewDecodesEachLineAsTheDiagramDoes) {
  OpenTheory({"caf\xe9", "na\xc3\xafve"});
  EXPECT_TRUE(View("RichEdit1").contains(QStringLiteral("caf\u00e9")));
  EXPECT_TRUE(View("RichEdit1").contains(QStringLiteral("na\u00efve"))) << "a UTF-8 line stays UTF-8";
  EXPECT_TRUE(View("RichEdit2").contains(QStringLiteral("na\u00efve")));
}

TEST_F(MainFormTest, StartUpInAnUnwritableDirectoryShowsOneError) {
  Form.reset();
  ASSERT_TRUE(QFile::remove(PathOf("~tmp.kvl")));
  ASSERT_TRUE(QDir().mkdir("~tmp.kvl"));
  Dialogs.Errors.clear();
  Form = std::make_unique<TMainForm>(Dialogs.Dialogs());
  EXPECT_EQ(Dialogs.Errors, QStringList{"Cannot create file ~tmp.kvl"});
  EXPECT_EQ(Form->windowTitle(), kInitialCaption);
  EXPECT_TRUE(Form->InterpretationButtons().isEmpty());
}

TEST_F(MainFormTest, SaveAsWritesTheRewrittenTheory) {
  OpenTheory({"p", "q", "p"});
  Dialogs.FilesToSave.push_back(PathOf("kept"));
  Form->Saveas1Click();

  EXPECT_TRUE(Dialogs.Errors.isEmpty());
  EXPECT_EQ(ReadFile(PathOf("kept.kvl")), ReadFile(PathOf("~tmp.kvl")));
  EXPECT_EQ(ReadFile(PathOf("kept.kvl")), ElementaryFile({"p", "q"}) + "\r\n");
  EXPECT_EQ(Form->windowTitle(), "Ostrel - kept.kvl");
  Child<QAction>("Showdialecticalnegations1")->trigger();
  EXPECT_EQ(Form->windowTitle(), "Ostrel - kept.kvl");

  // A typed extension is kept; the saved file opens as the same theory.
  Dialogs.FilesToSave.push_back(PathOf("other.txt"));
  Form->Saveas1Click();
  EXPECT_EQ(ReadFile(PathOf("other.txt")), ReadFile(PathOf("kept.kvl")));
  Form->New1Click();
  Open(PathOf("other.txt"));
  EXPECT_EQ(ViewLines("RichEdit2").mid(0, 4), (QStringList{"ASSUMPTIONS", "", "p", "q"}));
}

TEST_F(MainFormTest, SaveAsFailureIsReportedAndChangesNothing) {
  OpenTheory({"p"});
  const QString target = PathOf("no-such-directory/x.kvl");
  Dialogs.FilesToSave.push_back(target);
  Form->Saveas1Click();
  EXPECT_EQ(Dialogs.Errors, QStringList{"Cannot create file " + target});
  EXPECT_EQ(Form->windowTitle(), "Ostrel - theory.kvl");
  EXPECT_FALSE(Form->Document().Theory().Assumptions.empty());

  Dialogs.Errors.clear();
  Form->Saveas1Click();  // cancelled
  EXPECT_TRUE(Dialogs.Errors.isEmpty());
}

TEST_F(MainFormTest, MenusAndToolBarButtons) {
  const auto texts = [](const QList<QAction*>& actions) {
    QStringList list;
    for (const QAction* action : actions) list << (action->isSeparator() ? "-" : action->text());
    return list;
  };
  // The documented items first, then Save and Quit.
  EXPECT_EQ(
      texts(Child<QMenu>("File1")->actions()),
      (QStringList{"&New", "&Open...", "Save &as...", "E&xport diagram...", "-", "&Save", "-", "&Quit"}));
  EXPECT_EQ(texts(Child<QMenu>("Help1")->actions()), (QStringList{"&About Ostrel"}));
  const QStringList commands{"&Undo",
                             "&Redo",
                             "-",
                             "Set as &assumption",
                             "Set as &issue",
                             "-",
                             "&Change elementary sentence",
                             "Add c&onjunct",
                             "-",
                             "Add &elementary sentence",
                             "Add dialectical &negation",
                             "-",
                             "&Support",
                             "&Attack",
                             "-",
                             "&Delete",
                             "-",
                             "&Match",
                             "In&stantiate",
                             "-",
                             "&Properties"};
  EXPECT_EQ(texts(Child<QMenu>("Edit1")->actions()), commands);
  EXPECT_EQ(texts(Child<QMenu>("PopupMenu1")->actions()), commands);
  for (QAction* item : Child<QMenu>("Edit1")->actions()) {
    // Nothing to undo yet: the history's items and their separator are hidden.
    const bool shown =
        (item->isSeparator() && item->objectName() != "N13") || item->objectName() == "Addstatement2MenuITem";
    EXPECT_EQ(item->isVisible(), shown) << item->objectName().toStdString();
  }
  EXPECT_EQ(Form->PopupMenuItem(TEditCommand::Givesupport)->objectName(), "Givesupport1MenuItem");
  EXPECT_EQ(Form->EditMenuItem(TEditCommand::Properties)->objectName(), "Properties2MenuItem");
  EXPECT_TRUE(Form->PopupMenuItem(TEditCommand::Addstatement)->isVisible());

  EXPECT_EQ(texts(Child<QMenu>("Options1")->actions()),
            (QStringList{"&Show structure only", "&Parse sentences", "Show dialectical &negations"}));
  EXPECT_FALSE(Child<QAction>("Showstructureonly1")->isChecked());
  EXPECT_TRUE(Child<QAction>("Parsesentences1")->isChecked());
  EXPECT_TRUE(Child<QAction>("Showdialecticalnegations1")->isChecked());

  auto* toolBar = Child<QToolBar>("ToolBar1");
  QStringList buttons;
  for (QAction* action : toolBar->actions()) {
    auto* button = qobject_cast<QToolButton*>(toolBar->widgetForAction(action));
    ASSERT_NE(button, nullptr);
    if (action->isVisible()) buttons << button->objectName() + " " + button->text();
  }
  EXPECT_EQ(buttons, (QStringList{"ToolButton2 &File", "ToolButton3 &Edit", "ToolButton4 &Options",
                                  "ToolButton5 &Help"}));
  EXPECT_EQ(Child<QToolButton>("ToolButton1")->menu(), Child<QMenu>("Test1"));
  EXPECT_EQ(Child<QToolButton>("ToolButton3")->popupMode(), QToolButton::InstantPopup);
}

TEST_F(MainFormTest, EditorAndHiddenControlsStayInTheContainer) {
  Form->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(Form.get()));
  OpenTheory(kThreeWay);
  auto* view = Child<TDiagramView>("ScrollBox1");
  auto* editor = Child<QComboBox>("ComboBox1");
  EXPECT_TRUE(editor->isHidden());
  EXPECT_TRUE(Child<QWidget>("Edit2")->isHidden());
  EXPECT_EQ(editor->parentWidget(), view->viewport());
  EXPECT_EQ(view->backgroundBrush().color(), QColor(Qt::white));

  Form->resize(900, 640);
  QCoreApplication::processEvents();
  EXPECT_EQ(view->ChildGeometry(editor).width(), view->width() - 7);
}

// n pairs of mutual attacks: 2^n interpretations.
std::vector<std::string> IndependentConflicts(int n) {
  std::vector<std::string> texts;
  for (int i = 0; i < n; ++i) {
    const std::string p = "p" + std::to_string(i), q = "q" + std::to_string(i);
    texts.insert(texts.end(), {p, q, "if(" + p + ", x(" + q + "))", "if(" + q + ", x(" + p + "))"});
  }
  return texts;
}

TEST_F(MainFormTest, CancelInTheSearchDialogKeepsWhatWasFoundAndSaysSo) {
  Form->SetSearchDialogDelay(0);
  bool dialogSeen = false;
  // Fires from the events the search processes once its dialog is up.
  QTimer::singleShot(0, Form.get(), [&] {
    auto* dialog = Form->findChild<QProgressDialog*>(QStringLiteral("SearchProgressDialog"));
    if (dialog == nullptr) return;
    dialogSeen = dialog->isVisible() && dialog->isModal() &&
                 dialog->labelText().startsWith(QStringLiteral("Computing dialectical interpretations..."));
    dialog->cancel();
  });
  OpenTheory(IndependentConflicts(18));
  ASSERT_TRUE(dialogSeen);
  const auto found = Form->Document().Interpretations().size();
  EXPECT_TRUE(Form->Document().SearchStopped());
  EXPECT_LT(found, std::size_t{1} << 18);
  EXPECT_EQ(Form->StatusPanelText(1),
            QStringLiteral("Search stopped: %1 dialectical interpretation%2 found so far.")
                .arg(found)
                .arg(found == 1 ? "" : "s"));
  EXPECT_EQ(Form->InterpretationButtons().size(), found >= 2 ? static_cast<qsizetype>(found) : 0);
  EXPECT_EQ(Form->findChild<QProgressDialog*>(), nullptr) << "the dialog goes with its refresh";
}

// --- The refresh at scale: views filled when shown, buttons kept, items updated in place ---

std::vector<std::string> ManyClaims(int n, const std::string& prefix) {
  std::vector<std::string> texts;
  for (int i = 0; i < n; ++i) texts.push_back(prefix + " claim number " + std::to_string(i));
  return texts;
}

TEST_F(MainFormTest, LongTextViewsShowTheLatestRefreshWhenTheirPageIsShown) {
  auto* pages = Child<QTabWidget>("TextBasedKarvelPageControl");
  const auto fileText = [this] {
    QStringList lines;
    for (const std::string& line : Form->Document().FileLines()) lines << QString::fromStdString(line);
    return lines.join(QLatin1Char('\n'));
  };
  OpenTheory(ManyClaims(800, "first"));
  pages->setCurrentWidget(Child<QWidget>("FileTabSheet"));
  EXPECT_EQ(View("RichEdit1"), fileText());
  // What the user typed into a view goes with the next refresh, shown or not.
  Child<QTextEdit>("RichEdit1")->setPlainText(QStringLiteral("typed"));
  pages->setCurrentWidget(Child<QWidget>("TabSheet1"));
  OpenTheory(ManyClaims(900, "second"));
  pages->setCurrentWidget(Child<QWidget>("TheoryTabSheet"));
  QStringList expected;
  for (const std::string& line : Form->Document().TheoryViewLines()) expected << QString::fromStdString(line);
  ASSERT_EQ(ViewLines("RichEdit2"), expected);
  EXPECT_EQ(expected.at(2), "second claim number 0");
  pages->setCurrentWidget(Child<QWidget>("FileTabSheet"));
  EXPECT_EQ(View("RichEdit1"), fileText());
  // An abandoned refresh empties them too.
  pages->setCurrentWidget(Child<QWidget>("TabSheet1"));
  Dialogs.FilesToOpen.push_back(PathOf(QStringLiteral("missing.kvl")));
  Form->Open1Click();
  pages->setCurrentWidget(Child<QWidget>("TheoryTabSheet"));
  EXPECT_EQ(View("RichEdit2"), "");
}

TEST_F(MainFormTest, ButtonsFollowEachRefreshWhateverWasPressed) {
  OpenTheory(IndependentConflicts(3));
  Form->InterpretationButtons().at(5)->trigger();
  for (int conflicts : {2, 3, 1}) {
    OpenTheory(IndependentConflicts(conflicts));
    const QList<QAction*> buttons = Form->InterpretationButtons();
    ASSERT_EQ(buttons.size(), 1 << conflicts);
    for (int i = 0; i < buttons.size(); ++i) {
      EXPECT_EQ(buttons[i]->text(), QString::number(i + 1));
      EXPECT_EQ(buttons[i]->data().toInt(), i);
      EXPECT_EQ(buttons[i]->isChecked(), i == 0) << conflicts << " conflicts, button " << i + 1;
    }
    EXPECT_TRUE(ToolBar2Shown());
  }
  OpenTheory({"p"});
  EXPECT_TRUE(Form->InterpretationButtons().isEmpty());
  EXPECT_FALSE(ToolBar2Shown());
}

TEST_F(MainFormTest, ThousandsOfButtonsCanAllBeReached) {
  Form->resize(800, 600);
  Form->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(Form.get()));
  OpenTheory(IndependentConflicts(9));
  QCoreApplication::processEvents();
  auto* bar = Child<QScrollArea>("InterpretationBar");
  ASSERT_TRUE(bar->isVisible());
  ASSERT_GT(bar->horizontalScrollBar()->maximum(), 0);
  bar->horizontalScrollBar()->setValue(bar->horizontalScrollBar()->maximum());
  QCoreApplication::processEvents();
  auto* toolBar = Child<QToolBar>("ToolBar2");
  QWidget* last = toolBar->widgetForAction(Form->InterpretationButtons().constLast());
  ASSERT_NE(last, nullptr);
  EXPECT_TRUE(last->isVisible()) << "no button is left to an overflow menu";
  const QRect onScreen(last->mapTo(bar->viewport(), QPoint(0, 0)), last->size());
  EXPECT_TRUE(bar->viewport()->rect().contains(onScreen));
  QTest::mouseClick(last, Qt::LeftButton);
  EXPECT_TRUE(Form->InterpretationButtons().constLast()->isChecked());
}

// Every item of a scene, in stacking order, with all it shows and is.
QStringList SceneState(QGraphicsScene& scene) {
  QStringList state;
  const auto rect = [](const QRect& r) {
    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
  };
  // Siblings stack by z-value, then in the order they were added (which is
  // the order the scene lists them in without a spatial index); children
  // stack above their parent.
  QList<QGraphicsItem*> items;
  const auto stacked = [](QList<QGraphicsItem*> siblings) {
    std::stable_sort(siblings.begin(), siblings.end(), [](const QGraphicsItem* a, const QGraphicsItem* b) {
      return a->zValue() < b->zValue();
    });
    return siblings;
  };
  const std::function<void(const QList<QGraphicsItem*>&)> walk = [&](const QList<QGraphicsItem*>& siblings) {
    for (QGraphicsItem* item : stacked(siblings)) {
      items << item;
      walk(item->childItems());
    }
  };
  QList<QGraphicsItem*> topLevel;
  for (QGraphicsItem* item : scene.items(Qt::AscendingOrder))
    if (item->parentItem() == nullptr) topLevel << item;
  walk(topLevel);
  for (QGraphicsItem* item : items) {
    QString line = QString::number(item->type()) + (item->isVisible() ? " shown " : " hidden ");
    if (auto* shape = qgraphicsitem_cast<diagram::TShapeWithDoubleClicks*>(item)) {
      line += QStringLiteral("%1 %2 %3 tag %4 box %5 %6,%7")
                  .arg(rect(shape->Rect()), shape->Pen().color().name())
                  .arg(static_cast<int>(shape->Pen().style()))
                  .arg(shape->Tag())
                  .arg(shape->IsBox())
                  .arg(shape->Row())
                  .arg(shape->Column());
    } else if (auto* label = qgraphicsitem_cast<diagram::TDiagramLabel*>(item)) {
      line += QStringLiteral("%1 %2 %3 %4 %5")
                  .arg(rect(label->Rect()), label->Text(), label->Font().key(), label->Color().name())
                  .arg(label->IsOpaque());
    } else if (auto* stroke = qgraphicsitem_cast<diagram::TLine*>(item)) {
      line += QStringLiteral("%1,%2-%3,%4 %5 tag %6")
                  .arg(stroke->X1())
                  .arg(stroke->Y1())
                  .arg(stroke->X2())
                  .arg(stroke->Y2())
                  .arg(stroke->Color().name())
                  .arg(stroke->Tag());
    } else if (auto* image = qgraphicsitem_cast<diagram::TStatusImage*>(item)) {
      line += QStringLiteral("%1 icon %2").arg(rect(image->Rect())).arg(image->ImageIndex());
    } else if (diagram::IsDiagramGroup(item)) {
      line += QStringLiteral("run %1 of %2")
                  .arg(rect(item->boundingRect().toRect()))
                  .arg(item->childItems().size());
    }
    state << line;
  }
  state << QStringLiteral("extent %1").arg(rect(scene.sceneRect().toRect()));
  return state;
}

TEST_F(MainFormTest, AButtonRedrawsExactlyAsAFreshDrawingWould) {
  // Statuses change the fonts and so the widths of boxes, which moves what
  // stands to their right.
  OpenTheory({"p", "q", "if(p, x(q))", "if(q, x(p))", "if(p, a longer consequence)", "if(q, r)"}, {"s"});
  QGraphicsScene& shown = Child<TDiagramView>("ScrollBox1")->Scene();
  const auto fresh = [this, &shown] {
    QGraphicsScene scene;
    scene.setFont(shown.font());
    diagram::DrawDiagram(scene, Form->Document().ArgumentSentences(), 0, 0, Form->Document().Theory(),
                         Form->DiagramOptions(), diagram::TDiagramMetrics{});
    return SceneState(scene);
  };
  const QStringList first = SceneState(shown);
  ASSERT_EQ(first, fresh());
  Form->InterpretationButtons().at(1)->trigger();
  const QStringList second = SceneState(shown);
  EXPECT_NE(second, first);
  EXPECT_EQ(second, fresh());
  Form->InterpretationButtons().at(0)->trigger();
  EXPECT_EQ(SceneState(shown), first);
  // Shown before: the statuses come back without closing the interpretation anew.
  Form->InterpretationButtons().at(1)->trigger();
  EXPECT_EQ(SceneState(shown), second);
}

TEST_F(MainFormTest, ARefreshReusingTheItemsOfAnotherDrawingDrawsAsAFreshDrawingWould) {
  QGraphicsScene& shown = Child<TDiagramView>("ScrollBox1")->Scene();
  const auto fresh = [this] {
    QGraphicsScene scene;
    diagram::DrawDiagram(scene, Form->Document().ArgumentSentences(), 0, 0, Form->Document().Theory(),
                         Form->DiagramOptions(), diagram::TDiagramMetrics{});
    return SceneState(scene);
  };
  std::vector<std::string> many;
  for (int i = 0; i < 200; ++i)
    many.push_back("if(p" + std::to_string(i) + ", x(q" + std::to_string(i) + "))");
  // Growing, shrinking by a few items, by very many, and changing kinds of
  // controls in the middle: each keeps the order a fresh drawing stacks in.
  const std::vector<std::vector<std::string>> theories{
      {"a", "b"}, {"p", "if(p, q)", "x(q)", "if(q, r)"},   {"if(p, q)", "p"}, many,
      {"a"},      {"q", "if(q, x(p))", "p", "if(p, x(q))"}};
  for (const auto& theory : theories) {
    OpenTheory(theory, {"s"});
    EXPECT_EQ(SceneState(shown), fresh()) << theory.front();
    for (QGraphicsItem* item : shown.items())
      EXPECT_TRUE(diagram::IsDiagramItem(item)) << "no item of an earlier drawing is left";
  }
}

// What the view paints of the part in sight equals the same part of a fresh
// drawing: runs of items off screen are passed over, and only they.
void ExpectViewShows(TDiagramView& view, QGraphicsScene& fresh, const std::string& when) {
  QCoreApplication::processEvents();
  const QImage painted = view.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
  // A pixmap has the screen's resolution, which the fonts scale with.
  QPixmap rendered(painted.size());
  rendered.fill(Qt::white);
  {
    QPainter painter(&rendered);
    painter.setRenderHints(view.renderHints());
    fresh.render(&painter, QRectF(rendered.rect()),
                 QRectF(view.mapToScene(QPoint(0, 0)), QSizeF(rendered.size())));
  }
  const QImage expected = rendered.toImage().convertToFormat(QImage::Format_RGB32);
  QImage blank(expected.size(), QImage::Format_RGB32);
  blank.fill(Qt::white);
  ASSERT_NE(expected, blank) << when << ": the test must look at some of the diagram";
  EXPECT_EQ(painted, expected) << when;
}

TEST_F(MainFormTest, TheViewPaintsEveryItemInSightAfterRedrawsThatMoveThem) {
  Form->resize(800, 600);
  Form->show();
  auto& view = *Child<TDiagramView>("ScrollBox1");
  const auto expectShown = [this, &view](const std::string& when) {
    QGraphicsScene fresh;
    fresh.setFont(view.Scene().font());
    diagram::DrawDiagram(fresh, Form->Document().ArgumentSentences(), 0, 0, Form->Document().Theory(),
                         Form->DiagramOptions(), diagram::TDiagramMetrics{});
    ExpectViewShows(view, fresh, when);
  };
  std::vector<std::string> claims;
  for (int i = 0; i < 300; ++i) claims.push_back("claim " + std::to_string(i));
  const auto scrollToEnd = [&view] {
    QCoreApplication::processEvents();
    view.verticalScrollBar()->setValue(view.verticalScrollBar()->maximum());
  };
  OpenTheory(claims);
  scrollToEnd();
  expectShown("first drawing");
  // Forty rows more on top: every item moves down and into another run, and
  // the drawing needs a run more.
  std::vector<std::string> more;
  for (int i = 0; i < 40; ++i) more.push_back("new " + std::to_string(i));
  more.insert(more.end(), claims.begin(), claims.end());
  OpenTheory(more);
  scrollToEnd();
  expectShown("items taken over and moved");
  // Back to fewer rows, with longer texts: the same controls, wider.
  for (std::string& claim : claims) claim += " and then some more words";
  OpenTheory(claims);
  scrollToEnd();
  view.horizontalScrollBar()->setValue(view.horizontalScrollBar()->maximum());
  expectShown("items updated in place");
}

}  // namespace
}  // namespace ostrel
