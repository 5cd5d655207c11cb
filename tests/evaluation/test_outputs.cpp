#include "evaluation/outputs/Csv.h"
#include "evaluation/outputs/PdfReport.h"
#include "evaluation/outputs/TextTable.h"
#include "evaluation/ranking/Columns.h"
#include "evaluation/ranking/Report.h"

#include "evaluation/GuiApplication.h"
#include "evaluation/Scores.h"
#include "evaluation/outputs/HtmlReport.h"
#include "evaluation/outputs/Run.h"
#include "evaluation/outputs/Thumbnails.h"
#include "pictures/JpegFixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <unistd.h>

namespace {

// Two judges, one with ";" and a quote in the name; a picture one judge did
// not rate and one both gave all zeros; a criterion whose caption looks
// like a formula.
evaluation::Evaluation sample()
{
    evaluation::Evaluation e;
    e.pictures = {"Abend.jpg", "Kätzchen.jpg", "Leer.jpg"};
    e.criteria = {{10, "=Idee", 5}};
    e.maxTotal = 47;
    e.judges.push_back(
        {"Anna", {groupScore(12, 10, 9), groupScore(14, 12, 13), groupScore(0, 0, 0, true)}});
    e.judges.push_back(
        {"Jo;\"B\"", {std::nullopt, groupScore(10, 12, 11), groupScore(0, 0, 0, true)}});
    e.problems = {{evaluation::ProblemKind::NoLine, "Jo;\"B\"", 0, "Abend.jpg",
                   "Jo;\"B\": keine Zeile für 'Abend.jpg' – nicht bewertet"}};
    return e;
}

TEST(Outputs, CsvBytesOpenInAGermanSpreadsheet)
{
    EXPECT_EQ(evaluation::rankingCsv(evaluation::buildReport(sample())),
              "\xEF\xBB\xBF"
              "Platz;Bild;Anna;\"Jo;\"\"B\"\"\";Mittelwert;Spanne;Wirkung (Mittel);"
              "Technik (Mittel);Gestaltung (Mittel);'=Idee (Mittel);Hinweis\r\n"
              "1;Kätzchen.jpg;39;33;36,0;6;12,0;12,0;12,0;12,0;\r\n"
              "2;Abend.jpg;31;;31,0;0;12,0;10,0;9,0;9,0;\"nicht bewertet: Jo;\"\"B\"\"\"\r\n"
              ";Leer.jpg;;;;;;;;;\"nicht bewertet; alle Kriterien 0: Anna, Jo;\"\"B\"\"\"\r\n");
    const std::pair<std::string, std::string> fields[] = {
        {"=1+1", "'=1+1"},
        {"+cmd|calc", "'+cmd|calc"},
        {"@SUM(1)", "'@SUM(1)"},
        {"-1+2", "'-1+2"},
        {"\t=1", "'=1"},
        {"-0,8", "-0,8"},
        {"12", "12"},
        {"-", "'-"},
        {"a\r\nb\x1b[2J\xC2\x9B", "ab[2J"},
        {"=x;\"", "\"'=x;\"\"\""},
        {"a=b", "a=b"},
        {"", ""},
    };
    for (const auto& [text, field] : fields)
        EXPECT_EQ(evaluation::csvField(text), field) << text;
}

TEST(Outputs, TerminalTableIsAlignedByCharactersAndFitsAHundredColumns)
{
    evaluation::Evaluation e;
    e.pictures = {"Blüte.jpg", "See.jpg"};
    e.maxTotal = 47;
    e.judges.push_back({"Ärger", {groupScore(10, 10, 10), std::nullopt}});
    EXPECT_EQ(evaluation::rankingTable(evaluation::buildReport(e)),
              "Platz  Bild   Ärger  Mittel\n"
              "---------------------------\n"
              "   1.  Blüte     30    30,0\n"
              "       See        –       –\n"
              "       nicht bewertet: Ärger\n");

    // Five judges with long names, a long title, a long hint.
    e.pictures = {"Sonnenuntergang über dem Wattenmeer bei Ebbe.jpg", "See.jpg"};
    e.judges.clear();
    for (const char* name : {"Maximiliane von Hohenzollern", "Bärbel Müller-Lüdenscheidt", "Jo",
                             "Anna Berger B", "Konstantin Überreiter"})
        e.judges.push_back({name, {groupScore(10, 10, 10), std::nullopt}});
    const std::string table = evaluation::rankingTable(evaluation::buildReport(e));
    std::size_t start = 0, lines = 0;
    for (std::size_t end; (end = table.find('\n', start)) != std::string::npos; start = end + 1) {
        EXPECT_LE(evaluation::displayWidth(table.substr(start, end - start)), 100u)
            << table.substr(start, end - start);
        ++lines;
    }
    EXPECT_EQ(lines, 6u) << table; // headings, rule, two rows, the hint in two lines
    EXPECT_NE(table.find("Maximiliane…"), std::string::npos) << table;
    EXPECT_NE(table.find("Sonnenuntergan…"), std::string::npos) << table;
    EXPECT_NE(table.find("Jo"), std::string::npos) << table;
    EXPECT_EQ(evaluation::shortened("Bärbel", 6), "Bärbel");
    EXPECT_EQ(evaluation::shortened("Bärbel", 5), "Bärb…");
    // Cells, not code points: a combining mark takes none, a wide character two.
    EXPECT_EQ(evaluation::displayWidth("Bu\xCC\x88hne"), 5u);
    EXPECT_EQ(evaluation::displayWidth("富士山"), 6u);
    EXPECT_EQ(evaluation::shortened("富士山の朝", 7), "富士山…");
}

// A 24 x 16 green thumbnail with its JPEGs, as the store keeps it.
evaluation::Thumbnail greenThumbnail()
{
    evaluation::Thumbnail thumbnail;
    thumbnail.width = 24;
    thumbnail.height = 16;
    thumbnail.ok = true;
    for (int i = 0; i < 24 * 16; ++i)
        thumbnail.pixels.insert(thumbnail.pixels.end(), {0, 100, 0});
    thumbnail.pageJpeg = evaluation::encodeJpeg(thumbnail, 80);
    thumbnail.printJpeg = evaluation::encodeJpeg(thumbnail, 50); // not Qt's own 94
    return thumbnail;
}

// The output of a poppler tool (pdftotext, pdfimages) run on `pdf`; its
// messages (unless quietened), such as a broken cross-reference table, go
// into the text too.
std::string pdfText(const QByteArray& pdf, const std::string& tool = "pdftotext -q -enc UTF-8")
{
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() / ("bb-eval-" + std::to_string(::getpid()) + ".pdf");
    std::ofstream(file, std::ios::binary).write(pdf.constData(), pdf.size());
    const std::string command =
        tool + " '" + file.string() + "'" + (tool.starts_with("pdftotext") ? " -" : "") + " 2>&1";
    std::string text;
    if (std::FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
            text.append(buffer, n);
        ::pclose(pipe);
    }
    std::filesystem::remove(file);
    return text;
}

TEST(Outputs, PdfShowsTitleRowsJudgesAveragesAndProblems)
{
    ASSERT_EQ(std::system("command -v pdftotext >/dev/null"), 0)
        << "pdftotext (poppler-utils) is needed; scripts/setup installs it";
    ensureGuiApplication();
    const evaluation::Thumbnail thumbnail = greenThumbnail();
    const QByteArray pdf =
        evaluation::rankingPdf(evaluation::buildReport(sample()), {&thumbnail, nullptr, &thumbnail},
                               {"Clubabend März", "07.12.2026"});
    ASSERT_TRUE(pdf.startsWith("%PDF-"));
    const std::string text = pdfText(pdf);
    for (const char* expected :
         {"Rangliste – Clubabend März", "07.12.2026 · 3 Bilder · 2 Bewerter · höchstens 47",
          "Vorläufige Rangliste – es fehlt noch:", "Abend: 1 von 2 Bewertern",
          "Leer: nicht bewertet", "Kätzchen", "Abend", "Leer", "1.", "2.", "36,0", "Anna",
          "Durchschnitt je Bewerter", "alle Kriterien 0: Anna", "Hinweise für die Auswertung",
          "keine Zeile für 'Abend.jpg' – nicht bewertet", "Seite 2"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
    EXPECT_LT(text.find("Kätzchen"), text.find("Abend\n")) << text;
    EXPECT_EQ(text.find("Kätzchen.jpg"), std::string::npos) << text;
    // No place for the unrated picture, no sums; the problems on their own page.
    for (const char* absent : {"3.", "72", "Summe"})
        EXPECT_EQ(text.find(absent), std::string::npos) << absent << "\n" << text;
    EXPECT_GT(text.find("keine Zeile für"), text.find("Hinweise für die Auswertung")) << text;
    // The stored JPEG went in as it is, once per thumbnail drawn.
    EXPECT_TRUE(pdf.contains(QByteArray::fromStdString(thumbnail.printJpeg)));
    const std::string images = pdfText(pdf, "pdfimages -list");
    std::size_t jpegs = 0;
    for (std::size_t at = 0;
         (at = images.find("   24    16  rgb     3   8  jpeg", at)) != std::string::npos; ++at)
        ++jpegs;
    EXPECT_EQ(jpegs, 2u) << images;
    EXPECT_EQ(images.find("rror"), std::string::npos) << images;
}

// Each image of the PDF drawn at its own aspect ratio: pdfimages gives the
// same resolution across and down. A portrait stored sideways (EXIF 6)
// stands upright.
TEST(Outputs, PdfDrawsEveryThumbnailAtItsOwnAspectRatio)
{
    ensureGuiApplication();
    const fixtures::TempDir folder;
    const struct {
        const char* name;
        int width, height, orientation;
    } pictures[] = {{"hoch.jpg", 48, 64, 1},
                    {"quer.jpg", 64, 40, 1},
                    {"quadrat.jpg", 50, 50, 1},
                    {"gedreht.jpg", 80, 36, 6}};
    evaluation::Evaluation e;
    e.maxTotal = 47;
    for (const auto& picture : pictures) {
        fixtures::JpegOptions options;
        options.width = picture.width;
        options.height = picture.height;
        fixtures::Bytes jpeg = fixtures::makeJpeg(options);
        if (picture.orientation != 1)
            jpeg = fixtures::withSegment(jpeg, fixtures::exifSegment(fixtures::tiffWithOrientation(
                                                   picture.orientation, false)));
        folder.write(picture.name, jpeg);
        e.pictures.push_back(picture.name);
    }
    evaluation::ThumbnailStore store;
    ASSERT_TRUE(store.update(folder.path().string(), e.pictures));
    const std::string images =
        pdfText(evaluation::rankingPdf(evaluation::buildReport(e), store.findAll(e.pictures),
                                       {"Club", "07.12.2026"}),
                "pdfimages -list");
    std::istringstream lines(images);
    std::vector<std::pair<int, int>> sizes;
    for (std::string line; std::getline(lines, line);) {
        std::istringstream fields(line);
        std::string page, number, type, colour, components, bits, encoding, interpolate;
        int width = 0, height = 0, object = 0, generation = 0, xPpi = 0, yPpi = 0;
        if (!(fields >> page >> number >> type >> width >> height >> colour >> components >> bits >>
              encoding >> interpolate >> object >> generation >> xPpi >> yPpi) ||
            type != "image")
            continue;
        EXPECT_NEAR(xPpi, yPpi, 1) << line;
        sizes.emplace_back(width, height);
    }
    std::sort(sizes.begin(), sizes.end());
    const std::vector<std::pair<int, int>> expected = {{36, 80}, {48, 64}, {50, 50}, {64, 40}};
    EXPECT_EQ(sizes, expected) << images;
}

TEST(Outputs, PdfRankingPagesNeverHoldASingleRow)
{
    ensureGuiApplication();
    for (int pictures = 2; pictures <= 30; ++pictures) {
        evaluation::Evaluation e;
        e.maxTotal = 47;
        e.judges = {{"Anna", {}}, {"Bernd", {}}, {"Jo", {}}};
        for (int p = 0; p < pictures; ++p) {
            e.pictures.push_back("Bild " + std::to_string(100 + p) + ".jpg");
            for (auto& judge : e.judges)
                judge.scores.push_back(groupScore(10, 10, p % 10));
        }
        const std::string text =
            pdfText(evaluation::rankingPdf(evaluation::buildReport(e), {}, {"Club", "07.12.2026"}));
        std::vector<int> rowsOnPage(1, 0);
        for (std::size_t at = 0; (at = text.find_first_of("\fB", at)) != std::string::npos; ++at)
            if (text[at] == '\f')
                rowsOnPage.push_back(0);
            else if (text.compare(at, 5, "Bild ") == 0 && at + 8 < text.size() &&
                     std::isdigit(static_cast<unsigned char>(text[at + 5])))
                ++rowsOnPage.back();
        for (std::size_t page = 0; page < rowsOnPage.size(); ++page)
            EXPECT_NE(rowsOnPage[page], 1) << pictures << " pictures, page " << page + 1;
        if (pictures == 12) {
            EXPECT_LE(std::count_if(rowsOnPage.begin(), rowsOnPage.end(),
                                    [](int rows) { return rows > 0; }),
                      2);
        }
        EXPECT_EQ(text.find(".jpg"), std::string::npos) << "titles without extension";
        EXPECT_EQ(text.find("Hinweise für die Auswertung"), std::string::npos) << "no problems";
        EXPECT_EQ(text.find("Vorläu"), std::string::npos) << "not provisional";
    }
}

// The page is for the club's website: no judge, no per-judge points, no problems.
TEST(Outputs, PageIsSelfContainedPublicAndNamesEveryImage)
{
    ensureGuiApplication();
    const evaluation::Thumbnail thumbnail = greenThumbnail();
    auto e = sample();
    e.pictures[0] = "<Abend> & \"Nacht\".jpg";
    const std::string html =
        evaluation::rankingHtml(evaluation::buildReport(e), {&thumbnail, nullptr, &thumbnail},
                                {"Clubabend März", "07.12.2026"});
    for (const char* expected :
         {"<html lang=\"de\">", "<title>Rangliste – Clubabend März</title>",
          "<th scope=\"col\">Platz</th>", "<th scope=\"col\" class=\"zahl\">Gestaltung</th>",
          "<th scope=\"row\">&lt;Abend&gt; &amp; &quot;Nacht&quot;</th>",
          "alt=\"&lt;Abend&gt; &amp; &quot;Nacht&quot;\"", "src=\"data:image/jpeg;base64,",
          "<span class=\"kein-bild\">kein Bild</span>",
          "Vorläufige Rangliste – noch nicht alle Bewertungen liegen vor",
          "<li>&lt;Abend&gt; &amp; &quot;Nacht&quot;: 1 von 2 Bewertern</li>",
          "<li>Leer: nicht bewertet</li>", "data-spalte=\"Mittelwert\">nicht bewertet</td>", "36,0",
          "data-spalte=\"Wirkung\">12,0</td>", "Platz nach dem Mittelwert"})
        EXPECT_NE(html.find(expected), std::string::npos) << expected;
    for (const char* absent :
         {"<script", "http:", "https:", "url(", "@import", ".jpg\"", "Anna", "Jo;", "Summe",
          "Spanne", "Zeile", "uneinig", "Hinweis", ">3.<", "Idee"})
        EXPECT_EQ(html.find(absent), std::string::npos) << absent;
    // No column any output keeps for the organiser reaches the page.
    using evaluation::Output;
    for (const Output output : {Output::Terminal, Output::Csv, Output::Pdf, Output::Window})
        for (const auto& column : evaluation::reportColumns(evaluation::buildReport(e), output))
            EXPECT_TRUE(!column.organiserOnly ||
                        html.find(">" + evaluation::htmlEscaped(column.heading) + "</th>") ==
                            std::string::npos)
                << column.heading;
}

TEST(Outputs, AWriteFailureSaysWhatBecameOfEachFile)
{
    ensureGuiApplication();
    const evaluation::Report report = evaluation::buildReport(sample());
    const char* const names[] = {"Rangliste.csv", "Rangliste.pdf", "Rangliste.html"};
    // A folder where one output should go cannot be replaced; each file is
    // then (n)ew, (k)ept as it was or the one that (f)ailed.
    const struct {
        int blocked; // -1: none
        const char* outcome;
    } cases[] = {{-1, "nnn"}, {0, "fkk"}, {1, "nfk"}, {2, "nnf"}};
    for (const auto& c : cases) {
        // The outputs go beside the folder: "Wettbewerb Rangliste.csv".
        const std::filesystem::path root =
            std::filesystem::temp_directory_path() / ("bb-outputs-" + std::to_string(::getpid()));
        const std::filesystem::path folder = root / "Wettbewerb", beside = root / "Wettbewerb ";
        std::filesystem::remove_all(root);
        std::filesystem::create_directories(folder);
        for (int i = 0; i < 3; ++i)
            if (i == c.blocked)
                std::filesystem::create_directories(beside.string() + names[i] + "/drin");
            else
                std::ofstream(beside.string() + names[i]) << "alt";
        const auto outputs = evaluation::writeOutputs(folder.string(), report, {});
        ASSERT_EQ(outputs.size(), 3u);
        for (int i = 0; i < 3; ++i) {
            const std::string& text = outputs[std::size_t(i)].failure;
            std::string content;
            if (i != c.blocked) {
                std::ifstream file(beside.string() + names[i]);
                content.assign(std::istreambuf_iterator<char>(file), {});
            }
            switch (c.outcome[i]) {
            case 'n':
                EXPECT_EQ(text, "") << names[i] << " blocked " << c.blocked;
                EXPECT_NE(content, "alt") << names[i] << " blocked " << c.blocked;
                break;
            case 'k':
                EXPECT_NE(text.find("bleibt, wie sie war."), std::string::npos)
                    << names[i] << " blocked " << c.blocked << ": " << text;
                EXPECT_EQ(content, "alt") << names[i] << " blocked " << c.blocked;
                break;
            default:
                EXPECT_NE(text.find("kann nicht geschrieben werden!"), std::string::npos)
                    << names[i] << " blocked " << c.blocked << ": " << text;
            }
        }
        EXPECT_TRUE(std::filesystem::is_empty(folder));
        std::filesystem::remove_all(root);
    }
}

} // namespace
