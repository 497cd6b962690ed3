// Realises the layout's controls as graphics items in a scene whose
// coordinates are the container's, in creation order, in runs under groups.
#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QPen>
#include <QString>
#include <array>
#include <string_view>
#include <vector>

#include "TDiagramSink.h"

class QGraphicsItem;
class QGraphicsScene;

namespace ostrel::diagram {

class TDiagramGroup;
class TTextCache;

class TSceneBuilder final : public TDiagramSink {
 public:
  //! Labels take the scene's font (the window's), styled by status. groups:
  //! the runs of an earlier drawing to put the items in, grown or cut to this
  //! drawing's by FinishGroups; null for new ones of this build's own.
  explicit TSceneBuilder(QGraphicsScene& scene, std::vector<TDiagramGroup*>* groups = nullptr);

  int TextWidth(std::string_view text, TStatusLook look) override;
  void Add(const TDiagramControl& control) override;
  //! Gives an item made for a control of the same kind the state Add would
  //! have given it, in place: it keeps its place in the stacking order.
  //! text: the caption's display text when the caller has it (see
  //! MeasuredText), else it is looked up.
  void Reuse(QGraphicsItem* item, const TDiagramControl& control, const QString* text = nullptr);
  //! Takes an item as it is: it already shows its control, at bounds, in
  //! the run of its place.
  void Keep(QGraphicsItem* item, const QRect& bounds);
  //! The display text of the caption measured last, if caption is that very
  //! text (the layout measures a label just before it adds it).
  [[nodiscard]] const QString* MeasuredText(std::string_view caption) const;

  //! Gives each run its items' rectangle and deletes the runs past the last
  //! item. Call once every item is in place and every surplus one deleted.
  void FinishGroups();

  //! The items added, in creation order, and their places.
  [[nodiscard]] const std::vector<QGraphicsItem*>& Items() const { return FItems; }
  [[nodiscard]] std::vector<QRect> TakeBounds() { return std::move(FBounds); }
  //! The far edges of the items added (0 when none).
  [[nodiscard]] int Right() const { return FRight; }
  [[nodiscard]] int Bottom() const { return FBottom; }

  //! The label font of a look.
  [[nodiscard]] const QFont& FontOf(TStatusLook look) const;
  //! Label text and pen colour of a look.
  [[nodiscard]] static QColor ColorOf(TStatusLook look);

 private:
  const QString& Text(std::string_view text);
  //! Puts the item in the run of its place in creation order. bounds: its
  //! place in the scene.
  void Include(QGraphicsItem* item, const QRect& bounds);
  TDiagramGroup* GroupAt(std::size_t index);

  QGraphicsScene& FScene;
  std::array<QFont, 4> FFonts;
  std::array<QFontMetrics, 4> FMetrics;
  // Solid pens by look, then dotted ones.
  std::array<QPen, 8> FPens;
  QPen FNoPen{Qt::NoPen};
  TTextCache* FCache;
  std::vector<QGraphicsItem*> FItems;
  std::vector<QRect> FBounds;
  std::vector<TDiagramGroup*> FOwnGroups;
  std::vector<TDiagramGroup*>* FGroups;
  std::vector<QRect> FGroupBounds;
  std::string_view FMeasured;
  const QString* FMeasuredText = nullptr;
  int FRight = 0, FBottom = 0;
};

}  // namespace ostrel::diagram
