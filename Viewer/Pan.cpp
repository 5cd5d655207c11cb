#include "Viewer/Pan.h"

namespace panning {

PanPosition panTo(const PanInput& in)
{
    int left = in.x + in.left - in.startX;
    if (left > 0) {
        left = 0;
    }
    int top = in.y + in.top - in.startY;
    if (top > 0) {
        top = 0;
    }
    if (left < in.frameWidth - in.width) {
        left = in.frameWidth - in.width;
    }
    if (top < in.frameHeight - in.height) {
        top = in.frameHeight - in.height;
    }
    return {left, top};
}

} // namespace panning
