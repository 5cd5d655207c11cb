#include "pictures/PictureCache.h"

#include <exception>
#include <utility>

namespace pictures {

PictureCache::PictureCache(ViewerState& state, Loader loader)
    : state_(state), loader_(std::move(loader))
{
}

void PictureCache::clearPreloads()
{
    state_.LoadForward = false;
    state_.LoadBack = false;
}

// A failed load leaves the placeholder in the slot; the slot still stands
// for its picture, so the next move shows the placeholder under its name.
void PictureCache::load(Slot& slot, int index, const FailureHandler& failed)
{
    slot.index = index;
    try {
        slot.picture = loader_(index);
    } catch (const std::exception&) {
        slot.picture = Picture::placeholder();
        failed(index);
    }
}

bool PictureCache::showFirst(const FailureHandler& failed)
{
    if (!showsCurrent()) {
        load(forward_, state_.PictureIndex, failed);
        shown_ = forward_;
    }
    if (!state_.hasNext())
        return false;
    state_.LoadForward = true;
    return true;
}

bool PictureCache::move(Slot& ahead, Slot& behind, int step, bool& flag,
                        const FailureHandler& failed)
{
    released_ = std::exchange(behind.picture, shown_.picture);
    behind.index = shown_.index;
    if (ahead.index != state_.PictureIndex) // its preload has not run yet
        load(ahead, state_.PictureIndex, failed);
    shown_ = ahead;
    const int farSide = state_.PictureIndex + step;
    if (farSide < 0 || farSide >= state_.PictureCount)
        return false;
    flag = true;
    return true;
}

bool PictureCache::forward(const FailureHandler& failed)
{
    return move(forward_, back_, +1, state_.LoadForward, failed);
}

bool PictureCache::back(const FailureHandler& failed)
{
    return move(back_, forward_, -1, state_.LoadBack, failed);
}

void PictureCache::preload(const FailureHandler& failed)
{
    released_ = {}; // before the next picture takes memory: three bitmaps at most
    if (state_.LoadForward && state_.hasNext())
        load(forward_, state_.PictureIndex + 1, failed);
    if (state_.LoadBack && state_.hasPrevious())
        load(back_, state_.PictureIndex - 1, failed);
    clearPreloads();
}

bool PictureCache::ready(Slot& slot, const Step& step, const FailureHandler& failed)
{
    try {
        return step(slot.picture);
    } catch (const std::exception&) {
        // Copies share the failed decode: every slot holding it gives it up.
        const int index = slot.index;
        for (Slot* s : {&shown_, &forward_, &back_})
            if (s->index == index)
                s->picture = Picture::placeholder();
        failed(index);
        return true;
    }
}

bool PictureCache::prepare(const Step& step, const FailureHandler& failed)
{
    return ready(shown_, step, failed) && ready(forward_, step, failed) &&
           ready(back_, step, failed);
}

void PictureCache::prepareShown(const Step& finish, const FailureHandler& failed)
{
    ready(shown_, finish, failed);
}

} // namespace pictures
