#include "evaluation/ThumbnailImage.h"

namespace evaluation {

QImage thumbnailView(const Thumbnail* thumbnail)
{
    if (!thumbnail)
        return QImage();
    return QImage(thumbnail->pixels.data(), thumbnail->width, thumbnail->height,
                  qsizetype(thumbnail->width) * thumbnail->channels,
                  thumbnail->channels == 1 ? QImage::Format_Grayscale8 : QImage::Format_RGB888);
}

} // namespace evaluation
