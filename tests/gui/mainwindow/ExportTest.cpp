// File > Export diagram and ostrel-export: the files hold the drawing the
// window shows, in its geometry, colours and texts, and the tool reports its
// errors as the window does.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QGraphicsScene>
#include <QImage>
#include <QProcess>
#include <QSet>
#include <QTest>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include "DiagramExport.h"
#include "EditingWindowTest.h"
#include "GuiTestSupport.h"
#include "TDiagramLabel.h"
#include "TDiagramView.h"
#include "TShapeWithDoubleClicks.h"
#include "WindowFont.h"

namespace ostrel {
namespace {

using testing::TScriptedDialogs;

const QString kExamples = QStringLiteral(OSTREL_EXAMPLES);

struct TRun {
  int ExitCode = -1;
  QString Error;
};

// Runs a program to its end in the directory.
TRun Run(const QString& program, const QStringList& arguments, const QString& directory = QString()) {
  QProcess process;
  process.setWorkingDirectory(directory);
  process.start(program, arguments);
  EXPECT_TRUE(process.waitForFinished(60000)) << program.toStdString();
  return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
          QString::fromLocal8Bit(process.readAllStandardError())};
}

TRun RunExport(const QStringList& arguments, const QString& directory = QString()) {
  return Run(QStringLiteral(OSTREL_EXPORT), arguments, directory);
}

class ExportTest : public testing::TEditingWindowTest {
 protected:
  void SetUp() override {
    // The program's font, as start-up sets it and as ostrel-export uses it.
    FFont = QApplication::font();
    QApplication::setFont(WindowFont());
    TEditingWindowTest::SetUp();
  }
  void TearDown() override {
    TEditingWindowTest::TearDown();
    QApplication::setFont(FFont);
  }

  void Open(const QString& example) {
    Dialogs.FilesToOpen.push_back(kExamples + QLatin1Char('/') + example);
    Form->Open1Click();
  }
  QString Export(const QString& name) {
    const QString path = PathOf(name);
    Dialogs.FilesToExport.push_back(path);
    Form->Exportdiagram1Click();
    return path;
  }
  QSet<QString> Captions() const {
    QSet<QString> captions;
    for (QGraphicsItem* item : View->Scene().items())
      if (auto* label = qgraphicsitem_cast<diagram::TDiagramLabel*>(item); label && label->IsOpaque())
        captions << label->Text();
    return captions;
  }

 private:
  QFont FFont;
};

QSet<QString> SvgTexts(const QString& path) {
  QFile file(path);
  EXPECT_TRUE(file.open(QIODevice::ReadOnly));
  QXmlStreamReader xml(&file);
  QSet<QString> texts;
  while (!xml.atEnd()) {
    if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("text"))
      texts << xml.readElementText();
  }
  EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
  return texts;
}

TEST_F(ExportTest, PngIsTheDiagramAtTwiceItsScaleWithItsStatusColours) {
  Open(QStringLiteral("birds.kvl"));
  const QString path = Export(QStringLiteral("birds.png"));
  ASSERT_TRUE(Dialogs.Errors.isEmpty()) << Dialogs.Errors.join(QStringLiteral("; ")).toStdString();
  const QImage image(path);
  ASSERT_FALSE(image.isNull());
  const QSize extent = diagram::ExportedExtent(View->Scene());
  ASSERT_GT(extent.width(), 100);
  const int m = diagram::kExportMargin, s = diagram::kExportRasterScale;
  EXPECT_EQ(image.size(), (extent + QSize(2 * m, 2 * m)) * s);

  // Every box's left edge, half-way down, in the box's status colour; the
  // margin is white.
  QSet<QRgb> colours;
  ASSERT_GE(Boxes().size(), 6u);
  for (const auto* box : Boxes()) {
    const QRect r = box->Rect();
    const QPoint edge((r.left() + m) * s, (r.top() + r.height() / 2 + m) * s);
    EXPECT_EQ(image.pixelColor(edge), box->Pen().color()) << r.x() << ',' << r.y();
    colours << box->Pen().color().rgb();
  }
  EXPECT_GE(colours.size(), 2) << "the example shows more than one status";
  EXPECT_EQ(image.pixelColor(m * s - 1, m * s - 1), QColor(Qt::white));
}

TEST_F(ExportTest, SvgAndPdfCarryEveryCaptionAsText) {
  Open(QStringLiteral("rules-about-rules.kvl"));
  const QSet<QString> captions = Captions();
  ASSERT_GE(captions.size(), 4);
  const QSet<QString> svg = SvgTexts(Export(QStringLiteral("diagram.svg")));
  for (const QString& caption : captions) EXPECT_TRUE(svg.contains(caption)) << caption.toStdString();

  const QString pdf = Export(QStringLiteral("diagram.PDF"));
  ASSERT_TRUE(Dialogs.Errors.isEmpty());
  QProcess info;
  info.start(QStringLiteral("pdfinfo"), {pdf});
  ASSERT_TRUE(info.waitForFinished(30000));
  EXPECT_TRUE(
      QString::fromLatin1(info.readAllStandardOutput()).contains(QRegularExpression("Pages:\\s+1\\n")));
  QProcess text;
  text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
  ASSERT_TRUE(text.waitForFinished(30000));
  const QString words = QString::fromUtf8(text.readAllStandardOutput());
  for (const QString& caption : captions) EXPECT_TRUE(words.contains(caption)) << caption.toStdString();
}

TEST_F(ExportTest, ToolDrawsWhatTheWindowShowsForThePressedInterpretation) {
  Open(QStringLiteral("three-interpretations.kvl"));
  const QImage first(Export(QStringLiteral("first.png")));
  const QList<QAction*> buttons = Form->InterpretationButtons();
  ASSERT_EQ(buttons.size(), 3);
  Form->InterpretationButtonClick(buttons[1]);
  const QImage second(Export(QStringLiteral("second.png")));
  ASSERT_FALSE(second.isNull());
  EXPECT_NE(first, second);

  const QString example = kExamples + QStringLiteral("/three-interpretations.kvl");
  ASSERT_EQ(RunExport({QStringLiteral("--interpretation"), QStringLiteral("2"), example,
                       PathOf(QStringLiteral("tool.png"))})
                .ExitCode,
            0);
  EXPECT_EQ(QImage(PathOf(QStringLiteral("tool.png"))).convertToFormat(second.format()), second);

  // The selection mark frames a box on screen but is no part of the file.
  const auto boxes = Boxes();
  ASSERT_FALSE(boxes.empty());
  QTest::mouseClick(View->viewport(), Qt::LeftButton, {},
                    View->mapFromScene(boxes.front()->Rect().topLeft() + QPoint(4, 10)));
  ASSERT_FALSE(View->SelectionMark().empty());
  EXPECT_EQ(QImage(Export(QStringLiteral("selected.png"))), second);
}

TEST_F(ExportTest, FailedWriteIsReportedAndLeavesNoFile) {
  Open(QStringLiteral("birds.kvl"));
  const QString path = PathOf(QStringLiteral("missing/diagram.svg"));
  Dialogs.FilesToExport.push_back(path);
  Form->Exportdiagram1Click();
  EXPECT_EQ(Dialogs.Errors, QStringList{QStringLiteral("Cannot create file ") + path});
  EXPECT_FALSE(QFile::exists(path));

  Dialogs.Errors.clear();
  Form->Exportdiagram1Click();  // cancelled
  EXPECT_TRUE(Dialogs.Errors.isEmpty());
}

TEST_F(ExportTest, ToolExitCodesAndMessages) {
  const QString example = kExamples + QStringLiteral("/three-interpretations.kvl");
  // Away from the window's working file.
  ASSERT_TRUE(QDir::current().mkdir(QStringLiteral("tool")));
  const QString directory = PathOf(QStringLiteral("tool"));
  const QString out = directory + QStringLiteral("/out.svg");
  for (const QStringList& arguments :
       {QStringList{QStringLiteral("--bogus"), example, out}, QStringList{example},
        QStringList{QStringLiteral("--interpretation"), QStringLiteral("4"), example, out},
        QStringList{QStringLiteral("--interpretation"), QStringLiteral("0"), example, out},
        QStringList{QStringLiteral("--structure-only"), QStringLiteral("--interpretation"),
                    QStringLiteral("2"), example, out},
        QStringList{example, PathOf(QStringLiteral("out.txt"))}}) {
    const TRun run = RunExport(arguments);
    EXPECT_EQ(run.ExitCode, 2) << arguments.join(QLatin1Char(' ')).toStdString();
    EXPECT_TRUE(run.Error.contains(QStringLiteral("Usage: ostrel-export ["))) << run.Error.toStdString();
  }
  EXPECT_FALSE(QFile::exists(out));

  const QString missing = PathOf(QStringLiteral("missing.kvl"));
  TRun run = RunExport({missing, out});
  EXPECT_EQ(run.ExitCode, 1);
  EXPECT_EQ(run.Error,
            QStringLiteral("ostrel-export: ") + missing + QStringLiteral(": No such file or directory\n"));

  const QString unwritable = PathOf(QStringLiteral("missing/out.pdf"));
  run = RunExport({example, unwritable});
  EXPECT_EQ(run.ExitCode, 1);
  EXPECT_TRUE(run.Error.endsWith(QStringLiteral("ostrel-export: ") + unwritable +
                                 QStringLiteral(": No such file or directory\n")))
      << run.Error.toStdString();

  run =
      RunExport({QStringLiteral("--no-parse"), QStringLiteral("--hide-negations"),
                 QStringLiteral("--interpretation"), QStringLiteral("3"), example, QStringLiteral("out.svg")},
                directory);
  EXPECT_EQ(run.ExitCode, 0) << run.Error.toStdString();
  EXPECT_FALSE(SvgTexts(out).isEmpty());
  // Only the requested file: the tool keeps no working copy.
  EXPECT_EQ(QDir(directory).entryList(QDir::Files), QStringList{QStringLiteral("out.svg")});
}

TEST_F(ExportTest, ADiagramTooLargeForAnImageIsScaledDownAndSaysSo) {
  // A support chain of 4,000 statements: at twice the window's scale the
  // image would be some 200,000 pixels tall.
  std::vector<std::string> texts{"s0"};
  for (int i = 1; i < 4000; ++i) {
    texts.push_back("s" + std::to_string(i));
    texts.push_back("if(s" + std::to_string(i) + ", s" + std::to_string(i - 1) + ")");
  }
  const QString theory = WriteFile(QStringLiteral("chain.kvl"), karvel::testing::ElementaryFile(texts));
  const QString png = PathOf(QStringLiteral("chain.png"));
  const TRun run = RunExport({theory, png});
  EXPECT_EQ(run.ExitCode, 0) << run.Error.toStdString();
  EXPECT_TRUE(
      run.Error.contains(QStringLiteral("The diagram is too large for an image at full size: ") + png))
      << run.Error.toStdString();
  const QImage image(png);
  ASSERT_FALSE(image.isNull());
  EXPECT_LE(image.height(), diagram::kMaxExportSide);
  EXPECT_LE(qint64{image.width()} * image.height(), diagram::kMaxExportPixels);
  EXPECT_GT(image.height(), image.width());

  // The window writes the same image and tells the user in the status bar.
  Dialogs.FilesToOpen.push_back(theory);
  Form->Open1Click();
  const QImage shown(Export(QStringLiteral("window.png")));
  EXPECT_EQ(shown.size(), image.size());
  EXPECT_TRUE(Dialogs.Errors.isEmpty());
  EXPECT_TRUE(Form->StatusPanelText(1).startsWith(QStringLiteral("The diagram is too large")));
}

}  // namespace
}  // namespace ostrel
