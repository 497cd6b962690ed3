// The Qt side of the diagram: the items a build creates, their order, looks
// and pixels, hit-testing, and the removal before a rebuild.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QImage>
#include <QPainter>

#include "DisplayText.h"
#include "DrawUnit.h"
#include "KarvelUnit.h"
#include "StatusIcons.h"
#include "TDiagramLabel.h"
#include "TLine.h"
#include "TShapeWithDoubleClicks.h"
#include "TStatusImage.h"

namespace ostrel::diagram {
namespace {

using karvel::TKarvelSentence;

class DrawUnitTest : public ::testing::Test {
 protected:
  void SetUp() override { InitDiagramMetrics(metrics); }

  void Argument(std::initializer_list<std::string> texts) {
    karvel::TSentenceCollector collector(sentences);
    for (const std::string& text : texts) collector.Collect(karvel::ParseSentence(text, theory.Arena()));
  }
  TKarvelSentence* Entry(const std::string& text) {
    return sentences.at(karvel::IndexOfText(sentences, text));
  }
  void Draw() { plan = DrawDiagram(scene, sentences, 0, 0, theory, options, metrics); }
  int TagOf(const std::string& text) { return karvel::IndexOfText(plan.DiagramSentences, text); }

  template <typename T>
  std::vector<T*> ItemsOf() {
    std::vector<T*> found;
    for (QGraphicsItem* item : scene.items(Qt::AscendingOrder))
      if (auto* typed = qgraphicsitem_cast<T*>(item)) found.push_back(typed);
    return found;
  }
  TShapeWithDoubleClicks* BoxOf(const std::string& text) {
    for (TShapeWithDoubleClicks* shape : ItemsOf<TShapeWithDoubleClicks>())
      if (shape->IsBox() && shape->Tag() == TagOf(text)) return shape;
    return nullptr;
  }
  TDiagramLabel* LabelOf(const std::string& text) {
    for (TDiagramLabel* label : ItemsOf<TDiagramLabel>())
      if (label->Text() == QString::fromStdString(text)) return label;
    return nullptr;
  }
  QImage Render() {
    const QRect extent = scene.sceneRect().toAlignedRect();
    QImage image(extent.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    scene.render(&painter, QRectF(extent), QRectF(extent));
    return image;
  }

  karvel::TKarvelTheory theory;
  karvel::TListOfKarvelSentences sentences;
  TDiagramOptions options;
  QGraphicsScene scene;
  TDiagramMetrics metrics;
  TDiagramPlan plan;
};

const QColor kTeal(0, 128, 128), kRed(255, 0, 0), kBlue(0, 0, 255);

// --- Items of a build ----------------------------------------------------------

TEST_F(DrawUnitTest, ItemsAreCreatedInOrderWithTagsAndCells) {
  Argument({"s", "a", "b", "c", "if(a, b, s)", "if(c, x(s))"});
  Draw();
  ASSERT_EQ(plan.DiagramSentences.size(), 6u);
  EXPECT_EQ(plan.DiagramRowCount, 4);
  std::vector<int> types;
  for (QGraphicsItem* item : scene.items(Qt::AscendingOrder))
    if (!IsDiagramGroup(item)) types.push_back(item->type());
  const int image = TStatusImage::Type, label = TDiagramLabel::Type, shape = TShapeWithDoubleClicks::Type,
            stroke = TLine::Type;
  EXPECT_EQ(types, (std::vector<int>{image, label, shape,                         // s
                                     shape, shape, shape, shape, stroke, stroke,  // the attack
                                     image, label, shape,                         // c
                                     shape, shape, shape, shape, stroke, stroke,  // the support
                                     image, label, shape, image, label,  shape,   // a, b
                                     shape, shape, shape, shape}));               // the link
  TShapeWithDoubleClicks* boxC = BoxOf("c");
  ASSERT_NE(boxC, nullptr);
  EXPECT_EQ(boxC->Rect().topLeft(), QPoint(38, 32));
  EXPECT_EQ(boxC->Rect().height(), 22);
  EXPECT_EQ(boxC->Row(), 1);
  EXPECT_EQ(boxC->Column(), 2);
  EXPECT_GE(BoxOf("s")->Rect().width(), 36);
  // Lines and strips are shapes without a cell.
  for (TShapeWithDoubleClicks* shape : ItemsOf<TShapeWithDoubleClicks>())
    if (!shape->IsBox()) {
      EXPECT_EQ(shape->Row() + shape->Column(), 0);
    }
}

TEST_F(DrawUnitTest, LabelTakesTheStatusFontAndSizesTheBox) {
  scene.setFont(QFont("DejaVu Sans", 8));
  Argument({"justified one", "defeated one", "open one"});
  Entry("justified one")->IsJustified = true;
  Entry("defeated one")->IsDefeated = true;
  Draw();
  const QFont base = scene.font();
  struct TCase {
    std::string text;
    QColor color;
    bool bold, italic, strikeOut;
  };
  for (const TCase& c :
       {TCase{"justified one", kBlue, true, false, false}, TCase{"defeated one", kRed, true, false, true},
        TCase{"open one", kTeal, false, true, false}}) {
    SCOPED_TRACE(c.text);
    TDiagramLabel* label = LabelOf(c.text);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->Color(), c.color);
    EXPECT_EQ(label->Font().family(), base.family());
    EXPECT_EQ(label->Font().pointSize(), base.pointSize());
    EXPECT_EQ(label->Font().bold(), c.bold);
    EXPECT_EQ(label->Font().italic(), c.italic);
    EXPECT_EQ(label->Font().strikeOut(), c.strikeOut);
    EXPECT_TRUE(label->IsOpaque());
    const int width = QFontMetrics(label->Font()).horizontalAdvance(label->Text());
    EXPECT_EQ(label->Rect().width(), width);
    EXPECT_EQ(label->Rect().height(), QFontMetrics(label->Font()).height());
    // Text padding on both sides, one pixel, and the icon's room.
    EXPECT_EQ(BoxOf(c.text)->Rect().width(), std::max(width + 11 + 16, 18));
    EXPECT_EQ(BoxOf(c.text)->Pen().color(), c.color);
  }
}

TEST_F(DrawUnitTest, DefeatedRuleHasDottedLinesAndSolidOutlines) {
  Argument({"s", "if(a, s)", "if(b, x(s))"});
  Entry("if(b, x(s))")->IsDefeated = true;
  Entry("s")->IsDefeated = true;
  Draw();
  int dotted = 0, solid = 0, invisible = 0;
  for (TShapeWithDoubleClicks* shape : ItemsOf<TShapeWithDoubleClicks>()) {
    if (shape->IsBox()) {
      EXPECT_EQ(shape->Pen().style(), Qt::SolidLine);
      continue;
    }
    switch (shape->Pen().style()) {
      case Qt::DotLine:
        ++dotted;
        EXPECT_EQ(shape->Tag(), TagOf("if(b, x(s))"));
        EXPECT_EQ(shape->Pen().color(), kRed);
        break;
      case Qt::SolidLine:
        ++solid;
        EXPECT_EQ(shape->Tag(), TagOf("if(a, s)"));
        break;
      case Qt::NoPen:
        ++invisible;
        break;
      default:
        ADD_FAILURE() << "unexpected pen";
    }
  }
  EXPECT_EQ(dotted, 2);
  EXPECT_EQ(solid, 2);
  EXPECT_EQ(invisible, 4);
  for (TLine* stroke : ItemsOf<TLine>())
    if (stroke->Tag() == TagOf("if(b, x(s))")) {
      EXPECT_EQ(stroke->Color(), kRed);
    }
  EXPECT_EQ(BoxOf("s")->Pen().color(), kRed);
}

TEST_F(DrawUnitTest, StructureOnlyUsesTheSceneFontAndBlackSolidPens) {
  options.ShowStructureOnly = true;
  Argument({"s", "if(a, s)"});
  Entry("if(a, s)")->IsDefeated = true;
  Draw();
  EXPECT_TRUE(ItemsOf<TStatusImage>().empty());
  for (TDiagramLabel* label : ItemsOf<TDiagramLabel>()) {
    EXPECT_EQ(label->Font(), scene.font());
    EXPECT_EQ(label->Color(), QColor(Qt::black));
  }
  for (TShapeWithDoubleClicks* shape : ItemsOf<TShapeWithDoubleClicks>()) {
    if (shape->Pen().style() == Qt::NoPen) continue;
    EXPECT_EQ(shape->Pen().style(), Qt::SolidLine);
    EXPECT_EQ(shape->Pen().color(), QColor(Qt::black));
  }
  EXPECT_EQ(LabelOf("s")->Rect().left(), 7);
}

TEST_F(DrawUnitTest, IconShowsTheRoleIssueWinning) {
  TKarvelSentence* both = karvel::ParseSentence("both", theory.Arena());
  both->IsAssumption = both->IsIssue = true;
  theory.Assumptions = {karvel::ParseSentence("assumed", theory.Arena())};
  theory.Assumptions[0]->IsAssumption = true;
  sentences = {theory.Assumptions[0], both, karvel::ParseSentence("asked", theory.Arena())};
  Draw();
  std::vector<int> indexes;
  for (TStatusImage* image : ItemsOf<TStatusImage>()) indexes.push_back(image->ImageIndex());
  EXPECT_EQ(indexes, (std::vector<int>{0, 1, 1}));
  EXPECT_EQ(ItemsOf<TStatusImage>()[0]->Rect(), QRect(4, 5, 16, 16));
}

// --- Hit-testing -------------------------------------------------------------

TEST_F(DrawUnitTest, PressResolvesToTheTopmostItem) {
  Argument({"s", "a", "b", "c", "if(a, b, s)", "if(c, x(s))"});
  Draw();
  const int support = TagOf("if(a, b, s)"), attack = TagOf("if(c, x(s))");
  struct TCase {
    QPoint point;
    TDiagramHitTarget target;
    int tag;
    const char* what;
  };
  const TCase cases[] = {
      {{24, 10}, TDiagramHitTarget::Box, 0, "on s's text, above its label"},
      {{8, 12}, TDiagramHitTarget::Box, 0, "on s's icon"},
      {{37, 23}, TDiagramHitTarget::Box, 0, "the box's last pixel"},
      {{38, 23}, TDiagramHitTarget::None, -1, "one past the box"},
      {{9, 25}, TDiagramHitTarget::Connector, support, "the support's arrowhead"},
      {{7, 40}, TDiagramHitTarget::Connector, support, "the support's strip, off the line"},
      {{6, 40}, TDiagramHitTarget::None, -1, "just outside the strip"},
      {{27, 24}, TDiagramHitTarget::Connector, attack, "the attack's cross"},
      {{30, 42}, TDiagramHitTarget::Connector, attack, "the attack's turn strip"},
      {{15, 103}, TDiagramHitTarget::Connector, support, "the link's turn"},
      {{45, 40}, TDiagramHitTarget::Box, TagOf("c"), "on c"},
      {{200, 200}, TDiagramHitTarget::None, -1, "free space"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.what);
    const TDiagramHit hit = DiagramHitAt(scene, c.point);
    EXPECT_EQ(hit.Target, c.target);
    EXPECT_EQ(hit.Tag, c.tag);
  }
  const TDiagramHit onA = DiagramHitAt(scene, {30, 70});
  EXPECT_EQ(onA.Row, 2);
  EXPECT_EQ(onA.Column, 1);
  EXPECT_EQ(onA.Rect, BoxOf("a")->Rect());
}

TEST_F(DrawUnitTest, MarkInTheGapTakesNoPressAndHiddenBoxesNone) {
  Argument({"s", "if(s, s)"});
  Draw();
  // The "..." of the repeated s reaches below its box, into the row gap.
  EXPECT_EQ(DiagramHitAt(scene, {45, 56}).Target, TDiagramHitTarget::Inert);
  TShapeWithDoubleClicks* repeated = ItemsOf<TShapeWithDoubleClicks>().back();
  ASSERT_TRUE(repeated->IsBox());
  EXPECT_EQ(DiagramHitAt(scene, {21, 33}).Target, TDiagramHitTarget::Box);
  repeated->setVisible(false);
  // With the box hidden (the editor over it), its label is on top.
  EXPECT_EQ(DiagramHitAt(scene, {45, 40}).Target, TDiagramHitTarget::Inert);
  EXPECT_EQ(DiagramHitAt(scene, {21, 33}).Target, TDiagramHitTarget::None);
}

TEST_F(DrawUnitTest, ForeignItemOnTopIsReportedAsOther) {
  Argument({"s"});
  Draw();
  auto* editor = scene.addRect(QRectF(2, 3, 100, 21));
  editor->setZValue(1);
  EXPECT_EQ(DiagramHitAt(scene, {10, 10}).Target, TDiagramHitTarget::Other);
}

// --- Pixels ------------------------------------------------------------------

TEST_F(DrawUnitTest, RenderedPixelsFollowTheGeometry) {
  Argument({"s", "a", "b", "c", "if(a, b, s)", "if(c, x(s))"});
  Draw();
  const QImage image = Render();
  auto at = [&](int x, int y) { return QColor(image.pixel(x, y)); };
  // Box outline inside its rectangle.
  EXPECT_EQ(at(2, 2), kTeal);
  EXPECT_EQ(at(2, 23), kTeal);
  EXPECT_EQ(at(1, 2), QColor(Qt::white));
  EXPECT_EQ(at(2, 24), QColor(Qt::white));
  // The support's line, its turn, and the arrowhead's two arms.
  EXPECT_EQ(at(9, 40), kTeal);
  EXPECT_EQ(at(19, 73), kTeal);
  EXPECT_EQ(at(20, 73), kTeal);  // the box of a begins here
  EXPECT_EQ(at(13, 28), kTeal);
  EXPECT_EQ(at(5, 28), kTeal);
  EXPECT_EQ(at(4, 29), QColor(Qt::white));  // a line leaves out its end point
  // The status icon's white square hides nothing but itself.
  EXPECT_EQ(at(4, 5), QColor(Qt::white));
}

TEST_F(DrawUnitTest, DottedLineLeavesGapsThatOverlappingSegmentsKeep) {
  Argument({"s", "a", "b", "if(a, b, s)"});
  Entry("if(a, b, s)")->IsDefeated = true;
  Draw();
  const QImage image = Render();
  // The rule's line (y 24..42) and the link to b (y 24..72) overlap at x 9.
  int set = 0, gaps = 0;
  std::string column;
  for (int y = 24; y < 73; ++y) {
    const bool red = QColor(image.pixel(9, y)) == kRed;
    (red ? set : gaps)++;
    column += red ? '#' : '.';
  }
  SCOPED_TRACE(column);
  EXPECT_EQ(set, 17);
  EXPECT_EQ(gaps, 32);
  for (int y = 24; y < 43; ++y) EXPECT_EQ(QColor(image.pixel(9, y)) == kRed, (9 + y) % 3 == 0) << y;
  // The phase follows the container, not the line's own corner.
  for (int x = 10; x < 20; ++x) EXPECT_EQ(QColor(image.pixel(x, 73)) == kRed, (x + 73) % 3 == 0) << x;
}

TEST_F(DrawUnitTest, StrokePaintsTheDiagonalThatJoinsItsEnds) {
  // Given from the top-right to the bottom-left, it paints from its bounds'
  // bottom-left towards the top-right corner.
  TLine stroke(20, 30, 15, 35, kBlue, 0);
  EXPECT_EQ(stroke.Rect(), QRect(15, 30, 5, 5));
  EXPECT_FALSE(stroke.FallsToTheRight());
  EXPECT_EQ(stroke.Pixels(), (std::vector<QPoint>{{1, 4}, {2, 3}, {3, 2}, {4, 1}}));
  TLine falling(10, 10, 15, 15, kBlue, 0);
  EXPECT_TRUE(falling.FallsToTheRight());
  EXPECT_EQ(falling.Pixels(), (std::vector<QPoint>{{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}}));
  TLine reversed(15, 15, 10, 10, kBlue, 0);
  EXPECT_EQ(reversed.Pixels(), falling.Pixels());
}

TEST_F(DrawUnitTest, IconsAreMarksOnTransparentGround) {
  for (int index = 0; index < kStatusIconCount; ++index) {
    const QImage icon = StatusIcon(index).toImage();
    ASSERT_EQ(icon.size(), QSize(16, 16));
    EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0);
    int inked = 0;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) inked += qAlpha(icon.pixel(x, y)) == 255;
    EXPECT_GT(inked, 10);
  }
  EXPECT_NE(StatusIcon(0).toImage(), StatusIcon(1).toImage());
}

// --- Rebuilds ------------------------------------------------------------------

TEST_F(DrawUnitTest, RemovalKeepsForeignItemsAndRebuildRefillsTheList) {
  Argument({"s", "if(a, s)"});
  Draw();
  auto* foreign = scene.addRect(QRectF(0, 0, 10, 10));
  const karvel::TListOfKarvelSentences list = plan.DiagramSentences;
  RemoveDiagramItems(scene);
  ASSERT_EQ(scene.items().size(), 1);
  EXPECT_EQ(scene.items().front(), foreign);
  Draw();
  EXPECT_EQ(plan.DiagramSentences, list);
  EXPECT_EQ(plan.DiagramSentences.size(), 3u);
  EXPECT_EQ(ItemsOf<TShapeWithDoubleClicks>().size(), 6u);
  // The extent runs from the origin to the far edge plus the bottom margin.
  EXPECT_EQ(scene.sceneRect().topLeft(), QPointF(0, 0));
  EXPECT_EQ(scene.sceneRect().bottom(), 54 + 3);
}

TEST_F(DrawUnitTest, ADrawingFromALaterRowHasAPlanOfItsOwn) {
  Argument({"s"});
  Draw();
  const std::size_t items = scene.items().size();
  karvel::TListOfKarvelSentences other = {karvel::ParseSentence("m", theory.Arena())};
  const TDiagramPlan second = DrawDiagram(scene, other, 3, 0, theory, options, metrics);
  EXPECT_EQ(second.DiagramRowCount, 4);
  ASSERT_EQ(second.DiagramSentences.size(), 1u);
  EXPECT_EQ(second.DiagramSentences.front()->Text, "m");
  // Both drawings stand in the container.
  EXPECT_GT(scene.items().size(), items);
}

TEST(DisplayTextTest, Utf8WhenValidElseLatin1) {
  EXPECT_EQ(DisplayText("caf\xc3\xa9"), QString::fromUtf8("caf\xc3\xa9"));
  EXPECT_EQ(DisplayText("caf\xe9"), QString::fromLatin1("caf\xe9"));
  EXPECT_EQ(DisplayText("plain"), QStringLiteral("plain"));
}

}  // namespace
}  // namespace ostrel::diagram
