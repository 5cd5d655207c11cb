#include "core/FolderListing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

// The pictures' side of the listing is walked by the picture list's tests;
// here another extension, and a folder that is not there.
TEST(FolderListing, RegularFilesWithTheExtension)
{
    const fs::path root = fs::temp_directory_path() / ("bb-listing-" + std::to_string(::getpid()));
    fs::remove_all(root);
    fs::create_directories(root / "Ordner.qel");
    for (const char* name : {"Anna.qel", "BERT.QEL", ".alt.qel", "qel", "Anna.qel.bak", "Bild.jpg"})
        std::ofstream(root / name) << "x";
    fs::create_symlink("Anna.qel", root / "Verweis.Qel");
    fs::create_symlink("weg.qel", root / "Kaputt.qel");
    const struct {
        std::string folder;
        std::vector<std::string> names;
    } cases[] = {
        {root.string(), {"Anna.qel", "BERT.QEL", "Verweis.Qel"}},
        {(root / "fehlt").string(), {}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> names = folderlisting::regularFiles(c.folder, {".qel"});
        std::sort(names.begin(), names.end());
        EXPECT_EQ(names, c.names) << c.folder;
    }
    fs::remove_all(root);
}

} // namespace
