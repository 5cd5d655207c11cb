#include "bench/SyntheticPhoto.h"
#include "evaluation/GuiApplication.h"
#include "evaluation/outputs/Run.h"
#include "evaluation/outputs/ThumbnailCache.h"
#include "evaluation/outputs/Thumbnails.h"
#include "evaluation/ranking/Folder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <pty.h>
#include <set>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

constexpr char kQelMax[] = "5 A\r\n5 B\r\n4 C\r\n3 D\r\n0 \r\n5 E\r\n4 F\r\n3 G\r\n3 H\r\n0 \r\n"
                           "5 I\r\n4 J\r\n3 K\r\n3 L\r\n0 \r\n";

class Folder : public ::testing::Test {
  protected:
    void SetUp() override
    {
        root = fs::temp_directory_path() / ("bb-evaluation-" + std::to_string(::getpid()));
        folder = root / "Clubabend";
        fs::remove_all(root);
        fs::create_directories(folder);
    }
    void TearDown() override
    {
        fs::permissions(root, fs::perms::owner_all);
        fs::remove_all(root);
    }

    void write(const std::string& name, const std::string& bytes)
    {
        std::ofstream(folder / name, std::ios::binary) << bytes;
    }
    std::string readPath(const fs::path& path)
    {
        std::stringstream s;
        s << std::ifstream(path, std::ios::binary).rdbuf();
        return s.str();
    }
    std::string read(const std::string& name) { return readPath(folder / name); }
    // The organiser's file beside the folder: "Clubabend Rangliste.csv".
    std::string beside(const std::string& suffix)
    {
        return readPath(root / ("Clubabend " + suffix));
    }
    int run(std::string& out, std::string& err, const evaluation::RunOptions& options = {})
    {
        ensureGuiApplication();
        std::ostringstream o, e;
        const int code = evaluation::evaluate(folder.string(), o, e, options);
        out = o.str();
        err = e.str();
        return code;
    }
    fs::path root, folder;
};

// All the program writes when its output goes to a terminal or into a pipe.
std::string runProgram(const std::string& folder, bool onTerminal)
{
    std::string text;
    char buffer[4096];
    if (!onTerminal) {
        const std::string command = std::string(BB_EVALUATION) + " '" + folder + "' 2>&1";
        if (std::FILE* pipe = ::popen(command.c_str(), "r")) {
            for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
                text.append(buffer, n);
            ::pclose(pipe);
        }
        return text;
    }
    int terminal = -1;
    const pid_t child = ::forkpty(&terminal, nullptr, nullptr, nullptr);
    if (child == 0) {
        ::execl(BB_EVALUATION, BB_EVALUATION, folder.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    if (child < 0)
        return "forkpty failed";
    // The end of the program's output reads as an error (EIO) on Linux.
    for (ssize_t n; (n = ::read(terminal, buffer, sizeof buffer)) > 0;)
        text.append(buffer, std::size_t(n));
    ::close(terminal);
    ::waitpid(child, nullptr, 0);
    return text;
}

TEST_F(Folder, ShowsProgressOnlyOnATerminal)
{
    write("Qel.max", kQelMax);
    bench::writePhoto((folder / "a.jpg").string(), 64, 48);
    bench::writePhoto((folder / "b.jpg").string(), 48, 64);
    write("Anna.qel", "443204332043220-a.jpg\r\n222202222022220-b.jpg\r\n");
    write("G\xfcnther Gro\xdf.qel", "111111111111111-a.jpg\r\n"); // named on a Windows PC
    for (const bool onTerminal : {true, false}) {
        const std::string text = runProgram(folder.string(), onTerminal);
        EXPECT_NE(text.find("Platz"), std::string::npos) << onTerminal << ": " << text;
        EXPECT_EQ(text.find("Bilder lesen: 2/2") != std::string::npos, onTerminal)
            << onTerminal << ": " << text;
    }
    EXPECT_NE(beside("Rangliste.csv").find(";Anna;Günther Groß;"), std::string::npos);
}

TEST_F(Folder, WritesTheThreeFilesAndReportsAPictureItCannotRead)
{
    // Only its first sixteen lines count, however long it is (as in the judging program).
    write("Qel.max", kQelMax + std::string(std::size_t(2) << 20, '#'));
    bench::writePhoto((folder / "b.jpg").string(), 2000, 1000);
    bench::writePhoto((folder / "a.JPG").string(), 64, 48);
    write("kaputt.jpg", "kein JPEG");
    write("Anna.qel", "443204332043220-a.JPG\r\n999999999999999-b.jpg\r\n"
                      "000000000000000-kaputt.jpg\r\n");
    write("Bernd.QEL", "111111111111111-b.jpg\r\n");
    write(".versteckt.qel", "999999999999999-a.JPG\r\n");
    fs::create_directory(folder / "Ordner.qel");
    ASSERT_EQ(::mkfifo((folder / "Rohr.qel").c_str(), 0600), 0); // must not hang
    write("Rangliste.csv", "Platz;Bild\r\n1;alt.jpg\r\n");       // an older version's, not an input

    EXPECT_EQ(evaluation::ratingFileNames(folder.string()),
              (std::vector<std::string>{"Anna.qel", "Bernd.QEL"}));
    std::string out, err;
    ASSERT_EQ(run(out, err), evaluation::kDone) << err;
    // The captions survive the reading: a mean per visible criterion (W5, T5, B5 are hidden).
    const std::string csv = beside("Rangliste.csv");
    EXPECT_EQ(csv.substr(0, csv.find("\r\n")),
              "\xEF\xBB\xBFPlatz;Bild;Anna;Bernd;Mittelwert;Spanne;Wirkung (Mittel);"
              "Technik (Mittel);Gestaltung (Mittel);A (Mittel);B (Mittel);C (Mittel);D (Mittel);"
              "E (Mittel);F (Mittel);G (Mittel);H (Mittel);I (Mittel);J (Mittel);K (Mittel);"
              "L (Mittel);Hinweis");
    EXPECT_EQ(beside("Rangliste.pdf").substr(0, 5), "%PDF-");
    EXPECT_EQ(beside("Rangliste.html").substr(0, 15), "<!DOCTYPE html>");
    EXPECT_EQ(read("Rangliste.csv"), "Platz;Bild\r\n1;alt.jpg\r\n");
    EXPECT_NE(out.find("Geschrieben in " + root.string() +
                       ": Clubabend Rangliste.csv, Clubabend Rangliste.pdf, "
                       "Clubabend Rangliste.html\n"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("   2.  b         47     12    29,5\n       Bewerter uneinig\n"
                       "       kaputt     –      –       –\n"),
              std::string::npos)
        << out;
    EXPECT_NE(err.find("Das Bild 'kaputt.jpg' kann nicht geöffnet werden!\n"), std::string::npos)
        << err;
    EXPECT_NE(err.find("Anna, Zeile 3: 'kaputt.jpg': alle Kriterien 0 – zählt als nicht bewertet"),
              std::string::npos)
        << err;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        EXPECT_NE(entry.path().filename().string().rfind(".bildbewertung-", 0), 0u);
    EXPECT_EQ(std::distance(fs::directory_iterator(root), {}), 4); // the folder and three files
}

// Names members chose: no escape sequence reaches the terminal, no formula
// the spreadsheet, no control character the CSV or page; a judge file named
// only spaces is no judge.
TEST_F(Folder, NoNameActsAsACommand)
{
    write("Qel.max", kQelMax);
    // With a right-to-left override and a zero-width space: "Cjpg.exe" to a reader.
    const std::string picture = "a\x1b[2Jb\x1b]0;T\x07\xC2\x9B"
                                "C\u202Eexe.gpj\u200B.jpg";
    bench::writePhoto((folder / picture).string(), 16, 16);
    write("=1+1.qel", "443204332043220-" + picture + "\r\n");
    write("@SUM(1).qel", "443204332043220-" + picture + "\r\n");
    write("   .qel", "111111111111111-" + picture + "\r\n");
    std::string out, err;
    ASSERT_EQ(run(out, err), evaluation::kDone) << err;
    const auto controls = [](const std::string& text, const std::string& allowed) {
        return std::count_if(text.begin(), text.end(),
                             [&](char c) {
                                 return (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) &&
                                        allowed.find(c) == std::string::npos;
                             }) +
               (text.find("\xC2\x9B") != std::string::npos) +
               (text.find("\u202E") != std::string::npos) +
               (text.find("\u200B") != std::string::npos);
    };
    EXPECT_EQ(controls(out + err, "\n"), 0) << out << err;
    EXPECT_NE(out.find("a?[2Jb?]0;T??C?exe.gpj?"), std::string::npos) << out;
    EXPECT_NE(err.find("Bewertungsdatei ohne Namen: '   .qel' – nicht gewertet"), std::string::npos)
        << err;
    const std::string csv = beside("Rangliste.csv");
    EXPECT_EQ(controls(csv, "\r\n"), 0) << csv;
    EXPECT_EQ(csv.substr(0, 39), "\xEF\xBB\xBFPlatz;Bild;'=1+1;'@SUM(1);Mittelwert");
    for (const char* start : {";=", ";+", ";@", "\n=", "\n+", "\n@"})
        EXPECT_EQ(csv.find(start), std::string::npos) << start;
    EXPECT_EQ(controls(beside("Rangliste.html"), "\n"), 0);
}

TEST_F(Folder, InputProblemsStopWithAGermanMessage)
{
    const struct {
        std::string qelMax; // empty: none
        bool picture, judge;
        std::string message;
    } cases[] = {
        {"", true, true, "Die Gewichtungsdatei Qel.max kann nicht geladen werden!"},
        {"5 A\r\n5 B\r\n", true, true, "Die Gewichtungsdatei Qel.max ist nicht korrekt!"},
        {kQelMax, false, true, "Keine jpg-Bilder im Zorvik-Ordner!"},
        {kQelMax, true, false, "Keine Bewertungsdateien (*.qel) im Ordner!"},
    };
    for (const auto& c : cases) {
        fs::remove_all(folder);
        fs::create_directories(folder);
        if (!c.qelMax.empty())
            write("Qel.max", c.qelMax);
        if (c.picture)
            bench::writePhoto((folder / "a.jpg").string(), 16, 16);
        if (c.judge)
            write("Anna.qel", "111111111111111-a.jpg\r\n");
        std::string out, err;
        EXPECT_EQ(run(out, err), evaluation::kInputProblem) << c.message;
        EXPECT_EQ(err, c.message + "\n");
        EXPECT_FALSE(fs::exists(root / "Clubabend Rangliste.csv")) << c.message;
    }
    fs::remove_all(folder);
    std::string out, err;
    EXPECT_EQ(run(out, err), evaluation::kInputProblem);
    EXPECT_EQ(err, "Den Ordner '" + folder.string() + "' gibt es nicht!\n");
}

// Sheets, Qel.max and the entrant list come back through shares and zip
// archives: a link out of the folder is not read, a link inside it is; a
// line naming no picture is quoted in at most 40 characters.
TEST_F(Folder, OnlyTheFoldersOwnFilesAreRead)
{
    const fs::path outside = folder.string() + "-draussen";
    fs::create_directories(outside);
    std::ofstream(outside / "id_rsa") << "111111111111111-GEHEIM\r\n";
    std::ofstream(outside / "Qel.max") << kQelMax;
    std::ofstream(outside / "Liste.csv") << "Datei;Titel\r\na.jpg;GEHEIM\r\n";
    write("Qel.max", kQelMax);
    bench::writePhoto((folder / "a.jpg").string(), 16, 16);
    write("Anna.qel", "443204332043220-a.jpg\r\n"
                      "111111111111111-0123456789012345678901234567890123456789GEHEIM\r\n");
    fs::create_symlink("Anna.qel", folder / "Innen.qel");
    fs::create_symlink(outside / "id_rsa", folder / "Spion.qel");
    fs::create_symlink(outside / "Liste.csv", folder / "Teilnehmer.csv");
    std::string out, err;
    ASSERT_EQ(run(out, err), evaluation::kDone) << err;
    for (const std::string& text : {out, err, beside("Rangliste.csv"), beside("Rangliste.html")})
        EXPECT_EQ(text.find("GEHEIM"), std::string::npos) << text;
    EXPECT_NE(out.find("Innen"), std::string::npos) << out;
    for (const char* line :
         {"'Spion.qel' verweist auf eine Datei außerhalb des Ordners – nicht gelesen\n",
          "'Teilnehmer.csv' verweist auf eine Datei außerhalb des Ordners – nicht gelesen\n",
          "Anna, Zeile 2: kein Bild '012345678901234567890123456789012345678…' im Ordner"})
        EXPECT_NE(err.find(line), std::string::npos) << line << "\n" << err;

    fs::remove(folder / "Qel.max");
    fs::create_symlink(outside / "Qel.max", folder / "Qel.max");
    EXPECT_EQ(run(out, err), evaluation::kInputProblem);
    EXPECT_NE(err.find("'Qel.max' verweist auf eine Datei außerhalb des Ordners – nicht gelesen"),
              std::string::npos)
        << err;
    fs::remove_all(outside);
}

// Beside the folder, or where --ausgabe says, never into it; --endgueltig
// with an abstaining judge is final and names the picture, until a sheet changes.
TEST_F(Folder, TheOrganisersFilesGoBesideOrWhereTheOrganiserSays)
{
    write("Qel.max", kQelMax);
    bench::writePhoto((folder / "a.jpg").string(), 32, 24);
    bench::writePhoto((folder / "b.jpg").string(), 32, 24);
    write("Anna.qel", "443204332043220-a.jpg\r\n222202222022220-b.jpg\r\n");
    write("Bert.qel", "333303333033330-a.jpg\r\n");
    const fs::path board = root / "Aushang";
    fs::create_directory(board);
    const struct {
        std::string place;
        bool readOnlyBeside;
        int code;
        std::string message; // on err; "" when written
        fs::path written;
    } cases[] = {
        {"", false, evaluation::kDone, "", root},
        {board.string(), false, evaluation::kDone, "", board},
        {(folder / ".").string(),
         false,
         evaluation::kInputProblem,
         "Die Rangliste gehört nicht in den Wettbewerbsordner, die Bewerter sehen ihn: '" +
             (folder / ".").string() + "' liegt darin.\n",
         {}},
        {(root / "fehlt").string(),
         false,
         evaluation::kInputProblem,
         "Den Ordner '" + (root / "fehlt").string() + "' gibt es nicht!\n",
         {}},
        {"",
         true,
         evaluation::kInputProblem,
         "Neben dem Ordner '" + folder.string() + "' kann die Rangliste nicht geschrieben werden",
         {}},
    };
    for (const auto& c : cases) {
        if (c.readOnlyBeside && ::geteuid() == 0)
            continue; // root writes anywhere
        for (const auto& entry : fs::directory_iterator(root))
            if (entry.path() != folder && entry.path() != board)
                fs::remove(entry.path());
        fs::permissions(root, c.readOnlyBeside ? fs::perms(0555) : fs::perms::owner_all);
        std::string out, err;
        EXPECT_EQ(run(out, err, {true, c.place}), c.code) << c.place << err;
        fs::permissions(root, fs::perms::owner_all);
        EXPECT_EQ(err.substr(0, c.message.size()), c.message) << c.place;
        if (!c.message.empty()) {
            EXPECT_NE(err.find("--ausgabe ORDNER"), std::string::npos) << err;
        }
        for (const char* suffix : {"Rangliste.csv", "Rangliste.pdf", "Rangliste.html"}) {
            EXPECT_FALSE(fs::exists(folder / suffix)) << c.place;
            EXPECT_EQ(fs::exists(c.written / ("Clubabend " + std::string(suffix))),
                      !c.written.empty())
                << c.place << suffix;
        }
    }
    // Final as declared, naming the picture Bert left out, in the PDF and on
    // the page, and still so for a later run.
    ASSERT_EQ(std::system("command -v pdftotext >/dev/null"), 0);
    std::string out, err;
    ASSERT_EQ(run(out, err, {true, ""}), evaluation::kDone) << err;
    EXPECT_NE(out.find("Für endgültig erklärt, festgehalten in '" + root.string() +
                       "/Clubabend Entscheidungen.txt'."),
              std::string::npos)
        << out;
    ASSERT_EQ(run(out, err), evaluation::kDone) << err;
    const std::string pdf = (root / "Clubabend Rangliste.pdf").string();
    std::string text;
    if (std::FILE* pipe = ::popen(("pdftotext -q -enc UTF-8 '" + pdf + "' -").c_str(), "r")) {
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
            text.append(buffer, n);
        ::pclose(pipe);
    }
    for (const std::string& output : {text, beside("Rangliste.html"), out}) {
        EXPECT_NE(output.find("Endgültige Rangliste vom "), std::string::npos) << output;
        EXPECT_NE(output.find("Bild b: 1 von 2 Bewertern"), std::string::npos) << output;
        EXPECT_EQ(output.find("Vorläufig"), std::string::npos) << output;
    }
    EXPECT_NE(beside("Entscheidungen.txt").find("\r\nEndgültig;"), std::string::npos);
    // A changed line makes it provisional again, saying why.
    write("Bert.qel", "333303333033330-a.jpg\r\n111101111011110-b.jpg\r\n");
    ASSERT_EQ(run(out, err), evaluation::kDone) << err;
    EXPECT_NE(out.find("wurde die Bewertungsdatei 'Bert.qel' geändert – wieder vorläufig"),
              std::string::npos)
        << out;
    EXPECT_NE(beside("Rangliste.html").find("Vorläufige Rangliste"), std::string::npos);
}

TEST(Thumbnail, OneEighthScaledUprightAndShrunkToTheLongerSide)
{
    const std::string file =
        (fs::temp_directory_path() / ("bb-thumb-" + std::to_string(::getpid()) + ".jpg")).string();
    bench::writePhoto(file, 2000, 1000);
    const evaluation::Thumbnail thumbnail = evaluation::readThumbnail(file, 240);
    ASSERT_TRUE(thumbnail.ok);
    EXPECT_EQ(thumbnail.scaleDenominator, 8);
    EXPECT_EQ(std::make_pair(thumbnail.width, thumbnail.height), std::make_pair(240, 120));
    EXPECT_EQ(thumbnail.pixels.size(), 240u * 120 * 3);

    // The same picture as a camera stores a portrait: EXIF orientation 6.
    std::stringstream bytes;
    bytes << std::ifstream(file, std::ios::binary).rdbuf();
    const std::string jpeg = bytes.str();
    const std::string exif("\xFF\xE1\x00\x22"
                           "Exif\0\0II*\0\x08\0\0\0\x01\0"
                           "\x12\x01\x03\0\x01\0\0\0\x06\0\0\0\0\0\0\0",
                           36);
    std::ofstream(file, std::ios::binary) << jpeg.substr(0, 2) << exif << jpeg.substr(2);
    const evaluation::Thumbnail upright = evaluation::readThumbnail(file, 240);
    fs::remove(file);
    ASSERT_TRUE(upright.ok);
    EXPECT_EQ(std::make_pair(upright.width, upright.height), std::make_pair(120, 240));
}

TEST_F(Folder, ThumbnailStoreDecodesOnlyNewOrChangedPictures)
{
    bench::writePhoto((folder / "a.jpg").string(), 2000, 1000);
    bench::writePhoto((folder / "b.jpg").string(), 64, 48);
    write("c.jpg", "kein JPEG");
    evaluation::ThumbnailStore store;
    std::size_t decoded = 0;
    const auto count = [&decoded](std::size_t, std::size_t) { ++decoded; };
    const struct {
        const char* what;
        std::function<void()> change;
        std::vector<std::string> pictures;
        std::size_t decoded;
    } steps[] = {
        {"first", [] {}, {"a.jpg", "b.jpg", "c.jpg"}, 3},
        {"nothing changed", [] {}, {"a.jpg", "b.jpg", "c.jpg"}, 0},
        {"b rewritten",
         [&] { bench::writePhoto((folder / "b.jpg").string(), 80, 60); },
         {"a.jpg", "b.jpg", "c.jpg"},
         1},
        {"c gone", [] {}, {"a.jpg", "b.jpg"}, 0},
        {"c back", [] {}, {"a.jpg", "b.jpg", "c.jpg"}, 1},
    };
    for (const auto& step : steps) {
        step.change();
        decoded = 0;
        EXPECT_TRUE(store.update(folder.string(), step.pictures, count)) << step.what;
        EXPECT_EQ(decoded, step.decoded) << step.what;
    }
    ASSERT_TRUE(store.find("a.jpg"));
    ASSERT_TRUE(store.find("b.jpg"));
    EXPECT_EQ(std::make_pair(store.find("a.jpg")->width, store.find("a.jpg")->height),
              std::make_pair(240, 120));
    EXPECT_EQ(store.find("b.jpg")->width, 80);
    EXPECT_FALSE(store.find("c.jpg"));
    evaluation::Evaluation e;
    e.pictures = {"a.jpg", "b.jpg", "c.jpg"};
    store.addProblems(e);
    ASSERT_EQ(e.problems.size(), 1u);
    EXPECT_EQ(e.problems[0].picture, "c.jpg");
    EXPECT_EQ(e.problems[0].kind, evaluation::ProblemKind::PictureUnreadable);

    std::atomic<bool> cancel{true};
    evaluation::ThumbnailStore cancelled;
    EXPECT_FALSE(cancelled.update(folder.string(), e.pictures, {}, &cancel));
    EXPECT_FALSE(cancelled.find("a.jpg"));
}

// A second run takes the thumbnails from the disk and decodes nothing (it
// rewrites no entry); a damaged entry is decoded again, never shown, and so
// is a picture replaced by another of the same size and time; the
// competition folder, copied to the judges, gets nothing of it.
TEST_F(Folder, ThumbnailsAreKeptOnDiskBetweenRuns)
{
    bench::writePhoto((folder / "a.jpg").string(), 2000, 1000);
    write("c.jpg", "kein JPEG");
    const fs::path cache = fs::path(std::getenv("XDG_CACHE_HOME")) / "kept";
    const std::vector<std::string> pictures{"a.jpg", "c.jpg"};
    const auto entries = [](const fs::path& path) {
        std::map<std::string, ino_t> found;
        for (const auto& entry : fs::directory_iterator(path)) {
            struct stat info {};
            ::stat(entry.path().c_str(), &info);
            found[entry.path().filename().string()] = info.st_ino;
        }
        return found;
    };
    const auto competition = entries(folder);
    ASSERT_TRUE(evaluation::ThumbnailStore(cache.string()).update(folder.string(), pictures));
    const struct {
        const char* what;
        std::function<void()> change;
        int width;            // of a.jpg's thumbnail; 0: none, it cannot be decoded
        std::size_t problems; // c.jpg stays unreadable
        std::size_t made;     // entries written: pictures decoded
    } steps[] = {
        {"unchanged", [] {}, 240, 1, 0},
        {"a.jpg's entry of another size than its picture's thumbnail",
         [&] {
             evaluation::Thumbnail dot{1, 1, 1, {128}, 1, true, {}, {}, {}};
             dot.pageJpeg = dot.printJpeg = evaluation::encodeJpeg(dot, 80);
             const std::string a = (fs::canonical(folder) / "a.jpg").string();
             evaluation::ThumbnailCache(cache.string()).store(a, evaluation::stampOf(a), dot);
         },
         240, 1, 1},
        {"entries damaged",
         [&] {
             for (const auto& entry : fs::directory_iterator(cache)) {
                 std::fstream file(entry.path(), std::ios::in | std::ios::out | std::ios::binary);
                 file.seekp(std::streamoff(fs::file_size(entry.path()) / 2));
                 file.put('\x5a');
             }
         },
         240, 1, 2},
        {"a.jpg replaced by another file of the same size and time",
         [&] {
             const auto modified = fs::last_write_time(folder / "a.jpg");
             write("a.jpg", std::string(fs::file_size(folder / "a.jpg"), 'x'));
             fs::last_write_time(folder / "a.jpg", modified);
         },
         0, 2, 1},
    };
    for (const auto& step : steps) {
        step.change();
        const auto before = entries(cache);
        evaluation::ThumbnailStore store(cache.string());
        ASSERT_TRUE(store.update(folder.string(), pictures));
        const evaluation::Thumbnail* a = store.find("a.jpg");
        EXPECT_EQ(a ? a->width : 0, step.width) << step.what;
        evaluation::Evaluation e;
        e.pictures = pictures;
        store.addProblems(e);
        EXPECT_EQ(e.problems.size(), step.problems) << step.what;
        std::size_t made = 0;
        for (const auto& [name, inode] : entries(cache))
            made += !before.count(name) || before.at(name) != inode;
        EXPECT_EQ(made, step.made) << step.what;
    }
    EXPECT_EQ(entries(folder), competition);
    fs::remove_all(cache);
}

// Why a picture failed to decode is kept on disk too, as the organiser reads it.
TEST_F(Folder, TheDecodeErrorIsKeptOnDisk)
{
    write("a.jpg", "x");
    const std::string a = (folder / "a.jpg").string();
    const std::string cache = (root / "cache").string();
    const pictures::DecodeError jpeg68{pictures::PictureFormat::jpeg, 68};
    const struct {
        std::optional<pictures::DecodeError> error;
        const char* text;
    } cases[] = {
        {std::nullopt, "Das Bild 'a.jpg' kann nicht geöffnet werden!"},
        {jpeg68, "Das Bild 'a.jpg' kann nicht geöffnet werden! JPEG-Fehler #68"},
    };
    for (const auto& c : cases) {
        evaluation::Thumbnail failed;
        failed.decodeError = c.error;
        evaluation::ThumbnailCache(cache).store(a, evaluation::stampOf(a), failed);
        const auto kept = evaluation::ThumbnailCache(cache).load(a, evaluation::stampOf(a));
        ASSERT_TRUE(kept) << c.text;
        EXPECT_EQ(evaluation::unreadablePicture("a.jpg", kept->decodeError).text, c.text);
    }
}

// The cache is used only where no one else can place or swap what is in it:
// a link on its way or a folder others may write means no cache this run,
// one line says so, and nothing is written or removed there; the trim
// removes only entries.
TEST_F(Folder, TheThumbnailCacheTrustsOnlyTheUsersOwnFolders)
{
    bench::writePhoto((folder / "a.jpg").string(), 64, 48);
    const fs::path home = fs::path(std::getenv("XDG_CACHE_HOME")) / "trust";
    const fs::path elsewhere = home / "elsewhere";
    const struct {
        const char* what;
        std::function<void()> prepare;
        bool used;
    } cases[] = {
        {"own folders", [] {}, true},
        {"thumbnails a link",
         [&] { fs::create_directory_symlink(elsewhere, home / "program" / "thumbnails"); }, false},
        {"program folder writable by all",
         [&] { fs::permissions(home / "program", fs::perms::all); }, false},
        {"base writable by the group",
         [&] { fs::permissions(home, fs::perms::group_write, fs::perm_options::add); }, false},
    };
    for (const auto& c : cases) {
        fs::remove_all(home);
        fs::create_directories(elsewhere);
        fs::create_directories(home / "program");
        fs::permissions(home, fs::perms::owner_all);
        fs::permissions(home / "program", fs::perms::owner_all);
        std::ofstream(elsewhere / "Brief.odt") << "Lieber Otto";
        c.prepare();
        const evaluation::CachePlace place{home.string(), {"program", "thumbnails"}};
        evaluation::ThumbnailCache cache(place, 1); // every entry beyond the bound
        EXPECT_EQ(cache.refused().has_value(), !c.used) << c.what;
        evaluation::ThumbnailStore store(std::nullopt);
        ASSERT_TRUE(store.update(folder.string(), {"a.jpg"})) << c.what;
        cache.store("/p/a.jpg", evaluation::stampOf((folder / "a.jpg").string()),
                    *store.find("a.jpg"));
        cache.trim();
        EXPECT_TRUE(fs::exists(elsewhere / "Brief.odt")) << c.what;
        EXPECT_EQ(std::distance(fs::directory_iterator(elsewhere), fs::directory_iterator()), 1)
            << c.what;
    }
    // A new account has no cache folder yet: it is made, for the user alone.
    fs::remove_all(home);
    EXPECT_FALSE(evaluation::ThumbnailCache(evaluation::CachePlace{home.string(), {"program"}}, 1)
                     .refused());
    EXPECT_EQ(fs::status(home).permissions(), fs::perms::owner_all);
    fs::remove_all(home);
}

// Past its bound the cache drops its oldest entries until nine tenths are left.
TEST_F(Folder, TheThumbnailCacheDropsItsOldestEntriesPastItsBound)
{
    evaluation::Thumbnail thumbnail{1, 1, 1, {128}, 1, true, {}, {}, {}};
    // A JPEG of one pixel, and bytes after its end, so an entry takes about 2 KB.
    thumbnail.pageJpeg = evaluation::encodeJpeg(thumbnail, 80);
    thumbnail.pageJpeg.resize(1000, 'j');
    thumbnail.printJpeg = thumbnail.pageJpeg;
    const fs::path cache = folder / "cache";
    evaluation::ThumbnailCache kept(cache.string(), 5000); // two entries of about 2 KB
    // Not an entry: the trim never removes it, however old and large.
    std::ofstream(cache / "Brief.odt") << std::string(10000, 'b');
    std::set<fs::path> seen;
    for (int i = 0; i < 3; ++i) {
        kept.store("/p/" + std::to_string(i) + ".jpg", {1, i}, thumbnail);
        for (const auto& entry : fs::directory_iterator(cache))
            if (seen.insert(entry.path()).second)
                fs::last_write_time(entry.path(),
                                    fs::file_time_type::clock::now() - std::chrono::hours(3 - i));
    }
    ASSERT_EQ(seen.size(), 4u);
    kept.trim();
    EXPECT_TRUE(fs::exists(cache / "Brief.odt"));
    EXPECT_FALSE(kept.load("/p/0.jpg", {1, 0}));
    EXPECT_TRUE(kept.load("/p/1.jpg", {1, 1}));
    EXPECT_TRUE(kept.load("/p/2.jpg", {1, 2}));
}

TEST(Thumbnail, ShrinkAveragesTheCoveredPixels)
{
    evaluation::Thumbnail grey{4, 2, 1, {0, 100, 200, 40, 20, 60, 0, 80}, 1, true, {}, {}, {}};
    const evaluation::Thumbnail half = evaluation::shrink(grey, 2);
    EXPECT_EQ(std::make_pair(half.width, half.height), std::make_pair(2, 1));
    EXPECT_EQ(half.pixels, (std::vector<std::uint8_t>{45, 80}));
    EXPECT_EQ(evaluation::shrink(grey, 4).pixels, grey.pixels);
}

} // namespace
