#pragma once

#include <string>
#include <string_view>

namespace evaluation {

// Exact bytes, saved as the judging program saves a rating file: into a
// temporary file beside the target, flushed to disk, then renamed over the
// target, so a failure never leaves a half-written file. False on failure.
bool writeFileAtomically(const std::string& path, std::string_view bytes);

} // namespace evaluation
