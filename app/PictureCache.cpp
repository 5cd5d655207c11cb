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
        if (bildIndex_ != state.PictureIndex) {
            loadInto(ForwardTemp, forwardIndex_, state.PictureIndex, FirstPictureTimer);
            fit(ForwardTemp);
            show(ForwardTemp, forwardIndex_);
        }
        Rahmen_.setVisible(true);
        if (state.hasNext()) {
            state.LoadForward = true;
            startOnce(LoadTimer);
        }
    }
    FirstPictureTimer.stop();
}

void Controller::LoadTimerTimer()
{
    LoadTimer.stop();
    // Freed before the next picture takes memory, so three bitmaps at most.
    released_ = {};
    if (state.LoadForward && state.hasNext())
        loadInto(ForwardTemp, forwardIndex_, state.PictureIndex + 1, LoadTimer);
    if (state.LoadBack && state.hasPrevious())
        loadInto(backTemp, backIndex_, state.PictureIndex - 1, LoadTimer);
    state.LoadForward = false;
    state.LoadBack = false;
    LoadTimer.stop();
}

// Loads and prepares picture `pictureIndex` in a cache slot. A picture that
// cannot be loaded or decoded for any reason, out of memory included, gives
// the slot the placeholder and the judge one warning, with the timer stopped
// first so it cannot fire while the warning waits.
bool Controller::loadInto(pictures::Picture& holder, int& heldIndex, int pictureIndex,
                          QTimer& timer)
{
    const std::string& name = Playlist.at(static_cast<std::size_t>(pictureIndex));
    heldIndex = pictureIndex;
    try {
        holder = pictures::Picture::load(name);
        prepare(holder);
    } catch (const std::exception&) {
        timer.stop();
        holder = pictures::Picture::placeholder();
        messagebox::warning(messages::cannotOpenPicture(displayText(name)));
        return false;
    }
    return true;
}

// Decodes and stretches now, so that the move that shows it only blits.
void Controller::prepare(const pictures::Picture& picture)
{
    picture.decode();
    const fitting::FitResult frame = fitting::fitPicture(
        picture.width(), picture.height(), form_.width(), form_.height(), panel_.width());
    if (frame.width > 4 && frame.height > 4)
        picture.stretched(frame.width - 4, frame.height - 4);
}

void Controller::fit(const pictures::Picture& picture)
{
    const fitting::FitResult frame = fitting::fitPicture(
        picture.width(), picture.height(), form_.width(), form_.height(), panel_.width());
    state.ScaleFactor = frame.scale;
    Rahmen_.place(frame);
}

void Controller::show(const pictures::Picture& picture, int index)
{
    Bild = picture;
    bildIndex_ = index;
    Rahmen_.setPicture(Bild);
}
