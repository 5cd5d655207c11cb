#include "core/TextFile.h"
#include "evaluation/prepare/Competition.h"
#include "evaluation/ranking/Preparation.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using evaluation::Entry;

TEST(Preparation, MakesTitlesIntoNamesBothSystemsHold)
{
    const std::pair<std::string, std::string> cases[] = {
        {"Abendlicht am See", "Abendlicht am See.jpg"},
        {"Licht & Schatten", "Licht && Schatten.jpg"}, // the panel shows one "&"
        {"Wer? Wie: \"so\" <a|b> 1/2\\3*", "Wer_ Wie_ _so_ _a_b_ 1_2_3_.jpg"},
        {"  ..versteckt. ", "versteckt.jpg"},
        {"Zeile\neins\t", "Zeile_eins_.jpg"},
        {"", "Bild.jpg"},
        {"...", "Bild.jpg"},
        {"con", "_con.jpg"},
        {"Com1.bild", "_Com1.bild.jpg"},
        {"LPT\xC2\xB3 ", "_LPT\xC2\xB3.jpg"}, // superscript 3: a device on recent Windows
        {"Console", "Console.jpg"},
        {"=SUMME(A1)", "_SUMME(A1).jpg"},
        {"-Nebel-", "_Nebel-.jpg"},
        {std::string(179, 'a') + "\xC3\xA4" + "b", std::string(179, 'a') + ".jpg"},
    };
    for (const auto& [title, name] : cases)
        EXPECT_EQ(evaluation::titleFileName(title), name) << title;
}

TEST(Preparation, NumbersAnonymousPicturesInARandomOrderAndFindsClashingTitles)
{
    std::mt19937 random(7);
    for (const std::size_t count : {1u, 9u, 20u, 100u, 1000u}) {
        const auto names =
            evaluation::competitionNames(std::vector<std::string>(count, "Gleich"), true, random);
        const std::size_t width = count < 100 ? 2 : count < 1000 ? 3 : 4;
        std::set<std::string> all(names.begin(), names.end());
        ASSERT_EQ(all.size(), count);
        const std::string first = std::string(width - 1, '0') + "1.jpg";
        const std::string last = std::to_string(count) + ".jpg";
        EXPECT_EQ(*all.begin(), first);
        EXPECT_EQ(*all.rbegin(), std::string(width + 4 - last.size(), '0') + last);
        if (count >= 20) { // in the entries' order they would tell who sent what
            EXPECT_NE(names.front(), first);
        }
    }
    const std::vector<std::string> titles{"See", "Berg", "see", "Wald", "Berg?", "Berg_"};
    EXPECT_EQ(evaluation::competitionNames(titles, false, random)[4], "Berg_.jpg");
    EXPECT_EQ(evaluation::clashingTitles(titles), (std::vector<std::size_t>{0, 2, 4, 5}));
    EXPECT_TRUE(evaluation::clashingTitles({"See", "Seen"}).empty());
}

TEST(Preparation, ListsTheMembersPicturesWithTheirProblems)
{
    const fs::path root = fs::temp_directory_path() / ("bb-entries-" + std::to_string(::getpid()));
    fs::remove_all(root);
    const std::pair<std::string, std::string> files[] = {
        {"Anna Berg/Nebel_Anna.jpg", "\xFF\xD8\xFF\xE0"},
        {"Anna Berg/.versteckt.jpg", "\xFF\xD8\xFF"},
        {"Anna Berg/Notiz.txt", "x"},
        {"Max/Reise/Max Muster - Am Meer.JPEG", "\xFF\xD8\xFF"},
        {"Max/Bild.png", "\x89PNG"},
        {"Max/falsch.jpg", "GIF89a"},
        {"lose.jpg", "\xFF\xD8\xFF"},
        {"Qel.max", "5 W1"},
    };
    for (const auto& [name, bytes] : files) {
        fs::create_directories((root / name).parent_path());
        std::ofstream(root / name, std::ios::binary) << bytes;
    }
    std::error_code noLink; // a broken link where the system makes one (mingw does not)
    fs::create_symlink(root / "fehlt.jpg", root / "Max" / "kaputt.jpg", noLink);

    std::vector<Entry> entries = evaluation::listEntries(root.string());
    struct Expected {
        std::string relative, title, author;
        Entry::Problem problem;
    };
    std::vector<Expected> expected{
        {"Anna Berg/Nebel_Anna.jpg", "Nebel_Anna", "Anna Berg", Entry::Problem::None},
        {"Max/Bild.png", "Bild", "Max", Entry::Problem::NotJpeg},
        {"Max/Reise/Max Muster - Am Meer.JPEG", "Max Muster - Am Meer", "Max",
         Entry::Problem::None},
        {"Max/falsch.jpg", "falsch", "Max", Entry::Problem::NotJpeg},
        {"Max/kaputt.jpg", "kaputt", "Max", Entry::Problem::Unreadable},
        {"lose.jpg", "lose", "", Entry::Problem::None},
    };
    if (noLink)
        std::erase_if(expected, [](const Expected& e) { return e.relative == "Max/kaputt.jpg"; });
    auto check = [&](const std::vector<Expected>& want) {
        ASSERT_EQ(entries.size(), want.size());
        for (std::size_t i = 0; i < want.size(); ++i) {
            SCOPED_TRACE(want[i].relative);
            EXPECT_EQ(entries[i].relative, want[i].relative);
            EXPECT_EQ(fs::path(entries[i].source), root / want[i].relative);
            EXPECT_EQ(entries[i].title, want[i].title);
            EXPECT_EQ(entries[i].author, want[i].author);
            EXPECT_EQ(entries[i].problem, want[i].problem);
        }
    };
    check(expected);

    std::vector<Expected> split = expected;
    split[0].title = "Nebel";
    split[0].author = "Anna";
    evaluation::splitNames(entries, evaluation::NameSplit::TitleUnderscoreAuthor);
    check(split);
    split[2].title = "Am Meer";
    split[2].author = "Max Muster";
    evaluation::splitNames(entries, evaluation::NameSplit::AuthorDashTitle);
    check(split);
    fs::remove_all(root);
}

// The folder and the list as the judges and the results get them: the
// taken pictures under their titles' names, Qel.max as set, the guide, the
// list beside with every cell as a spreadsheet reads it.
TEST(Preparation, WritesTheCompetitionFolderAndTheListBesideIt)
{
    const fs::path root =
        fs::temp_directory_path() / ("bb-competition-" + std::to_string(::getpid()));
    fs::remove_all(root);
    fs::create_directories(root / "in");
    const std::pair<const char*, const char*> files[] = {{"in/a.jpg", "\xFF\xD8\xFF a"},
                                                         {"in/b.jpg", "\xFF\xD8\xFF b"},
                                                         {"in/c.jpg", "\xFF\xD8\xFF c"},
                                                         {"in/Info.pdf", "%PDF"}};
    for (const auto& [name, bytes] : files)
        std::ofstream(root / name, std::ios::binary) << bytes;
    evaluation::Competition competition;
    competition.place = root.string();
    competition.name = "Herbst";
    competition.anonymous = false;
    competition.guide = (root / "in/Info.pdf").string();
    competition.criteria[0] = {5, "Licht & Schatten"};
    competition.explanation = {"", "Erkl\xC3\xA4rung"};
    const auto entry = [&](const char* file, const char* title, const char* author, bool taken) {
        Entry e;
        e.source = (root / "in" / file).string();
        e.title = title;
        e.author = author;
        e.included = taken;
        return e;
    };
    competition.entries = {entry("a.jpg", "Rot; Blau", "=Eva \"E\"", true),
                           entry("b.jpg", "Weg", "Max", false),
                           entry("c.jpg", "Gr\xC3\xBCn & Gelb", "", true)};
    std::mt19937 random(1);
    const auto plan = evaluation::competitionPlan(competition, random);
    ASSERT_TRUE(plan);
    ASSERT_EQ(newfolder::write(*plan).outcome, newfolder::Outcome::Written);

    std::set<std::string> names;
    for (const auto& file : fs::directory_iterator(root / "Herbst"))
        names.insert(file.path().filename().string());
    EXPECT_EQ(names, (std::set<std::string>{"Gr\xC3\xBCn && Gelb.jpg", "InfoQuintavo.pdf",
                                            "Qel.max", "Rot; Blau.jpg"}));
    const auto read = [&](const fs::path& path) { return textfile::readFile(path.string()); };
    EXPECT_EQ(read(root / "Herbst/Rot; Blau.jpg"), "\xFF\xD8\xFF a");
    EXPECT_EQ(read(root / "Herbst/InfoQuintavo.pdf"), "%PDF");
    EXPECT_EQ(read(root / "Herbst/Qel.max"),
              weightingFileBytes(competition.criteria, competition.explanation));
    EXPECT_EQ(read(root / "Herbst/Qel.max")->substr(0, 21), "5 Licht && Schatten\r\n");
    EXPECT_EQ(read(root / "Herbst Teilnehmer.csv"),
              "\xEF\xBB\xBF"
              "Datei;Titel;Autor\r\n"
              "Gr\xC3\xBCn && Gelb.jpg;Gr\xC3\xBCn & Gelb;\r\n"
              "\"Rot; Blau.jpg\";\"Rot; Blau\";\"'=Eva \"\"E\"\"\"\r\n");

    // Again: the folder is there, nothing is written.
    fs::remove(root / "Herbst Teilnehmer.csv");
    EXPECT_EQ(newfolder::write(*evaluation::competitionPlan(competition, random)).outcome,
              newfolder::Outcome::FolderNotEmpty);
    EXPECT_FALSE(fs::exists(root / "Herbst Teilnehmer.csv"));
    fs::remove_all(root);
}

} // namespace
