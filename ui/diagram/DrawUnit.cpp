// The diagram's drawn-sentence list, and building and removing its items.
#include "DrawUnit.h"

#include <QCoreApplication>
#include <QGraphicsScene>
#include <algorithm>

#include "DiagramItemTypes.h"
#include "TDiagramLayout.h"
#include "TSceneBuilder.h"

namespace ostrel::diagram {

karvel::TListOfKarvelSentences DiagramSentences;
int DiagramRowCount = 0;

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

int DrawDiagramInto(QGraphicsScene& container, const karvel::TListOfKarvelSentences& sentences, int firstRow,
                    int column, karvel::TKarvelTheory& theory, const TDiagramOptions& options,
                    karvel::TListOfKarvelSentences& drawn) {
  TSceneBuilder builder(container);
  TDiagramLayout layout(builder, theory, options, TDiagramMetrics::Current());
  const int rowCount = layout.DrawDiagram(sentences, firstRow, column, drawn);
  // The new items are visible and top-level, so the extent grows by theirs:
  // no pass over the whole scene.
  ExtendDiagramExtent(container, builder.Right(), builder.Bottom());
  return rowCount;
}

namespace {

// Keeps the layout's controls, so that they can be matched against the items
// of the drawing before any item changes.
class TRecordingSink final : public TDiagramSink {
 public:
  explicit TRecordingSink(TSceneBuilder& builder) : FBuilder(builder) {}
  int TextWidth(std::string_view text, TStatusLook look) override { return FBuilder.TextWidth(text, look); }
  void Add(const TDiagramControl& control) override { Controls.push_back(control); }

  std::vector<TDiagramControl> Controls;

 private:
  TSceneBuilder& FBuilder;
};

}  // namespace

void RedrawDiagram(QGraphicsScene& container, const karvel::TListOfKarvelSentences& sentences,
                   karvel::TKarvelTheory& theory, const TDiagramOptions& options,
                   std::vector<QGraphicsItem*>& items) {
  TSceneBuilder builder(container);
  TRecordingSink recording(builder);
  // A redraw mostly has as many controls as the drawing it replaces.
  recording.Controls.reserve(items.size());
  TDiagramLayout layout(recording, theory, options, TDiagramMetrics::Current());
  DiagramRowCount = layout.DrawDiagram(sentences, 0, 0, DiagramSentences);
  const std::vector<TDiagramControl>& controls = recording.Controls;
  const bool sameKinds =
      items.size() == controls.size() &&
      std::equal(items.begin(), items.end(), controls.begin(), [](const QGraphicsItem* item, const TDiagramControl& c) {
        return TSceneBuilder::MadeFor(item, c.Kind);
      });
  if (sameKinds) {
    for (std::size_t i = 0; i < controls.size(); ++i) builder.Reuse(items[i], controls[i]);
    UpdateDiagramExtentTo(container, builder.Right(), builder.Bottom());
  } else {
    RemoveDiagramItems(container);
    for (const TDiagramControl& control : controls) builder.Add(control);
    ExtendDiagramExtent(container, builder.Right(), builder.Bottom());
  }
  items = builder.Items();
}

void DrawDiagram(QGraphicsScene& container, const karvel::TListOfKarvelSentences& sentences, int firstRow,
                 int column, karvel::TKarvelTheory& theory, const TDiagramOptions& options) {
  DiagramRowCount = DrawDiagramInto(container, sentences, firstRow, column, theory, options, DiagramSentences);
}

}  // namespace ostrel::diagram
