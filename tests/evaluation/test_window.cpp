#include "bench/SyntheticPhoto.h"
#include "core/Platform.h"
#include "evaluation/GuiApplication.h"
#include "evaluation/window/Window.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QDesktopServices>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>
#include <set>
#include <unistd.h>
#ifdef _WIN32
#include <windows.h>
#endif

namespace {

namespace fs = std::filesystem;

constexpr char kQelMax[] = "5 A\r\n5 B\r\n4 C\r\n3 D\r\n0 \r\n5 E\r\n4 F\r\n3 G\r\n3 H\r\n0 \r\n"
                           "5 I\r\n4 J\r\n3 K\r\n3 L\r\n0 \r\n";
constexpr int kWaitMs = 20'000; // a loaded machine; the window answers well within it

// Takes the place of the desktop's default application.
class UrlCatcher : public QObject {
    Q_OBJECT
  public:
    QUrl opened;
  public slots:
    void open(const QUrl& url) { opened = url; }
};

class Window : public ::testing::Test {
  protected:
    void SetUp() override
    {
        ensureGuiApplication();
        root = fs::temp_directory_path() / ("bb-window-" + std::to_string(::getpid()));
        folder = root / "Wettbewerb";
        fs::remove_all(root);
        fs::create_directories(folder);
        std::ofstream(folder / "Qel.max", std::ios::binary) << kQelMax;
    }
    void TearDown() override
    {
        // A closed window's reading ends on its own.
        EXPECT_TRUE(
            QTest::qWaitFor([] { return evaluation::FolderReading::running() == 0; }, kWaitMs));
        fs::remove_all(root);
    }

    // As the judging program saves: a new file renamed over the old one.
    void save(const std::string& name, const std::string& bytes)
    {
        std::ofstream(folder / ".neu", std::ios::binary) << bytes;
        ASSERT_TRUE(platform::replaceFile((folder / ".neu").string(), (folder / name).string()));
    }
    static QString header(const QTableView* table, int column)
    {
        return table->model()->headerData(column, Qt::Horizontal).toString();
    }
    static QString cell(const QTableView* table, int row, int column)
    {
        return table->model()->index(row, column).data().toString();
    }
    // The folder's files and those beside it.
    std::set<std::string> files() const
    {
        std::set<std::string> names;
        for (const auto& entry : fs::recursive_directory_iterator(root))
            names.insert(entry.path().lexically_relative(root).string());
        return names;
    }
    // The organiser's file beside the folder: "Wettbewerb Rangliste.csv".
    fs::path beside(const std::string& suffix) const { return root / ("Wettbewerb " + suffix); }

    std::string csv() const
    {
        std::ifstream file(beside("Rangliste.csv"));
        return std::string(std::istreambuf_iterator<char>(file), {});
    }
    // Waits until a reading ends with `text` in the CSV, which is read only
    // then: Windows replaces no file while it is open, so a test reading it
    // all the time would keep the window from writing it.
    bool csvGets(const QSignalSpy& finished, const std::string& text) const
    {
        qsizetype seen = -1;
        return QTest::qWaitFor(
            [&] {
                if (finished.size() == seen)
                    return false;
                seen = finished.size();
                return csv().find(text) != std::string::npos;
            },
            kWaitMs);
    }
    static bool showsText(const QWidget& window, const QString& text)
    {
        const auto labels = window.findChildren<QLabel*>();
        return std::any_of(labels.begin(), labels.end(), [&](const QLabel* label) {
            return label->isVisible() && label->text().contains(text);
        });
    }

    // What the window says, for a failure's message.
    static std::string shownTexts(const QWidget& window)
    {
        std::string texts;
        for (const QLabel* label : window.findChildren<QLabel*>())
            if (label->isVisible() && !label->text().isEmpty())
                texts += label->text().toStdString() + "\n";
        return texts;
    }

    fs::path root, folder;
};

TEST_F(Window, ShowsTheRankingAndFollowsASavedRatingFile)
{
    bench::writePhoto((folder / "Abend.jpg").string(), 300, 200);
    bench::writePhoto((folder / "Brücke.JPEG").string(), 200, 300);
    save("Anna.qel", "443204332043220-Abend.jpg\r\n222202222022220-Brücke.JPEG\r\n");
    save("Bert.qel", "333303333033330-Abend.jpg\r\n");
    // The PDF cannot replace a folder: the window says so.
    fs::create_directory(beside("Rangliste.pdf"));

    evaluation::EvaluationWindow window(folder.string());
    QSignalSpy finished(&window, &evaluation::EvaluationWindow::readingFinished);
    window.show();
    ASSERT_TRUE(finished.wait(kWaitMs));
    const auto* table = window.findChild<QTableView*>(QStringLiteral("Rangliste"));
    ASSERT_NE(table, nullptr);
    QStringList headers;
    for (int c = 0; c < table->model()->columnCount(); ++c)
        headers << header(table, c);
    // A mean per visible criterion (W5, T5 and B5 are hidden), by its caption.
    EXPECT_EQ(headers.join(','), "Platz,Bild,Titel,Anna,Bert,Mittelwert,Summe,Spanne,A (Mittel),"
                                 "B (Mittel),C (Mittel),D (Mittel),E (Mittel),F (Mittel),"
                                 "G (Mittel),H (Mittel),I (Mittel),J (Mittel),K (Mittel),"
                                 "L (Mittel),Hinweis");
    EXPECT_EQ(cell(table, 0, 2), "Abend");
    EXPECT_EQ(cell(table, 0, 8), "3,5");
    // Assistive technology reads a cell with its column's header.
    QAccessibleInterface* access =
        QAccessible::queryAccessibleInterface(const_cast<QTableView*>(table));
    ASSERT_TRUE(access && access->tableInterface());
    QAccessibleInterface* title = access->tableInterface()->cellAt(0, 2);
    ASSERT_TRUE(title && title->tableCellInterface());
    EXPECT_EQ(title->text(QAccessible::Name), "Abend");
    const auto headerCells = title->tableCellInterface()->columnHeaderCells();
    ASSERT_EQ(headerCells.size(), 1);
    EXPECT_EQ(headerCells[0]->text(QAccessible::Name), "Titel");
    EXPECT_EQ(cell(table, 0, 6), "72");
    EXPECT_FALSE(table->model()->index(0, 1).data(Qt::DecorationRole).value<QImage>().isNull());
    EXPECT_TRUE(fs::exists(beside("Rangliste.csv")));
    EXPECT_TRUE(showsText(window, "Geschrieben in " + QString::fromStdString(root.string()) +
                                      ": Wettbewerb Rangliste.csv"));
    EXPECT_TRUE(showsText(window, "Rangliste.pdf' kann nicht geschrieben werden!"));

    save("Carla.qel", "111101111011110-Brücke.JPEG\r\n");
    EXPECT_TRUE(QTest::qWaitFor([&] { return header(table, 5) == "Carla"; }, kWaitMs));
    EXPECT_TRUE(csvGets(finished, "Carla")) << shownTexts(window);

    // An entrant list saved beside the folder names title and author.
    const fs::path list = folder.parent_path() / (folder.filename().string() + " Teilnehmer.csv");
    std::ofstream(list, std::ios::binary) << "Datei;Titel;Autor\r\nAbend.jpg;Abendlicht;Max\r\n";
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return cell(table, 0, 2) == "Abendlicht – Max" ||
                   cell(table, 1, 2) == "Abendlicht – Max";
        },
        kWaitMs));
    // ... and adds the authors' ranking.
    const auto* authors = window.findChild<QTableView*>(QStringLiteral("Autorenwertung"));
    ASSERT_NE(authors, nullptr);
    EXPECT_TRUE(authors->isVisible());
    EXPECT_EQ(cell(authors, 0, 1), "Max");
    fs::remove(list);

    // Once the PDF can be written, its button opens it.
    fs::remove(beside("Rangliste.pdf"));
    save("Carla.qel", "222202222022220-Brücke.JPEG\r\n");
    auto* openPdf = window.findChild<QPushButton*>(QStringLiteral("PDF öffnen"));
    ASSERT_NE(openPdf, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return openPdf->isEnabled(); }, kWaitMs));
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "open");
    openPdf->click();
    EXPECT_EQ(fs::path(catcher.opened.toLocalFile().toStdU16String()), beside("Rangliste.pdf"));
    EXPECT_EQ(openPdf->toolTip().toStdString(), beside("Rangliste.pdf").string());
    // A desktop without a program for it (the handler cannot be called): the window says so.
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "fehlt");
    openPdf->click();
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    const auto shown = window.findChildren<QLabel*>();
    EXPECT_TRUE(std::any_of(shown.begin(), shown.end(), [&](const QLabel* label) {
        return label->isVisible() &&
               label->text() == "Kein Programm zum Öffnen von PDF-Dateien gefunden – die Datei "
                                "liegt in " +
                                    QString::fromStdString(root.string());
    }));
}

#ifdef _WIN32
// An output open in a program that does not share it (a PDF viewer): none
// is replaced, the file is named, and all are written once it lets go.
TEST_F(Window, WritesOnceAnOutputHeldOpenIsLetGo)
{
    bench::writePhoto((folder / "Abend.jpg").string(), 300, 200);
    save("Anna.qel", "443204332043220-Abend.jpg\r\n");
    evaluation::EvaluationWindow window(folder.string());
    QSignalSpy finished(&window, &evaluation::EvaluationWindow::readingFinished);
    window.show();
    ASSERT_TRUE(finished.wait(kWaitMs));
    HANDLE held = CreateFileW(beside("Rangliste.pdf").wstring().c_str(), GENERIC_READ,
                              FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    save("Bert.qel", "333303333033330-Abend.jpg\r\n");
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return showsText(window, "Rangliste.pdf ist in einem anderen Programm geöffnet"); },
        kWaitMs));
    EXPECT_EQ(csv().find("Bert"), std::string::npos);
    CloseHandle(held);
    EXPECT_TRUE(csvGets(finished, "Bert")) << shownTexts(window);
}
#endif

// A folder name that is not UTF-8 (an old USB stick) and names with tags:
// the window reads and writes there and shows the names as they are.
TEST_F(Window, TakesAnyFolderAndShowsNamesAsPlainText)
{
    const fs::path latin = folder / "latin\xe4";
    fs::create_directory(latin);
    fs::copy_file(folder / "Qel.max", latin / "Qel.max");
    const std::string picture = "01 <font size=7 color=red>x<!--.jpg";
    bench::writePhoto((latin / picture).string(), 30, 20);
    std::ofstream(latin / "Eve <b>x.qel", std::ios::binary) << "";
    const std::string longName = "Bo Maximiliane-Charlotte von Hohenzollern-Sigmaringen";
    std::ofstream(latin / (longName + ".qel"), std::ios::binary)
        << "443204332043220-" + picture + "\r\n";
    evaluation::EvaluationWindow window(latin.string());
    QSignalSpy finished(&window, &evaluation::EvaluationWindow::readingFinished);
    window.show();
    ASSERT_TRUE(finished.wait(kWaitMs));
    for (const char* name : {"Rangliste.csv", "Rangliste.pdf", "Rangliste.html"}) {
        EXPECT_TRUE(fs::exists(folder / ("latin\xe4 " + std::string(name)))) << name;
        EXPECT_FALSE(fs::exists(latin / name)) << name;
    }
    // As assistive technology reads the note: the tags are text, not markup.
    const auto labels = window.findChildren<QLabel*>();
    const auto note = std::find_if(labels.begin(), labels.end(), [](const QLabel* label) {
        return label->isVisible() && label->text().contains("Eve <b>x");
    });
    ASSERT_NE(note, labels.end());
    EXPECT_TRUE(QAccessible::queryAccessibleInterface(*note)
                    ->text(QAccessible::Name)
                    .contains("Bewerter 'Eve <b>x'"));
    // A long name is shortened in its heading, whole in its tooltip and to
    // assistive technology, and does not widen its column.
    const auto* table = window.findChild<QTableView*>(QStringLiteral("Rangliste"));
    ASSERT_NE(table, nullptr);
    const auto heading = [&](int role) {
        return table->model()->headerData(3, Qt::Horizontal, role).toString().toStdString();
    };
    EXPECT_EQ(heading(Qt::ToolTipRole), longName);
    EXPECT_EQ(heading(Qt::AccessibleTextRole), longName);
    EXPECT_NE(heading(Qt::DisplayRole).find("…"), std::string::npos) << heading(Qt::DisplayRole);
    EXPECT_LT(table->horizontalHeader()->sectionSize(3),
              table->fontMetrics().horizontalAdvance(QString::fromStdString(longName)));
}

// At the size the window takes on a 1366 × 768 screen, five judges need no scroll bar.
TEST_F(Window, FiveJudgesFitTheirPane)
{
    bench::writePhoto((folder / "Abend.jpg").string(), 300, 200);
    for (const char* judge : {"Anna", "Bert", "Carla", "Dora", "Emil"})
        save(std::string(judge) + ".qel", "443204332043220-Abend.jpg\r\n");
    evaluation::EvaluationWindow window(folder.string());
    QSignalSpy finished(&window, &evaluation::EvaluationWindow::readingFinished);
    window.resize(1280, 720);
    window.show();
    ASSERT_TRUE(finished.wait(kWaitMs));
    const auto* judges = window.findChild<QTableView*>(QStringLiteral("Durchschnitt je Bewerter"));
    ASSERT_NE(judges, nullptr);
    ASSERT_EQ(judges->model()->rowCount(), 5);
    QApplication::processEvents();
    EXPECT_FALSE(judges->verticalScrollBar()->isVisible());
}

// Without file events (a share: the save came from another PC) only the
// window's own look sees the folder; it also takes up a folder made again.
TEST_F(Window, LooksAtAFolderWithoutEventsAndOneThatComesBack)
{
    for (const bool fileEvents : {false, true}) {
        bench::writePhoto((folder / "Abend.jpg").string(), 300, 200);
        save("Anna.qel", "443204332043220-Abend.jpg\r\n");
        const std::chrono::milliseconds soon{10}, look{20};
        evaluation::EvaluationWindow window(folder.string(), {soon, soon, look, fileEvents});
        QSignalSpy finished(&window, &evaluation::EvaluationWindow::readingFinished);
        window.show();
        ASSERT_TRUE(finished.wait(kWaitMs));
        save("Bert.qel", "333303333033330-Abend.jpg\r\n");
        EXPECT_TRUE(csvGets(finished, "Bert")) << fileEvents;

        // Again while the window writes into it; on Windows a folder still
        // open elsewhere stays until let go, so the window runs meanwhile.
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                std::error_code error;
                fs::remove_all(folder, error);
                return !error && !fs::exists(folder, error) && !error;
            },
            kWaitMs));
        EXPECT_TRUE(QTest::qWaitFor([&] { return showsText(window, "gibt es nicht!"); }, kWaitMs));
        fs::remove(beside("Rangliste.csv")); // beside the folder: it stayed
        fs::create_directories(folder);
        std::ofstream(folder / "Qel.max", std::ios::binary) << kQelMax;
        bench::writePhoto((folder / "Abend.jpg").string(), 300, 200);
        save("Carla.qel", "111101111011110-Abend.jpg\r\n");
        EXPECT_TRUE(csvGets(finished, "Carla"));
        EXPECT_TRUE(showsText(window, "Der Ordner ist wieder da"));
    }
}

// Saves that never pause are compared within the burst's bound: the files
// follow during the burst, not after it.
TEST_F(Window, FollowsABurstOfSaves)
{
    bench::writePhoto((folder / "Abend.jpg").string(), 300, 200);
    save("Anna.qel", "443204332043220-Abend.jpg\r\n");
    const std::chrono::hours never{1};
    evaluation::EvaluationWindow window(folder.string(),
                                        {never, std::chrono::milliseconds(50), never});
    QSignalSpy finished(&window, &evaluation::EvaluationWindow::readingFinished);
    ASSERT_TRUE(finished.wait(kWaitMs));
    for (int save = 1; finished.size() < 3 && save < 100'000; ++save) {
        this->save("Bert.qel", std::to_string(1 + save % 3) + "33303333033330-Abend.jpg\r\n");
        QTest::qWait(5);
    }
    EXPECT_GE(finished.size(), 3);
    EXPECT_NE(csv().find("Bert"), std::string::npos);
}

// The organiser's decisions through the window: excluded with a reason,
// declared final, provisional again once a sheet changes.
TEST_F(Window, ExcludesAPictureAndDeclaresTheRankingFinal)
{
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg"})
        bench::writePhoto((folder / name).string(), 30, 20);
    save("Anna.qel", "443204332043220-a.jpg\r\n222202222022220-b.jpg\r\n"
                     "111101111011110-c.jpg\r\n");
    save("Bert.qel", "333303333033330-a.jpg\r\n222202222022220-b.jpg\r\n");
    evaluation::EvaluationWindow window(folder.string());
    QSignalSpy finished(&window, &evaluation::EvaluationWindow::readingFinished);
    window.show();
    ASSERT_TRUE(finished.wait(kWaitMs));
    auto* table = window.findChild<QTableView*>(QStringLiteral("Rangliste"));
    auto* exclude = window.findChild<QPushButton*>(QStringLiteral("Ausschließen"));
    auto* final = window.findChild<QPushButton*>(QStringLiteral("Endgültig ausgeben"));
    ASSERT_TRUE(table && exclude && final);
    const auto rowOf = [&](const QString& title) {
        for (int row = 0; row < table->model()->rowCount(); ++row)
            if (cell(table, row, 2) == title)
                return row;
        return -1;
    };
    table->setCurrentIndex(table->model()->index(rowOf("b"), 0));
    ASSERT_TRUE(exclude->isEnabled());
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->setTextValue(QStringLiteral("zurückgezogen"));
        dialog->accept();
    });
    exclude->click();
    const int last = table->model()->columnCount() - 1; // Hinweis
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return rowOf("b") == 2 && cell(table, 2, last) == "ausgeschlossen: zurückgezogen"; },
        kWaitMs));
    EXPECT_EQ(cell(table, 2, 0), "");
    table->setCurrentIndex(table->model()->index(2, 0));
    EXPECT_EQ(exclude->text(), "Wieder aufnehmen");

    final->click();
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return showsText(window, "Endgültige Rangliste vom ") &&
                   showsText(window, "Bild c: 1 von 2 Bewertern · Bild b: ausgeschlossen – "
                                     "zurückgezogen");
        },
        kWaitMs));
    EXPECT_FALSE(final->isEnabled());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !showsText(window, "Vorläufig"); }, kWaitMs));

    save("Bert.qel", "333303333033330-a.jpg\r\n222202222022220-b.jpg\r\n"
                     "111101111011110-c.jpg\r\n");
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return showsText(window, "Bewertungsdatei 'Bert.qel' geändert – wieder vorläufig"); },
        kWaitMs));
    EXPECT_TRUE(final->isEnabled());
}

// Held at each step in turn, a reading cancelled there writes nothing; a
// window closed there is gone at once and its reading writes nothing.
TEST_F(Window, CancelledWhileReadingWritesNothing)
{
    using evaluation::Step;
    for (int i = 0; i < 3; ++i)
        bench::writePhoto((folder / ("Bild" + std::to_string(i) + ".jpg")).string(), 600, 400);
    save("Anna.qel", "443204332043220-Bild0.jpg\r\n");
    const std::set<std::string> before = files();
    for (const Step step :
         {Step::decode, Step::rank, Step::page, Step::csv, Step::pdf, Step::rename})
        for (const bool close : {false, true}) {
            std::promise<void> gate;
            const std::shared_future<void> opened = gate.get_future().share();
            std::atomic<bool> held{false};
            auto window = std::make_unique<evaluation::EvaluationWindow>(
                folder.string(), evaluation::WatchTimes{}, [&held, opened, step](Step at) {
                    if (at == step) {
                        held = true;
                        opened.wait();
                    }
                });
            QSignalSpy finished(window.get(), &evaluation::EvaluationWindow::readingFinished);
            window->show();
            ASSERT_TRUE(QTest::qWaitFor([&] { return held.load(); }, kWaitMs));
            if (close) {
                window.reset(); // returns while the reading is held
            } else {
                auto* cancel = window->findChild<QPushButton*>(QStringLiteral("Abbrechen"));
                ASSERT_NE(cancel, nullptr);
                cancel->click();
            }
            gate.set_value();
            if (!close) {
                ASSERT_TRUE(finished.wait(kWaitMs));
                EXPECT_TRUE(showsText(*window, "Abgebrochen"));
            }
            ASSERT_TRUE(
                QTest::qWaitFor([] { return evaluation::FolderReading::running() == 0; }, kWaitMs));
            EXPECT_EQ(files(), before) << int(step) << " " << close;
        }
}

// Held before its 26th thumbnail, the reading has handed the table the
// first 25 rows' thumbnails (best first, not in file order) and none
// below; the rest come in a later batch.
TEST_F(Window, ThumbnailsComeInBatchesBestFirst)
{
    std::string ratings;
    for (int i = 0; i < 50; ++i) {
        const std::string name = "Bild" + std::to_string(10 + i) + ".jpg";
        bench::writePhoto((folder / name).string(), 60, 40, 90, unsigned(i));
        ratings += std::to_string(1 + i / 10) + "00000000000000-" + name + "\r\n";
    }
    save("Anna.qel", ratings);
    std::promise<void> gate;
    const std::shared_future<void> opened = gate.get_future().share();
    std::atomic<int> asked{0};
    evaluation::EvaluationWindow window(folder.string(), {}, [&](evaluation::Step at) {
        if (at == evaluation::Step::thumbnail && ++asked == 26)
            opened.wait();
    });
    const QAbstractItemModel* table =
        window.findChild<QTableView*>(QStringLiteral("Rangliste"))->model();
    QSignalSpy changed(table, &QAbstractItemModel::dataChanged);
    QSignalSpy finished(&window, &evaluation::EvaluationWindow::readingFinished);
    const auto withThumbnail = [&](int first, int last) {
        int count = 0;
        for (int row = first; row <= last; ++row)
            count += !table->index(row, 1).data(Qt::DecorationRole).value<QImage>().isNull();
        return count;
    };
    window.show();
    // One of the first 25 may still be decoding while the 26th is held.
    EXPECT_TRUE(QTest::qWaitFor([&] { return withThumbnail(0, 24) >= 24; }, kWaitMs));
    EXPECT_EQ(withThumbnail(25, 49), 0);
    const auto batches = [&] {
        return std::count_if(changed.begin(), changed.end(), [](const QList<QVariant>& signal) {
            return signal[2].value<QList<int>>() == QList<int>{Qt::DecorationRole};
        });
    };
    const auto before = batches();
    gate.set_value();
    ASSERT_TRUE(finished.wait(kWaitMs));
    EXPECT_EQ(withThumbnail(0, 49), 50);
    EXPECT_GT(batches(), before);
}

} // namespace

#include "test_window.moc"
