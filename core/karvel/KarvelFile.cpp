// Theory files on disk: whole-file reading with line-end normalisation, and
// atomic replacement on writing.
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <initializer_list>
#include <new>
#include <random>
#include <string>
#include <vector>

#include "KarvelSyntax.h"
#include "KarvelTheory.h"

namespace karvel {

namespace {

std::string MessageFor(TFileError::TKind kind, const std::string& fileName) {
  switch (kind) {
    case TFileError::TKind::Open:
      return "Cannot open file " + fileName;
    case TFileError::TKind::Create:
      return "Cannot create file " + fileName;
    case TFileError::TKind::TooLarge:
      return "File too large: " + fileName;
    case TFileError::TKind::OutOfMemory:
      return "Not enough memory to read " + fileName;
  }
  return fileName;
}

TWriteFaults* gWriteFaults = nullptr;

// Closes a descriptor on every path out of a function.
class TFileDescriptor {
 public:
  explicit TFileDescriptor(int fd) : FFd(fd) {}
  TFileDescriptor(const TFileDescriptor&) = delete;
  TFileDescriptor& operator=(const TFileDescriptor&) = delete;
  ~TFileDescriptor() { Close(); }
  [[nodiscard]] int Get() const { return FFd; }
  bool Close() {
    const int fd = FFd;
    FFd = -1;
    return fd < 0 || ::close(fd) == 0;
  }

 private:
  int FFd;
};

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    if (gWriteFaults != nullptr && gWriteFaults->Next(TWriteFault::NoSpace)) {
      errno = ENOSPC;
      return false;
    }
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// The sibling a write goes through: "." + base + "." + six characters.
constexpr std::size_t kTemporarySuffix = 6;

std::string TemporarySibling(const std::string& dir, const std::string& base) {
  static constexpr char kChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  static std::atomic<unsigned> counter{0};
  thread_local std::minstd_rand engine(static_cast<unsigned>(
      std::chrono::steady_clock::now().time_since_epoch().count() ^ (::getpid() << 16) ^ counter++));
  std::string name = dir + "." + base + ".";
  for (std::size_t i = 0; i < kTemporarySuffix; ++i) name += kChars[engine() % (sizeof kChars - 1)];
  return name;
}

// Creates the temporary sibling with the permissions a new file gets: the
// kernel applies the umask to 0666, so it never has to be read (reading it
// means setting it, which races with the window's other threads). The writer
// holds a lock on it until it is renamed, so that a start-up can tell a
// sibling left by a killed writer from one being written right now.
int CreateTemporarySibling(const std::string& dir, const std::string& base, std::string& name) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    name = TemporarySibling(dir, base);
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd >= 0) {
      ::flock(fd, LOCK_EX | LOCK_NB);
      return fd;
    }
    if (errno != EEXIST) return -1;
  }
  return -1;
}

}  // namespace

TFileError::TFileError(TKind kind, std::string fileName)
    : std::runtime_error(MessageFor(kind, fileName)), FKind(kind), FFileName(std::move(fileName)) {}

std::string ReadFileBytes(const std::string& fileName) {
  // Without blocking: a FIFO at the name would hang the open until some
  // writer came. Only regular files are read; a device such as /dev/zero
  // never ends.
  TFileDescriptor fd(::open(fileName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
  struct stat info {};
  if (fd.Get() < 0 || ::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode))
    throw TFileError(TFileError::TKind::Open, fileName);
  if (info.st_size < 0 || static_cast<std::uint64_t>(info.st_size) > kMaxFileBytes)
    throw TFileError(TFileError::TKind::TooLarge, fileName);
  std::string bytes;
  try {
    bytes.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[1 << 16];
    for (;;) {
      const ssize_t n = ::read(fd.Get(), buffer, sizeof buffer);
      if (n == 0) break;
      if (n < 0) {
        if (errno == EINTR) continue;
        throw TFileError(TFileError::TKind::Open, fileName);
      }
      // A file that grows while it is read is held to the same limit.
      if (bytes.size() + static_cast<std::size_t>(n) > kMaxFileBytes)
        throw TFileError(TFileError::TKind::TooLarge, fileName);
      bytes.append(buffer, static_cast<std::size_t>(n));
    }
  } catch (const std::bad_alloc&) {
    throw TFileError(TFileError::TKind::OutOfMemory, fileName);
  }
  return bytes;
}

void TKarvelFile::LoadFromFile(const std::string& fileName) { LoadFromBytes(ReadFileBytes(fileName)); }

void TKarvelFile::LoadFromBytes(std::string_view bytes) {
  // The text ends at a NUL byte; every line (ended by CR LF, CR or LF) is
  // joined again with CR LF.
  if (const std::size_t nul = bytes.find('\0'); nul != std::string_view::npos) bytes = bytes.substr(0, nul);
  std::string joined;
  joined.reserve(bytes.size() + bytes.size() / 16 + 2);
  std::size_t i = 0;
  while (i < bytes.size()) {
    const std::size_t end = bytes.find_first_of("\r\n", i);
    if (end == std::string_view::npos) {
      joined.append(bytes.substr(i)).append("\r\n");
      break;
    }
    joined.append(bytes.substr(i, end - i)).append("\r\n");
    i = end + ((bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n') ? 2 : 1);
  }
  const std::string_view t = Trim(joined);
  const std::size_t from = t.find("<KARVEL>");
  const std::size_t to = t.find("</KARVEL>");
  if (from == std::string_view::npos || to == std::string_view::npos || to <= from) return;
  Text.assign(t.substr(from, to - from + 9));
  Text.append("\r\n");
}

void WriteFileAtomically(const std::string& fileName, std::initializer_list<std::string_view> pieces,
                         bool flushToDisk) {
  // Write a sibling temporary file and rename it over the target, so that an
  // interrupted write never leaves a half-written file and a symbolic link
  // at the target is replaced rather than written through.
  const std::size_t slash = fileName.rfind('/');
  const std::string dir = slash == std::string::npos ? std::string() : fileName.substr(0, slash + 1);
  const std::string base = slash == std::string::npos ? fileName : fileName.substr(slash + 1);
  std::string temp;
  TFileDescriptor fd(CreateTemporarySibling(dir, base, temp));
  if (fd.Get() < 0) throw TFileError(TFileError::TKind::Create, fileName);

  // A target that exists keeps its permissions; a new one has those the
  // temporary file was created with.
  struct stat existing {};
  bool written = true;
  if (::lstat(fileName.c_str(), &existing) == 0 && S_ISREG(existing.st_mode))
    written = ::fchmod(fd.Get(), existing.st_mode & 07777) == 0;
  for (std::string_view piece : pieces) written = written && WriteAll(fd.Get(), piece);
  // A file whose data is not on the disk before the rename may be empty
  // after a crash even though the rename reached the disk. Only the data
  // is flushed (not the times), unless the caller asks for all of it.
  written = written && (flushToDisk ? ::fsync(fd.Get()) : ::fdatasync(fd.Get())) == 0;
  const bool renameFails = gWriteFaults != nullptr && gWriteFaults->Next(TWriteFault::RenameFails);
  if (!written || renameFails || ::rename(temp.c_str(), fileName.c_str()) != 0) {
    ::unlink(temp.c_str());
    throw TFileError(TFileError::TKind::Create, fileName);
  }
  fd.Close();
}

std::size_t RemoveStaleTemporaryFiles(const std::string& fileName) {
  // Siblings nobody holds locked were left by a writer that was killed
  // before its rename; one being written now is locked by its writer.
  const std::size_t slash = fileName.rfind('/');
  const std::string dir = slash == std::string::npos ? std::string() : fileName.substr(0, slash + 1);
  const std::string prefix = "." + (slash == std::string::npos ? fileName : fileName.substr(slash + 1)) + ".";
  DIR* directory = ::opendir(dir.empty() ? "." : dir.c_str());
  if (directory == nullptr) return 0;
  std::vector<std::string> stale;
  while (const dirent* entry = ::readdir(directory)) {
    const std::string_view name(entry->d_name);
    if (name.size() != prefix.size() + kTemporarySuffix || name.substr(0, prefix.size()) != prefix) continue;
    const std::string path = dir + std::string(name);
    TFileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
    struct stat info {};
    if (fd.Get() < 0 || ::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode)) continue;
    if (::flock(fd.Get(), LOCK_EX | LOCK_NB) != 0) continue;
    stale.push_back(path);
  }
  ::closedir(directory);
  std::size_t removed = 0;
  for (const std::string& path : stale) removed += ::unlink(path.c_str()) == 0 ? 1 : 0;
  return removed;
}

void SetWriteFaults(TWriteFaults* faults) { gWriteFaults = faults; }

void TKarvelFile::SaveToFile(const std::string& fileName, bool flushToDisk) const {
  WriteFileAtomically(fileName, {Text, "\r\n"}, flushToDisk);
}

bool TextAfterTag(std::string_view text, std::string_view tag, int& position, std::string_view& rest) {
  const std::size_t found = text.find(tag);
  if (found == std::string_view::npos) {
    position = 0;
    rest = text;
    return false;
  }
  position = static_cast<int>(found) + 1;
  rest = Trim(text.substr(found + tag.size()));
  return true;
}

}  // namespace karvel
