#include "Utf8Path.h"
#include "evaluation/GuiApplication.h"
#include "evaluation/outputs/Csv.h"
#include "evaluation/outputs/HtmlReport.h"
#include "evaluation/outputs/TextTable.h"
#include "evaluation/ranking/Entrants.h"
#include "evaluation/ranking/Folder.h"
#include "evaluation/ranking/Report.h"
#include "evaluation/window/WindowFiles.h"
#include "pictures/JpegFixtures.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

// Each row as "line|file|title|author".
std::vector<std::string> rowsOf(const evaluation::EntrantList& list)
{
    std::vector<std::string> rows;
    for (const auto& row : list.rows)
        rows.push_back(std::to_string(row.line) + "|" + row.file + "|" + row.entrant.title + "|" +
                       row.entrant.author);
    return rows;
}

TEST(Entrants, ListsFromThePreparationAndFromSpreadsheetsAreRead)
{
    const struct {
        const char* what;
        std::string bytes;
        std::vector<std::string> rows; // empty with usable false: no column "Datei"
        bool usable = true;
    } cases[] = {
        {"as the preparation writes it: BOM, ';', CR LF, quoted and defused cells",
         "\xEF\xBB\xBF"
         "Datei;Titel;Autor\r\n01.jpg;Abendlicht am See;Max Muster\r\n"
         "02.jpg;\"Hafen; bei Nacht \"\"blau\"\"\";'=Anna\r\n03.jpg;'-Ebbe;Jo\r\n",
         {"2|01.jpg|Abendlicht am See|Max Muster", "3|02.jpg|Hafen; bei Nacht \"blau\"|=Anna",
          "4|03.jpg|-Ebbe|Jo"}},
        {"',' without BOM, LF, columns in another order and letter case, an extra one",
         "autor,Nr,DATEI,Titel\nEva Kurz,1,Blüte.jpg,Blüte im Tau\n\n,,,\nOtto,2,See.jpg\n",
         {"2|Blüte.jpg|Blüte im Tau|Eva Kurz", "5|See.jpg||Otto"}},
        {"tab, Windows-1252, a line break inside a title, control characters",
         "Datei\tTitel\tAutor\r\nA.jpg\t\"Zwei\r\nZeilen\"\tK\xe4the\x01M\r\nB.jpg\tB\tC\r\n",
         {"2|A.jpg|Zwei  Zeilen|Käthe M", "4|B.jpg|B|C"}},
        {"no column Datei", "Bild;Titel;Autor\r\n01.jpg;A;B\r\n", {}, false},
        {"UTF-8 with BOM and one row from Windows-1252: decoded cell by cell",
         "\xEF\xBB\xBF"
         "Datei;Titel;Autor\r\nB.jpg;Blüte im Tau;Eva\r\nS.jpg;Stra\xDF"
         "e bei Nacht;J\xF6rg\r\n",
         {"2|B.jpg|Blüte im Tau|Eva", "3|S.jpg|Straße bei Nacht|Jörg"}},
    };
    for (const auto& c : cases) {
        const evaluation::EntrantList list = evaluation::parseEntrantList(c.bytes);
        EXPECT_EQ(list.usable, c.usable) << c.what;
        EXPECT_EQ(rowsOf(list), c.rows) << c.what;
    }
}

class EntrantFolder : public ::testing::Test {
  protected:
    void SetUp() override
    {
        folder = top.path() / "Clubabend";
        fs::create_directories(folder);
        write("Qel.max", "5 A\r\n5 B\r\n4 C\r\n3 D\r\n0 \r\n5 E\r\n4 F\r\n3 G\r\n3 H\r\n0 \r\n"
                         "5 I\r\n4 J\r\n3 K\r\n3 L\r\n0 \r\n");
        for (const char* picture : {"01.jpg", "02.jpg", "03.jpg"})
            write(picture, "");
        write("Anna.qel", "443204332043220-01.jpg\r\n222202222022220-02.jpg\r\n"
                          "111101111011110-03.jpg\r\n");
    }
    void write(const std::string& name, const std::string& bytes, const fs::path& in = {})
    {
        std::ofstream((in.empty() ? folder : in) / utf8Path(name), std::ios::binary) << bytes;
    }
    evaluation::Evaluation evaluate() const
    {
        evaluation::FolderResult result = evaluation::evaluateFolder(folder.string());
        EXPECT_EQ(result.stop, "");
        return result.evaluation;
    }
    std::vector<std::string> problems(const evaluation::Evaluation& e) const
    {
        std::vector<std::string> texts;
        for (const auto& problem : e.problems)
            if (problem.kind == evaluation::ProblemKind::EntrantList)
                texts.push_back(problem.text);
        return texts;
    }

    fixtures::TempDir top;
    fs::path folder;
};

TEST_F(EntrantFolder, EveryOutputNamesTitleAndAuthorAndTheListsFaultsAreProblems)
{
    // Beside the folder, as the preparation writes it.
    write("Clubabend Teilnehmer.csv",
          "\xEF\xBB\xBF"
          "Datei;Titel;Autor\r\n01.jpg;Abendlicht am See;Max Muster\r\n07.jpg;Fehlt;Jo\r\n"
          "02.JPG;Hafen;Eva\r\n01.jpg;Doppelt;Jo\r\n",
          top.path());
    evaluation::Evaluation e = evaluate();
    EXPECT_EQ(
        problems(e),
        (std::vector<std::string>{
            "Teilnehmerliste 'Clubabend Teilnehmer.csv', Zeile 3: kein Bild '07.jpg' im Ordner",
            "Teilnehmerliste 'Clubabend Teilnehmer.csv', Zeile 5: '01.jpg' steht schon in "
            "Zeile 2"}));
    const evaluation::Report report = evaluation::buildReport(e);
    ASSERT_EQ(report.rows.size(), 3u);
    EXPECT_EQ(report.rows[0].title, "Abendlicht am See – Max Muster");
    EXPECT_EQ(report.rows[1].title, "Hafen – Eva");
    EXPECT_EQ(report.rows[2].title, "03"); // not in the list: its file name
    const std::string csv = evaluation::rankingCsv(report);
    EXPECT_TRUE(csv.starts_with("\xEF\xBB\xBFPlatz;Datei;Titel;Autor;Anna;")) << csv;
    EXPECT_NE(csv.find("\r\n1;01.jpg;Abendlicht am See;Max Muster;"), std::string::npos) << csv;
    EXPECT_NE(csv.find("\r\n3;03.jpg;;;"), std::string::npos) << csv;
    ensureGuiApplication();
    EXPECT_NE(evaluation::rankingHtml(report, {}, {"Clubabend", "07.12.2026"})
                  .find("<th scope=\"row\">Abendlicht am See – Max Muster</th>"),
              std::string::npos);
    EXPECT_NE(evaluation::rankingTable(report).find("Hafen – Eva"), std::string::npos);

    // The window reads the list again when it changes.
    const auto inputs = evaluation::rankingInputs(folder.string());
    ASSERT_FALSE(inputs.empty());
    EXPECT_EQ(inputs.back().name, "../Clubabend Teilnehmer.csv");

    // One in the folder, made by hand, comes first; without "Datei" it is a problem.
    write("Teilnehmer.csv", "Titel;Autor\r\nA;B\r\n");
    e = evaluate();
    EXPECT_EQ(problems(e), (std::vector<std::string>{
                               "Die Teilnehmerliste 'Teilnehmer.csv' hat keine Spalte „Datei“ – "
                               "die Bilder heißen wie ihre Dateien."}));
    EXPECT_EQ(evaluation::buildReport(e).rows[0].title, "01");
    EXPECT_TRUE(evaluation::rankingCsv(evaluation::buildReport(e))
                    .starts_with("\xEF\xBB\xBFPlatz;Bild;Anna;"));
}

// Rows find pictures as rating lines do (decoded, NFC, case folded); a row
// fitting two pictures goes to neither (composed and decomposed "é": two
// files on either system); a row naming nothing is quoted short.
TEST_F(EntrantFolder, RowsMatchPicturesByTheirNameKey)
{
    for (const char* picture : {"\xC3\x84hre.jpg", "Caf\xC3\xA9.jpg", "Cafe\xCC\x81.jpg"})
        write(picture, "");
    write("Teilnehmer.csv", "Datei;Titel\r\n\xE4hre.JPG;Feld\r\nCAF\xC9.JPG;Welches\r\n"
                            "0123456789012345678901234567890123456789GEHEIM;x\r\n");
    const evaluation::Evaluation e = evaluate();
    const auto at = std::find(e.pictures.begin(), e.pictures.end(), "\xC3\x84hre.jpg");
    ASSERT_NE(at, e.pictures.end());
    EXPECT_EQ(e.entrants[std::size_t(at - e.pictures.begin())].title, "Feld");
    EXPECT_EQ(problems(e),
              (std::vector<std::string>{
                  "Teilnehmerliste 'Teilnehmer.csv', Zeile 3: 'CAF\xC3\x89.JPG' passt zu mehreren "
                  "Bildern ('Cafe\xCC\x81.jpg', 'Caf\xC3\xA9.jpg')",
                  "Teilnehmerliste 'Teilnehmer.csv', Zeile 4: kein Bild "
                  "'012345678901234567890123456789012345678…' im Ordner"}));
}

} // namespace
