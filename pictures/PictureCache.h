#pragma once

#include "pictures/Picture.h"

#include <functional>

namespace pictures {

// The window's three picture holders and their load rules: the shown
// picture `Bild`, the next `ForwardTemp` and the previous `backTemp`, each
// with the index of the picture it holds. A move takes the neighbour slot
// without reading the disk (or loads at once when that slot's preload has
// not run yet), the preload tick refills the far side, and a picture that
// cannot be loaded for any reason becomes the placeholder `leer`.
//
// The caller owns the index and the count and passes them in; the preload
// flags `LoadForward` and `LoadBack` are the cache's own.
class PictureCache {
  public:
    // Reads picture `index` (its file and header); throws on any failure.
    using Loader = std::function<Picture(int index)>;
    // One bounded piece of readying a picture for showing (decoding and
    // stretching it); true once it is ready. Throws on any failure.
    using Step = std::function<bool(const Picture& picture)>;
    // Told that picture `index` was replaced by the placeholder, at once,
    // so the caller can stop its timer before it warns the judge.
    using FailureHandler = std::function<void(int index)>;

    explicit PictureCache(Loader loader);

    const Picture& Bild() const { return shown_.picture; }
    const Picture& ForwardTemp() const { return forward_.picture; }
    const Picture& backTemp() const { return back_.picture; }

    // True when `Bild` holds picture `index`.
    bool showsCurrent(int index) const { return shown_.index == index; }
    // The preloads the next tick will run.
    bool loadsForward() const { return LoadForward; }
    bool loadsBack() const { return LoadBack; }

    // Start-up: no preload pending.
    void clearPreloads();

    // The first-picture tick: picture `index` of `count` into ForwardTemp
    // and shown, unless a move already shows it. True when a preload of the
    // next picture is wanted (its flag is then set).
    bool showFirst(int index, int count, const FailureHandler& failed);

    // The cache's part of a move, after the index changed by one to `index`:
    // the old picture goes to the slot behind, the one ahead is shown. True
    // when a preload of the new far side is wanted (its flag is then set).
    bool forward(int index, int count, const FailureHandler& failed);
    bool back(int index, int count, const FailureHandler& failed);

    // The preload tick: refills the flagged slots, clears the flags.
    void preload(int index, int count, const FailureHandler& failed);

    // Readies the slots' pictures between events: `step` works on the shown
    // picture, then ForwardTemp, then backTemp, as long as it reports them
    // ready. True when all three are ready. A picture whose readying fails
    // becomes the placeholder in every slot that holds it.
    bool prepare(const Step& step, const FailureHandler& failed);
    // Readies the shown picture at once (a move needs it now).
    void prepareShown(const Step& finish, const FailureHandler& failed);

  private:
    struct Slot {
        Picture picture;
        int index = -1;
    };
    void load(Slot& slot, int index, const FailureHandler& failed);
    bool move(Slot& ahead, Slot& behind, int index, int farSide, int count, bool& flag,
              const FailureHandler& failed);
    bool ready(Slot& slot, const Step& step, const FailureHandler& failed);

    Loader loader_;
    bool LoadForward = false;
    bool LoadBack = false;
    Slot shown_, forward_, back_;
    // The picture a move pushed out of the cache: freeing a large bitmap
    // costs time a move should not spend, so the next preload frees it.
    Picture released_;
};

} // namespace pictures
