#include "FileNameBytes.h"

#include <QFile>

namespace ostrel {

std::string FileNameBytes(const QString& fileName) { return QFile::encodeName(fileName).toStdString(); }

}  // namespace ostrel
