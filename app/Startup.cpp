#include "app/Controller.h"

#include "Viewer/MessageBoxes.h"
#include "Viewer/PictureFrame.h"
#include "Viewer/TScreenForm.h"
#include "app/Guard.h"
#include "core/Failure.h"
#include "core/Messages.h"
#include "core/Weighting.h"
#include "pictures/PictureList.h"

#include <QCoreApplication>
#include <QFile>

#include <limits>

Controller::Controller(TScreenForm& form, ViewerState& viewerState)
    : state(viewerState), form_(form), panel_(*form.QelPanel_()), Rahmen_(*form.Rahmen())
{
    FirstPictureTimer.setInterval(100);
    LoadTimer.setInterval(100);
    board.setChangeHandler([this] { SummenClick(); });
    Qelopen = [this] { return runQelopen(&form_, lastChosenFile_); };
    connectControls();
}

void Controller::connectControls()
{
    // Every handler runs guarded: what escapes goes to the general error box.
    auto on = [this](auto* sender, auto signal, void (Controller::*handler)()) {
        connect(sender, signal, this, [this, handler] { guarded([&] { (this->*handler)(); }); });
    };
    on(&FirstPictureTimer, &QTimer::timeout, &Controller::FirstPictureTimerTimer);
    on(&LoadTimer, &QTimer::timeout, &Controller::LoadTimerTimer);
    on(panel_.vorButton, &QPushButton::clicked, &Controller::vor);
    on(panel_.zurueckButton, &QPushButton::clicked, &Controller::zurueck);
    on(panel_.bsave, &QToolButton::clicked, &Controller::bsaveClick);
    on(panel_.bload, &QToolButton::clicked, &Controller::bloadClick);
    on(panel_.zoombutton, &QToolButton::clicked, &Controller::zoombuttonClick);
    on(panel_.SpeedButton2, &QToolButton::clicked, &Controller::SpeedButton2Click);
    on(panel_.Buttonvandaro, &QPushButton::clicked, &Controller::ButtonvandaroClick);
    on(panel_.BitBtn2, &QPushButton::clicked, &Controller::MinButtonClick);
    on(panel_.BitBtn1, &QPushButton::clicked, &Controller::CloseBtnClick);
    connect(panel_.Hintergrund, &UpDown::changed, this,
            [this](int position) { guarded([&] { HintergrundClick(position); }); });
    for (CriterionRow* row : panel_.rows) {
        connect(row, &CriterionRow::operated, this, [this](int criterion, int position) {
            guarded([&] { board.operate(criterion, position); });
        });
    }
    connect(form_.mouse(), &MouseRouter::pressed, this, [this](Qt::MouseButton button, QPoint at) {
        guarded([&] { FormMouseDown(button, at); });
    });
    connect(&Rahmen_, &PictureFrame::decodeError, this,
            [](int code) { messagebox::generalError(messages::jpegError(code)); });
    form_.setCloseGuard([this] { return mayClose(); });
}

void Controller::FormCreate()
{
    form_.setBackgroundGray(0);
    state.ZoomMode = false;
    state.DragActive = false;
    state.ProgramFolder =
        QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString() + "/";
    LoadWeighting();
    state.GrayLevel = 0;
    state.ScaleFactor = 1.0L;
    state.LoadForward = false;
    state.LoadBack = false;
    state.HasPictures = false;
    state.PictureCount = 0;
    state.PictureIndex = 0;
    autoload();
    QelListReset();
    showFileName();
    state.HasPictures = state.PictureCount != 0;
    if (state.HasPictures)
        startOnce(FirstPictureTimer);
    if (state.PictureCount < 2)
        panel_.vorButton->setEnabled(false);
    state.MaxPointsW = board.groupMaximum(Group::Wirkung);
    state.MaxPointsT = board.groupMaximum(Group::Technik);
    state.MaxPointsB = board.groupMaximum(Group::Gestaltung);
    state.MaxPointsTotal = state.MaxPointsW + state.MaxPointsT + state.MaxPointsB;
    panel_.WPkt->setText(QString::fromStdString(rating::pointsText(0, state.MaxPointsW)));
    panel_.TPkt->setText(QString::fromStdString(rating::pointsText(0, state.MaxPointsT)));
    panel_.BPkt->setText(QString::fromStdString(rating::pointsText(0, state.MaxPointsB)));
    panel_.TotalPkt->setText(QString::fromStdString(rating::pointsText(0, state.MaxPointsTotal)));
}

void Controller::LoadWeighting()
{
    // Whatever goes wrong here is reported here; start-up always goes on.
    Weighting weighting;
    try {
        weighting = readWeighting();
    } catch (const std::exception&) { // out of memory: as if unreadable
        weighting = Weighting{};
    }
    Maxliste = weighting.lines;
    for (int n = 0; n < weighting.validMaxima; ++n) {
        board.setMaximum(n, weighting.maxima[static_cast<std::size_t>(n)]);
        panel_.rows[static_cast<std::size_t>(n)]->setRange(board.maximum(n), board.position(n));
    }
    if (const auto warning = weighting.warning()) {
        messagebox::warning(*warning);
        return;
    }
    for (int n = 0; n < kCriterionCount; ++n) {
        CriterionRow* row = panel_.rows[static_cast<std::size_t>(n)];
        row->setValueText(
            QString::fromStdString(rating::valueLabel(board.position(n), board.maximum(n))));
    }
    for (int n = 0; n < kCriterionCount; ++n) {
        const WeightingRow& caption = weighting.rows[static_cast<std::size_t>(n)];
        CriterionRow* row = panel_.rows[static_cast<std::size_t>(n)];
        row->setCaption(QString::fromStdString(displayText(caption.caption)));
        row->setVisible(caption.visible);
    }
}

void Controller::autoload()
{
    std::vector<std::string> listing = pictures::listPictures(".");
    if (listing.size() > std::numeric_limits<std::uint16_t>::max()) {
        // The index is 16 bits wide: refuse rather than wrap.
        Playlist.clear();
        messagebox::warning(messages::kTooManyPictures);
        return;
    }
    if (!listing.empty()) {
        Playlist = std::move(listing);
        state.PictureCount = static_cast<std::uint16_t>(Playlist.size());
        state.PictureIndex = 0;
        state.HasPictures = true;
        startOnce(FirstPictureTimer);
    } else {
        Playlist.clear();
    }
    if (Playlist.empty())
        messagebox::information(messages::kNoPictures);
}

void Controller::QelListReset()
{
    QelList = rating::freshSheet(Playlist);
    savedSheet_ = QelList;
}

void Controller::SummenClick()
{
    const rating::ScoreTexts texts = rating::scoreTexts(board, state.MaxPointsW, state.MaxPointsT,
                                                        state.MaxPointsB, state.MaxPointsTotal);
    for (int n = 0; n < kCriterionCount; ++n) {
        CriterionRow* row = panel_.rows[static_cast<std::size_t>(n)];
        row->setPosition(board.position(n));
        row->setValueText(QString::fromStdString(texts.valueLabels[static_cast<std::size_t>(n)]));
    }
    panel_.WPkt->setText(QString::fromStdString(texts.W));
    panel_.TPkt->setText(QString::fromStdString(texts.T));
    panel_.BPkt->setText(QString::fromStdString(texts.B));
    panel_.TotalPkt->setText(QString::fromStdString(texts.Total));
    rating::bewerten(QelList, state.PictureIndex, board);
}

void Controller::startOnce(QTimer& timer)
{
    // Starting a running timer does not begin a fresh interval.
    if (!timer.isActive())
        timer.start();
}
