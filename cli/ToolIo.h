// What both tools share and neither needs Qt for: reading the input (a file
// or standard input), writing output that is checked up to and including
// the final close, and messages of the form "PROGRAM: FILE: reason".
#pragma once

#include <streambuf>
#include <string>
#include <string_view>

namespace ostrel::tool {

//! Exit codes: input or output failed; the command line was wrong.
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

//! "-" as a FILE operand stands for standard input or output.
[[nodiscard]] inline bool IsStandardStream(std::string_view operand) { return operand == "-"; }

//! The name a message gives an input operand.
[[nodiscard]] std::string InputName(std::string_view operand);
//! The name a message gives an output operand.
[[nodiscard]] std::string OutputName(std::string_view operand);

//! Writes "program: what: reason" (or "program: what" without a reason) as
//! one line on standard error.
void Complain(std::string_view program, std::string_view what, std::string_view reason = {});

//! A wrong command line: the reason (if any), then the usage line and how to
//! get help, on standard error. Returns kExitUsage.
int UsageError(std::string_view program, std::string_view usage, std::string_view reason);
//! Help and version go out like any report: 0, or kExitFailure with the
//! reason when standard output refuses them.
int PrintText(std::string_view program, const std::string& text);

//! The first lines of --version.
[[nodiscard]] std::string VersionText(std::string_view program);

//! Reads the whole operand (standard input for "-") into bytes. On failure
//! returns false with the system's reason ("No such file or directory",
//! "Is a directory", ...). Throws std::bad_alloc when it does not fit.
bool ReadInput(const std::string& operand, std::string& bytes, std::string& reason);

//! Writes every byte to the descriptor, retrying short writes; false with
//! errno set when the system refuses.
bool WriteAll(int fd, std::string_view bytes);

//! Writes the bytes to the operand: "-" is standard output, closed
//! afterwards; an existing device or FIFO is written in place; any other
//! file is replaced atomically by a sibling temporary file, so it appears
//! complete or not at all. False with the system's reason on failure.
bool WriteOutput(const std::string& operand, std::string_view bytes, std::string& reason);

//! Buffered output to a descriptor that keeps the reason of the first
//! failed write. Nothing is written after a failure.
class TDescriptorBuffer final : public std::streambuf {
 public:
  explicit TDescriptorBuffer(int fd);
  TDescriptorBuffer(const TDescriptorBuffer&) = delete;
  TDescriptorBuffer& operator=(const TDescriptorBuffer&) = delete;

  //! Writes what is buffered and closes the descriptor; false with the
  //! reason when any write or the close failed.
  bool Close(std::string& reason);

 protected:
  int_type overflow(int_type c) override;
  std::streamsize xsputn(const char* s, std::streamsize n) override;
  int sync() override;

 private:
  bool Drain();

  int FFd;
  int FErrno = 0;
  char FBuffer[1 << 16];
};

}  // namespace ostrel::tool
