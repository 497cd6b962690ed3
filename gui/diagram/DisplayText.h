// How sentence texts (bytes of the theory file) become display strings.
#pragma once

#include <QString>
#include <string_view>

namespace ostrel::diagram {

//! The bytes as UTF-8 when they are valid UTF-8, otherwise as Latin-1, so
//! both new files and old single-byte files show their characters.
QString DisplayText(std::string_view bytes);

}  // namespace ostrel::diagram
