#include "TextBytes.h"

#include <QFile>
#include <QStringDecoder>

namespace ostrel {

QString TextFromBytes(std::string_view bytes) {
  const QByteArrayView view(bytes.data(), static_cast<qsizetype>(bytes.size()));
  QStringDecoder decoder(QStringDecoder::Utf8);
  QString text = decoder(view);
  if (decoder.hasError()) return QString::fromLatin1(view);
  return text;
}

std::string FileNameBytes(const QString& fileName) { return QFile::encodeName(fileName).toStdString(); }

}  // namespace ostrel
