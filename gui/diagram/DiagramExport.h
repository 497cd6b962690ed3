// Writing the drawn diagram to an image or a document: the scene's own items
// are rendered through Qt's SVG, PDF and raster paint devices, so a file shows
// what the container shows. The selection mark is painted by the view, not
// the scene, and never reaches a file.
#pragma once

#include <QSize>
#include <QString>

class QGraphicsScene;

namespace ostrel::diagram {

enum class TExportFormat { None, Svg, Png, Pdf };

//! White room around the diagram on every side, in container pixels.
inline constexpr int kExportMargin = 8;
//! Raster images are drawn at this multiple of the container's scale.
inline constexpr int kExportRasterScale = 2;

//! The format a file name's extension asks for (case-insensitive), else None.
TExportFormat ExportFormatOfFileName(const QString& fileName);

//! The part of the container a file shows: from (0, 0) to the far edges of
//! the diagram's visible items, without the scroll margin.
QSize ExportedExtent(const QGraphicsScene& container);

//! A raster image holds at most this many pixels (64 MiB at 4 bytes each,
//! within what image readers accept by default) and this many on a side; a
//! larger drawing is scaled down to fit.
inline constexpr qint64 kMaxExportPixels = qint64{1} << 24;
inline constexpr int kMaxExportSide = 1 << 16;

//! What an export did.
struct TExportOutcome {
  bool Written = false;
  //! Why nothing was written ("Cannot create file NAME", ...), or, when the
  //! image was written smaller than asked, what it shows; empty otherwise.
  QString Message;
};

//! Writes the whole diagram in the format, atomically: the file appears
//! complete or not at all. A PNG image too large to hold is scaled down to
//! fit, and the outcome says so.
TExportOutcome ExportDiagramFile(QGraphicsScene& container, const QString& fileName, TExportFormat format);
//! The same; false when it cannot be written.
bool ExportDiagram(QGraphicsScene& container, const QString& fileName, TExportFormat format);

}  // namespace ostrel::diagram
