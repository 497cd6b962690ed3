#include "ToolIo.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace ostrel::tool {

namespace {

std::string Reason(int error) { return std::strerror(error); }

// Closes a descriptor on every path out of a function, unless released.
class TDescriptor {
 public:
  explicit TDescriptor(int fd) : FFd(fd) {}
  TDescriptor(const TDescriptor&) = delete;
  TDescriptor& operator=(const TDescriptor&) = delete;
  ~TDescriptor() {
    if (FFd >= 0) ::close(FFd);
  }
  [[nodiscard]] int Get() const { return FFd; }
  //! Closes now: a failed close can mean lost data (NFS, quotas).
  bool Close() {
    const int fd = FFd;
    FFd = -1;
    return ::close(fd) == 0;
  }

 private:
  int FFd;
};

mode_t DefaultFileMode() {
  // The umask can only be read by setting it; the tools have one thread.
  const mode_t mask = ::umask(022);
  ::umask(mask);
  return 0666 & ~mask;
}

bool WriteStandardOutput(std::string_view bytes, std::string& reason) {
  if (!WriteAll(STDOUT_FILENO, bytes) || ::close(STDOUT_FILENO) != 0) {
    reason = Reason(errno);
    return false;
  }
  return true;
}

bool WriteInPlace(const std::string& name, std::string_view bytes, std::string& reason) {
  TDescriptor fd(::open(name.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC));
  if (fd.Get() < 0 || !WriteAll(fd.Get(), bytes) || !fd.Close()) {
    reason = Reason(errno);
    return false;
  }
  return true;
}

bool ReplaceAtomically(const std::string& name, mode_t mode, std::string_view bytes, std::string& reason) {
  const std::size_t slash = name.rfind('/');
  const std::string dir = slash == std::string::npos ? std::string() : name.substr(0, slash + 1);
  const std::string base = slash == std::string::npos ? name : name.substr(slash + 1);
  std::string temp = dir + "." + base + ".XXXXXX";
  TDescriptor fd(::mkstemp(temp.data()));
  if (fd.Get() < 0) {
    reason = Reason(errno);
    return false;
  }
  const bool written = ::fchmod(fd.Get(), mode) == 0 && WriteAll(fd.Get(), bytes) &&
                       ::fdatasync(fd.Get()) == 0 && fd.Close() && ::rename(temp.c_str(), name.c_str()) == 0;
  if (!written) {
    reason = Reason(errno);
    ::unlink(temp.c_str());
  }
  return written;
}

}  // namespace

std::string InputName(std::string_view operand) {
  return IsStandardStream(operand) ? std::string("standard input") : std::string(operand);
}

std::string OutputName(std::string_view operand) {
  return IsStandardStream(operand) ? std::string("standard output") : std::string(operand);
}

int UsageError(std::string_view program, std::string_view usage, std::string_view reason) {
  if (!reason.empty()) Complain(program, reason);
  std::string text(usage);
  text.append("Try '").append(program).append(" --help' for more information.\n");
  (void)WriteAll(STDERR_FILENO, text);
  return kExitUsage;
}

int PrintText(std::string_view program, const std::string& text) {
  std::string reason;
  if (WriteOutput("-", text, reason)) return 0;
  Complain(program, OutputName("-"), reason);
  return kExitFailure;
}

void Complain(std::string_view program, std::string_view what, std::string_view reason) {
  std::string line(program);
  line.append(": ").append(what);
  if (!reason.empty()) line.append(": ").append(reason);
  line += '\n';
  // Standard error is the last resort: a failure there cannot be reported.
  (void)WriteAll(STDERR_FILENO, line);
}

std::string VersionText(std::string_view program) {
  std::string text(program);
  text += " " OSTREL_VERSION
          "\n"
          "Copyright (C) 2026 The Ostrel developers\n"
          "License GPL-3.0-or-later: GNU GPL version 3 or later <https://gnu.org/licenses/gpl.html>.\n"
          "This is free software: you are free to change and redistribute it.\n"
          "There is NO WARRANTY, to the extent permitted by law.\n";
  return text;
}

bool ReadInput(const std::string& operand, std::string& bytes, std::string& reason) {
  const bool standard = IsStandardStream(operand);
  const int fd = standard ? STDIN_FILENO : ::open(operand.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    reason = Reason(errno);
    return false;
  }
  // Standard input belongs to the caller and stays open.
  std::unique_ptr<TDescriptor> owned(standard ? nullptr : new TDescriptor(fd));
  struct stat info {};
  if (::fstat(fd, &info) != 0) {
    reason = Reason(errno);
    return false;
  }
  if (S_ISDIR(info.st_mode)) {
    reason = Reason(EISDIR);
    return false;
  }
  bytes.clear();
  // A file's size is known: one allocation, which fails at once when the
  // file cannot fit, rather than after reading most of it.
  if (S_ISREG(info.st_mode) && info.st_size > 0) bytes.reserve(static_cast<std::size_t>(info.st_size));
  char buffer[1 << 16];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n == 0) return true;
    if (n < 0) {
      if (errno == EINTR) continue;
      reason = Reason(errno);
      return false;
    }
    bytes.append(buffer, static_cast<std::size_t>(n));
  }
}

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

bool WriteOutput(const std::string& operand, std::string_view bytes, std::string& reason) {
  if (IsStandardStream(operand)) return WriteStandardOutput(bytes, reason);
  struct stat info {};
  if (::stat(operand.c_str(), &info) != 0) {
    if (errno != ENOENT) {
      reason = Reason(errno);
      return false;
    }
    // A dangling link is replaced, not followed.
    return ReplaceAtomically(operand, DefaultFileMode(), bytes, reason);
  }
  if (S_ISDIR(info.st_mode)) {
    reason = Reason(EISDIR);
    return false;
  }
  // A device or a FIFO cannot be replaced: /dev/stdout, a named pipe.
  if (!S_ISREG(info.st_mode)) return WriteInPlace(operand, bytes, reason);
  // An existing file keeps its mode; a link to it keeps pointing at it.
  std::string target = operand;
  if (char* resolved = ::realpath(operand.c_str(), nullptr)) {
    target = resolved;
    std::free(resolved);
  }
  return ReplaceAtomically(target, info.st_mode & 07777, bytes, reason);
}

TDescriptorBuffer::TDescriptorBuffer(int fd) : FFd(fd) { setp(FBuffer, FBuffer + sizeof FBuffer); }

bool TDescriptorBuffer::Drain() {
  const std::string_view pending(pbase(), static_cast<std::size_t>(pptr() - pbase()));
  setp(FBuffer, FBuffer + sizeof FBuffer);
  if (FErrno != 0) return false;
  if (!WriteAll(FFd, pending)) {
    FErrno = errno;
    return false;
  }
  return true;
}

TDescriptorBuffer::int_type TDescriptorBuffer::overflow(int_type c) {
  if (!Drain()) return traits_type::eof();
  if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  *pptr() = traits_type::to_char_type(c);
  pbump(1);
  return c;
}

std::streamsize TDescriptorBuffer::xsputn(const char* s, std::streamsize n) {
  if (n <= epptr() - pptr()) {
    std::memcpy(pptr(), s, static_cast<std::size_t>(n));
    pbump(static_cast<int>(n));
    return n;
  }
  // Larger than the room left: the buffer goes out, then the piece itself.
  if (!Drain()) return 0;
  if (n < static_cast<std::streamsize>(sizeof FBuffer)) {
    std::memcpy(pptr(), s, static_cast<std::size_t>(n));
    pbump(static_cast<int>(n));
    return n;
  }
  if (!WriteAll(FFd, std::string_view(s, static_cast<std::size_t>(n)))) {
    FErrno = errno;
    return 0;
  }
  return n;
}

int TDescriptorBuffer::sync() { return Drain() ? 0 : -1; }

bool TDescriptorBuffer::Close(std::string& reason) {
  const bool drained = Drain();
  const int closed = ::close(FFd);
  if (drained && closed != 0) FErrno = errno;
  FFd = -1;
  if (FErrno == 0) return true;
  reason = Reason(FErrno);
  return false;
}

}  // namespace ostrel::tool
