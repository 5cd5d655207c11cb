#include "core/TextFile.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#ifndef _WIN32
#include <sys/resource.h> // FIFOs, a file-size limit, permission bits: Linux only
#endif
#include <sys/stat.h>
#include <unistd.h>

using textfile::joinLines;
using textfile::splitLines;
using Lines = std::vector<std::string>;

namespace {

struct SplitCase {
    const char* name;
    std::string text;
    Lines lines;
};

class SplitLines : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitLines, FollowsTheLineBreakRules)
{
    EXPECT_EQ(splitLines(GetParam().text), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SplitLines,
    ::testing::Values(SplitCase{"empty", "", {}}, SplitCase{"noBreak", "abc", {"abc"}},
                      SplitCase{"crlf", "a\r\nb\r\n", {"a", "b"}},
                      SplitCase{"finalBreakAddsNoLine", "a\r\n", {"a"}},
                      SplitCase{"loneCr", "a\rb\rc", {"a", "b", "c"}},
                      SplitCase{"loneLf", "a\nb\n", {"a", "b"}},
                      SplitCase{"lfCrIsTwoBreaks", "a\n\rb", {"a", "", "b"}},
                      SplitCase{"emptyLinesKept", "\r\n\r\nx", {"", "", "x"}},
                      SplitCase{"onlyBreak", "\n", {""}},
                      SplitCase{"mixed", "a\r\nb\nc\rd", {"a", "b", "c", "d"}},
                      SplitCase{"nulEndsText", std::string("ab\ncd\0ef\ngh", 11), {"ab", "cd"}},
                      SplitCase{"nulFirst", std::string("\0abc", 4), {}},
                      SplitCase{"notTrimmed", "  a \t\r\n b ", {"  a \t", " b "}},
                      SplitCase{"highBytesKept", "\xe4\xf6\xfc\r\n", {"\xe4\xf6\xfc"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SplitLines, StopsAtTheLineLimit)
{
    EXPECT_EQ(splitLines("a\nb\nc\nd", 2), (Lines{"a", "b"}));
}

TEST(JoinLines, PutsCrLfAfterEveryLine)
{
    const struct {
        Lines lines;
        std::string text;
    } cases[] = {
        {{}, ""},
        {{""}, "\r\n"},
        {{"a", "b"}, "a\r\nb\r\n"},
        {{"x\ry"}, "x\ry\r\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(joinLines(c.lines), c.text);
}

class TextFiles : public ::testing::Test {
  protected:
    void SetUp() override
    {
        folder = std::filesystem::temp_directory_path() /
                 ("bb-textfile-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
    }
    void TearDown() override
    {
        std::filesystem::permissions(folder, std::filesystem::perms::owner_all);
        std::filesystem::remove_all(folder);
    }
    std::string path(const char* name) const { return (folder / name).string(); }
    std::filesystem::path folder;
};

TEST_F(TextFiles, WriteThenReadGivesTheSameLines)
{
    const Lines lines{"000000000000000-a.jpg", "", "123456789012345-b c.jpg"};
    ASSERT_TRUE(textfile::writeLinesAtomically(path("x.qel"), {"older"}));
    ASSERT_TRUE(textfile::writeLinesAtomically(path("x.qel"), lines)) << "replaces the file";
    EXPECT_EQ(textfile::readFile(path("x.qel")), joinLines(lines));
    EXPECT_EQ(textfile::readLines(path("x.qel")), lines);
}

#ifndef _WIN32
TEST_F(TextFiles, OnlyRegularFilesWithinTheBoundAreRead)
{
    ::mkfifo(path("fifo").c_str(), 0600);
    std::filesystem::create_symlink("none", path("dangling"));
    std::filesystem::create_symlink("x", path("link"));
    std::ofstream(path("x")) << "abc";
    const struct {
        std::string path;
        std::size_t maxBytes;
        std::optional<std::string> text;
    } cases[] = {
        {path("x"), 3, "abc"},           {path("link"), 3, "abc"},
        {path("x"), 2, std::nullopt},    {path("none"), 9, std::nullopt},
        {path("fifo"), 9, std::nullopt}, {path("dangling"), 9, std::nullopt},
        {"/dev/zero", 9, std::nullopt},  {folder.string(), 9, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(textfile::readFile(c.path, c.maxBytes), c.text) << c.path;
}

TEST_F(TextFiles, LeadingTextStopsAfterItsLines)
{
    std::ofstream(path("x")) << "1\r\n2\r3\n4";
    std::filesystem::resize_file(path("x"), std::uintmax_t{1} << 40); // sparse: NULs follow
    const struct {
        std::size_t lines, maxBytes;
        std::optional<std::string> text;
    } cases[] = {
        {2, 100, "1\r\n2\r"}, // a CR ends a line; the caller splits
        {3, 100, "1\r\n2\r3\n"},
        {9, 100, "1\r\n2\r3\n4"}, // the first NUL ends the text
        {9, 5, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(textfile::readLeadingText(path("x"), c.lines, c.maxBytes), c.text) << c.lines;
    std::ofstream(path("y")) << std::string(100000, 'a') << "\n" << std::string(100000, 'b');
    EXPECT_EQ(textfile::readLeadingText(path("y"), 1, 200000)->size(), 100001u);
    ::mkfifo(path("fifo").c_str(), 0600);
    EXPECT_FALSE(textfile::readLeadingText(path("fifo"), 16, 100).has_value()) << "never waits";
}

TEST_F(TextFiles, FailedWriteKeepsThePreviousFilesAndLeavesNoTemporary)
{
    ASSERT_TRUE(textfile::writeLinesAtomically(path("keep.qel"), {"old"}));
    ASSERT_FALSE(textfile::writeAllAtomically({{path("a.csv"), "old"}, {path("b.pdf"), "old"}}));
    // A full disk, as far as this process can tell: writes past 4 KiB fail.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit previous{};
    ::getrlimit(RLIMIT_FSIZE, &previous);
    rlimit small = previous;
    small.rlim_cur = 4096;
    ::setrlimit(RLIMIT_FSIZE, &small);
    const bool written =
        textfile::writeLinesAtomically(path("keep.qel"), {std::string(10000, '1')});
    // The first of a pair fits, the second does not: both stay old.
    const std::string large(10000, '1');
    const auto failed =
        textfile::writeAllAtomically({{path("a.csv"), "new"}, {path("b.pdf"), large}});
    ::setrlimit(RLIMIT_FSIZE, &previous);
    EXPECT_FALSE(written);
    EXPECT_EQ(textfile::readFile(path("keep.qel")), "old\r\n");
    EXPECT_EQ(failed, std::optional<std::size_t>(1));
    EXPECT_EQ(textfile::readFile(path("a.csv")), "old");
    EXPECT_EQ(textfile::readFile(path("b.pdf")), "old");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 3);
}

int syncError = 0;
int failingSync(int)
{
    errno = syncError;
    return -1;
}

TEST_F(TextFiles, AFolderSyncTheFileSystemLacksIsNoFailure)
{
    const std::pair<int, bool> cases[] = {
        {EINVAL, true}, {ENOTSUP, true}, {EROFS, true}, {EIO, false}, {ENOSPC, false}};
    textfile::setFolderSync(failingSync);
    for (const auto& [error, saved] : cases) {
        syncError = error;
        EXPECT_EQ(textfile::writeLinesAtomically(path("s.qel"), {std::to_string(error)}), saved)
            << std::strerror(error);
        EXPECT_EQ(textfile::readFile(path("s.qel")), std::to_string(error) + "\r\n")
            << "the file is in place either way";
    }
    textfile::setFolderSync(nullptr);
    EXPECT_TRUE(textfile::writeLinesAtomically(path("s.qel"), {"x"}));
}

#endif

std::vector<std::string> syncedWith; // the files' contents at each folder sync
std::vector<std::string> watchedFiles;
int recordingSync(int)
{
    std::string contents;
    for (const std::string& file : watchedFiles)
        contents += textfile::readFile(file).value_or("-");
    syncedWith.push_back(contents);
    return 0;
}

// A reader never sees new files beside old ones while a folder sync takes
// its time; a gate that holds the renames back leaves everything old.
TEST_F(TextFiles, FilesThatBelongTogetherAreRenamedBeforeTheOneFolderSync)
{
    watchedFiles = {path("a.csv"), path("b.pdf"), path("c.html")};
    ASSERT_FALSE(textfile::writeAllAtomically(
        {{watchedFiles[0], "1"}, {watchedFiles[1], "1"}, {watchedFiles[2], "1"}}));
    textfile::setFolderSync(recordingSync);
    const auto held = textfile::writeAllAtomically(
        {{watchedFiles[0], "2"}, {watchedFiles[1], "2"}, {watchedFiles[2], "2"}},
        [](const std::function<void()>&) {});
    const auto written = textfile::writeAllAtomically(
        {{watchedFiles[0], "3"}, {watchedFiles[1], "3"}, {watchedFiles[2], "3"}});
    textfile::setFolderSync(nullptr);
    EXPECT_EQ(held, std::optional<std::size_t>(3));
    EXPECT_FALSE(written);
#ifdef _WIN32
    EXPECT_TRUE(syncedWith.empty()); // no folder sync there: its rename writes through
#else
    EXPECT_EQ(syncedWith, std::vector<std::string>{"333"});
#endif
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 3);
}

TEST_F(TextFiles, SaveRemovesOnlyStaleTemporaries)
{
    for (const char* name : {".bildbewertung-old123", ".bildbewertung-new123", ".bildbewertung-x"})
        std::ofstream(path(name)) << "left by a crash";
    const auto anHourAgo = std::filesystem::file_time_type::clock::now() - std::chrono::hours(1);
    std::filesystem::last_write_time(path(".bildbewertung-old123"), anHourAgo);
    std::filesystem::last_write_time(path(".bildbewertung-x"), anHourAgo);
    ASSERT_TRUE(textfile::writeLinesAtomically(path("a.qel"), {"a"}));
    EXPECT_FALSE(std::filesystem::exists(path(".bildbewertung-old123")));
    EXPECT_TRUE(std::filesystem::exists(path(".bildbewertung-new123"))) << "maybe a save under way";
    EXPECT_TRUE(std::filesystem::exists(path(".bildbewertung-x"))) << "not of our naming";
}

TEST_F(TextFiles, WriteOverAFolderFailsWithoutHarm)
{
    std::filesystem::create_directory(path("taken.qel"));
    EXPECT_FALSE(textfile::writeLinesAtomically(path("taken.qel"), {"x"}));
    EXPECT_TRUE(std::filesystem::is_directory(path("taken.qel")));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1);
}

#ifndef _WIN32
TEST_F(TextFiles, OverwriteKeepsThePermissions)
{
    ASSERT_TRUE(textfile::writeLinesAtomically(path("p.qel"), {"a"}));
    ::chmod(path("p.qel").c_str(), 0640);
    ASSERT_TRUE(textfile::writeLinesAtomically(path("p.qel"), {"b"}));
    struct stat info {};
    ASSERT_EQ(::stat(path("p.qel").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
}
#endif

} // namespace
