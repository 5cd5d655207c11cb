#include "core/RatingFile.h"
#include "core/TextFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace {

TEST(JudgeName, IsTheChosenFilesNameWithoutFolderAndExtension)
{
    const std::pair<std::string, std::string> cases[] = {
        {"/home/club/bilder/Anna Müller.qel", "Anna Müller"},
        {"Anna.qel", "Anna"},
        {"/x/.qel", ""},
        {"/x/ab", ""},
        {"/x/y/Name.QEL", "Name"},
        {"/x/y/typed-without-extension", "typed-without-exten"},
    };
    for (const auto& [path, name] : cases)
        EXPECT_EQ(ratingfile::judgeNameFromPath(path), name) << path;
}

TEST(JudgeName, NamesLeavingTheFolderAreRefused)
{
    EXPECT_EQ(ratingfile::fileNameForJudge(""), ".qel");
    EXPECT_EQ(ratingfile::fileNameForJudge(" Anna "), " Anna .qel");
    EXPECT_EQ(ratingfile::fileNameForJudge(".."), "...qel");
    EXPECT_FALSE(ratingfile::fileNameForJudge("../Anna").has_value());
    EXPECT_FALSE(ratingfile::fileNameForJudge("/tmp/Anna").has_value());
}

// What Linux takes, Windows refuses: a ':' would write a stream of another
// file, "CON" the console, the others are forbidden there. The judge hears
// why, by the rule of the system the program runs on.
TEST(JudgeName, NamesWindowsCannotHoldAreRefusedThereOnly)
{
#ifdef _WIN32
    constexpr bool windows = true;
#else
    constexpr bool windows = false;
#endif
    for (const char* name : {"Anna: Jury", "a\\b", "Wer?", "<A>", "\"A\"", "a|b", "a*", "Tab\t",
                             "CON", "nul.x", "Com1", "LPT9 ", "com0"})
        EXPECT_EQ(ratingfile::fileNameForJudge(name).has_value(), !windows) << name;
    for (const char* name : {"Konrad", "COM10", "Anna.", "Jury A. Berger"})
        EXPECT_TRUE(ratingfile::fileNameForJudge(name).has_value()) << name;

    std::string umlauts;
    for (int i = 0; i < 126; ++i)
        umlauts += "ü"; // 252 bytes, 126 UTF-16 units
    const struct {
        std::string name;
        const char* onWindows;
        const char* onLinux; // "": saved
    } reasons[] = {
        {"Anna: Jury", "Windows erlaubt in Dateinamen kein ':'.", ""},
        {"../Anna", "Windows erlaubt in Dateinamen kein '/'.",
         "Linux erlaubt in Dateinamen kein '/'."},
        {"Tab\t", "Windows erlaubt in Dateinamen keine Steuerzeichen.", ""},
        {"con", "Windows erlaubt „con“ nicht als Dateinamen (so heißt ein Gerät).", ""},
        {std::string(252, 'x'), "Der Name ist für eine Datei zu lang.",
         "Der Name ist für eine Datei zu lang."},
        {std::string(251, 'x'), "", ""},
        {umlauts, "", "Der Name ist für eine Datei zu lang."},
    };
    for (const auto& r : reasons) {
        EXPECT_EQ(ratingfile::nameRefusal(r.name), windows ? r.onWindows : r.onLinux) << r.name;
        EXPECT_EQ(ratingfile::fileNameForJudge(r.name).has_value(),
                  *(windows ? r.onWindows : r.onLinux) == '\0')
            << r.name;
    }
}

class RatingFiles : public ::testing::Test {
  protected:
    void SetUp() override
    {
        previous = std::filesystem::current_path();
        folder = std::filesystem::temp_directory_path() / ("bb-qel-" + std::to_string(::getpid()));
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        std::filesystem::current_path(folder);
    }
    void TearDown() override
    {
        std::filesystem::current_path(previous);
        std::filesystem::remove_all(folder);
    }
    std::filesystem::path previous, folder;
};

TEST_F(RatingFiles, SaveThenLoadRoundTripsByteForByte)
{
    const rating::Sheet sheet{"123456789012345-a.jpg", "000000000000000-b \xe4.jpg", "short", ""};
    ASSERT_TRUE(ratingfile::save("Anna", sheet));
    EXPECT_EQ(textfile::readFile("Anna.qel"),
              "123456789012345-a.jpg\r\n000000000000000-b \xe4.jpg\r\nshort\r\n\r\n");
    EXPECT_EQ(ratingfile::load((folder / "Anna.qel").string()), sheet);
}

TEST_F(RatingFiles, ForeignLineEndsLoadAsLines)
{
    ASSERT_TRUE(textfile::writeLinesAtomically("x.qel", {}));
    const std::string foreign = "111111111111111-a.jpg\n222222222222222-b.jpg\r333333333333333-c";
    FILE* f = std::fopen("y.qel", "wb");
    std::fwrite(foreign.data(), 1, foreign.size(), f);
    std::fclose(f);
    const auto loaded = ratingfile::load("y.qel");
    ASSERT_TRUE(loaded);
    ASSERT_TRUE(ratingfile::save("y", *loaded));
    EXPECT_EQ(textfile::readFile("y.qel"), "111111111111111-a.jpg\r\n222222222222222-b.jpg\r\n"
                                           "333333333333333-c\r\n");
}

TEST_F(RatingFiles, EmptyNameSavesDotQelAndSlashIsRefused)
{
    EXPECT_TRUE(ratingfile::save("", {"x"}));
    EXPECT_TRUE(std::filesystem::exists(".qel"));
    EXPECT_FALSE(ratingfile::save("sub/Anna", {"x"}));
    EXPECT_FALSE(std::filesystem::exists("sub"));
}

TEST_F(RatingFiles, OverwritingAnotherFileAsksFirst)
{
    ASSERT_TRUE(ratingfile::save("Anna", {"x"}));
    ASSERT_TRUE(ratingfile::save("M\xC3\xBCller", {"x"})); // "Müller"
    std::error_code noLink; // where the system makes one (mingw does not): no file, no question
    std::filesystem::create_symlink("Anna.qel", "Link.qel", noLink);
    const std::string anna = ratingfile::fileIdentity((folder / "Anna.qel").string());
    const struct {
        const char* file;
        std::string sheetFile;
        bool asks;
    } cases[] = {
        {"Neu.qel", "", false},
        {"Neu.qel", anna, false},
        {"Anna.qel", "", true},
        {"Anna.qel", anna, false},
        {"./Anna.qel", anna, false},
        {"Link.qel", anna, false}, // the same file under another name
        {"Anna.qel", ratingfile::fileIdentity("Bernd.qel"), true},
        {"M\xC3\xBCller.qel", "", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ratingfile::asksBeforeOverwriting(c.file, c.sheetFile), c.asks)
            << c.file << " / " << c.sheetFile;
}

TEST_F(RatingFiles, MissingFileDoesNotLoad)
{
    EXPECT_FALSE(ratingfile::load("missing.qel").has_value());
}

} // namespace
