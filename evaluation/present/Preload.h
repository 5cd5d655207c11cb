#pragma once

#include "pictures/PictureCache.h"

#include <QObject>
#include <QSize>
#include <QTimer>

#include <functional>
#include <string>
#include <vector>

namespace evaluation::present {

// The show's pictures on their way to the screen, as the judging program
// readies its own: the three-slot cache, the neighbour read by a preload
// tick after a step and decoded and stretched in short slices between
// events, so that the next step only swaps holders and blits.
class ShowPictures : public QObject {
    Q_OBJECT
  public:
    // The stretched size, in device pixels, a picture is shown at now.
    using SizeFor = std::function<QSize(const pictures::Picture&)>;

    // paths: the pictures in the order shown.
    ShowPictures(std::vector<std::string> paths, SizeFor sizeFor, QObject* parent = nullptr);

    // Picture `position` in the shown slot, decoded and stretched (at once
    // when its preload has not finished); the next one's preload follows.
    // A step to a neighbour takes the preloaded holder; a jump reads anew.
    void show(int position);
    // The screen's size changed: the shown picture is stretched again at
    // once, the others in slices.
    void resized();

    const pictures::Picture& shown() const { return cache_.Bild(); }
    int position() const { return position_; }
    int count() const { return static_cast<int>(paths_.size()); }

    // For benches and tests: the preload tick now, then every slice at once.
    void preloadNow();
    bool slicing() const { return sliceTimer_.isActive(); }
    void finishSlices();

  signals:
    // Picture `position` could not be read or decoded: the placeholder stands in.
    void failed(int position);

  private:
    bool readyStep(const pictures::Picture& picture, std::chrono::microseconds budget) const;
    void slice();
    pictures::PictureCache::FailureHandler failing();

    std::vector<std::string> paths_;
    SizeFor sizeFor_;
    pictures::PictureCache cache_;
    int position_ = -1;
    QTimer loadTimer_;
    QTimer sliceTimer_; // zero interval: the next turn of the event loop
};

} // namespace evaluation::present
