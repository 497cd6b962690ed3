// File names as the logic core opens them.
#pragma once

#include <QString>

#include <string>

namespace ostrel {

//! A path in the file system's encoding.
std::string FileNameBytes(const QString& fileName);

}  // namespace ostrel
