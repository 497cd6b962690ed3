// Conversions between the byte strings of the logic core and Qt strings.
#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace ostrel {

//! Text for display: UTF-8 when the bytes are valid UTF-8, otherwise each
//! byte as one Latin-1 character, so files from single-byte code pages still
//! show every character instead of replacement marks.
QString TextFromBytes(std::string_view bytes);
//! A path in the file system's encoding, as the logic core opens it.
std::string FileNameBytes(const QString& fileName);

}  // namespace ostrel
