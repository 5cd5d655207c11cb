#include "pictures/PictureCache.h"

#include <exception>
#include <utility>

namespace pictures {

PictureCache::PictureCache(Loader loader) : loader_(std::move(loader)) {}

void PictureCache::clearPreloads()
{
    LoadForward = false;
    LoadBack = false;
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

bool PictureCache::showFirst(int index, int count, const FailureHandler& failed)
{
    if (!showsCurrent(index)) {
        load(forward_, index, failed);
        shown_ = forward_;
    }
    if (index >= count - 1)
        return false;
    LoadForward = true;
    return true;
}

bool PictureCache::move(Slot& ahead, Slot& behind, int index, int farSide, int count, bool& flag,
                        const FailureHandler& failed)
{
    released_ = std::exchange(behind.picture, shown_.picture);
    behind.index = shown_.index;
    if (ahead.index != index) // its preload has not run yet
        load(ahead, index, failed);
    shown_ = ahead;
    if (farSide < 0 || farSide >= count)
        return false;
    flag = true;
    return true;
}

bool PictureCache::forward(int index, int count, const FailureHandler& failed)
{
    return move(forward_, back_, index, index + 1, count, LoadForward, failed);
}

bool PictureCache::back(int index, int count, const FailureHandler& failed)
{
    return move(back_, forward_, index, index - 1, count, LoadBack, failed);
}

void PictureCache::preload(int index, int count, const FailureHandler& failed)
{
    released_ = {}; // before the next picture takes memory: three bitmaps at most
    if (LoadForward && index < count - 1)
        load(forward_, index + 1, failed);
    if (LoadBack && index != 0)
        load(back_, index - 1, failed);
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
