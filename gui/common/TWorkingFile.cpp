#include "TWorkingFile.h"

#include <QDir>
#include <QFileInfo>

namespace ostrel {

namespace {

const QString kLockName = QStringLiteral(".~tmp.kvl.lock");
// More private folders than windows anyone keeps open.
constexpr int kPrivateFolders = 64;

QString PrivateFolder(const QString& root, int n) {
  return QDir(root).filePath(n == 1 ? QStringLiteral("working") : QStringLiteral("working-%1").arg(n));
}

}  // namespace

TWorkingFile::~TWorkingFile() = default;

bool TWorkingFile::TryTake(const QString& folder, bool& writable) {
  auto lock = std::make_unique<QLockFile>(QDir(folder).filePath(kLockName));
  // A window holds its lock for as long as it runs: age says nothing.
  lock->setStaleLockTime(0);
  if (lock->tryLock(0)) {
    writable = true;
    FLock = std::move(lock);
    FFolder = QDir(folder).absolutePath();
    return true;
  }
  writable = lock->error() == QLockFile::LockFailedError;
  return false;
}

TWorkingFile TWorkingFile::Choose(const QString& startFolder, const QString& privateRoot, bool privateOnly) {
  TWorkingFile file;
  bool writable = false;
  if (!privateOnly) {
    if (file.TryTake(startFolder, writable)) return file;
    file.FReason = writable ? TReason::Held : TReason::NotWritable;
  } else {
    file.FReason = TReason::Asked;
  }
  const TReason reason = file.FReason;
  if (QDir().mkpath(privateRoot)) {
    for (int n = 1; n <= kPrivateFolders; ++n) {
      const QString folder = PrivateFolder(privateRoot, n);
      if (!QDir().mkpath(folder)) break;
      // Only this user's windows may read what is being argued.
      QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
      if (file.TryTake(folder, writable)) {
        file.FReason = reason;
        file.FFileName = QDir(file.FFolder).filePath(QString::fromLatin1(kTemporaryFileName));
        return file;
      }
      if (!writable) break;
    }
  }
  // Nowhere to keep a file of its own: the usual name, whose first write
  // tells the user.
  file.FReason = TReason::None;
  file.FFolder = QDir(startFolder).absolutePath();
  file.FFileName = QString::fromLatin1(kTemporaryFileName);
  return file;
}

QString TWorkingFile::Notice() const {
  const QString where = QDir::toNativeSeparators(FFolder);
  switch (FReason) {
    case TReason::None:
      return {};
    case TReason::Asked:
      return QStringLiteral("The working file is kept in %1.").arg(where);
    case TReason::Held:
      return QStringLiteral("Another window works on ~tmp.kvl here; this one keeps its working file in %1.")
          .arg(where);
    case TReason::NotWritable:
      return QStringLiteral("This folder cannot be written; the working file is kept in %1.").arg(where);
  }
  return {};
}

}  // namespace ostrel
