#pragma once

#include <QString>

#include <string>

namespace common {

// A file or folder name as every window and message shows it: the bytes as
// the system's file names decode (QFile::decodeName), whatever they are.
QString displayFileName(const std::string& bytes);

} // namespace common
