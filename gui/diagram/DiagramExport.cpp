#include "DiagramExport.h"

#include <QByteArray>
#include <QFileInfo>
#include <QGraphicsItem>
#include <QGraphicsScene>
#include <QGuiApplication>
#include <QIODevice>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QScreen>
#include <QStringList>
#include <QSvgGenerator>
#include <QVariant>

#include <algorithm>
#include <cmath>
#include <utility>

#include "DrawUnit.h"

namespace ostrel::diagram {

namespace {

// The layout measures text at the screen's resolution; a device that draws
// the text at another one would make it overrun or undershoot its box.
int ScreenDpi() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen != nullptr ? qRound(screen->logicalDotsPerInchY()) : 96;
}

// Everything the diagram occupies plus the margin, in container coordinates.
QRectF SourceRect(const QSize& extent) {
  return QRectF(-kExportMargin, -kExportMargin, extent.width() + 2 * kExportMargin,
                extent.height() + 2 * kExportMargin);
}

void Render(QGraphicsScene& container, QPainter& painter, const QRectF& target, const QRectF& source) {
  painter.setRenderHint(QPainter::TextAntialiasing);
  painter.fillRect(target, Qt::white);
  container.render(&painter, target, source, Qt::IgnoreAspectRatio);
}

// Passes what is written on to a device, with every occurrence of one byte
// string replaced by another, holding back only what may begin one.
class TReplacingDevice final : public QIODevice {
 public:
  TReplacingDevice(QIODevice& target, QByteArray from, QByteArray to)
      : FTarget(target), FFrom(std::move(from)), FTo(std::move(to)) {
    open(QIODevice::WriteOnly);
  }
  //! Writes what is held back; false when any write failed.
  bool Finish() {
    FOk = FOk && FTarget.write(FHeld) == FHeld.size();
    FHeld.clear();
    return FOk;
  }

 protected:
  qint64 readData(char*, qint64) override { return -1; }
  qint64 writeData(const char* data, qint64 size) override {
    FHeld.append(data, size);
    QByteArray out;
    qsizetype from = 0;
    for (qsizetype at = FHeld.indexOf(FFrom); at >= 0; at = FHeld.indexOf(FFrom, from)) {
      out.append(FHeld.constData() + from, at - from).append(FTo);
      from = at + FFrom.size();
    }
    // A tail shorter than the string may be the start of one.
    const qsizetype keep = std::min<qsizetype>(FHeld.size() - from, FFrom.size() - 1);
    out.append(FHeld.constData() + from, FHeld.size() - from - keep);
    FHeld.remove(0, FHeld.size() - keep);
    if (FOk && !out.isEmpty()) FOk = FTarget.write(out) == out.size();
    return FOk ? size : -1;
  }

 private:
  QIODevice& FTarget;
  QByteArray FFrom, FTo, FHeld;
  bool FOk = true;
};

bool WriteSvg(QGraphicsScene& container, QIODevice& device, const QRectF& source, const QString& title) {
  // The generator names only a font's first family, which a viewer may lack
  // (the window's list starts with a font few Linux machines have); the
  // scene font's whole list and a generic family let it pick the same
  // substitute as the window, or at least a sans-serif one. The output
  // goes to the file as it is made, replaced on the way.
  QStringList families = container.font().families();
  if (families.isEmpty()) families << container.font().family();
  QString fallbacks;
  for (const QString& f : families) fallbacks += QStringLiteral(", ") + f;
  fallbacks += QStringLiteral(", sans-serif");
  const QString first = QStringLiteral("font-family=\"%1\"").arg(families.front().toHtmlEscaped());
  TReplacingDevice replacing(
      device, first.toUtf8(),
      QStringLiteral("font-family=\"%1\"").arg(fallbacks.mid(2).toHtmlEscaped()).toUtf8());
  QSvgGenerator generator;
  generator.setOutputDevice(&replacing);
  generator.setResolution(ScreenDpi());
  generator.setSize(source.size().toSize());
  generator.setViewBox(QRectF(QPointF(0, 0), source.size()));
  generator.setTitle(title);
  QPainter painter;
  if (!painter.begin(&generator)) return false;
  Render(container, painter, QRectF(QPointF(0, 0), source.size()), source);
  return painter.end() && replacing.Finish();
}

bool WritePdf(QGraphicsScene& container, QIODevice& device, const QRectF& source, const QString& title) {
  const int dpi = ScreenDpi();
  QPdfWriter writer(&device);
  writer.setResolution(dpi);
  writer.setCreator(QStringLiteral("Ostrel"));
  writer.setTitle(title);
  // One page exactly the size of the drawing: one container pixel is one
  // device unit.
  const QSizeF points(source.width() * 72.0 / dpi, source.height() * 72.0 / dpi);
  writer.setPageLayout(QPageLayout(QPageSize(points, QPageSize::Point, QString(), QPageSize::ExactMatch),
                                   QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
  QPainter painter;
  if (!painter.begin(&writer)) return false;
  Render(container, painter, QRectF(QPointF(0, 0), source.size()), source);
  return painter.end();
}

// The scale a raster image is drawn at: kExportRasterScale, or less where
// the image would hold more pixels than kMaxExportPixels, or more than
// kMaxExportSide on a side.
double RasterScale(const QSizeF& source) {
  double scale = kExportRasterScale;
  const double width = source.width() * scale, height = source.height() * scale;
  scale *= std::min({1.0, kMaxExportSide / width, kMaxExportSide / height,
                     std::sqrt(static_cast<double>(kMaxExportPixels) / (width * height))});
  return scale;
}

TExportOutcome WritePng(QGraphicsScene& container, QIODevice& device, const QRectF& source,
                        const QString& fileName) {
  TExportOutcome outcome;
  const double scale = RasterScale(source.size());
  const QSize size(std::max(1, static_cast<int>(source.width() * scale)),
                   std::max(1, static_cast<int>(source.height() * scale)));
  QImage image(size, QImage::Format_RGB32);
  if (image.isNull()) {
    outcome.Message = QStringLiteral("Not enough memory for the image ") + fileName;
    return outcome;
  }
  // In bands of rows, each a view of the image's own memory: the raster
  // engine sets up each label's clip over the whole height of the device it
  // paints, which on one tall device costs time with the square of the
  // diagram's length.
  constexpr int kBandRows = 512;
  const double rowsPerUnit = size.height() / source.height();
  for (int top = 0; top < size.height(); top += kBandRows) {
    const int rows = std::min(kBandRows, size.height() - top);
    QImage band(image.scanLine(top), size.width(), rows, image.bytesPerLine(), image.format());
    QPainter painter(&band);
    const QRectF bandSource(source.left(), source.top() + top / rowsPerUnit, source.width(),
                            rows / rowsPerUnit);
    Render(container, painter, QRectF(0, 0, size.width(), rows), bandSource);
  }
  // Printed at its own resolution the image keeps the screen's size.
  const int dotsPerMeter = qRound(ScreenDpi() * scale / 0.0254);
  image.setDotsPerMeterX(dotsPerMeter);
  image.setDotsPerMeterY(dotsPerMeter);
  if (!image.save(&device, "PNG")) {
    outcome.Message = QStringLiteral("Cannot create file ") + fileName;
    return outcome;
  }
  outcome.Written = true;
  if (scale < kExportRasterScale)
    outcome.Message = QStringLiteral(
                          "The diagram is too large for an image at full size: %1 shows it at %2% of "
                          "the window's scale, %3 by %4 pixels.")
                          .arg(fileName)
                          .arg(qRound(100 * scale))
                          .arg(size.width())
                          .arg(size.height());
  return outcome;
}

}  // namespace

TExportFormat ExportFormatOfFileName(const QString& fileName) {
  const QString suffix = QFileInfo(fileName).suffix().toLower();
  if (suffix == QLatin1String("svg")) return TExportFormat::Svg;
  if (suffix == QLatin1String("png")) return TExportFormat::Png;
  if (suffix == QLatin1String("pdf")) return TExportFormat::Pdf;
  return TExportFormat::None;
}

QSize ExportedExtent(const QGraphicsScene& container) {
  const QVariant kept = container.property("ostrelDiagramExtent");
  if (kept.isValid()) return kept.toSize();
  return VisibleItemsExtent(container);
}

TExportOutcome ExportDiagramFile(QGraphicsScene& container, const QString& fileName, TExportFormat format) {
  const QString cannotCreate = QStringLiteral("Cannot create file ") + fileName;
  if (format == TExportFormat::None) return {false, cannotCreate};
  const QRectF source = SourceRect(ExportedExtent(container));
  QSaveFile file(fileName);
  if (!file.open(QIODevice::WriteOnly)) return {false, cannotCreate};
  const QString title = QFileInfo(fileName).completeBaseName();
  TExportOutcome outcome;
  switch (format) {
    case TExportFormat::Svg:
      outcome.Written = WriteSvg(container, file, source, title);
      break;
    case TExportFormat::Pdf:
      outcome.Written = WritePdf(container, file, source, title);
      break;
    case TExportFormat::Png:
      outcome = WritePng(container, file, source, fileName);
      break;
    case TExportFormat::None:
      break;
  }
  if (!outcome.Written) {
    file.cancelWriting();
    if (outcome.Message.isEmpty()) outcome.Message = cannotCreate;
    return outcome;
  }
  if (!file.commit()) return {false, cannotCreate};
  return outcome;
}

bool ExportDiagram(QGraphicsScene& container, const QString& fileName, TExportFormat format) {
  return ExportDiagramFile(container, fileName, format).Written;
}

}  // namespace ostrel::diagram
