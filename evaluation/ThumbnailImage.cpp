#include "evaluation/ThumbnailImage.h"

namespace evaluation {

QImage thumbnailImage(const Thumbnail* thumbnail)
{
    if (!thumbnail)
        return QImage();
    const QImage view(thumbnail->pixels.data(), thumbnail->width, thumbnail->height,
                      qsizetype(thumbnail->width) * thumbnail->channels,
                      thumbnail->channels == 1 ? QImage::Format_Grayscale8 : QImage::Format_RGB888);
    return view.copy();
}

std::vector<QImage> thumbnailImages(const ThumbnailStore& store,
                                    const std::vector<std::string>& pictures)
{
    std::vector<QImage> images;
    images.reserve(pictures.size());
    for (const std::string& picture : pictures)
        images.push_back(thumbnailImage(store.find(picture)));
    return images;
}

} // namespace evaluation
