#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace common {

// A file or folder name as every window and message shows it: the bytes as
// the system's file names decode (QFile::decodeName), whatever they are.
QString displayFileName(const std::string& bytes);
// The same as UTF-8, for what plain C++ writes (the evaluation's outputs).
std::string displayFileNameUtf8(std::string_view bytes);

} // namespace common
