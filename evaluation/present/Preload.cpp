#include "evaluation/present/Preload.h"

#include "core/Tunables.h"

#include <algorithm>

namespace evaluation::present {

ShowPictures::ShowPictures(std::vector<std::string> paths, SizeFor sizeFor, QObject* parent)
    : QObject(parent), paths_(std::move(paths)), sizeFor_(std::move(sizeFor)),
      cache_([this](int index) {
          return pictures::Picture::load(paths_.at(static_cast<std::size_t>(index)));
      })
{
    // The judging program's rhythm: the step's paint first, then the disk.
    loadTimer_.setSingleShot(true);
    loadTimer_.setInterval(tunables::kPreloadTimerInterval);
    sliceTimer_.setSingleShot(true);
    sliceTimer_.setInterval(0);
    connect(&loadTimer_, &QTimer::timeout, this, &ShowPictures::preloadNow);
    connect(&sliceTimer_, &QTimer::timeout, this, &ShowPictures::slice);
}

void ShowPictures::show(int position)
{
    if (position < 0 || position >= count() || position == position_)
        return;
    const auto failed = failing();
    const int from = std::exchange(position_, position);
    bool preload = false;
    if (position == from + 1)
        preload = cache_.forward(position, count(), failed);
    else if (position == from - 1 && from >= 0)
        preload = cache_.back(position, count(), failed);
    else
        preload = cache_.showFirst(position, count(), failed);
    cache_.prepareShown(
        [this](const pictures::Picture& picture) {
            return readyStep(picture, std::chrono::microseconds::max());
        },
        failed);
    if (preload && !loadTimer_.isActive())
        loadTimer_.start();
    sliceTimer_.start();
}

void ShowPictures::resized()
{
    if (position_ < 0)
        return;
    cache_.prepareShown(
        [this](const pictures::Picture& picture) {
            return readyStep(picture, std::chrono::microseconds::max());
        },
        failing());
    sliceTimer_.start();
}

void ShowPictures::preloadNow()
{
    loadTimer_.stop();
    cache_.preload(position_, count(), failing());
    sliceTimer_.start();
}

void ShowPictures::finishSlices()
{
    while (sliceTimer_.isActive()) {
        sliceTimer_.stop();
        slice();
    }
}

bool ShowPictures::readyStep(const pictures::Picture& picture,
                             std::chrono::microseconds budget) const
{
    const QSize size = sizeFor_(picture);
    if (size.isEmpty())
        return picture.decodeStep(budget);
    return picture.stretchStep(size.width(), size.height(), budget);
}

// About tunables::kSliceBudget of decoding or stretching, then the events
// waiting get their turn.
void ShowPictures::slice()
{
    const auto deadline = std::chrono::steady_clock::now() + tunables::kSliceBudget;
    const auto step = [&](const pictures::Picture& picture) {
        return readyStep(picture, std::max(std::chrono::microseconds(0),
                                           std::chrono::duration_cast<std::chrono::microseconds>(
                                               deadline - std::chrono::steady_clock::now())));
    };
    if (!cache_.prepare(step, failing()))
        sliceTimer_.start();
}

pictures::PictureCache::FailureHandler ShowPictures::failing()
{
    return [this](int index) { emit failed(index); };
}

} // namespace evaluation::present
