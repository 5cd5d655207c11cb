#include "Viewer/Caption.h"
#include "Viewer/TScreenForm.h"
#include "common/CaptionRoom.h"
#include "core/TextEncoding.h"
#include "core/Weighting.h"

#include "PanelWidgets.h"
#include "QtApplication.h"
#include <QAccessible>
#include <QAccessibleValueInterface>

#include <QApplication>
#include <QTextDocument>
#include <QTextDocumentFragment>

#include <gtest/gtest.h>

namespace {

void ensureApplication()
{
    ensureQtApplication();
}

class ScreenForm : public ::testing::Test {
  protected:
    void SetUp() override
    {
        ensureApplication();
        form = std::make_unique<TScreenForm>();
        form->resize(1920, 1080);
        form->show(); // a window lays itself out when shown
    }
    QWidget* find(const char* name)
    {
        auto* widget = form->findChild<QWidget*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    std::unique_ptr<TScreenForm> form;
};

TEST_F(ScreenForm, ControlsStandWhereTheLayoutPutsThem)
{
    const struct {
        const char* name;
        QRect geometry; // relative to the control's parent
    } layout[] = {
        {"QelPanel", {1920 - 4 - 313, 4, 313, 733}},
        {"Buttonpanel", {6, 4, 299, 37}},
        {"zurueckButton", {72, 6, 25, 25}},
        {"vorButton", {96, 6, 25, 25}},
        {"Hintergrund", {124, 6, 25, 25}},
        {"zoombutton", {152, 6, 25, 25}},
        {"SpeedButton2", {217, 6, 25, 25}},
        {"BitBtn2", {243, 6, 25, 25}},
        {"BitBtn1", {269, 6, 24, 25}},
        {"FilePanel", {80, 45, 225, 26}},
        {"Bewerter", {80, 75, 169, 24}},
        {"bsave", {252, 74, 25, 25}},
        {"bload", {280, 74, 25, 25}},
        {"Panel1", {6, 102, 300, 5}},
        {"WPkt", {192, 110, 113, 25}},
        {"PanelW1", {6, 138, 300, 30}},
        {"PanelW5", {6, 266, 300, 30}},
        {"Panel4", {6, 298, 300, 5}},
        {"TPkt", {192, 306, 113, 25}},
        {"PanelT1", {6, 334, 300, 30}},
        {"PanelT5", {6, 462, 300, 30}},
        {"Panel5", {6, 494, 300, 5}},
        {"BPkt", {192, 502, 113, 25}},
        {"PanelB1", {6, 530, 300, 30}},
        {"PanelB5", {6, 658, 300, 30}},
        {"Panel6", {6, 688, 300, 5}},
        {"Buttonvandaro", {6, 698, 89, 22}},
        {"TotalPkt", {192, 696, 113, 25}},
        {"Panel21", {6, 723, 300, 5}},
        {"TB3", {128, 3, 136, 20}},
        {"LB3", {260, 8, 36, 20}},
    };
    for (const auto& control : layout) {
        if (QWidget* widget = find(control.name)) {
            EXPECT_EQ(widget->geometry(), control.geometry) << control.name;
        }
    }
    const struct {
        const char* name;
        QPoint position;
    } labels[] = {{"Label6", {8, 12}},   {"Bilddatei", {6, 50}}, {"Label7", {6, 78}},
                  {"Label2", {6, 117}},  {"Label3", {6, 309}},   {"Label4", {6, 507}},
                  {"Label5", {144, 701}}};
    for (const auto& label : labels) {
        if (QWidget* widget = find(label.name)) {
            EXPECT_EQ(widget->pos(), label.position) << label.name;
        }
    }
}

TEST_F(ScreenForm, PanelStaysAtTheRightEdge)
{
    form->resize(1280, 1024);
    EXPECT_EQ(form->QelPanel_()->geometry(), QRect(1280 - 4 - 313, 4, 313, 733));
}

TEST_F(ScreenForm, TextsHintsAndEnablingOfTheLayout)
{
    const PanelWidgets panel(*form);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Bildbewertung"));
    EXPECT_EQ(form->accessibleDescription(), QStringLiteral("Quintavo Ver 2.3"));
    EXPECT_TRUE(form->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(form->font().pixelSize(), 11);
    EXPECT_FALSE(panel.zurueckButton->isEnabled());
    EXPECT_TRUE(panel.vorButton->isEnabled());
    EXPECT_FALSE(form->Rahmen()->isVisibleTo(form.get()));
    EXPECT_EQ(panel.Bewerter->text(), QStringLiteral("hier den Namen eintragen!"));
    EXPECT_EQ(panel.WPkt->text(), QStringLiteral("0 Punkte"));
    EXPECT_EQ(panel.Bilddatei->text(), QStringLiteral("Bild:"));
    EXPECT_EQ(panel.FilePanel->caption(), QStringLiteral("FilePanel"));
    const std::pair<QWidget*, const char*> hints[] = {
        {panel.zurueckButton, "vorhergehendes Bild"}, {panel.vorButton, "nächstes Bild"},
        {panel.Hintergrund, "Hintergrund-Grauton"},   {panel.zoombutton, "100%-Lupe"},
        {panel.SpeedButton2, "Infos zum Programm"},   {panel.BitBtn1, "Programm beenden"},
        {panel.bsave, "Bewertung speichern"},         {panel.bload, "Bewertung öffnen"},
    };
    for (const auto& [widget, hint] : hints)
        EXPECT_EQ(widget->toolTip(), QString::fromUtf8(hint));
    EXPECT_TRUE(panel.BitBtn2->toolTip().isEmpty()) << "its hint is never shown";
    EXPECT_EQ(panel.BitBtn1->focusPolicy() & Qt::TabFocus, 0);
    EXPECT_EQ(panel.BitBtn2->focusPolicy() & Qt::TabFocus, 0);
    EXPECT_EQ(panel.rows[0]->captionLabel()->caption(), QStringLiteral(" W1"));
    EXPECT_EQ(panel.rows[14]->captionLabel()->caption(), QStringLiteral(" B5"));
    EXPECT_EQ(panel.rows[7]->valueLabel()->text(), QStringLiteral("0"));
}

TEST_F(ScreenForm, UpDownReportsOnlyRealSteps)
{
    UpDown& upDown = *PanelWidgets(*form).Hintergrund;
    std::vector<int> reported;
    QObject::connect(&upDown, &UpDown::changed, [&](int p) { reported.push_back(p); });
    upDown.step(-1);
    for (int i = 0; i < 18; ++i)
        upDown.step(+1);
    upDown.step(-1);
    EXPECT_EQ(reported.size(), 17u);
    EXPECT_EQ(reported[15], 16);
    EXPECT_EQ(reported.back(), 15);
}

TEST(Caption, AmpersandUnderlinesTheNextCharacter)
{
    const struct {
        const char* text;
        const char* plain;
        const char* html;
    } cases[] = {
        {"Sch&ärfe", "Schärfe", "Sch<u>ä</u>rfe"},
        {"Licht && Schatten", "Licht & Schatten", "Licht&nbsp;&amp;&nbsp;Schatten"},
        {"Ende&", "Ende", "Ende"},
        {"<b>", "<b>", "&lt;b&gt;"},
        {"&&&x", "&x", "&amp;<u>x</u>"},
    };
    for (const auto& c : cases) {
        const QString text = QString::fromUtf8(c.text);
        EXPECT_EQ(caption::toPlainText(text), QString::fromUtf8(c.plain)) << c.text;
        EXPECT_TRUE(caption::toRichText(text).contains(QString::fromUtf8(c.html)))
            << c.text << " -> " << caption::toRichText(text).toStdString();
    }
}

// The template's and the demo's captions fit beside their sliders in the panel's font; a
// caption that does not shows its whole text as a tooltip.
TEST_F(ScreenForm, TheTemplatesCaptionsFitAndAClippedOneShowsItsText)
{
    QelPanel& shown = *form->QelPanel_();
    const PanelWidgets panel(*form);
    for (const char* file : {"/packaging/vorlage/Qel.max", "/demo/Qel.max"}) {
        const Weighting weighting = readWeighting(BB_SOURCE_DIR + std::string(file));
        ASSERT_EQ(weighting.outcome, Weighting::Outcome::Loaded) << file;
        for (int n = 0; n < kCriterionCount; ++n) {
            const WeightingRow& row = weighting.rows[static_cast<std::size_t>(n)];
            const QString text = QString::fromStdString(displayText(row.caption));
            shown.setCriterionCaption(n, text, row.visible);
            const caption::Label* label = panel.rows[static_cast<std::size_t>(n)]->captionLabel();
            EXPECT_FALSE(label->clipped())
                << text.toStdString() << ": " << label->fontMetrics().horizontalAdvance(text)
                << " px in " << label->contentsRect().width() << " px of "
                << label->font().family().toStdString();
            EXPECT_TRUE(label->toolTip().isEmpty());
            // The preparation's measure agrees with the panel.
            EXPECT_TRUE(common::captionFits(caption::toPlainText(text)));
        }
    }
    // The preparation's measure is the panel's, near the edge too.
    for (const char* text : {" Rauschen / Artefakte", " Bildaufbau / Linien", " Idee & Aussage",
                             " Stimmung / Emotion und &Ausdruck"}) {
        const QString caption = QString::fromUtf8(text);
        shown.setCriterionCaption(0, caption, true);
        EXPECT_EQ(panel.rows[0]->captionLabel()->clipped(),
                  !common::captionFits(caption::toPlainText(caption)))
            << text;
    }
    const QString tooLong = QStringLiteral(" Stimmung / Emotion und &Ausdruck");
    EXPECT_FALSE(common::captionFits(caption::toPlainText(tooLong)));
    EXPECT_EQ(panel.rows[0]->captionLabel()->toolTip(),
              QStringLiteral("Stimmung / Emotion und Ausdruck"));
    // A picture's name with tags: its tooltip shows the tags as text.
    const QString tagged =
        QStringLiteral("01 <font size=7 color=red>Abendlicht am See im Herbst mit Nebel<!--.jpg");
    shown.setFileName(tagged);
    const QString tip = panel.FilePanel->toolTip();
    ASSERT_FALSE(tip.isEmpty()) << "clipped";
    EXPECT_EQ(Qt::mightBeRichText(tip) ? QTextDocumentFragment::fromHtml(tip).toPlainText() : tip,
              tagged);
}

TEST_F(ScreenForm, AssistiveToolsReadTextsValuesAndStates)
{
    QelPanel& shown = *form->QelPanel_();
    shown.setCriterionRange(2, 5, 3);
    shown.setValueText(2, QStringLiteral("3/5"));
    shown.setCriterionCaption(2, QStringLiteral(" Farbe && Licht"), true);
    shown.setFileName(QStringLiteral("a&&b.jpg"));
    shown.setSums(QStringLiteral("3 / 25 Punkte"), {}, {}, {});
    const PanelWidgets panel(*form);
    auto name = [](QWidget* widget) {
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(widget);
        return a ? a->text(QAccessible::Name) : QString();
    };
    EXPECT_EQ(name(panel.WPkt), QStringLiteral("3 / 25 Punkte"));
    EXPECT_EQ(name(panel.rows[2]->valueLabel()), QStringLiteral("3/5"));
    EXPECT_EQ(name(panel.rows[2]->captionLabel()), QStringLiteral(" Farbe & Licht"));
    EXPECT_EQ(name(panel.FilePanel), QStringLiteral("a&b.jpg"));
    EXPECT_EQ(name(panel.vorButton), QStringLiteral("nächstes Bild"));
    EXPECT_EQ(name(panel.BitBtn2), QStringLiteral("Fenster minimieren"));

    QAccessibleInterface* slider = QAccessible::queryAccessibleInterface(panel.rows[2]->slider());
    ASSERT_NE(slider, nullptr);
    ASSERT_NE(slider->valueInterface(), nullptr);
    EXPECT_EQ(slider->valueInterface()->currentValue().toInt(), 3);
    EXPECT_EQ(slider->valueInterface()->maximumValue().toInt(), 5);

    QAccessibleInterface* back = QAccessible::queryAccessibleInterface(panel.zurueckButton);
    EXPECT_TRUE(back->state().disabled);
}

} // namespace
