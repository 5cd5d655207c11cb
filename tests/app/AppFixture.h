#pragma once

#include "Viewer/MessageBoxes.h"
#include "Viewer/TScreenForm.h"
#include "app/Application.h"
#include "app/Controller.h"
#include "common/ProgramSetup.h"

#include "PanelWidgets.h"
#include "QtApplication.h"

#include <QApplication>
#include <QImage>
#include <QTimer>
#include <QWindow>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// A working folder of its own, the window offscreen at 1920 x 1080, every
// message box recorded instead of shown, and the file-open dialog answered
// with `chosen`.
class AppFixture : public ::testing::Test {
  protected:
    struct Message {
        messagebox::Kind kind;
        std::string text;
        bool operator==(const Message&) const = default;
    };

    static QApplication& application() { return ensureQtApplication(); }

    void SetUp() override
    {
        application();
        common::keepNoSettings(); // the file dialog would write into the home folder
        previous_ = std::filesystem::current_path();
        folder_ = std::filesystem::temp_directory_path() /
                  ("bb-app-" + std::to_string(::getpid()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
        std::filesystem::current_path(folder_);
        recorder = [this](messagebox::Kind kind, const QString& text) {
            messages.push_back({kind, text.toStdString()});
            return answer;
        };
    }

    void TearDown() override
    {
        controller.reset();
        form.reset();
        std::filesystem::current_path(previous_);
        std::filesystem::remove_all(folder_);
    }

    void writeFile(const std::string& name, const std::string& bytes)
    {
        std::ofstream(name, std::ios::binary) << bytes;
    }

    // Fifteen weighting lines with these maxima.
    void writeWeighting(const std::string& maxima)
    {
        std::string text;
        for (std::size_t n = 0; n < maxima.size(); ++n)
            text += std::string(1, maxima[n]) + " Kriterium " + std::to_string(n + 1) + "\r\n";
        writeFile("Qel.max", text);
    }

    void writePicture(const std::string& name, int width = 64, int height = 48)
    {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(QColor(90, 140, 200));
        ASSERT_TRUE(image.save(QString::fromStdString(name), "JPEG"));
    }

    // Creates the window and runs start-up, as the main block does, until
    // the window's first paint.
    void start()
    {
        form = std::make_unique<TScreenForm>();
        form->resize(1920, 1080);
        controller = std::make_unique<Controller>(*form, boxes, [this] { return chosen; });
        controller->FormCreate();
        // The wait for the window must not let the first tick in: on a busy
        // machine it takes longer than the tick's 100 ms.
        QTimer& firstTick = show().firstPictureTimer();
        const bool armed = firstTick.isActive();
        firstTick.stop();
        form->show(); // as the main block does once start-up has returned
        for (int i = 0; i < 100 && !form->windowHandle()->isExposed(); ++i)
            QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        if (armed)
            firstTick.start();
    }
    PictureShow& show() { return controller->pictureShow(); }

    PanelWidgets panel() { return PanelWidgets(*form); }
    std::string text(const QLabel* label) { return label->text().toStdString(); }
    std::string filePanel() { return panel().FilePanel->caption().toStdString(); }
    std::string sums()
    {
        return text(panel().WPkt) + " | " + text(panel().TPkt) + " | " + text(panel().BPkt) +
               " | " + text(panel().TotalPkt);
    }
    std::string arrows()
    {
        return std::string(panel().zurueckButton->isEnabled() ? "<" : "-") +
               (panel().vorButton->isEnabled() ? ">" : "-");
    }
    std::string positions()
    {
        std::string digits;
        for (CriterionRow* row : panel().rows)
            digits += static_cast<char>('0' + row->slider()->value());
        return digits;
    }

    std::vector<Message> messages;
    bool answer = true;
    messagebox::Recorder recorder; // records into `messages` unless a test puts another here
    messagebox::Boxes boxes{
        [this](messagebox::Kind kind, const QString& text) { return recorder(kind, text); }};
    std::optional<std::string> chosen;
    std::unique_ptr<TScreenForm> form;
    std::unique_ptr<Controller> controller;

  private:
    std::filesystem::path previous_;
    std::filesystem::path folder_;
};
