#include "TSceneBuilder.h"

#include <QGraphicsScene>
#include <QPen>
#include <algorithm>
#include <functional>
#include <string>
#include <unordered_map>

#include "DisplayText.h"
#include "StatusIcons.h"
#include "TDiagramGroup.h"
#include "TDiagramLabel.h"
#include "TLine.h"
#include "TShapeWithDoubleClicks.h"
#include "TStatusImage.h"

namespace ostrel::diagram {

namespace {

std::size_t IndexOf(TStatusLook look) { return static_cast<std::size_t>(look); }

QFont StyledFont(QFont font, TStatusLook look) {
  switch (look) {
    case TStatusLook::Plain:
      break;
    case TStatusLook::Justified:
      font.setBold(true);
      break;
    case TStatusLook::Defeated:
      font.setBold(true);
      font.setStrikeOut(true);
      break;
    case TStatusLook::Neither:
      font.setItalic(true);
      break;
  }
  // Labels are sized with this very font: painted on a widget whose font
  // differs, no property may be taken from the widget's instead.
  font.setResolveMask(QFont::AllPropertiesResolved);
  return font;
}

}  // namespace

// Display texts and their widths by look, kept on the scene from one build to
// the next: a redraw shows mostly the captions it measured before.
class TTextCache final : public QObject {
 public:
  struct TEntry {
    QString Text;
    std::array<int, 4> Widths{-1, -1, -1, -1};
  };

  //! The scene's cache, made on first use and emptied when the scene's font
  //! changed or it has grown past any one argument's needs.
  static TTextCache& Of(QGraphicsScene& scene) {
    TTextCache* cache = nullptr;
    for (QObject* child : scene.children()) {
      if ((cache = dynamic_cast<TTextCache*>(child)) != nullptr) break;
    }
    if (cache == nullptr) cache = new TTextCache(&scene);  // owned by the scene
    const QString fontKey = scene.font().key();
    if (cache->FFontKey != fontKey || cache->FEntries.size() > kMaxEntries) {
      cache->FEntries.clear();
      cache->FFontKey = fontKey;
    }
    return *cache;
  }

  TEntry& Find(std::string_view bytes) {
    auto found = FEntries.find(bytes);
    if (found == FEntries.end())
      found = FEntries.emplace(std::string(bytes), TEntry{DisplayText(bytes)}).first;
    return found->second;
  }

 private:
  explicit TTextCache(QObject* owner) : QObject(owner) {}

  static constexpr std::size_t kMaxEntries = 1 << 18;
  struct THash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
  };
  std::unordered_map<std::string, TEntry, THash, std::equal_to<>> FEntries;
  QString FFontKey;
};

TSceneBuilder::TSceneBuilder(QGraphicsScene& scene, std::vector<TDiagramGroup*>* groups)
    : FScene(scene),
      FFonts{StyledFont(scene.font(), TStatusLook::Plain), StyledFont(scene.font(), TStatusLook::Justified),
             StyledFont(scene.font(), TStatusLook::Defeated), StyledFont(scene.font(), TStatusLook::Neither)},
      FMetrics{QFontMetrics(FFonts[0]), QFontMetrics(FFonts[1]), QFontMetrics(FFonts[2]),
               QFontMetrics(FFonts[3])},
      FCache(&TTextCache::Of(scene)),
      FGroups(groups != nullptr ? groups : &FOwnGroups) {
  // Shared pens: a pen made per item costs an allocation, and comparing
  // two copies of one pen is a pointer comparison.
  for (std::size_t i = 0; i < FFonts.size(); ++i) {
    FPens[i] = QPen(ColorOf(static_cast<TStatusLook>(i)));
    FPens[i + FFonts.size()] = QPen(ColorOf(static_cast<TStatusLook>(i)));
    FPens[i + FFonts.size()].setStyle(Qt::DotLine);
  }
}

const QFont& TSceneBuilder::FontOf(TStatusLook look) const { return FFonts[IndexOf(look)]; }

QColor TSceneBuilder::ColorOf(TStatusLook look) {
  switch (look) {
    case TStatusLook::Justified:
      return QColor(0, 0, 255);
    case TStatusLook::Defeated:
      return QColor(255, 0, 0);
    case TStatusLook::Neither:
      return QColor(0, 128, 128);
    case TStatusLook::Plain:
      break;
  }
  return QColor(0, 0, 0);
}

const QString& TSceneBuilder::Text(std::string_view bytes) { return FCache->Find(bytes).Text; }

int TSceneBuilder::TextWidth(std::string_view text, TStatusLook look) {
  TTextCache::TEntry& entry = FCache->Find(text);
  // Entries stay where they are while the builder lives.
  FMeasured = text;
  FMeasuredText = &entry.Text;
  int& width = entry.Widths[IndexOf(look)];
  if (width < 0) width = FMetrics[IndexOf(look)].horizontalAdvance(entry.Text);
  return width;
}

void TSceneBuilder::Add(const TDiagramControl& c) {
  QGraphicsItem* item = nullptr;
  switch (c.Kind) {
    case TControlKind::StatusImage:
      item = new TStatusImage(QPoint(), -1);
      break;
    case TControlKind::Label:
    case TControlKind::RepetitionMark:
      item = new TDiagramLabel(QPoint(), 0, 0, QString(), QFont(), QColor(), false);
      break;
    case TControlKind::Box:
    case TControlKind::ConnectorLine:
    case TControlKind::HitStrip:
      item = new TShapeWithDoubleClicks(QRect(), QPen(), 0);
      break;
    case TControlKind::Stroke:
      item = new TLine(0, 0, 0, 0, QColor(), 0);
      break;
  }
  // Include puts it into the scene, in its run.
  Reuse(item, c, MeasuredText(c.Caption));
}

const QString* TSceneBuilder::MeasuredText(std::string_view caption) const {
  const bool same =
      FMeasuredText != nullptr && caption.data() == FMeasured.data() && caption.size() == FMeasured.size();
  return same ? FMeasuredText : nullptr;
}

void TSceneBuilder::Reuse(QGraphicsItem* item, const TDiagramControl& c, const QString* text) {
  const QRect rect(c.Left, c.Top, c.Width, c.Height);
  switch (c.Kind) {
    case TControlKind::StatusImage:
      static_cast<TStatusImage*>(item)->Reset(rect.topLeft(), c.ImageIndex);
      break;
    case TControlKind::Label:
    case TControlKind::RepetitionMark: {
      // Marks keep the container's font and colour whatever the status.
      const bool label = c.Kind == TControlKind::Label;
      const TStatusLook look = label ? c.Look : TStatusLook::Plain;
      static_cast<TDiagramLabel*>(item)->Reset(rect.topLeft(), c.Width, FMetrics[IndexOf(look)].height(),
                                               text != nullptr ? *text : Text(c.Caption), FontOf(look),
                                               ColorOf(look), label);
      break;
    }
    case TControlKind::Box: {
      auto* box = static_cast<TShapeWithDoubleClicks*>(item);
      box->Reset(rect, FPens[IndexOf(c.Look)], c.Tag);
      box->SetBoxCell(c.Row, c.Column);
      break;
    }
    case TControlKind::ConnectorLine: {
      static_cast<TShapeWithDoubleClicks*>(item)->Reset(
          rect, FPens[IndexOf(c.Look) + (c.Dotted ? FFonts.size() : 0)], c.Tag);
      break;
    }
    case TControlKind::HitStrip:
      static_cast<TShapeWithDoubleClicks*>(item)->Reset(rect, FNoPen, c.Tag);
      break;
    case TControlKind::Stroke:
      static_cast<TLine*>(item)->Reset(c.X1, c.Y1, c.X2, c.Y2, ColorOf(c.Look), c.Tag);
      break;
  }
  // A box hidden for the in-place editor comes back with the drawing.
  if (!item->isVisible()) item->setVisible(true);
  switch (c.Kind) {
    case TControlKind::Box:
    case TControlKind::ConnectorLine:
    case TControlKind::HitStrip:
      // These items cover exactly their control's rectangle.
      Include(item, rect);
      break;
    case TControlKind::StatusImage:
      Include(item, QRect(rect.topLeft(), QSize(kStatusIconSize, kStatusIconSize)));
      break;
    default:
      Include(item, item->sceneBoundingRect().toAlignedRect());
      break;
  }
}

void TSceneBuilder::Include(QGraphicsItem* item, const QRect& bounds) {
  const std::size_t run = FItems.size() / TDiagramGroup::kSize;
  TDiagramGroup* group = GroupAt(run);
  if (item->parentItem() != group) item->setParentItem(group);
  Keep(item, bounds);
}

void TSceneBuilder::Keep(QGraphicsItem* item, const QRect& bounds) {
  const std::size_t run = FItems.size() / TDiagramGroup::kSize;
  if (run == FGroupBounds.size())
    FGroupBounds.push_back(bounds);
  else
    FGroupBounds[run] |= bounds;
  FItems.push_back(item);
  FBounds.push_back(bounds);
  FRight = std::max(FRight, bounds.right() + 1);
  FBottom = std::max(FBottom, bounds.bottom() + 1);
}

TDiagramGroup* TSceneBuilder::GroupAt(std::size_t index) {
  while (FGroups->size() <= index) {
    auto* group = new TDiagramGroup;
    FScene.addItem(group);  // owned by the scene
    FGroups->push_back(group);
  }
  return (*FGroups)[index];
}

void TSceneBuilder::FinishGroups() {
  for (std::size_t i = 0; i < FGroupBounds.size(); ++i) (*FGroups)[i]->SetBounds(FGroupBounds[i]);
  while (FGroups->size() > FGroupBounds.size()) {
    delete FGroups->back();
    FGroups->pop_back();
  }
}

}  // namespace ostrel::diagram
