#include "TSceneBuilder.h"

#include <QGraphicsScene>
#include <QPen>

#include "DisplayText.h"
#include "TDiagramLabel.h"
#include "TLine.h"
#include "TShapeWithDoubleClicks.h"
#include "TStatusImage.h"

namespace ostrel::diagram {

namespace {

std::size_t IndexOf(TStatusLook look) { return static_cast<std::size_t>(look); }

QFont StyledFont(QFont font, TStatusLook look) {
  switch (look) {
    case TStatusLook::Plain: break;
    case TStatusLook::Justified: font.setBold(true); break;
    case TStatusLook::Defeated:
      font.setBold(true);
      font.setStrikeOut(true);
      break;
    case TStatusLook::Neither: font.setItalic(true); break;
  }
  return font;
}

}  // namespace

TSceneBuilder::TSceneBuilder(QGraphicsScene& scene)
    : FScene(scene),
      FFonts{StyledFont(scene.font(), TStatusLook::Plain),
             StyledFont(scene.font(), TStatusLook::Justified),
             StyledFont(scene.font(), TStatusLook::Defeated),
             StyledFont(scene.font(), TStatusLook::Neither)},
      FMetrics{QFontMetrics(FFonts[0]), QFontMetrics(FFonts[1]), QFontMetrics(FFonts[2]),
               QFontMetrics(FFonts[3])} {}

const QFont& TSceneBuilder::FontOf(TStatusLook look) const { return FFonts[IndexOf(look)]; }

QColor TSceneBuilder::ColorOf(TStatusLook look) {
  switch (look) {
    case TStatusLook::Justified: return QColor(0, 0, 255);
    case TStatusLook::Defeated: return QColor(255, 0, 0);
    case TStatusLook::Neither: return QColor(0, 128, 128);
    case TStatusLook::Plain: break;
  }
  return QColor(0, 0, 0);
}

const QString& TSceneBuilder::Text(std::string_view bytes) {
  if (!FHasLast || bytes.data() != FLastBytes.data() || bytes.size() != FLastBytes.size()) {
    FLastText = DisplayText(bytes);
    FLastBytes = bytes;
    FHasLast = true;
  }
  return FLastText;
}

int TSceneBuilder::TextWidth(std::string_view text, TStatusLook look) {
  return FMetrics[IndexOf(look)].horizontalAdvance(Text(text));
}

void TSceneBuilder::Add(const TDiagramControl& c) {
  const QRect rect(c.Left, c.Top, c.Width, c.Height);
  QGraphicsItem* item = nullptr;
  switch (c.Kind) {
    case TControlKind::StatusImage:
      item = new TStatusImage(rect.topLeft(), c.ImageIndex);
      break;
    case TControlKind::Label:
    case TControlKind::RepetitionMark: {
      // Marks keep the container's font and colour whatever the status.
      const bool label = c.Kind == TControlKind::Label;
      const TStatusLook look = label ? c.Look : TStatusLook::Plain;
      item = new TDiagramLabel(rect.topLeft(), c.Width, FMetrics[IndexOf(look)].height(),
                               Text(c.Caption), FontOf(look), ColorOf(look), label);
      break;
    }
    case TControlKind::Box: {
      auto* box = new TShapeWithDoubleClicks(rect, QPen(ColorOf(c.Look)), c.Tag);
      box->SetBoxCell(c.Row, c.Column);
      item = box;
      break;
    }
    case TControlKind::ConnectorLine: {
      QPen pen(ColorOf(c.Look));
      if (c.Dotted) pen.setStyle(Qt::DotLine);
      item = new TShapeWithDoubleClicks(rect, pen, c.Tag);
      break;
    }
    case TControlKind::HitStrip:
      item = new TShapeWithDoubleClicks(rect, QPen(Qt::NoPen), c.Tag);
      break;
    case TControlKind::Stroke:
      item = new TLine(c.X1, c.Y1, c.X2, c.Y2, ColorOf(c.Look), c.Tag);
      break;
  }
  FScene.addItem(item);
}

}  // namespace ostrel::diagram
