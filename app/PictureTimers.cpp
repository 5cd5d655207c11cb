#include "app/Controller.h"

#include "Viewer/Fit.h"
#include "Viewer/MessageBoxes.h"
#include "Viewer/PictureFrame.h"
#include "Viewer/TScreenForm.h"
#include "core/Failure.h"
#include "core/Messages.h"

void Controller::FirstPictureTimerTimer()
{
    FirstPictureTimer.stop(); // first, so that nothing below can make it fire again
    if (state.HasPictures) {
        // A move before this tick may already show its picture.
        const bool shown = cache_.showsCurrent();
        const bool preloadNext = cache_.showFirst(warnStopping(FirstPictureTimer));
        if (!shown)
            showCachedPicture();
        Rahmen_.setVisible(true);
        if (preloadNext)
            startOnce(LoadTimer);
    }
}

void Controller::LoadTimerTimer()
{
    LoadTimer.stop();
    cache_.preload(warnStopping(LoadTimer));
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

// Reads, decodes and stretches to the frame now, so that the move that
// shows the picture only blits.
pictures::Picture Controller::loadPicture(int index) const
{
    pictures::Picture picture =
        pictures::Picture::load(Playlist.at(static_cast<std::size_t>(index)));
    picture.decode();
    const fitting::FitResult frame = frameFor(picture);
    const int inner = 2 * PictureFrame::Border;
    if (frame.width > inner && frame.height > inner)
        picture.stretched(frame.width - inner, frame.height - inner);
    return picture;
}

// The frame fitted to the shown picture, and the picture in it.
void Controller::showCachedPicture()
{
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
