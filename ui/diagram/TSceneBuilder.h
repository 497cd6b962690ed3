// Realises the layout's controls as graphics items in a scene whose
// coordinates are the container's, in creation order.
#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QString>
#include <array>
#include <string_view>

#include "TDiagramSink.h"

class QGraphicsScene;

namespace ostrel::diagram {

class TSceneBuilder final : public TDiagramSink {
 public:
  //! Labels take the scene's font (the window's), styled by status.
  explicit TSceneBuilder(QGraphicsScene& scene);

  int TextWidth(std::string_view text, TStatusLook look) override;
  void Add(const TDiagramControl& control) override;

  //! The label font of a look.
  [[nodiscard]] const QFont& FontOf(TStatusLook look) const;
  //! Label text and pen colour of a look.
  [[nodiscard]] static QColor ColorOf(TStatusLook look);

 private:
  const QString& Text(std::string_view text);

  QGraphicsScene& FScene;
  std::array<QFont, 4> FFonts;
  std::array<QFontMetrics, 4> FMetrics;
  // The layout measures a caption right before it creates the label.
  std::string_view FLastBytes;
  QString FLastText;
  bool FHasLast = false;
};

}  // namespace ostrel::diagram
