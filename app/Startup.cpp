#include "app/Controller.h"

#include "Viewer/MessageBoxes.h"
#include "Viewer/PictureFrame.h"
#include "Viewer/TScreenForm.h"
#include "app/Guard.h"
#include "core/Failure.h"
#include "core/Messages.h"
#include "core/Weighting.h"
#include "pictures/PictureList.h"

#include <QFile>

#include <limits>

Controller::Controller(TScreenForm& form, ViewerState& viewerState)
    : state(viewerState), form_(form), panel_(*form.QelPanel_()), Rahmen_(*form.Rahmen()),
      cache_(viewerState, [this](int index) { return loadPicture(index); })
{
    FirstPictureTimer.setInterval(kTimerIntervalMs);
    LoadTimer.setInterval(kTimerIntervalMs);
    sliceTimer_.setInterval(0);
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
    on(&sliceTimer_, &QTimer::timeout, &Controller::prepareSlice);
    on(&panel_, &QelPanel::nextClicked, &Controller::vor);
    on(&panel_, &QelPanel::previousClicked, &Controller::zurueck);
    on(&panel_, &QelPanel::saveClicked, &Controller::bsaveClick);
    on(&panel_, &QelPanel::loadClicked, &Controller::bloadClick);
    on(&panel_, &QelPanel::zoomClicked, &Controller::zoombuttonClick);
    on(&panel_, &QelPanel::infoClicked, &Controller::SpeedButton2Click);
    on(&panel_, &QelPanel::webClicked, &Controller::ButtonvandaroClick);
    on(&panel_, &QelPanel::minimiseClicked, &Controller::MinButtonClick);
    on(&panel_, &QelPanel::closeClicked, &Controller::CloseBtnClick);
    connect(&panel_, &QelPanel::grayStepped, this,
            [this](int position) { guarded([&] { HintergrundClick(position); }); });
    connect(&panel_, &QelPanel::criterionOperated, this, [this](int criterion, int position) {
        guarded([&] { board.operate(criterion, position); });
    });
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
    Rahmen_.BildMouseUp(); // no pan drag
    LoadWeighting();
    state.GrayLevel = 0;
    state.ScaleFactor = 1.0L;
    cache_.clearPreloads();
    state.HasPictures = false;
    state.PictureCount = 0;
    state.PictureIndex = 0;
    autoload();
    QelListReset();
    showFileName();
    state.HasPictures = state.PictureCount != 0;
    if (state.HasPictures) {
        startOnce(FirstPictureTimer);
        scheduleSlices(); // the first picture's decode starts with the event loop
    }
    if (state.PictureCount < 2)
        panel_.setArrows(false, false); // the layout starts "<" disabled
    state.MaxPointsW = board.groupMaximum(Group::Wirkung);
    state.MaxPointsT = board.groupMaximum(Group::Technik);
    state.MaxPointsB = board.groupMaximum(Group::Gestaltung);
    state.MaxPointsTotal = state.MaxPointsW + state.MaxPointsT + state.MaxPointsB;
    showSums({{},
              rating::pointsText(0, state.MaxPointsW),
              rating::pointsText(0, state.MaxPointsT),
              rating::pointsText(0, state.MaxPointsB),
              rating::pointsText(0, state.MaxPointsTotal)});
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
    for (int n = 0; n < weighting.validMaxima; ++n) {
        board.setMaximum(n, weighting.maxima[static_cast<std::size_t>(n)]);
        panel_.setCriterionRange(n, board.maximum(n), board.position(n));
    }
    if (const auto warning = weighting.warning()) {
        messagebox::warning(*warning);
        return;
    }
    for (int n = 0; n < kCriterionCount; ++n)
        panel_.setValueText(
            n, QString::fromStdString(rating::valueLabel(board.position(n), board.maximum(n))));
    for (int n = 0; n < kCriterionCount; ++n) {
        const WeightingRow& row = weighting.rows[static_cast<std::size_t>(n)];
        panel_.setCriterionCaption(n, QString::fromStdString(displayText(row.caption)),
                                   row.visible);
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
