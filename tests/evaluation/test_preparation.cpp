#include "Utf8Path.h"
#include "core/TextFile.h"
#include "evaluation/GuiApplication.h"
#include "evaluation/prepare/Competition.h"
#include "evaluation/prepare/PrepareRun.h"
#include "evaluation/ranking/Preparation.h"
#include "pictures/JpegFixtures.h"
#include "pictures/Orientation.h"
#include "pictures/ScaledDecode.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
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

// A subfolder per member: it is the author, and a name is split only where
// it repeats that author; a file outside any is split as its name says.
TEST(Preparation, ListsTheMembersPicturesWithTheirProblemsAndSplitsTheirNames)
{
    const fs::path root = fs::temp_directory_path() / ("bb-entries-" + std::to_string(::getpid()));
    fs::remove_all(root);
    const std::pair<std::string, std::string> files[] = {
        {"Anna Berg/Nebel_Anna Berg.jpg", "\xFF\xD8\xFF\xE0"},
        {"Anna Berg/.versteckt.jpg", "\xFF\xD8\xFF"},
        {"Anna Berg/Notiz.txt", "x"},
        {"J\xC3\xB6rg M\xC3\xBCller/Hafen - Hamburg.jpg", "\xFF\xD8\xFF"},
        {"J\xC3\xB6rg M\xC3\xBCller/j\xC3\xB6rg m\xC3\xBCller - Abendrot.jpg", "\xFF\xD8\xFF"},
        {"Max/Reise/Max Muster - Am Meer.JPEG", "\xFF\xD8\xFF"},
        {"Max/Bild.png", "\x89PNG"},
        {"Max/falsch.jpg", "GIF89a"},
        {"Eva - Licht_und_Schatten.jpg", "\xFF\xD8\xFF"},
        {"Qel.max", "5 W1"},
    };
    for (const auto& [name, bytes] : files) {
        fs::create_directories((root / utf8Path(name)).parent_path());
        std::ofstream(root / utf8Path(name), std::ios::binary) << bytes;
    }
    std::error_code noLink; // a broken link where the system makes one (mingw does not)
    fs::create_symlink(root / "fehlt.jpg", root / "Max" / "kaputt.jpg", noLink);

    using P = Entry::Problem;
    const std::string jm = "J\xC3\xB6rg M\xC3\xBCller";
    const struct {
        std::string relative, title, author;
        P problem;
        std::string titleAfterUnderscore, titleAfterDash, authorAfterDash;
    } expected[] = {
        {"Anna Berg/Nebel_Anna Berg.jpg", "Nebel_Anna Berg", "Anna Berg", P::Unchecked, "Nebel",
         "Nebel_Anna Berg", "Anna Berg"},
        {"Eva - Licht_und_Schatten.jpg", "Eva - Licht_und_Schatten", "", P::Unchecked,
         "Eva - Licht_und", "Licht_und_Schatten", "Eva"},
        {jm + "/Hafen - Hamburg.jpg", "Hafen - Hamburg", jm, P::Unchecked, "Hafen - Hamburg",
         "Hafen - Hamburg", jm},
        {jm + "/j\xC3\xB6rg m\xC3\xBCller - Abendrot.jpg", "j\xC3\xB6rg m\xC3\xBCller - Abendrot",
         jm, P::Unchecked, "j\xC3\xB6rg m\xC3\xBCller - Abendrot", "Abendrot", jm},
        {"Max/Bild.png", "Bild", "Max", P::NotJpeg, "Bild", "Bild", "Max"},
        {"Max/Reise/Max Muster - Am Meer.JPEG", "Max Muster - Am Meer", "Max", P::Unchecked,
         "Max Muster - Am Meer", "Max Muster - Am Meer", "Max"},
        {"Max/falsch.jpg", "falsch", "Max", P::NotJpeg, "falsch", "falsch", "Max"},
        {"Max/kaputt.jpg", "kaputt", "Max", P::Unreadable, "kaputt", "kaputt", "Max"},
    };
    std::vector<Entry> entries = evaluation::listEntries(utf8String(root));
    ASSERT_EQ(entries.size(), std::size(expected) - (noLink ? 1 : 0));
    std::vector<Entry> underscore = entries, dash = entries;
    evaluation::splitNames(underscore, evaluation::NameSplit::TitleUnderscoreAuthor);
    evaluation::splitNames(dash, evaluation::NameSplit::AuthorDashTitle);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const auto& want = expected[i];
        SCOPED_TRACE(want.relative);
        EXPECT_EQ(entries[i].relative, want.relative);
        EXPECT_EQ(utf8Path(entries[i].source), root / utf8Path(want.relative));
        EXPECT_EQ(entries[i].title, want.title);
        EXPECT_EQ(entries[i].author, want.author);
        EXPECT_EQ(entries[i].problem, want.problem);
        EXPECT_EQ(underscore[i].title, want.titleAfterUnderscore);
        EXPECT_EQ(dash[i].title, want.titleAfterDash);
        EXPECT_EQ(dash[i].author, want.authorAfterDash);
    }
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
    competition.criteria[6] = {3, ""};
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
    // Below line 15 this competition's criteria and sums, in Windows-1252.
    const std::string weighting = read(root / "Herbst/Qel.max").value_or("");
    EXPECT_EQ(weighting.substr(0, 21), "5 Licht && Schatten\r\n");
    for (const char* line :
         {"  Wirkung: Licht & Schatten (5)\r\n",
          "  Technik: kein Kriterium sichtbar; ausgeblendet, aber mitgez\xE4hlt: "
          "3\r\n",
          "Die H\xF6\x63hstpunktzahl ist 5 + 3 + 0 = 8 Punkte.\r\n"})
        EXPECT_NE(weighting.find(line), std::string::npos) << line;
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

namespace {

std::string fixture(fixtures::Bytes bytes)
{
    return {bytes.begin(), bytes.end()};
}

// A camera portrait whose metadata names its author everywhere a viewer looks.
std::string taggedPortrait()
{
    using namespace std::string_literals;
    fixtures::Bytes tiff = fixtures::tiffWithOrientation(6, false);
    for (const char c : "Artist Copyright OwnerName: Anna Berg"s)
        tiff.push_back(static_cast<std::uint8_t>(c));
    std::string jpeg =
        fixture(fixtures::withSegment(fixtures::makeJpeg({}), fixtures::exifSegment(tiff)));
    const auto segment = [](char marker, const std::string& payload) {
        const std::size_t length = payload.size() + 2;
        std::string bytes{'\xFF', marker, static_cast<char>(length >> 8),
                          static_cast<char>(length)};
        return bytes + payload;
    };
    return jpeg.insert(2, segment('\xE1', "http://ns.adobe.com/xap/1.0/\0<dc:creator>Anna Berg"s) +
                              segment('\xED', "Photoshop 3.0\08BIM\x04\x04 by-line Anna Berg"s) +
                              segment('\xFE', "Foto: Anna Berg"));
}

std::string pixelsOf(const std::string& jpeg)
{
    const auto* data = reinterpret_cast<const std::uint8_t*>(jpeg.data());
    const auto picture = pictures::decodeScaled(data, jpeg.size(), 0);
    const pictures::Bitmap& b = picture.bitmap;
    return b.pixels ? std::string(reinterpret_cast<const char*>(b.pixels.get()),
                                  static_cast<std::size_t>(b.stride) * b.height)
                    : std::string();
}

} // namespace

// From a terminal: the members' folders read as the window reads them, the
// damaged picture named and left out, the anonymous copies without their
// authors' names, --mit-namen byte for byte.
TEST(Preparation, PreparesFromATerminal)
{
    ensureGuiApplication();
    const fs::path root = fs::temp_directory_path() / ("bb-terminal-" + std::to_string(::getpid()));
    fs::remove_all(root);
    const std::string jm = "J\xC3\xB6rg M\xC3\xBCller";
    const std::string good = fixture(fixtures::makeJpeg({}));
    const std::pair<std::string, std::string> files[] = {
        {"Anna Berg/Portr\xC3\xA4t.jpg", taggedPortrait()},
        {jm + "/" + jm + " - Abendrot.jpg", good},
        {jm + "/Hafen - Hamburg.jpg", good + ""},
        {"Max/See.jpg", good},
        {"Max/Kaputt.jpg", good.substr(0, good.size() * 55 / 100)},
        {"Info.pdf", "%PDF"},
    };
    for (const auto& [name, bytes] : files) {
        fs::create_directories((root / "in" / utf8Path(name)).parent_path());
        std::ofstream(root / "in" / utf8Path(name), std::ios::binary) << bytes;
    }
    const auto read = [&](const fs::path& path) {
        return textfile::readFile(utf8String(path)).value_or("");
    };
    const evaluation::PrepareRequest anonymous{(root / "in").string(), (root / "Herbst/").string(),
                                               true, BB_SOURCE_DIR "/packaging/vorlage/Qel.max",
                                               (root / "in/Info.pdf").string()};
    std::ostringstream out, err;
    ASSERT_EQ(evaluation::prepareOnTerminal(anonymous, out, err), 0) << err.str();
    EXPECT_EQ(err.str(),
              "Max/Kaputt.jpg: besch\xC3\xA4\x64igt \xE2\x80\x93 wird nicht aufgenommen\n");
    EXPECT_TRUE(out.str().starts_with("Der Wettbewerb ist angelegt: 4 Bilder")) << out.str();
    const std::string list = read(root / "Herbst Teilnehmer.csv");
    EXPECT_NE(list.find(";Hafen - Hamburg;" + jm + "\r\n"), std::string::npos) << list;
    EXPECT_NE(list.find(";Abendrot;" + jm + "\r\n"), std::string::npos) << list;
    const std::size_t portrait = list.find(";Portr\xC3\xA4t;Anna Berg");
    ASSERT_NE(portrait, std::string::npos) << list;
    const std::string copy = read(root / "Herbst" / utf8Path(list.substr(portrait - 6, 6)));
    EXPECT_EQ(copy.find("Anna Berg"), std::string::npos);
    EXPECT_EQ(
        pictures::exifOrientation(reinterpret_cast<const std::uint8_t*>(copy.data()), copy.size()),
        6);
    EXPECT_EQ(pixelsOf(copy), pixelsOf(taggedPortrait()));
    std::set<std::string> names;
    for (const auto& file : fs::directory_iterator(root / "Herbst"))
        names.insert(file.path().filename().string());
    EXPECT_EQ(names, (std::set<std::string>{"01.jpg", "02.jpg", "03.jpg", "04.jpg",
                                            "InfoQuintavo.pdf", "Qel.max"}));

    evaluation::PrepareRequest withNames = anonymous;
    withNames.target = (root / "Offen").string();
    withNames.anonymous = false;
    ASSERT_EQ(evaluation::prepareOnTerminal(withNames, out, err), 0) << err.str();
    EXPECT_EQ(read(root / "Offen" / utf8Path("Portr\xC3\xA4t.jpg")), taggedPortrait());
    // Again: nothing is written, and it says why.
    err.str("");
    EXPECT_EQ(evaluation::prepareOnTerminal(withNames, out, err), 1);
    EXPECT_NE(err.str().find("gibt es schon und ist nicht leer"), std::string::npos) << err.str();
    fs::remove_all(root);
}
