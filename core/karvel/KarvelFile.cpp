// Theory files on disk: whole-file reading with line-end normalisation, and
// atomic replacement on writing.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <initializer_list>
#include <string>

#include "KarvelSyntax.h"
#include "KarvelTheory.h"

namespace karvel {

namespace {

std::string MessageFor(TFileError::TKind kind, const std::string& fileName) {
  return (kind == TFileError::TKind::Open ? "Cannot open file " : "Cannot create file ") + fileName;
}

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
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

mode_t DefaultFileMode() {
  // The process umask can only be read by setting it; the program has one thread.
  const mode_t mask = ::umask(022);
  ::umask(mask);
  return 0666 & ~mask;
}

}  // namespace

TFileError::TFileError(TKind kind, std::string fileName)
    : std::runtime_error(MessageFor(kind, fileName)), FKind(kind), FFileName(std::move(fileName)) {}

std::string ReadFileBytes(const std::string& fileName) {
  TFileDescriptor fd(::open(fileName.c_str(), O_RDONLY | O_CLOEXEC));
  struct stat info {};
  if (fd.Get() < 0 || ::fstat(fd.Get(), &info) != 0 || S_ISDIR(info.st_mode))
    throw TFileError(TFileError::TKind::Open, fileName);
  std::string bytes;
  if (S_ISREG(info.st_mode)) bytes.reserve(static_cast<std::size_t>(info.st_size));
  char buffer[1 << 16];
  for (;;) {
    const ssize_t n = ::read(fd.Get(), buffer, sizeof buffer);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      throw TFileError(TFileError::TKind::Open, fileName);
    }
    bytes.append(buffer, static_cast<std::size_t>(n));
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
  // at the target is replaced rather than written through. Flushing costs
  // milliseconds, too much for the working file rewritten by every reload.
  const std::size_t slash = fileName.rfind('/');
  const std::string dir = slash == std::string::npos ? std::string() : fileName.substr(0, slash + 1);
  const std::string base = slash == std::string::npos ? fileName : fileName.substr(slash + 1);
  std::string temp = dir + "." + base + ".XXXXXX";
  TFileDescriptor fd(::mkstemp(temp.data()));
  if (fd.Get() < 0) throw TFileError(TFileError::TKind::Create, fileName);

  struct stat existing {};
  const mode_t mode = (::lstat(fileName.c_str(), &existing) == 0 && S_ISREG(existing.st_mode))
                          ? (existing.st_mode & 07777)
                          : DefaultFileMode();
  bool written = ::fchmod(fd.Get(), mode) == 0;
  for (std::string_view piece : pieces) written = written && WriteAll(fd.Get(), piece);
  written = written && (!flushToDisk || ::fdatasync(fd.Get()) == 0) && fd.Close();
  if (!written || ::rename(temp.c_str(), fileName.c_str()) != 0) {
    ::unlink(temp.c_str());
    throw TFileError(TFileError::TKind::Create, fileName);
  }
}

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
