#include "DiagramExport.h"

#include <QBuffer>
#include <QFileInfo>
#include <QGraphicsItem>
#include <QGraphicsScene>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QStringList>
#include <QSaveFile>
#include <QScreen>
#include <QSvgGenerator>
#include <QVariant>

#include <algorithm>

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

bool WriteSvg(QGraphicsScene& container, QIODevice& device, const QRectF& source, const QString& title) {
  QBuffer buffer;
  QSvgGenerator generator;
  generator.setOutputDevice(&buffer);
  generator.setResolution(ScreenDpi());
  generator.setSize(source.size().toSize());
  generator.setViewBox(QRectF(QPointF(0, 0), source.size()));
  generator.setTitle(title);
  QPainter painter;
  if (!painter.begin(&generator)) return false;
  Render(container, painter, QRectF(QPointF(0, 0), source.size()), source);
  if (!painter.end()) return false;
  // The generator names only a font's first family, which a viewer may lack
  // (the window's list starts with a font few Linux machines have); the
  // scene font's whole list and a generic family let it pick the same
  // substitute as the window, or at least a sans-serif one.
  QStringList families = container.font().families();
  if (families.isEmpty()) families << container.font().family();
  QString fallbacks;
  for (const QString& f : families) fallbacks += QStringLiteral(", ") + f;
  fallbacks += QStringLiteral(", sans-serif");
  const QString first = QStringLiteral("font-family=\"%1\"").arg(families.front().toHtmlEscaped());
  QByteArray svg = buffer.data();
  svg = QString::fromUtf8(svg)
            .replace(first, QStringLiteral("font-family=\"%1\"").arg(fallbacks.mid(2).toHtmlEscaped()))
            .toUtf8();
  return device.write(svg) == svg.size();
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

bool WritePng(QGraphicsScene& container, QIODevice& device, const QRectF& source) {
  QImage image(source.size().toSize() * kExportRasterScale, QImage::Format_RGB32);
  if (image.isNull()) return false;  // too large to allocate
  {
    QPainter painter(&image);
    Render(container, painter, QRectF(image.rect()), source);
  }
  // Printed at its own resolution the image keeps the screen's size.
  const int dotsPerMeter = qRound(ScreenDpi() * kExportRasterScale / 0.0254);
  image.setDotsPerMeterX(dotsPerMeter);
  image.setDotsPerMeterY(dotsPerMeter);
  return image.save(&device, "PNG");
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

bool ExportDiagram(QGraphicsScene& container, const QString& fileName, TExportFormat format) {
  if (format == TExportFormat::None) return false;
  const QRectF source = SourceRect(ExportedExtent(container));
  QSaveFile file(fileName);
  if (!file.open(QIODevice::WriteOnly)) return false;
  const QString title = QFileInfo(fileName).completeBaseName();
  bool written = false;
  switch (format) {
    case TExportFormat::Svg: written = WriteSvg(container, file, source, title); break;
    case TExportFormat::Pdf: written = WritePdf(container, file, source, title); break;
    case TExportFormat::Png: written = WritePng(container, file, source); break;
    case TExportFormat::None: break;
  }
  if (!written) {
    file.cancelWriting();
    return false;
  }
  return file.commit();
}

}  // namespace ostrel::diagram
