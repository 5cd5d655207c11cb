#include "AppFixture.h"

#include "app/Application.h"
#include "app/Guard.h"
#include "core/Messages.h"
#include "core/TextFile.h"

#include <QFileDialog>
#include <QKeyEvent>
#include <QListView>
#include <QSettings>
#include <QTimer>

#include <sys/stat.h>

namespace {

using Kind = messagebox::Kind;

class RatingFiles : public AppFixture {
  protected:
    void startWith(int pictures)
    {
        writeWeighting("999999999999999");
        for (int i = 0; i < pictures; ++i)
            writePicture("p" + std::to_string(i) + ".jpg");
        start();
    }
    void setJudge(const char* name) { panel().Bewerter->setText(QString::fromUtf8(name)); }
    std::optional<std::string> file(const char* name) { return textfile::readFile(name); }
};

TEST_F(RatingFiles, SaveChangeSaveLoadGivesTheSameBytesAndScores)
{
    startWith(3);
    setJudge("Anna Müller");
    panel().rows[0]->slider()->setValue(4);
    controller->bsaveClick();
    const auto first = file("Anna Müller.qel");
    EXPECT_EQ(first, "400000000000000-p0.jpg\r\n000000000000000-p1.jpg\r\n"
                     "000000000000000-p2.jpg\r\n");
    panel().rows[5]->slider()->setValue(7);
    EXPECT_TRUE(controller->hasUnsavedChanges());
    controller->bsaveClick();
    EXPECT_FALSE(controller->hasUnsavedChanges());
    const auto second = file("Anna Müller.qel");
    EXPECT_EQ(second, "400007000000000-p0.jpg\r\n000000000000000-p1.jpg\r\n"
                      "000000000000000-p2.jpg\r\n");

    panel().rows[0]->slider()->setValue(1);
    setJudge("jemand");
    chosen = std::filesystem::absolute("Anna Müller.qel").string();
    controller->bloadClick();
    EXPECT_EQ(panel().Bewerter->text().toStdString(), "Anna Müller");
    EXPECT_EQ(positions(), "400007000000000");
    controller->bsaveClick();
    EXPECT_EQ(file("Anna Müller.qel"), second);
    EXPECT_TRUE(messages.empty());
}

TEST_F(RatingFiles, SavingOverAnotherSheetAsksFirst)
{
    startWith(1);
    const std::string anna = "900000000000000-p0.jpg\r\n";
    const std::string zeros = "000000000000000-p0.jpg\r\n";
    writeFile("Anna.qel", anna);
    writeFile("Bernd.qel", "100000000000000-p0.jpg\r\n");
    const struct {
        const char* load; // chosen in the dialog first, if any
        const char* judge;
        bool answer;
        bool asked;
        const char* file;
        std::string bytes; // that file's bytes afterwards
    } steps[] = {
        {nullptr, "Anna", false, true, "Anna.qel", anna},
        {nullptr, "Anna", true, true, "Anna.qel", zeros},
        {nullptr, "Anna", false, false, "Anna.qel", zeros}, // saved to it: no question
        {nullptr, "Neu", false, false, "Neu.qel", zeros},
        {"Bernd.qel", "Bernd", false, false, "Bernd.qel", "100000000000000-p0.jpg\r\n"},
        {nullptr, "Neu", false, true, "Neu.qel", zeros},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(std::string(s.judge) + (s.load ? " after loading" : ""));
        if (s.load) {
            chosen = std::filesystem::absolute(s.load).string();
            controller->bloadClick();
        }
        messages.clear();
        answer = s.answer;
        setJudge(s.judge);
        const bool unsaved = controller->hasUnsavedChanges();
        controller->bsaveClick();
        if (s.asked)
            EXPECT_EQ(messages,
                      (std::vector<Message>{{Kind::Question, messages::overwriteQuestion(
                                                                 std::string(s.judge) + ".qel")}}));
        else
            EXPECT_TRUE(messages.empty());
        EXPECT_EQ(file(s.file), s.bytes);
        if (s.asked && !s.answer) {
            EXPECT_EQ(controller->hasUnsavedChanges(), unsaved) << "Nein changes nothing";
        }
    }
}

TEST_F(RatingFiles, WarningsOfSaving)
{
    startWith(1);
    const std::string tooLong(300, 'x');
    static constexpr char kSlash[] = "Die Bewertung kann nicht gespeichert werden!\n"
                                     "Linux erlaubt in Dateinamen kein '/'.";
    static constexpr char kTooLong[] = "Die Bewertung kann nicht gespeichert werden!\n"
                                       "Der Name ist für eine Datei zu lang.";
    const struct {
        const char* judge;
        const char* warning; // nullptr: saved
        const char* written; // file that must exist afterwards, if any
    } cases[] = {
        {"hier den Namen eintragen!", messages::kEnterJudgeName, nullptr},
        {"", nullptr, ".qel"},
        {" Bernd ", nullptr, " Bernd .qel"},
        {"../Bernd", kSlash, nullptr},
        {tooLong.c_str(), kTooLong, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.judge);
        messages.clear();
        setJudge(c.judge);
        controller->bsaveClick();
        if (c.warning)
            EXPECT_EQ(messages, (std::vector<Message>{{Kind::Warning, c.warning}}));
        else
            EXPECT_TRUE(messages.empty());
        if (c.written) {
            EXPECT_TRUE(std::filesystem::exists(c.written));
        }
    }
    EXPECT_FALSE(std::filesystem::exists("../Bernd.qel"));
}

TEST_F(RatingFiles, CancelledDialogChangesNothing)
{
    startWith(2);
    panel().rows[2]->slider()->setValue(5);
    setJudge("Carla");
    const auto sheet = controller->sheet();
    chosen.reset();
    controller->bloadClick();
    EXPECT_EQ(controller->sheet(), sheet);
    EXPECT_EQ(panel().Bewerter->text().toStdString(), "Carla");
    EXPECT_EQ(positions(), "005000000000000");
    EXPECT_TRUE(messages.empty());
}

TEST_F(RatingFiles, UnreadableChoicesWarnAndStillTakeTheName)
{
    startWith(2);
    panel().rows[0]->slider()->setValue(2);
    const auto sheet = controller->sheet();
    ::mkfifo("Fifo.qel", 0600);
    std::filesystem::create_directory("Ordner.qel");
    writeFile("Riesig.qel", "100000000000000-p0.jpg\r\n");
    std::filesystem::resize_file("Riesig.qel", std::uintmax_t{200} << 30);
    for (const char* name : {"Getippt.qel", "Fifo.qel", "Ordner.qel", "Riesig.qel"}) {
        messages.clear();
        chosen = std::filesystem::absolute(name).string();
        controller->bloadClick();
        EXPECT_EQ(messages, (std::vector<Message>{{Kind::Warning, messages::kCannotLoad}}));
        EXPECT_EQ(panel().Bewerter->text().toStdString() + ".qel", name);
        EXPECT_EQ(controller->sheet(), sheet);
        EXPECT_EQ(positions(), "200000000000000");
    }
}

TEST_F(RatingFiles, LoadedSheetsOfOtherLengths)
{
    startWith(3);
    const struct {
        const char* name;
        std::string bytes;
        rating::Sheet sheet;
        std::string box; // the pictures left to rate are named; nothing when none
    } cases[] = {
        {"shorter",
         "111111111111111-p0.jpg\n",
         {"111111111111111-p0.jpg", "000000000000000-p1.jpg", "000000000000000-p2.jpg"},
         messages::placedByName(0, 0, 0, 2) + "\nNoch ohne Bewertung: 'p1.jpg', 'p2.jpg'."},
        {"twice",
         "111111111111111-p0.jpg\r\n222222222222222-p0.jpg\r\n",
         {"111111111111111-p0.jpg", "000000000000000-p1.jpg", "000000000000000-p2.jpg",
          "222222222222222-p0.jpg"},
         messages::placedByName(0, 0, 1, 2) +
             "\nNoch ohne Bewertung: 'p1.jpg', 'p2.jpg'.\nDoppelte Zeilen: 'p0.jpg'."},
        {"longer", "1\r2\r3\r4\r5\r", {"100000000000000", "2", "3", "4", "5"}, ""},
        {"binary", std::string("\x01\x02\r\n\x03\0zzz", 8), {}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        messages.clear();
        writeFile(std::string(c.name) + ".qel", c.bytes);
        chosen = std::filesystem::absolute(std::string(c.name) + ".qel").string();
        guarded(boxes, [&] { controller->bloadClick(); });
        if (std::string(c.name) == "binary") {
            ASSERT_FALSE(messages.empty());
            EXPECT_EQ(messages.back().kind, Kind::GeneralError);
            continue;
        }
        const std::vector<Message> box{{Kind::Information, c.box}};
        EXPECT_EQ(messages, c.box.empty() ? std::vector<Message>() : box);
        EXPECT_EQ(controller->sheet(), c.sheet);
        if (!c.box.empty()) {
            EXPECT_FALSE(controller->hasUnsavedChanges()) << "loading again gives the same";
        }
    }
}

TEST_F(RatingFiles, ScoresForPicturesBeyondAShortFileAreKept)
{
    startWith(3);
    writeFile("kurz.qel", "300000000000000-p0.jpg\r\n");
    chosen = std::filesystem::absolute("kurz.qel").string();
    controller->bloadClick();
    messages.clear();
    controller->vor();
    controller->vor();
    panel().rows[0]->slider()->setValue(6);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(controller->sheet().at(2), "600000000000000-p2.jpg");
}

TEST_F(RatingFiles, LinesGoToThePictureTheyNameAndAreSavedAgain)
{
    startWith(3); // p1.jpg came late: the file knows p0, p2 and a picture since removed
    writeFile("Eva.qel", "300000000000000-p0.jpg\r\n500000000000000-p2.jpg\r\n"
                         "700000000000000-weg.jpg\r\n");
    chosen = std::filesystem::absolute("Eva.qel").string();
    controller->bloadClick();
    EXPECT_EQ(messages, (std::vector<Message>{
                            {Kind::Information, messages::placedByName(1, 1, 0, 1) +
                                                    "\nNoch ohne Bewertung: 'p1.jpg'.\nZeilen "
                                                    "ohne passendes Bild: 'weg.jpg'."}}));
    EXPECT_FALSE(controller->hasUnsavedChanges()) << "loading again puts them in order again";
    std::string shown;
    for (int i = 0; i < 3; ++i, controller->vor())
        shown += positions().substr(0, 1);
    EXPECT_EQ(shown, "305");
    controller->bsaveClick();
    EXPECT_EQ(file("Eva.qel"), "300000000000000-p0.jpg\r\n000000000000000-p1.jpg\r\n"
                               "500000000000000-p2.jpg\r\n700000000000000-weg.jpg\r\n");
    EXPECT_EQ(messages.size(), 1u) << "its own file: no question";
}

TEST_F(RatingFiles, ASheetWrittenOnAnotherPcKeepsItsLines)
{
    writeWeighting("999999999999999");
    for (const char* name : {"a.jpg", "B.jpg",
                             "\xC3\x9C"
                             "ber.jpg"})
        writePicture(name);
    start();
    // Windows-1252 and another letter case, as an older Windows PC wrote it.
    writeFile("Win.qel", "100000000000000-A.jpg\r\n200000000000000-b.jpg\r\n"
                         "300000000000000-\xDC"
                         "ber.jpg\r\n");
    chosen = std::filesystem::absolute("Win.qel").string();
    controller->bloadClick();
    std::string shown;
    for (int i = 0; i < 3; ++i, controller->vor())
        shown += positions().substr(0, 1);
    EXPECT_EQ(shown, "123");
    EXPECT_TRUE(messages.empty());
    EXPECT_FALSE(controller->hasUnsavedChanges());
}

TEST_F(RatingFiles, HundredThousandLinesLoad)
{
    startWith(1);
    std::string big;
    for (int i = 0; i < 100000; ++i) // the first names p0.jpg, the others no picture
        big += "123456789012345-" + (i ? "bild" + std::to_string(i) : "p0") + ".jpg\r\n";
    writeFile("gross.qel", big);
    chosen = std::filesystem::absolute("gross.qel").string();
    controller->bloadClick();
    EXPECT_EQ(controller->sheet().size(), 100000u);
    EXPECT_EQ(positions(), "123456789012345");
    setJudge("gross");
    controller->bsaveClick();
    EXPECT_EQ(file("gross.qel"), big);
}

TEST_F(RatingFiles, CloseAsksOnlyWithUnsavedChanges)
{
    startWith(1);
    const struct {
        bool change;
        bool save;
        bool answer;
        bool closes;
        std::size_t questions;
    } cases[] = {
        {false, false, false, true, 0},
        {true, false, false, false, 1},
        {true, false, true, true, 1},
        {true, true, false, true, 0},
    };
    int value = 0;
    for (const auto& c : cases) {
        messages.clear();
        answer = c.answer;
        if (c.change)
            panel().rows[0]->slider()->setValue(++value);
        if (c.save) {
            setJudge("Dora");
            controller->bsaveClick();
        }
        EXPECT_EQ(controller->mayClose(), c.closes);
        EXPECT_EQ(messages.size(), c.questions);
        if (c.questions) {
            EXPECT_EQ(messages[0], (Message{Kind::Question, messages::kUnsavedQuestion}));
        }
        if (c.change && !c.save && c.answer) {
            setJudge("Dora");
            controller->bsaveClick();
        }
    }
}

TEST_F(RatingFiles, OpenDialogStartsHereTakesTypedNamesAndKeepsTheLastChoice)
{
    startWith(1);
    const std::string here = std::filesystem::current_path().string();
    std::string lastChoice;
    QStringList filters;
    QString startFolder, nameBox;
    auto answerWith = [&](bool accept, const char* typed) {
        QTimer::singleShot(0, [&, accept, typed] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            filters = dialog->nameFilters();
            startFolder = dialog->directory().absolutePath();
            nameBox = dialog->selectedFiles().value(0);
            if (typed)
                dialog->selectFile(QString::fromUtf8(typed));
            QDialog* box = dialog; // accept() is public only on the base
            accept ? box->accept() : box->reject();
        });
    };

    answerWith(true, "Nicht da.qel");
    const auto chosen = runQelopen(form.get(), lastChoice);
    EXPECT_EQ(filters, QStringList{QStringLiteral("*.qel")});
    EXPECT_EQ(startFolder.toStdString(), here);
    EXPECT_EQ(chosen, here + "/Nicht da.qel") << "a typed name needs no file";
    EXPECT_EQ(std::filesystem::current_path().string(), here);

    answerWith(false, nullptr);
    EXPECT_FALSE(runQelopen(form.get(), lastChoice).has_value());
    EXPECT_EQ(nameBox.toStdString(), here + "/Nicht da.qel") << "the last choice is offered";
    EXPECT_EQ(std::filesystem::current_path().string(), here);
}

// A judge's file from a Windows PC (a Windows-1252 name, which Qt's folder
// model leaves out) is listed under its name, opened, and saved back to itself.
TEST_F(RatingFiles, AFileNamedOnAWindowsPcIsListedLoadedAndSavedBack)
{
    startWith(1);
    const std::string name = "G\xfcnther Gro\xdf";
    writeFile(name + ".qel", "300000000000000-p0.jpg\r\n");
    QTimer::singleShot(0, [] {
        QWidget* dialog = QApplication::activeModalWidget();
        auto* view = dialog->findChild<QListView*>("listView");
        QModelIndex listed;
        for (int row = 0; row < view->model()->rowCount(view->rootIndex()); ++row) {
            const QModelIndex index = view->model()->index(row, 0, view->rootIndex());
            if (index.data() == QStringLiteral("Günther Groß.qel"))
                listed = index;
        }
        if (!listed.isValid()) {
            dialog->close();
            FAIL() << "not listed";
        }
        view->setCurrentIndex(listed);
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(view, &enter);
    });
    std::string lastChoice;
    chosen = runQelopen(form.get(), lastChoice);
    EXPECT_EQ(chosen, std::filesystem::current_path().string() + "/" + name + ".qel");
    controller->bloadClick();
    EXPECT_EQ(panel().Bewerter->text(), QStringLiteral("Günther Groß"));
    EXPECT_EQ(positions(), "300000000000000");
    panel().rows[0]->slider()->setValue(4);
    controller->bsaveClick();
    EXPECT_EQ(file((name + ".qel").c_str()), "400000000000000-p0.jpg\r\n");
    EXPECT_FALSE(std::filesystem::exists("Günther Groß.qel")) << "no second sheet of one judge";
    EXPECT_TRUE(messages.empty());
}

TEST_F(RatingFiles, OpenDialogWritesNoSettings)
{
    startWith(1);
    // Where Qt's settings would go, kept inside this test's folder.
    const std::string config = std::filesystem::current_path().string() + "/config";
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QString::fromStdString(config));
    common::keepNoSettings();
    std::string lastChoice;
    QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
    runQelopen(form.get(), lastChoice);
    EXPECT_FALSE(std::filesystem::exists(config));
}

} // namespace
