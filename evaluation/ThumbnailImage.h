#pragma once

#include "evaluation/Thumbnail.h"

#include <QImage>

namespace evaluation {

// The stored pixels as a QImage without a copy: valid while the thumbnail
// is; null when there is none.
QImage thumbnailView(const Thumbnail* thumbnail);

} // namespace evaluation
