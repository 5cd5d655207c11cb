#include "app/Controller.h"

#include "Viewer/Fit.h"
#include "Viewer/MessageBoxes.h"
#include "Viewer/PictureFrame.h"
#include "Viewer/TScreenForm.h"
#include "core/Failure.h"
#include "core/Messages.h"

#include <algorithm>

void Controller::FirstPictureTimerTimer()
{
    FirstPictureTimer.stop(); // first, so that nothing below can make it fire again
    if (state.HasPictures) {
        // A move before this tick may already show its picture.
        const bool shown = cache_.showsCurrent();
        const bool preloadNext = cache_.showFirst(warnStopping(FirstPictureTimer));
        if (!shown)
            showCachedPicture(warnStopping(FirstPictureTimer));
        Rahmen_.setVisible(true);
        if (preloadNext)
            startOnce(LoadTimer);
    }
    headStart_ = {}; // a move before this tick took another picture
    scheduleSlices();
}

void Controller::LoadTimerTimer()
{
    LoadTimer.stop();
    cache_.preload(warnStopping(LoadTimer));
    scheduleSlices();
}

// A picture that cannot be loaded or decoded, out of memory included: the
// timer stops before the warning, so it cannot fire while the warning waits.
pictures::PictureCache::FailureHandler Controller::warnStopping(QTimer& timer)
{
    return [this, &timer](int index) {
        timer.stop();
        const std::string& name = Playlist.at(static_cast<std::size_t>(index));
        messagebox::warning(messages::cannotOpenPicture(displayText(name)));
    };
}

fitting::FitResult Controller::frameFor(const pictures::Picture& picture) const
{
    return fitting::fitPicture(picture.width(), picture.height(), form_.width(), form_.height(),
                               panel_.width());
}

// Reads the file and its header only; decoding and stretching follow in
// slices between events. The picture read ahead for the first tick is
// taken as it is.
pictures::Picture Controller::loadPicture(int index)
{
    if (headStart_.index == index) {
        headStart_.index = -1;
        return std::exchange(headStart_.picture, {});
    }
    return pictures::Picture::load(Playlist.at(static_cast<std::size_t>(index)));
}

// One bounded piece of readying a picture for the frame it will be shown
// in: decoded, and stretched to the frame's inner area in device pixels.
bool Controller::readyStep(const pictures::Picture& picture, std::chrono::microseconds budget) const
{
    const QSize size = PictureFrame::stretchSize(frameFor(picture), form_.devicePixelRatioF());
    if (size.isEmpty())
        return picture.decodeStep(budget);
    return picture.stretchStep(size.width(), size.height(), budget);
}

// The next slice of decoding, one event-loop timer event after another,
// each about kSliceBudget long, until the cached pictures are ready.
void Controller::prepareSlice()
{
    sliceTimer_.stop();
    const auto deadline = std::chrono::steady_clock::now() + kSliceBudget;
    const auto left = [deadline] {
        return std::max(std::chrono::microseconds(0),
                        std::chrono::duration_cast<std::chrono::microseconds>(
                            deadline - std::chrono::steady_clock::now()));
    };
    const auto step = [&](const pictures::Picture& picture) { return readyStep(picture, left()); };
    bool ready = cache_.prepare(step, warnStopping(sliceTimer_));
    if (FirstPictureTimer.isActive() && headStart_.index == kNoHeadStart && !cache_.showsCurrent())
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

void Controller::scheduleSlices()
{
    startOnce(sliceTimer_);
}

// The first picture is read and decoded while the first-picture timer
// runs; a failure stays quiet here and is met again at the tick.
void Controller::startHeadStart()
{
    try {
        headStart_.picture = pictures::Picture::load(Playlist.at(state.PictureIndex));
        headStart_.index = state.PictureIndex;
    } catch (const std::exception&) {
        headStart_ = {{}, kHeadStartFailed};
    }
}

// The frame fitted to the shown picture, readied at once if its slices
// have not finished, and the picture in it.
void Controller::showCachedPicture(const pictures::PictureCache::FailureHandler& failed)
{
    cache_.prepareShown(
        [this](const pictures::Picture& picture) {
            return readyStep(picture, std::chrono::microseconds::max());
        },
        failed);
    const pictures::Picture& picture = cache_.Bild();
    const fitting::FitResult frame = frameFor(picture);
    state.ScaleFactor = frame.scale;
    Rahmen_.place(frame);
    Rahmen_.setPicture(picture);
}

void Controller::startOnce(QTimer& timer)
{
    // Starting a running timer does not begin a fresh interval.
    if (!timer.isActive())
        timer.start();
}
