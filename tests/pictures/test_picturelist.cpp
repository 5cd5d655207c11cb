#include "Utf8Path.h"
#include "pictures/PictureList.h"

#include <gtest/gtest.h>
#include <unicode/uloc.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

enum class Kind { File, Unreadable, Directory, LinkToFile, LinkToDirectory, BrokenLink, Fifo };

struct Entry {
    std::string name;
    Kind kind;
};

// A folder with every kind of entry the listing must tell apart. Names
// with "\xFC" and "\xDF" are single-byte text (not UTF-8).
const std::vector<Entry> kFolder = {
    {"Zoo.jpg", Kind::File},
    {"berg.jpg", Kind::File},
    {"apfel.jpg", Kind::File},
    {"Apfel.JPG", Kind::File},
    {"\xC3\x84hre.jpg", Kind::File}, // "Ähre" in UTF-8
    {"\xC3\x96l.jpg", Kind::File},   // "Öl" in UTF-8
    {"B\xC3\xA0r.jpg", Kind::File},  // "Bàr": a grave accent sorts after an acute,
    {"B\xC3\xA1r.jpg", Kind::File},  // "Bár", though its bytes are higher
    {"Ofen.jpg", Kind::File},
    {"2.jpg", Kind::File},
    {"10.jpg", Kind::File},
    {"Urlaubsbild.jpg", Kind::File},
    {"Urlaub 2023.jpg", Kind::File},
    {"Gr\xFCn.jpg", Kind::File},
    {"Grund.jpg", Kind::File},
    {"Feld.jpeg", Kind::File},
    {"Hafen.JPEG", Kind::File},
    {"Mond.JpG", Kind::File},
    {"Doppelt.jpeg.jpg", Kind::File},
    {"Geheim.jpg", Kind::Unreadable},
    {"Link.jpg", Kind::LinkToFile},
    // not pictures
    {".versteckt.jpg", Kind::File},
    {".jpg", Kind::File},
    {"a.jpg", Kind::Directory},
    {"Ordner.JPG", Kind::Directory},
    {"Verzeichnislink.jpg", Kind::LinkToDirectory},
    {"Kaputt.jpg", Kind::BrokenLink},
    {"Rohr.jpg", Kind::Fifo},
    {"bild.jpg.txt", Kind::File},
    {"Stra\xDF"
     "e.jpe",
     Kind::File},
    {"bildjpg", Kind::File},
    {"jpeg", Kind::File},
    {"notiz.txt", Kind::File},
};

// Case only breaks ties (by bytes), accents do not (secondary strength),
// umlauts sort with their base letter, digits are characters, a space
// comes before letters, and the single-byte "Gr\xFCn" sorts as "Grün".
const std::vector<std::string> kExpected = {
    "10.jpg",         "2.jpg",          "\xC3\x84hre.jpg", "Apfel.JPG",        "apfel.jpg",
    "B\xC3\xA1r.jpg", "B\xC3\xA0r.jpg", "berg.jpg",        "Doppelt.jpeg.jpg", "Feld.jpeg",
    "Geheim.jpg",     "Gr\xFCn.jpg",    "Grund.jpg",       "Hafen.JPEG",       "Link.jpg",
    "Mond.JpG",       "Ofen.jpg",       "\xC3\x96l.jpg",   "Urlaub 2023.jpg",  "Urlaubsbild.jpg",
    "Zoo.jpg",
};

#ifdef _WIN32
// Windows holds no FIFO and no name that is not UTF-8, letter case does not
// tell two files apart, and mingw makes no symbolic link: those rows are
// left out there, the order of the others is the same.
bool heldHere(const Entry& entry)
{
    const bool utf8 = std::none_of(entry.name.begin(), entry.name.end(),
                                   [](char c) { return c == '\xFC' || c == '\xDF'; });
    return utf8 && entry.name != "apfel.jpg" && entry.kind != Kind::Fifo &&
           entry.kind != Kind::LinkToFile && entry.kind != Kind::LinkToDirectory &&
           entry.kind != Kind::BrokenLink;
}
#else
bool heldHere(const Entry&)
{
    return true;
}
#endif

std::vector<std::string> expectedHere()
{
    std::vector<std::string> names;
    for (const std::string& name : kExpected)
        if (std::any_of(kFolder.begin(), kFolder.end(),
                        [&](const Entry& e) { return e.name == name && heldHere(e); }))
            names.push_back(name);
    return names;
}

void touch(const fs::path& path)
{
    std::ofstream(path) << "x";
}

class TempFolder {
  public:
    TempFolder()
        : path_(fs::temp_directory_path() /
                ("picturelist-" + std::to_string(std::random_device()())))
    {
        fs::create_directory(path_);
    }
    ~TempFolder()
    {
        std::error_code ignored;
        fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(path_, ignored);
    }
    const fs::path& path() const { return path_; }

  private:
    fs::path path_;
};

void create(const fs::path& folder, const Entry& entry)
{
    const fs::path path = folder / utf8Path(entry.name);
    switch (entry.kind) {
    case Kind::File:
        touch(path);
        break;
    case Kind::Unreadable:
        touch(path);
        fs::permissions(path, fs::perms::none);
        break;
    case Kind::Directory:
        fs::create_directory(path);
        break;
    case Kind::LinkToFile:
        touch(folder / "ziel.dat");
        fs::create_symlink("ziel.dat", path);
        break;
    case Kind::LinkToDirectory:
        fs::create_directory(folder / "verzeichnis");
        fs::create_symlink("verzeichnis", path);
        break;
    case Kind::BrokenLink:
        fs::create_symlink("fehlt.jpg", path);
        break;
    case Kind::Fifo:
#ifndef _WIN32
        ASSERT_EQ(mkfifo(path.c_str(), 0644), 0);
#endif
        break;
    }
}

// The order is the user's locale's; these expectations hold for German,
// English and the root collation alike. A C/POSIX environment (ICU's
// en_US_POSIX) must still ignore case.
class PictureListInLocale : public testing::TestWithParam<const char*> {
  protected:
    void SetUp() override
    {
        saved_ = uloc_getDefault();
        UErrorCode status = U_ZERO_ERROR;
        uloc_setDefault(GetParam(), &status);
        ASSERT_TRUE(U_SUCCESS(status));
    }
    void TearDown() override
    {
        UErrorCode status = U_ZERO_ERROR;
        uloc_setDefault(saved_.c_str(), &status);
    }

  private:
    std::string saved_;
};

TEST_P(PictureListInLocale, FiltersAndOrdersTheFolder)
{
    TempFolder folder;
    for (const auto& entry : kFolder)
        if (heldHere(entry))
            create(folder.path(), entry);

    EXPECT_EQ(pictures::listPictures(folder.path().string()), expectedHere());
}

INSTANTIATE_TEST_SUITE_P(Locales, PictureListInLocale,
                         testing::Values("de_DE", "en_US", "root", "en_US_POSIX"));

TEST(PictureList, MissingOrEmptyFolderListsNothing)
{
    TempFolder folder;
    EXPECT_TRUE(pictures::listPictures(folder.path().string()).empty());
    EXPECT_TRUE(pictures::listPictures((folder.path() / "fehlt").string()).empty());
}

// Sort keys longer than a short name's: the last letter decides, not the
// byte order of the capitals that a cut-off key would fall back to.
TEST(PictureList, LongNamesDifferingAtTheEnd)
{
    TempFolder folder;
    const std::string lower = std::string(240, 'k') + "a.jpg";
    const std::string upper = std::string(240, 'K') + "b.jpg";
    touch(folder.path() / upper);
    touch(folder.path() / lower);
    EXPECT_EQ(pictures::listPictures(folder.path().string()),
              (std::vector<std::string>{lower, upper}));
}

TEST(PictureList, DefaultIsTheCurrentDirectory)
{
    TempFolder folder;
    touch(folder.path() / "B.jpg");
    touch(folder.path() / "a.jpg");
    const fs::path before = fs::current_path();
    fs::current_path(folder.path());
    const auto names = pictures::listPictures();
    fs::current_path(before);
    EXPECT_EQ(names, (std::vector<std::string>{"a.jpg", "B.jpg"}));
}

} // namespace
