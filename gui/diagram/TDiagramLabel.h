// The text of a sentence box (opaque, in the status font) or the "..." mark
// of a repetition (transparent). Sized to its text; takes no presses.
#pragma once

#include <QColor>
#include <QFont>
#include <QGraphicsItem>
#include <QString>

#include "DiagramItemTypes.h"

namespace ostrel::diagram {

class TDiagramLabel final : public QGraphicsItem {
 public:
  enum { Type = kLabelItemType };

  //! width and height are the label's size, taken from the font by the caller.
  TDiagramLabel(const QPoint& topLeft, int width, int height, const QString& text, const QFont& font,
                const QColor& color, bool opaque);

  //! Takes the state a new label with these arguments would have, repainting
  //! only what changed.
  void Reset(const QPoint& topLeft, int width, int height, const QString& text, const QFont& font,
             const QColor& color, bool opaque);

  [[nodiscard]] int type() const override { return Type; }
  [[nodiscard]] QRectF boundingRect() const override;
  void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

  [[nodiscard]] const QString& Text() const { return FText; }
  [[nodiscard]] const QFont& Font() const { return FFont; }
  [[nodiscard]] const QColor& Color() const { return FColor; }
  [[nodiscard]] bool IsOpaque() const { return FOpaque; }
  //! The control's rectangle in container coordinates.
  [[nodiscard]] QRect Rect() const;

 private:
  QSize FSize;
  QString FText;
  QFont FFont;
  QColor FColor;
  bool FOpaque;
};

}  // namespace ostrel::diagram
