// Drawing a plan of the argument as the container's items, and removing them.
#include "DrawUnit.h"

#include <QCoreApplication>
#include <QGraphicsScene>
#include <algorithm>
#include <array>

#include "DiagramItemTypes.h"
#include "DiagramPlan.h"
#include "TDiagramLabel.h"
#include "TLine.h"
#include "TSceneBuilder.h"
#include "TShapeWithDoubleClicks.h"
#include "TStatusImage.h"

namespace ostrel::diagram {

void RemoveDiagramItems(QGraphicsScene& container) {
  // Deleting items one at a time costs a search of the scene's lists per
  // item, quadratic on a large diagram; clearing is linear. So the few items
  // that are not the diagram's are taken out, the scene cleared, and they are
  // put back in their stacking order.
  std::vector<QGraphicsItem*> kept;
  bool any = false;
  const QList<QGraphicsItem*> items = container.items(Qt::AscendingOrder);
  for (QGraphicsItem* item : items) {
    if (item->parentItem() != nullptr) continue;
    if (IsDiagramItem(item))
      any = true;
    else
      kept.push_back(item);
  }
  if (!any) return;
  // Items added since the event loop last ran wait in a list of items to
  // polish that every single removal searches; polishing them first keeps a
  // second rebuild within one command linear.
  QCoreApplication::sendPostedEvents(&container, QEvent::MetaCall);
  for (QGraphicsItem* item : kept) container.removeItem(item);
  container.clear();
  for (QGraphicsItem* item : kept) container.addItem(item);
  UpdateDiagramExtent(container);
}

TDiagramPlan DrawDiagram(QGraphicsScene& container, const karvel::TListOfKarvelSentences& sentences,
                         int firstRow, int column, const karvel::TKarvelTheory& theory,
                         const TDiagramOptions& options, const TDiagramMetrics& metrics) {
  TSceneBuilder builder(container);
  TDiagramPlan plan = PlanDiagram(sentences, theory, options, metrics, builder, firstRow, column);
  builder.FinishGroups();
  // The new items are visible and top-level, so the extent grows by theirs:
  // no pass over the whole scene.
  ExtendDiagramExtent(container, builder.Right(), builder.Bottom());
  plan.Controls = {};
  return plan;
}

namespace {

// Measures with the scene's fonts and keeps each control's caption as
// measured, so that the plan's controls can be matched against the items of
// the drawing before any item changes.
class TMeasuringSink final : public TDiagramSink {
 public:
  explicit TMeasuringSink(TSceneBuilder& builder) : FBuilder(builder) {}
  int TextWidth(std::string_view text, TStatusLook look) override { return FBuilder.TextWidth(text, look); }
  void Add(const TDiagramControl& control) override {
    Texts.push_back(FBuilder.MeasuredText(control.Caption));
  }

  //! Each control's caption text as measured, or null.
  std::vector<const QString*> Texts;

 private:
  TSceneBuilder& FBuilder;
};

}  // namespace

namespace {

// Items are reused across drawings by type; controls of one type share one.
constexpr std::size_t kItemTypes = 4;

std::size_t TypeIndexOf(TControlKind kind) {
  switch (kind) {
    case TControlKind::StatusImage:
      return 0;
    case TControlKind::Label:
    case TControlKind::RepetitionMark:
      return 1;
    case TControlKind::Box:
    case TControlKind::ConnectorLine:
    case TControlKind::HitStrip:
      return 2;
    case TControlKind::Stroke:
      return 3;
  }
  return 3;
}

// Whether an item showing one control shows the other without a change;
// never for controls with a caption, which is not compared.
bool SameControl(const TDiagramControl& a, const TDiagramControl& b) {
  if (a.Kind == TControlKind::Label || a.Kind == TControlKind::RepetitionMark) return false;
  return a.Kind == b.Kind && a.Left == b.Left && a.Top == b.Top && a.Width == b.Width &&
         a.Height == b.Height && a.Tag == b.Tag && a.Row == b.Row && a.Column == b.Column &&
         a.Look == b.Look && a.Dotted == b.Dotted && a.ImageIndex == b.ImageIndex && a.X1 == b.X1 &&
         a.Y1 == b.Y1 && a.X2 == b.X2 && a.Y2 == b.Y2;
}

// Removing one item searches the scene's lists, so only a few are removed
// one at a time; beyond that the scene is cleared and the drawing rebuilt.
constexpr std::size_t kMaxSingleRemovals = 256;

}  // namespace

TDiagramPlan RedrawDiagram(QGraphicsScene& container, const karvel::TListOfKarvelSentences& sentences,
                           const karvel::TKarvelTheory& theory, const TDiagramOptions& options,
                           const TDiagramMetrics& metrics, TDiagramItems& drawing) {
  const std::vector<QGraphicsItem*>& items = drawing.Items;
  TSceneBuilder builder(container, &drawing.Groups);
  TMeasuringSink recording(builder);
  // A redraw mostly has as many controls as the drawing it replaces.
  recording.Texts.reserve(items.size());
  TDiagramPlan plan = PlanDiagram(sentences, theory, options, metrics, recording);
  const std::vector<TDiagramControl>& controls = plan.Controls;
  const auto finish = [&] {
    builder.FinishGroups();
    drawing.Items = builder.Items();
    drawing.Bounds = builder.TakeBounds();
    drawing.Controls = std::move(plan.Controls);
    plan.Controls = {};
    for (TDiagramControl& control : drawing.Controls) control.Caption = {};
    drawing.SomeHidden = false;
    return std::move(plan);
  };
  const std::vector<TDiagramControl>& before = drawing.Controls;
  // A drawing's items, controls and places are set together (finish).
  const bool sameKinds =
      before.size() == controls.size() && std::equal(before.begin(), before.end(), controls.begin(),
                                                     [](const TDiagramControl& a, const TDiagramControl& b) {
                                                       return TypeIndexOf(a.Kind) == TypeIndexOf(b.Kind);
                                                     });
  if (sameKinds) {
    // After a change of interpretation most controls are as they were: their
    // items are not touched at all, which on a large drawing is most of the
    // redraw. Captions are not kept, so labels and marks are always updated.
    for (std::size_t i = 0; i < controls.size(); ++i) {
      if (!drawing.SomeHidden && SameControl(before[i], controls[i]))
        builder.Keep(items[i], drawing.Bounds[i]);
      else
        builder.Reuse(items[i], controls[i], recording.Texts[i]);
    }
    UpdateDiagramExtentTo(container, builder.Right(), builder.Bottom());
    return finish();
  }

  // Another drawing: each control takes the next unused item of its type,
  // which is far cheaper than deleting every item and making new ones.
  std::array<std::vector<QGraphicsItem*>, kItemTypes> pools;
  for (std::size_t j = 0; j < items.size(); ++j) pools[TypeIndexOf(before[j].Kind)].push_back(items[j]);
  std::array<std::size_t, kItemTypes> needed{};
  for (const TDiagramControl& control : controls) ++needed[TypeIndexOf(control.Kind)];
  std::size_t surplus = 0;
  for (std::size_t k = 0; k < kItemTypes; ++k)
    surplus += pools[k].size() - std::min(pools[k].size(), needed[k]);
  if (surplus > kMaxSingleRemovals) {
    RemoveDiagramItems(container);
    drawing.Groups.clear();  // the scene deleted them
    for (const TDiagramControl& control : controls) builder.Add(control);
    ExtendDiagramExtent(container, builder.Right(), builder.Bottom());
    return finish();
  }
  std::array<std::size_t, kItemTypes> used{};
  for (std::size_t i = 0; i < controls.size(); ++i) {
    const std::size_t k = TypeIndexOf(controls[i].Kind);
    if (used[k] < pools[k].size()) {
      builder.Reuse(pools[k][used[k]++], controls[i], recording.Texts[i]);
    } else {
      builder.Add(controls[i]);
    }
    // Reused items were created in another order: the stacking follows the
    // controls, as in a fresh drawing (within a run; the runs stack in order).
    builder.Items().back()->setZValue(static_cast<qreal>(i));
  }
  for (std::size_t k = 0; k < kItemTypes; ++k) {
    for (std::size_t j = pools[k].size(); j-- > used[k];) delete pools[k][j];
  }
  UpdateDiagramExtentTo(container, builder.Right(), builder.Bottom());
  return finish();
}

}  // namespace ostrel::diagram
