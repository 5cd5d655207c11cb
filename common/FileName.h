#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace common {

// A file or folder name as every window, message and output of the programs
// shows it: UTF-8 where the bytes are valid UTF-8, else Windows-1252, as a
// Windows PC or its zip archives name files (the rule of the core's texts).
QString displayFileName(const std::string& bytes);
// The same as UTF-8, for what plain C++ writes (the evaluation's outputs).
std::string displayFileNameUtf8(std::string_view bytes);

// The bytes of the file a shown path names (one a dialog returns or a judge
// typed): the path as the system encodes it when that exists, else the one
// entry of its folder shown under its name (a name from a Windows PC), else
// the encoded path.
std::string fileNameBytes(const QString& shownPath);

} // namespace common
