#pragma once

#include <QByteArray>
#include <QImage>

#include <string>
#include <vector>

namespace evaluation {

// Qt's PDF writer encodes every image it draws again; the thumbnails are
// JPEGs already. So each is drawn as a 1 x 1 stand-in and its object is
// then replaced by the stored JPEG, which the PDF takes as it is.
struct PdfJpeg {
    int width = 0;
    int height = 0;
    int channels = 3; // 3: RGB, 1: grey
    const std::string* bytes = nullptr;
};

// A new 1 x 1 image: each drawn one becomes an image object of its own.
QImage pdfStandIn();

// `pdf` with its stand-ins, in the order they were drawn, replaced by
// `jpegs` and the cross-reference table made anew; empty when the stand-ins
// are not found as expected (then the images are to be drawn for real).
QByteArray withJpegs(const QByteArray& pdf, const std::vector<PdfJpeg>& jpegs);

} // namespace evaluation
