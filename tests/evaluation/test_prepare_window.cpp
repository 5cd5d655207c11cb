#include "evaluation/GuiApplication.h"
#include "evaluation/prepare/PrepareWindow.h"
#include "pictures/JpegFixtures.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableView>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

constexpr int kWaitMs = 20000;

// What the organiser is told for each way a competition cannot be made as
// entered, and that nothing is written then; "Ja" to leaving out bad files
// and to a description that is too long goes on.
TEST(PrepareWindow, TellsWhatStopsItAndWritesNothingHalf)
{
    ensureGuiApplication();
    const fs::path root =
        fs::temp_directory_path() / ("bb-prepare-window-" + std::to_string(::getpid()));
    fs::remove_all(root);
    const fixtures::Bytes jpeg = fixtures::makeJpeg({});
    for (const char* member : {"Anna", "Max"}) {
        fs::create_directories(root / "in" / member);
        std::ofstream(root / "in" / member / "See.jpg", std::ios::binary)
            .write(reinterpret_cast<const char*>(jpeg.data()), std::streamsize(jpeg.size()));
    }
    std::ofstream(root / "in/Max/kaputt.jpg") << "GIF89a";
    std::ofstream(root / "in/Max/kurz.jpg", std::ios::binary)
        .write(reinterpret_cast<const char*>(jpeg.data()), std::streamsize(jpeg.size() / 2));
    fs::create_directories(root / "Belegt");
    std::ofstream(root / "Belegt/x") << "x";
    std::ofstream(root / "Info.pdf") << "%PDF";

    evaluation::PrepareWindow window(
        QString::fromStdString((root / "in").string()),
        {BB_SOURCE_DIR "/packaging/vorlage/Qel.max", (root / "Info.pdf").string()});
    std::vector<QString> told;
    bool answer = false;
    window.setAsk([&](QMessageBox::Icon, const QString& text, bool) {
        told.push_back(text);
        return answer;
    });
    auto* name = window.findChild<QLineEdit*>(QStringLiteral("Name des Wettbewerbs"));
    auto* anonymous = window.findChild<QCheckBox*>(QStringLiteral("Anonym bewerten"));
    auto* description = window.findChild<QLineEdit*>(QStringLiteral("Beschreibung W2"));
    auto* create = window.findChild<QPushButton*>(QStringLiteral("Wettbewerb anlegen"));
    ASSERT_TRUE(name && anonymous && description && create);
    EXPECT_EQ(window.findChild<QLineEdit*>(QStringLiteral("Anlegen in"))->text().toStdString(),
              root.string());
    EXPECT_EQ(window.findChild<QSpinBox*>(QStringLiteral("Höchstpunkte W1"))->value(), 5);

    // The bad file is listed but not taken; tick it to be asked. Nothing is
    // taken before it is decoded; the file cut short is damaged.
    auto& model = *const_cast<QAbstractItemModel*>(
        window.findChild<QTableView*>(QStringLiteral("Eingesandte Bilder"))->model());
    ASSERT_EQ(model.rowCount(), 4);
    const auto note = [&](int row) { return model.index(row, 5).data().toString(); };
    for (QDeadlineTimer checked(kWaitMs); !checked.hasExpired();) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        if (!model.match(model.index(0, 5), Qt::DisplayRole, QStringLiteral("wird geprüft …"))
                 .value(0)
                 .isValid())
            break;
    }
    const QModelIndex cut =
        model.match(model.index(0, 2), Qt::DisplayRole, "Max/kurz.jpg").value(0);
    EXPECT_EQ(note(cut.row()), QStringLiteral("beschädigt – wird nicht aufgenommen"));
    EXPECT_EQ(model.index(cut.row(), 0).data(Qt::CheckStateRole), Qt::Unchecked);
    EXPECT_EQ(model.index(0, 0).data(Qt::CheckStateRole), Qt::Checked);
    const QModelIndex bad =
        model.match(model.index(0, 2), Qt::DisplayRole, "Max/kaputt.jpg").value(0);
    ASSERT_TRUE(bad.isValid());
    EXPECT_EQ(model.index(bad.row(), 0).data(Qt::CheckStateRole), Qt::Unchecked);
    model.setData(model.index(bad.row(), 0), Qt::Checked, Qt::CheckStateRole);

    const struct {
        const char* name;
        bool anonymous;
        QString description;
        bool answer;
        const char* told; // the start of the last message
        bool written;
    } cases[] = {
        {"", true, "Spannung", false, "Bitte dem Wettbewerb einen Namen", false},
        {"a/b", true, "Spannung", false, "„a/b“ kann nicht Name eines Ordners sein", false},
        {"Belegt", true, "Spannung", false,
         "Diese Dateien sind keine lesbaren JPEG-Bilder:\nMax/kaputt.jpg", false},
        {"Belegt", true, "Spannung", true, "„", false}, // the folder is not empty
        {"Neu", false, "Spannung", false, "Diese Bilder bekämen denselben Dateinamen", false},
        {"Neu", true, QString(40, 'M'), false, "Diese Beschreibungen passen nicht ganz", false},
        {"Neu", true, QStringLiteral("Ω"), false, "Die Beschreibung von W2 enthält", false},
        {"Neu", true, "Spannung", false, "Der Wettbewerb ist angelegt: 2 Bilder", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        told.clear();
        answer = c.answer;
        name->setText(QString::fromUtf8(c.name));
        anonymous->setChecked(c.anonymous);
        description->setText(c.description);
        QSignalSpy finished(&window, &evaluation::PrepareWindow::writingFinished);
        create->click();
        if (c.answer || c.written) { // the writer ran and tells at its end
            ASSERT_TRUE(finished.wait(kWaitMs));
        }
        ASSERT_FALSE(told.empty());
        EXPECT_TRUE(told.back().startsWith(QString::fromUtf8(c.told))) << told.back().toStdString();
        EXPECT_EQ(fs::exists(root / "Neu"), c.written);
        EXPECT_EQ(fs::exists(root / "Neu Teilnehmer.csv"), c.written);
    }
    EXPECT_TRUE(fs::exists(root / "Belegt/x"));
    EXPECT_TRUE(fs::exists(root / "Neu/01.jpg") && fs::exists(root / "Neu/02.jpg"));
    EXPECT_FALSE(fs::exists(root / "Neu/03.jpg"));
    fs::remove_all(root);
}

} // namespace
