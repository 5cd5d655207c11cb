#pragma once

#include "Viewer/MessageBoxes.h"

#include <exception>
#include <utility>

// Runs a handler; a failure that escapes it goes to the general error box
// and the event loop goes on.
template <typename Handler> void guarded(messagebox::Boxes& boxes, Handler&& handler)
{
    try {
        std::forward<Handler>(handler)();
    } catch (const std::exception& failure) {
        boxes.generalError(failure.what());
    }
}
