#include "Viewer/QelPanel.h"

#include "Viewer/BackgroundGray.h"
#include "Viewer/Glyphs.h"
#include "Viewer/WebAddress.h"
#include "core/Messages.h"

namespace {

QFont pixelFont(int pixels, bool bold = false, bool underline = false)
{
    QFont font;
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setUnderline(underline);
    return font;
}

template <typename Widget>
Widget* place(Widget* widget, const char* name, int left, int top, int width, int height)
{
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(left, top, width, height);
    return widget;
}

QLabel* label(QWidget* parent, const char* name, const QString& text, int left, int top,
              const QFont& font)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setFont(font);
    l->move(left, top);
    l->adjustSize();
    return l;
}

// A lowered panel showing a centred text.
QLabel* textPanel(QWidget* parent, const char* name, int left, int top, int width, int height,
                  const QFont& font)
{
    auto* panel =
        place(new QLabel(QStringLiteral("0 Punkte"), parent), name, left, top, width, height);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setAlignment(Qt::AlignCenter);
    panel->setFont(font);
    return panel;
}

QFrame* separator(QWidget* parent, const char* name, int top, int width = 300)
{
    auto* bar = place(new QFrame(parent), name, 6, top, width, 5);
    bar->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    return bar;
}

QToolButton* speedButton(QWidget* parent, const char* name, int left, int top, const QIcon& icon,
                         QSize iconSize, const char* hint)
{
    auto* button = place(new QToolButton(parent), name, left, top, 25, 25);
    button->setIcon(icon);
    button->setIconSize(iconSize);
    button->setToolTip(QString::fromUtf8(hint));
    button->setAccessibleName(QString::fromUtf8(hint));
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

QPushButton* pushButton(QWidget* parent, const char* name, const QString& text, QRect geometry,
                        const QFont& font, const char* hint)
{
    auto* button = place(new QPushButton(text, parent), name, geometry.left(), geometry.top(),
                         geometry.width(), geometry.height());
    button->setFont(font);
    if (hint) {
        button->setToolTip(QString::fromUtf8(hint));
        button->setAccessibleDescription(QString::fromUtf8(hint));
    }
    return button;
}

} // namespace

QelPanel::QelPanel(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("QelPanel"));
    resize(kWidth, kHeight);
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setAutoFillBackground(true);
    QPalette face = palette();
    face.setColor(QPalette::Window, QColor(0xd4, 0xd0, 0xc8));
    face.setColor(QPalette::WindowText, Qt::black);
    setPalette(face);

    // The command row.
    Buttonpanel = place(new QFrame(this), "Buttonpanel", 6, 4, 299, 37);
    Buttonpanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Buttonpanel->setAutoFillBackground(true);
    QPalette grey = face;
    grey.setColor(QPalette::Window, QColor(0x80, 0x80, 0x80));
    Buttonpanel->setPalette(grey);
    Label6 = label(Buttonpanel, "Label6", QStringLiteral("Version 2.3"), 8, 12, pixelFont(11));
    QPalette white = Label6->palette();
    white.setColor(QPalette::WindowText, Qt::white);
    Label6->setPalette(white);

    zurueckButton = pushButton(Buttonpanel, "zurueckButton", QStringLiteral("<"), {72, 6, 25, 25},
                               pixelFont(19, true), "vorhergehendes Bild");
    zurueckButton->setAccessibleName(QStringLiteral("vorhergehendes Bild"));
    zurueckButton->setEnabled(false);
    vorButton = pushButton(Buttonpanel, "vorButton", QStringLiteral(">"), {96, 6, 25, 25},
                           pixelFont(19, true), "nächstes Bild");
    vorButton->setAccessibleName(QStringLiteral("nächstes Bild"));

    Hintergrund =
        place(new UpDown(background::kGraySteps, Buttonpanel), "Hintergrund", 124, 6, 25, 25);
    Hintergrund->setToolTip(QStringLiteral("Hintergrund-Grauton"));
    Hintergrund->setAccessibleName(QStringLiteral("Hintergrund-Grauton"));

    zoombutton =
        speedButton(Buttonpanel, "zoombutton", 152, 6, glyphs::loupe(), {24, 24}, "100%-Lupe");
    zoombutton->setCheckable(true);
    SpeedButton2 = speedButton(Buttonpanel, "SpeedButton2", 217, 6, glyphs::info(), {9, 16},
                               "Infos zum Programm");

    // Its hint is kept but never shown as a tooltip.
    BitBtn2 = pushButton(Buttonpanel, "BitBtn2", QStringLiteral("   "), {243, 6, 25, 25},
                         pixelFont(13, true, true), nullptr);
    BitBtn2->setAccessibleName(QStringLiteral("Fenster minimieren"));
    BitBtn2->setFocusPolicy(Qt::ClickFocus);
    BitBtn1 = pushButton(Buttonpanel, "BitBtn1", QStringLiteral("X"), {269, 6, 24, 25},
                         pixelFont(13, true), "Programm beenden");
    BitBtn1->setAccessibleName(QStringLiteral("Programm beenden"));
    BitBtn1->setFocusPolicy(Qt::ClickFocus);

    buildRatingArea();
    connectSignals();
}

// The file name, the judge name, the three groups of criteria and the sums.
void QelPanel::buildRatingArea()
{
    const QFont bold13 = pixelFont(13, true);
    const QFont normal13 = pixelFont(13);
    const QFont bold11 = pixelFont(11, true);

    Bilddatei = label(this, "Bilddatei", QStringLiteral("Bild:"), 6, 50, normal13);
    FilePanel = place(new caption::Label(this), "FilePanel", 80, 45, 225, 26);
    FilePanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    FilePanel->setAlignment(Qt::AlignCenter);
    FilePanel->setFont(normal13);
    FilePanel->setCaption(QStringLiteral("FilePanel"));

    Label7 = label(this, "Label7", QStringLiteral("Bewerter:"), 6, 78, normal13);
    Bewerter = place(new QLineEdit(QString::fromUtf8(messages::kJudgePrompt), this), "Bewerter", 80,
                     75, 169, 24);
    Bewerter->setFont(normal13);
    Bewerter->setCursorPosition(0);
    Bewerter->setAccessibleName(QStringLiteral("Bewerter"));
    bsave = speedButton(this, "bsave", 252, 74, glyphs::save(), {18, 19}, "Bewertung speichern");
    bload = speedButton(this, "bload", 280, 74, glyphs::load(), {18, 19}, "Bewertung öffnen");

    separator(this, "Panel1", 102);
    label(this, "Label2", QStringLiteral("Wirkung"), 6, 117, bold13);
    WPkt = textPanel(this, "WPkt", 192, 110, 113, 25, bold11);
    separator(this, "Panel4", 298);
    label(this, "Label3", QStringLiteral("Technik"), 6, 309, bold13);
    TPkt = textPanel(this, "TPkt", 192, 306, 113, 25, bold11);
    separator(this, "Panel5", 494);
    label(this, "Label4", QStringLiteral("Gestaltung"), 6, 507, bold13);
    BPkt = textPanel(this, "BPkt", 192, 502, 113, 25, bold11);
    separator(this, "Panel6", 688);

    // Rows of a group stand 32 px apart below the group's heading.
    static constexpr int kGroupTops[] = {138, 334, 530};
    static constexpr int kRowPitch = 32;
    for (int n = 0; n < kCriterionCount; ++n) {
        auto* row = new CriterionRow(n, this);
        row->setGeometry(6, kGroupTops[n / kCriteriaPerGroup] + kRowPitch * (n % kCriteriaPerGroup),
                         300, 30);
        row->setFont(normal13);
        rows[static_cast<std::size_t>(n)] = row;
        connect(row, &CriterionRow::operated, this, &QelPanel::criterionOperated);
    }

    Buttonvandaro = pushButton(this, "Buttonvandaro", QString::fromLatin1(webaddress::kHost),
                               {6, 698, 89, 22}, pixelFont(11), nullptr);
    label(this, "Label5", QStringLiteral("Total"), 144, 701, bold13);
    TotalPkt = textPanel(this, "TotalPkt", 192, 696, 113, 25, bold11);
    separator(this, "Panel21", 723);
}

void QelPanel::connectSignals()
{
    connect(vorButton, &QPushButton::clicked, this, &QelPanel::nextClicked);
    connect(zurueckButton, &QPushButton::clicked, this, &QelPanel::previousClicked);
    connect(Hintergrund, &UpDown::changed, this, &QelPanel::grayStepped);
    connect(zoombutton, &QToolButton::clicked, this, &QelPanel::zoomClicked);
    connect(SpeedButton2, &QToolButton::clicked, this, &QelPanel::infoClicked);
    connect(BitBtn2, &QPushButton::clicked, this, &QelPanel::minimiseClicked);
    connect(BitBtn1, &QPushButton::clicked, this, &QelPanel::closeClicked);
    connect(bsave, &QToolButton::clicked, this, &QelPanel::saveClicked);
    connect(bload, &QToolButton::clicked, this, &QelPanel::loadClicked);
    connect(Buttonvandaro, &QPushButton::clicked, this, &QelPanel::webClicked);
}

void QelPanel::setArrows(bool next, bool previous)
{
    // Qt would move the focus on to the grey level or a slider, which the
    // judge's next arrow key would then change unseen.
    if ((!next && vorButton->hasFocus()) || (!previous && zurueckButton->hasFocus()))
        window()->setFocus(Qt::OtherFocusReason);
    vorButton->setEnabled(next);
    zurueckButton->setEnabled(previous);
}

void QelPanel::setZoomChecked(bool on)
{
    zoombutton->setChecked(on);
}

void QelPanel::setFileName(const QString& name)
{
    Bilddatei->setText(QStringLiteral("Bild: "));
    FilePanel->setCaption(name);
}

QString QelPanel::judgeName() const
{
    return Bewerter->text();
}

void QelPanel::setJudgeName(const QString& name)
{
    Bewerter->setText(name);
}

void QelPanel::setCriterionRange(int n, int maximum, int position)
{
    rows.at(static_cast<std::size_t>(n))->setRange(maximum, position);
}

void QelPanel::setCriterionPosition(int n, int position)
{
    rows.at(static_cast<std::size_t>(n))->setPosition(position);
}

void QelPanel::setValueText(int n, const QString& text)
{
    rows.at(static_cast<std::size_t>(n))->setValueText(text);
}

void QelPanel::setCriterionCaption(int n, const QString& caption, bool visible)
{
    CriterionRow* row = rows.at(static_cast<std::size_t>(n));
    row->setCaption(caption);
    row->setVisible(visible);
}

void QelPanel::setSums(const QString& w, const QString& t, const QString& b, const QString& total)
{
    WPkt->setText(w);
    TPkt->setText(t);
    BPkt->setText(b);
    TotalPkt->setText(total);
}
