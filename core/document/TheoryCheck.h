// Whether file bytes hold a theory at all. The reader takes the text up to
// the first NUL byte and looks for the opening tag "<KARVEL>" in it; without
// one it reads an empty theory. The window opens such a file as the empty
// theory it reads; the tools report it as an error instead of a result.
#pragma once

#include <string_view>

namespace ostrel {

inline constexpr std::string_view kTheoryOpeningTag = "<KARVEL>";

//! True when the reader would find the opening tag in bytes. Line ends do
//! not matter: the tag holds no CR or LF, so normalising them keeps it.
[[nodiscard]] inline bool HoldsTheory(std::string_view bytes) {
  return bytes.substr(0, bytes.find('\0')).find(kTheoryOpeningTag) != std::string_view::npos;
}

}  // namespace ostrel
