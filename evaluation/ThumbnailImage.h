#pragma once

#include "evaluation/Thumbnails.h"

#include <QImage>

#include <string>
#include <vector>

namespace evaluation {

// A stored thumbnail as a QImage (a copy); null when there is none.
QImage thumbnailImage(const Thumbnail* thumbnail);

// One image per picture in file order, for the PDF, the page and the window;
// a picture without a thumbnail gets a null image.
std::vector<QImage> thumbnailImages(const ThumbnailStore& store,
                                    const std::vector<std::string>& pictures);

} // namespace evaluation
