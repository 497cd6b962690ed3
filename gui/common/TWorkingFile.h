// Where a window keeps its working file. "~tmp.kvl" in the folder the
// program starts in is the working file whenever that folder can be written
// and no other running window holds it; otherwise, or when asked, the window
// keeps it in a private folder of its own, so that two windows never
// overwrite each other's work. A lock beside the file says who holds it; a
// lock left by a window that crashed is taken over.
#pragma once

#include <QLockFile>
#include <QString>

#include <memory>

#include "TheoryDocument.h"

namespace ostrel {

class TWorkingFile final {
 public:
  //! Why a window works in a private folder.
  enum class TReason { None, Asked, Held, NotWritable };

  //! Takes "~tmp.kvl" in startFolder unless privateOnly, else the first
  //! private folder under privateRoot ("working", "working-2", ...) that no
  //! other window holds. Never fails: with nothing writable at all it names
  //! the start folder's file unlocked, and the first write says so.
  static TWorkingFile Choose(const QString& startFolder, const QString& privateRoot, bool privateOnly);

  TWorkingFile(TWorkingFile&&) noexcept = default;
  TWorkingFile& operator=(TWorkingFile&&) noexcept = default;
  TWorkingFile(const TWorkingFile&) = delete;
  TWorkingFile& operator=(const TWorkingFile&) = delete;
  ~TWorkingFile();

  //! The working file as the document opens it: "~tmp.kvl" in the start
  //! folder, a full path in a private one.
  [[nodiscard]] const QString& FileName() const { return FFileName; }
  [[nodiscard]] const QString& Folder() const { return FFolder; }
  [[nodiscard]] bool IsPrivate() const { return FReason != TReason::None; }
  [[nodiscard]] TReason Reason() const { return FReason; }
  //! Whether this window holds the lock on its working file.
  [[nodiscard]] bool Locked() const { return FLock != nullptr; }
  //! What the status bar says once about a private working file ("" when
  //! the working file is the usual one).
  [[nodiscard]] QString Notice() const;

 private:
  TWorkingFile() = default;
  //! Locks folder/"~tmp.kvl" for this window; false when another holds it
  //! or the folder cannot be written.
  bool TryTake(const QString& folder, bool& writable);

  QString FFileName = QString::fromLatin1(kTemporaryFileName);
  QString FFolder;
  TReason FReason = TReason::None;
  std::unique_ptr<QLockFile> FLock;
};

}  // namespace ostrel
