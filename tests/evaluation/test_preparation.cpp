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
        {"Console", "Console.jpg"},
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
    fs::create_symlink(root / "fehlt.jpg", root / "Max" / "kaputt.jpg");

    std::vector<Entry> entries = evaluation::listEntries(root.string());
    struct Expected {
        std::string relative, title, author;
        Entry::Problem problem;
    };
    const std::vector<Expected> expected{
        {"Anna Berg/Nebel_Anna.jpg", "Nebel_Anna", "Anna Berg", Entry::Problem::None},
        {"Max/Bild.png", "Bild", "Max", Entry::Problem::NotJpeg},
        {"Max/Reise/Max Muster - Am Meer.JPEG", "Max Muster - Am Meer", "Max",
         Entry::Problem::None},
        {"Max/falsch.jpg", "falsch", "Max", Entry::Problem::NotJpeg},
        {"Max/kaputt.jpg", "kaputt", "Max", Entry::Problem::Unreadable},
        {"lose.jpg", "lose", "", Entry::Problem::None},
    };
    auto check = [&](const std::vector<Expected>& want) {
        ASSERT_EQ(entries.size(), want.size());
        for (std::size_t i = 0; i < want.size(); ++i) {
            SCOPED_TRACE(want[i].relative);
            EXPECT_EQ(entries[i].relative, want[i].relative);
            EXPECT_EQ(entries[i].source, (root / want[i].relative).string());
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

} // namespace
