#include "app/PictureShow.h"

#include "Viewer/PictureFrame.h"
#include "Viewer/TScreenForm.h"
#include "app/Guard.h"
#include "core/Messages.h"
#include "core/Tunables.h"
#include "pictures/PictureList.h"

#include <QEvent>
#include <QMetaObject>

#include <algorithm>
#include <limits>

namespace {

void startOnce(QTimer& timer)
{
    // Starting a running timer does not begin a fresh interval.
    if (!timer.isActive())
        timer.start();
}

} // namespace

PictureShow::PictureShow(TScreenForm& form, messagebox::Boxes& boxes)
    : form_(form), boxes_(boxes), Rahmen_(*form.Rahmen()),
      cache_([this](int index) { return loadPicture(index); })
{
    FirstPictureTimer.setInterval(tunables::kPreloadTimerInterval);
    LoadTimer.setInterval(tunables::kPreloadTimerInterval);
    sliceTimer_.setInterval(0);
    // Every tick runs guarded: what escapes goes to the general error box.
    const auto on = [this](QTimer& timer, void (PictureShow::*handler)()) {
        connect(&timer, &QTimer::timeout, this,
                [this, handler] { guarded(boxes_, [&] { (this->*handler)(); }); });
    };
    on(FirstPictureTimer, &PictureShow::FirstPictureTimerTimer);
    on(LoadTimer, &PictureShow::LoadTimerTimer);
    on(sliceTimer_, &PictureShow::prepareSlice);
    form_.installEventFilter(this);
}

void PictureShow::autoload()
{
    cache_.clearPreloads();
    PictureIndex = 0;
    PictureCount = 0;
    HasPictures = false;
    std::vector<std::string> listing = pictures::listPictures(".");
    if (listing.size() > std::numeric_limits<std::uint16_t>::max()) {
        // The index is 16 bits wide: refuse rather than wrap.
        Playlist.clear();
        boxes_.warning(messages::kTooManyPictures);
        return;
    }
    Playlist = std::move(listing);
    if (Playlist.empty()) {
        boxes_.information(messages::kNoPictures);
        return;
    }
    PictureCount = static_cast<std::uint16_t>(Playlist.size());
    HasPictures = true;
    startOnce(FirstPictureTimer);
}

// The window's first paint starts the first picture's read: the judge sees
// the window and the panel before the disk is touched.
bool PictureShow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &form_ && event->type() == QEvent::Paint && !painted_) {
        painted_ = true;
        form_.removeEventFilter(this);
        if (FirstPictureTimer.isActive())
            startOnce(sliceTimer_);
    }
    return QObject::eventFilter(watched, event);
}

// A tick before the window's first paint, or while a message box waits in
// its own event loop, comes again one interval later.
bool PictureShow::waitsForTheWindow(QTimer& timer)
{
    if (painted_ && !boxes_.isOpen())
        return false;
    timer.start(tunables::kPreloadTimerInterval);
    return true;
}

void PictureShow::FirstPictureTimerTimer()
{
    if (waitsForTheWindow(FirstPictureTimer))
        return;
    FirstPictureTimer.stop(); // first, so that nothing below can make it fire again
    if (HasPictures) {
        // A move before this tick may already show its picture.
        const bool shown = cache_.showsCurrent(PictureIndex);
        const bool preloadNext =
            cache_.showFirst(PictureIndex, PictureCount, failing(FirstPictureTimer));
        if (!shown)
            showCachedPicture(failing(FirstPictureTimer));
        Rahmen_.setVisible(true);
        if (preloadNext)
            startOnce(LoadTimer);
    }
    headStart_ = {}; // a move before this tick took another picture
    startOnce(sliceTimer_);
}

void PictureShow::LoadTimerTimer()
{
    if (waitsForTheWindow(LoadTimer))
        return;
    LoadTimer.stop();
    cache_.preload(PictureIndex, PictureCount, failing(LoadTimer));
    startOnce(sliceTimer_);
}

bool PictureShow::move(int step)
{
    if (!HasPictures || !(step > 0 ? hasNext() : hasPrevious()))
        return false;
    PictureIndex = static_cast<std::uint16_t>(PictureIndex + step);
    const auto failed = failing(LoadTimer);
    const bool preload = step > 0 ? cache_.forward(PictureIndex, PictureCount, failed)
                                  : cache_.back(PictureIndex, PictureCount, failed);
    showCachedPicture(failed);
    if (preload)
        startOnce(LoadTimer);
    return true;
}

void PictureShow::finishSlices()
{
    // Slices put off (a longer interval) wait for the window, not for this.
    while (sliceTimer_.isActive() && sliceTimer_.interval() == 0)
        prepareSlice();
}

// A picture that cannot be loaded or decoded, out of memory included: the
// timer stops before the judge is told, so it cannot fire while told.
pictures::PictureCache::FailureHandler PictureShow::failing(QTimer& timer)
{
    return [this, &timer](int index) {
        timer.stop();
        emit pictureFailed(index);
    };
}

fitting::FitResult PictureShow::frameFor(const pictures::Picture& picture) const
{
    return fitting::fitPicture({picture.width(), picture.height()}, {form_.width(), form_.height()},
                               form_.QelPanel_()->width());
}

// Reads the file and its header only; decoding and stretching follow in
// slices between events. The picture read ahead for the first tick is
// taken as it is.
pictures::Picture PictureShow::loadPicture(int index)
{
    if (headStart_.index == index) {
        headStart_.index = kNoHeadStart;
        return std::exchange(headStart_.picture, {});
    }
    return pictures::Picture::load(Playlist.at(static_cast<std::size_t>(index)));
}

// One bounded piece of readying a picture for the frame it will be shown
// in: decoded, and stretched to the frame's inner area in device pixels.
bool PictureShow::readyStep(const pictures::Picture& picture,
                            std::chrono::microseconds budget) const
{
    const QSize size = PictureFrame::stretchSize(frameFor(picture), form_.devicePixelRatioF());
    if (size.isEmpty())
        return picture.decodeStep(budget);
    return picture.stretchStep(size.width(), size.height(), budget);
}

// The next slice of decoding, one event-loop timer event after another,
// each about tunables::kSliceBudget long, until the cached pictures are ready.
void PictureShow::prepareSlice()
{
    if (waitsForTheWindow(sliceTimer_))
        return;
    sliceTimer_.stop();
    sliceTimer_.setInterval(0);
    const auto deadline = std::chrono::steady_clock::now() + tunables::kSliceBudget;
    const auto left = [deadline] {
        return std::max(std::chrono::microseconds(0),
                        std::chrono::duration_cast<std::chrono::microseconds>(
                            deadline - std::chrono::steady_clock::now()));
    };
    const auto step = [&](const pictures::Picture& picture) { return readyStep(picture, left()); };
    bool ready = cache_.prepare(step, failing(sliceTimer_));
    if (FirstPictureTimer.isActive() && headStart_.index == kNoHeadStart &&
        !cache_.showsCurrent(PictureIndex))
        startHeadStart();
    if (ready && headStart_.index >= 0) {
        try {
            ready = step(headStart_.picture);
        } catch (const std::exception&) {
            headStart_ = {{}, kHeadStartFailed}; // the tick reads it again and reports it
        }
    }
    if (!ready)
        sliceTimer_.start();
}

// The first picture is read and decoded while the first-picture timer
// runs; a failure stays quiet here and is met again at the tick.
void PictureShow::startHeadStart()
{
    try {
        headStart_.picture = pictures::Picture::load(Playlist.at(PictureIndex));
        headStart_.index = PictureIndex;
    } catch (const std::exception&) {
        headStart_ = {{}, kHeadStartFailed};
    }
}

// The frame fitted to the shown picture, readied at once if its slices
// have not finished, and the picture in it. The decode has ended here, so
// its error, if any, is told once the frame has painted the picture.
void PictureShow::showCachedPicture(const pictures::PictureCache::FailureHandler& failed)
{
    cache_.prepareShown(
        [this](const pictures::Picture& picture) {
            return readyStep(picture, std::chrono::microseconds::max());
        },
        failed);
    const pictures::Picture& picture = cache_.Bild();
    Rahmen_.place(frameFor(picture));
    Rahmen_.setPicture(picture);
    if (const std::optional<pictures::DecodeError> error = picture.takeDecodeError())
        QMetaObject::invokeMethod(
            this, [this, value = *error] { emit decodeFailed(value); }, Qt::QueuedConnection);
    emit pictureShown(PictureIndex);
}
