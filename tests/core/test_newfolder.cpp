#include "core/NewFolder.h"
#include "core/TextFile.h"

#include "core/FailingFileSystem.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

namespace fs = std::filesystem;
using newfolder::Outcome;

namespace {

std::string digest(const std::string& bytes)
{
    return std::to_string(bytes.size()) + ":" + std::to_string(std::hash<std::string>{}(bytes));
}

class NewFolder : public ::testing::Test {
  protected:
    void SetUp() override
    {
        root = fs::temp_directory_path() /
               ("newfolder-" + std::to_string(getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root);
        put("Einsendungen/Max/Abend.jpg", std::string(300000, 'a') + "\xFF\xD9");
        put("Einsendungen/b.JPEG", "\xFF\xD8kurz");
        plan.folder = path("Wettbewerb");
        plan.copies = {{path("Einsendungen/Max/Abend.jpg"), "01.jpg"},
                       {path("Einsendungen/b.JPEG"), "02.jpg"}};
        plan.files = {{"Qel.max", "5 W1\r\n"}};
        plan.beside = {{path("Wettbewerb Teilnehmer.csv"), "Datei;Titel;Autor\r\n"}};
    }
    void TearDown() override { fs::remove_all(root); }

    std::string path(const std::string& name) const { return (root / name).string(); }
    void put(const std::string& name, const std::string& bytes) const
    {
        fs::create_directories(fs::path(path(name)).parent_path());
        ASSERT_TRUE(textfile::writeAtomically(path(name), bytes));
    }
    // Every path below the root with its size and a hash of its bytes (folders: "/").
    std::map<std::string, std::string> tree() const
    {
        std::map<std::string, std::string> all;
        for (const auto& entry : fs::recursive_directory_iterator(root))
            all[fs::relative(entry.path(), root).generic_string()] =
                entry.is_directory() ? "/" : digest(*textfile::readFile(entry.path().string()));
        return all;
    }

    fs::path root;
    newfolder::Plan plan;
};

TEST_F(NewFolder, CopiesByteForByteAndLeavesNothingElse)
{
    const auto before = tree();
    std::uint64_t last = 0, total = 0;
    const auto result = newfolder::write(plan, [&](std::uint64_t done, std::uint64_t all) {
        EXPECT_GE(done, last);
        last = done;
        total = all;
        return true;
    });
    ASSERT_EQ(result.outcome, Outcome::Written) << result.path;
    EXPECT_EQ(last, total);
    EXPECT_EQ(total, 300002u + 6u);
    auto expected = before; // the sources unchanged, the new folder and list beside
    expected["Wettbewerb"] = "/";
    expected["Wettbewerb/01.jpg"] = before.at("Einsendungen/Max/Abend.jpg");
    expected["Wettbewerb/02.jpg"] = before.at("Einsendungen/b.JPEG");
    expected["Wettbewerb/Qel.max"] = digest("5 W1\r\n");
    expected["Wettbewerb Teilnehmer.csv"] = digest("Datei;Titel;Autor\r\n");
    EXPECT_EQ(tree(), expected);
    // As readable as any folder made here: the judges copy it, a share serves it.
    const fs::path probe = fs::path(plan.folder).concat(".probe");
    fs::create_directory(probe);
    EXPECT_EQ(fs::status(plan.folder).permissions(), fs::status(probe).permissions());
    fs::remove(probe);

    // An empty folder is taken; a second run finds the folder full.
    fs::remove_all(plan.folder);
    fs::remove(plan.beside[0].name);
    fs::create_directory(plan.folder);
    EXPECT_EQ(newfolder::write(plan).outcome, Outcome::Written);
    EXPECT_EQ(tree(), expected);
    fs::remove(plan.beside[0].name);
    EXPECT_EQ(newfolder::write(plan).outcome, Outcome::FolderNotEmpty);
}

// Whatever stops it, the disk holds what it held before.
TEST_F(NewFolder, AFailureLeavesEverythingAsItWas)
{
    put("Alt/x.jpg", "x");
    put("Belegt Teilnehmer.csv", "alt");
    const auto before = tree();
    const struct {
        const char* name;
        std::function<void(newfolder::Plan&)> change;
        Outcome outcome;
        std::string pathEnd;
        bool cancel = false;
        std::function<void()> whileCopying = {};
    } cases[] = {
        {"target holds a file", [&](auto& p) { p.folder = path("Alt"); }, Outcome::FolderNotEmpty,
         "Alt"},
        {"target is a file", [&](auto& p) { p.folder = path("Alt/x.jpg"); },
         Outcome::FolderNotEmpty, "x.jpg"},
        {"list exists", [&](auto& p) { p.beside[0].name = path("Belegt Teilnehmer.csv"); },
         Outcome::FileExists, "Belegt Teilnehmer.csv"},
        {"source gone", [&](auto& p) { p.copies[1].source = path("fehlt.jpg"); },
         Outcome::SourceUnreadable, "fehlt.jpg"},
        {"source is a folder", [&](auto& p) { p.copies[1].source = path("Alt"); },
         Outcome::SourceUnreadable, "Alt"},
        {"two pictures, one name", [&](auto& p) { p.copies[1].name = "01.jpg"; },
         Outcome::WriteFailed, "Wettbewerb"},
        {"no such parent", [&](auto& p) { p.folder = path("fehlt/Wettbewerb"); },
         Outcome::WriteFailed, "Wettbewerb"},
        {"cancelled", [](auto&) {}, Outcome::Cancelled, "Wettbewerb", true},
        {"source still growing", [](auto&) {}, Outcome::SourceChanged, "Abend.jpg", false,
         [&] { std::ofstream(path("Einsendungen/Max/Abend.jpg"), std::ios::app) << "mehr"; }},
        {"rewrite refuses",
         [](auto& p) { p.copies[1].rewrite = [](std::string_view) { return std::nullopt; }; },
         Outcome::SourceRefused, "b.JPEG"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        newfolder::Plan changed = plan;
        c.change(changed);
        const auto result = newfolder::write(changed, [&](std::uint64_t, std::uint64_t) {
            if (c.whileCopying)
                c.whileCopying();
            return !c.cancel;
        });
        EXPECT_EQ(result.outcome, c.outcome);
        EXPECT_TRUE(result.path.ends_with(c.pathEnd)) << result.path;
        if (c.whileCopying)
            put("Einsendungen/Max/Abend.jpg", std::string(300000, 'a') + "\xFF\xD9");
        EXPECT_EQ(tree(), before);
    }
}

// Whichever operation fails, and however, the disk holds what it held
// before, or all that was planned when the failure came after that.
TEST_F(NewFolder, AFailingOperationLeavesAllOrNothing)
{
    const auto before = tree();
    FailingFileSystem counting;
    ASSERT_EQ(newfolder::write(plan, {}, counting).outcome, Outcome::Written);
    const auto after = tree();
    const auto undo = [&] {
        fs::remove_all(plan.folder);
        fs::remove(plan.beside[0].name);
    };
    undo();
    const std::pair<platform::Failure, Outcome> failures[] = {
        {platform::Failure::diskFull, Outcome::DiskFull},
        {platform::Failure::readOnly, Outcome::ReadOnly},
        {platform::Failure::other, Outcome::WriteFailed}};
    for (const auto& [failure, outcome] : failures) {
        std::set<Outcome> seen;
        for (int n = 1; n <= counting.count(); ++n) {
            SCOPED_TRACE("operation " + std::to_string(n));
            const auto result = newfolder::write(plan, {}, FailingFileSystem(n, failure));
            seen.insert(result.outcome);
            EXPECT_EQ(tree(), result.outcome == Outcome::Written ? after : before);
            undo();
        }
        EXPECT_TRUE(seen.contains(outcome)) << "a failed write tells why";
    }
}

// What an interrupted run left beside the target goes with the next run:
// the hidden copies, and a list that came without its folder. An older list
// and what is not ours stay.
TEST_F(NewFolder, TheNextRunRemovesWhatAnInterruptedOneLeft)
{
    put(".Wettbewerb.a1B2c3/01.jpg", "teil");
    put(".Wettbewerb Teilnehmer.csv.Zz9yX8", "teil");
    put("Wettbewerb Teilnehmer.csv", "der unterbrochene Lauf");
    put(".Wettbewerb.fremd", "nicht unseres");
    std::error_code noLink;
    fs::create_directory_symlink(path("Einsendungen"), path(".Wettbewerb.Link42"), noLink);
    const auto before = tree();
    ASSERT_EQ(newfolder::write(plan).outcome, Outcome::Written);
    auto expected = before;
    for (const char* gone :
         {".Wettbewerb.a1B2c3", ".Wettbewerb.a1B2c3/01.jpg", ".Wettbewerb Teilnehmer.csv.Zz9yX8"})
        expected.erase(gone);
    expected["Wettbewerb Teilnehmer.csv"] = digest("Datei;Titel;Autor\r\n");
    for (const char* made :
         {"Wettbewerb", "Wettbewerb/01.jpg", "Wettbewerb/02.jpg", "Wettbewerb/Qel.max"})
        expected[made] = tree().at(made);
    EXPECT_EQ(tree(), expected);
    EXPECT_TRUE(fs::exists(path("Einsendungen/Max/Abend.jpg"))); // not through the link

    // A list older than the interrupted copy is a competition's of its own.
    fs::remove_all(plan.folder);
    put(".Wettbewerb.d4E5f6/01.jpg", "teil");
    fs::last_write_time(plan.beside[0].name,
                        fs::last_write_time(path(".Wettbewerb.d4E5f6")) - std::chrono::hours(1));
    EXPECT_EQ(newfolder::write(plan).outcome, Outcome::FileExists);
    EXPECT_FALSE(fs::exists(path(".Wettbewerb.d4E5f6")));
    EXPECT_TRUE(fs::exists(plan.beside[0].name));
}

} // namespace
