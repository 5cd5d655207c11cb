#pragma once

#include "Viewer/Caption.h"
#include "Viewer/CriterionRow.h"
#include "Viewer/UpDown.h"
#include "core/Criteria.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include <array>
#include <gtest/gtest.h>
#include <string>

// The rating panel's widgets, found by their names in the window's widget
// tree, as assistive tools find them; the panel keeps them private.
struct PanelWidgets {
    explicit PanelWidgets(const QWidget& window)
    {
        for (int n = 0; n < kCriterionCount; ++n)
            rows[static_cast<std::size_t>(n)] = find<CriterionRow>(
                window, "Panel" + QString::fromStdString(layoutCaption(n)).trimmed());
        vorButton = find<QPushButton>(window, "vorButton");
        zurueckButton = find<QPushButton>(window, "zurueckButton");
        Hintergrund = find<UpDown>(window, "Hintergrund");
        zoombutton = find<QToolButton>(window, "zoombutton");
        SpeedButton2 = find<QToolButton>(window, "SpeedButton2");
        bsave = find<QToolButton>(window, "bsave");
        bload = find<QToolButton>(window, "bload");
        BitBtn1 = find<QPushButton>(window, "BitBtn1");
        BitBtn2 = find<QPushButton>(window, "BitBtn2");
        Bilddatei = find<QLabel>(window, "Bilddatei");
        FilePanel = find<caption::Label>(window, "FilePanel");
        Bewerter = find<QLineEdit>(window, "Bewerter");
        WPkt = find<QLabel>(window, "WPkt");
        TPkt = find<QLabel>(window, "TPkt");
        BPkt = find<QLabel>(window, "BPkt");
        TotalPkt = find<QLabel>(window, "TotalPkt");
    }

    template <typename Widget> static Widget* find(const QWidget& window, const QString& name)
    {
        auto* widget = window.findChild<Widget*>(name);
        EXPECT_NE(widget, nullptr) << name.toStdString();
        return widget;
    }

    std::array<CriterionRow*, kCriterionCount> rows{};
    QPushButton* vorButton;
    QPushButton* zurueckButton;
    UpDown* Hintergrund;
    QToolButton* zoombutton;
    QToolButton* SpeedButton2;
    QToolButton* bsave;
    QToolButton* bload;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;
    QLabel* Bilddatei;
    caption::Label* FilePanel;
    QLineEdit* Bewerter;
    QLabel* WPkt;
    QLabel* TPkt;
    QLabel* BPkt;
    QLabel* TotalPkt;
};
