#pragma once

#include "Viewer/Fit.h"
#include "Viewer/MessageBoxes.h"
#include "app/ShowState.h"
#include "pictures/PictureCache.h"

#include <QObject>
#include <QTimer>

#include <chrono>

class TScreenForm;
class PictureFrame;

// The pictures on screen: the loading of the show's state (the picture
// list, index and count), the three-slot cache, its two one-shot timers, the
// first picture's head start and the decode slices between events. It is
// the one writer of the index and the count.
// While a message box waits, no tick and no slice changes what is shown.
class PictureShow : public QObject, public ShowState {
    Q_OBJECT
  public:
    PictureShow(TScreenForm& form, messagebox::Boxes& boxes);

    // Start-up: lists the folder's pictures and arms the first-picture
    // timer; the first read waits for the window's first paint.
    void autoload();

    void FirstPictureTimerTimer();
    void LoadTimerTimer();

    // One step forwards (+1) or backwards (-1) when there is a picture that
    // way: the cached neighbour is shown and the far side's preload armed.
    bool move(int step);

    // What the show holds, for tests and benchmarks to look at.
    const pictures::PictureCache& cache() const { return cache_; }
    const QTimer& firstPictureTimer() const { return FirstPictureTimer; }
    QTimer& firstPictureTimer() { return FirstPictureTimer; }
    const QTimer& loadTimer() const { return LoadTimer; }
    // True while decode slices are pending.
    bool slicing() const { return sliceTimer_.isActive(); }
    // Runs the pending decode slices to their end at once.
    void finishSlices();

  signals:
    // Picture `index` (or its placeholder) is in the frame.
    void pictureShown(int index);
    // Picture `index` became the placeholder; its timer is already stopped.
    void pictureFailed(int index);
    // The shown picture's decode ended with this error; sent once the frame
    // has painted it.
    void decodeFailed(const pictures::DecodeError& error);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool waitsForTheWindow(QTimer& timer);
    pictures::PictureCache::FailureHandler failing(QTimer& timer);
    fitting::FitResult frameFor(const pictures::Picture& picture) const;
    pictures::Picture loadPicture(int index);
    bool readyStep(const pictures::Picture& picture, std::chrono::microseconds budget) const;
    void prepareSlice();
    void startHeadStart();
    void showCachedPicture(const pictures::PictureCache::FailureHandler& failed);

    TScreenForm& form_;
    messagebox::Boxes& boxes_;
    PictureFrame& Rahmen_;
    pictures::PictureCache cache_;
    QTimer FirstPictureTimer;
    QTimer LoadTimer;
    QTimer sliceTimer_; // zero interval: the next event-loop turn
    bool painted_ = false;
    // The first picture, read before the first tick so its decode can start.
    static constexpr int kNoHeadStart = -1;
    static constexpr int kHeadStartFailed = -2;
    struct HeadStart {
        pictures::Picture picture;
        int index = kNoHeadStart;
    } headStart_;
};
