#pragma once

#include <optional>
#include <string>

// The example competition as a user can work in it: the installed one lies
// where a normal user may not write (Program Files, /usr/share), so the
// first start copies it into the user's documents and later starts reuse
// that copy with the sheets saved in it.
namespace starter {

inline constexpr char kExampleFolderName[] = "Bildbewertung Beispiel";

struct ExampleFolder {
    std::optional<std::string> folder; // nothing when it could not be made
    std::string problem;               // then why, German
};

// `documents`/"Bildbewertung Beispiel", copied from `demo` all or nothing
// when it is not there yet.
ExampleFolder exampleFolder(const std::string& demo, const std::string& documents);

} // namespace starter
