#include "core/TextFile.h"

#include "core/FailingFileSystem.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
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
    for (const auto& [error, synced] : cases) {
        syncError = error;
        EXPECT_EQ(platform::syncFolder(folder.string(), failingSync), synced)
            << std::strerror(error);
    }
}

#endif

// Whichever operation fails, the files keep their old bytes, or (bar a
// failing rename) all get the new ones; no temporary is left.
TEST_F(TextFiles, AFailingOperationLosesNothing)
{
    const auto write = [&](const platform::FileSystem& fileSystem) {
        return textfile::writeAllAtomically({{path("a.csv"), "n"}, {path("b.pdf"), "n"}}, {},
                                            fileSystem);
    };
    const auto contents = [&] {
        return *textfile::readFile(path("a.csv")) + *textfile::readFile(path("b.pdf"));
    };
    ASSERT_FALSE(textfile::writeAllAtomically({{path("a.csv"), "o"}, {path("b.pdf"), "o"}}));
    FailingFileSystem counting;
    ASSERT_FALSE(write(counting));
    ASSERT_EQ(counting.count(), 20) << "the rows name the operations by their place";
    const struct {
        const char* operation;
        int failing;
        std::optional<std::size_t> failed;
        std::string contents;
    } cases[] = {
        {"listing old temporaries", 1, std::nullopt, "nn"},
        {"creating the first temporary", 2, 0, "oo"},
        {"the first file's permissions", 3, std::nullopt, "nn"}, // the usual ones then
        {"setting the permissions", 4, 0, "oo"},
        {"writing the first", 5, 0, "oo"},
        {"writing the second", 13, 1, "oo"},
        {"flushing the second", 14, 1, "oo"},
        {"closing the second", 15, 1, "oo"},
        {"the second held open elsewhere", 17, 1, "oo"}, // so the first is not replaced either
        {"renaming the first", 18, 0, "oo"},
        {"renaming the second", 19, 1, "no"},
        {"syncing the folder", 20, 0, "nn"}, // in place, but not known to be on the disk
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.operation);
        ASSERT_FALSE(textfile::writeAllAtomically({{path("a.csv"), "o"}, {path("b.pdf"), "o"}}));
        EXPECT_EQ(write(FailingFileSystem(c.failing)), c.failed);
        EXPECT_EQ(contents(), c.contents);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 2);
    }
    ASSERT_TRUE(textfile::writeLinesAtomically(path("a.csv"), {"old"}));
    EXPECT_FALSE(textfile::writeLinesAtomically(path("a.csv"), {"new"}, FailingFileSystem(5)));
    EXPECT_EQ(textfile::readFile(path("a.csv")), "old\r\n");
}

// A reader never sees new files beside old ones while a folder sync takes
// its time; a gate that holds the renames back leaves everything old.
TEST_F(TextFiles, FilesThatBelongTogetherAreRenamedBeforeTheOneFolderSync)
{
    const std::vector<std::string> files = {path("a.csv"), path("b.pdf"), path("c.html")};
    struct RecordingSync : platform::FileSystem {
        const std::vector<std::string>* files;
        mutable std::vector<std::string> syncedWith; // the files' contents at each sync
        bool syncFolder(const std::string& folder) const override
        {
            std::string contents;
            for (const std::string& file : *files)
                contents += textfile::readFile(file).value_or("-");
            syncedWith.push_back(contents);
            return FileSystem::syncFolder(folder);
        }
    } recording;
    recording.files = &files;
    ASSERT_FALSE(textfile::writeAllAtomically({{files[0], "1"}, {files[1], "1"}, {files[2], "1"}}));
    const auto held = textfile::writeAllAtomically(
        {{files[0], "2"}, {files[1], "2"}, {files[2], "2"}}, [](const std::function<void()>&) {},
        recording);
    const auto written = textfile::writeAllAtomically(
        {{files[0], "3"}, {files[1], "3"}, {files[2], "3"}}, {}, recording);
    EXPECT_EQ(held, std::optional<std::size_t>(3));
    EXPECT_FALSE(written);
    EXPECT_EQ(recording.syncedWith, std::vector<std::string>{"333"});
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
