#include "Viewer/PictureFrame.h"

#include "Viewer/Pan.h"

#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <QPalette>
#include <QTransform>

#include <algorithm>

namespace {

QImage::Format qtFormat(pictures::PixelFormat format)
{
    switch (format) {
    case pictures::PixelFormat::Rgb24:
        return QImage::Format_RGB888;
    case pictures::PixelFormat::Gray8:
        return QImage::Format_Grayscale8;
    case pictures::PixelFormat::Xrgb32:
        return QImage::Format_RGB32;
    }
    return QImage::Format_Invalid;
}

// Wraps the bitmap's memory; no pixel is copied.
QImage wrap(const pictures::Bitmap& bitmap)
{
    return QImage(bitmap.pixels.get(), bitmap.width, bitmap.height,
                  static_cast<qsizetype>(bitmap.stride), qtFormat(bitmap.format));
}

// Maps the stored bitmap's pixels to the upright picture of `upright` size:
// swap the axes, then mirror (the EXIF orientation), so that the loupe
// draws the stored bitmap upright without a second one.
QTransform uprightTransform(pictures::Orientation o, QSizeF upright)
{
    const qreal sx = o.mirrorX ? -1 : 1, sy = o.mirrorY ? -1 : 1;
    const qreal dx = o.mirrorX ? upright.width() : 0, dy = o.mirrorY ? upright.height() : 0;
    return o.transpose ? QTransform(0, sy, sx, 0, dx, dy) : QTransform(sx, 0, 0, sy, dx, dy);
}

} // namespace

QSize devicePixels(QSize logical, qreal ratio)
{
    return {qRound(logical.width() * ratio), qRound(logical.height() * ratio)};
}

PictureView::PictureView(QWidget* parent) : QWidget(parent)
{
    // Every pixel is drawn by paintEvent, so nothing need be painted below.
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Moves without a button held reach the pan handler too.
    setMouseTracking(true);
}

void PictureView::setPicture(const pictures::Picture& picture)
{
    picture_ = picture;
    update();
}

void PictureView::setStretched(bool on)
{
    stretched_ = on;
    update();
}

// Drawn at device resolution: stretched to the device pixels of the view,
// and in the loupe one picture pixel per device pixel.
void PictureView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QRect exposed = event->rect();
    const qreal ratio = devicePixelRatioF();
    const pictures::Bitmap* bitmap = nullptr;
    if (width() > 0 && height() > 0 && picture_.isDecoded()) {
        const QSize device = devicePixels(size(), ratio);
        bitmap =
            stretched_ ? picture_.stretched(device.width(), device.height()) : picture_.bitmap();
    }
    if (bitmap == nullptr) {
        painter.fillRect(exposed, palette().window());
    } else {
        QImage image = wrap(*bitmap);
        image.setDevicePixelRatio(ratio);
        // The stretched image is upright already; the loupe maps the stored
        // bitmap upright while drawing.
        const pictures::Orientation orientation =
            stretched_ ? pictures::Orientation{} : picture_.orientation();
        const QSizeF stored = image.deviceIndependentSize();
        const QSizeF upright = orientation.transpose ? stored.transposed() : stored;
        // Only the exposed part: one blit of a ready image, and in the loupe
        // no work for the parts of the picture the frame hides.
        const QRectF shown = QRectF(exposed) & QRectF(QPointF(0, 0), upright);
        if (shown != QRectF(exposed)) {
            painter.fillRect(exposed, palette().window());
        }
        if (orientation == pictures::Orientation{}) {
            const QRectF source(shown.topLeft() * ratio, shown.size() * ratio);
            painter.drawImage(shown, image, source);
        } else {
            painter.setClipRect(shown);
            painter.setTransform(uprightTransform(orientation, upright), true);
            painter.drawImage(QPointF(0, 0), image);
        }
    }
}

PictureFrame::PictureFrame(QWidget* parent) : QWidget(parent), bild_(new PictureView(this))
{
    setAutoFillBackground(true);
    setFrameColour(Qt::black);
    fillInnerArea();
}

void PictureFrame::place(const fitting::FitResult& fit)
{
    setGeometry(fit.left, fit.top, fit.width, fit.height);
}

void PictureFrame::setPicture(const pictures::Picture& picture)
{
    bild_->setPicture(picture);
    if (ZoomMode) {
        takeNaturalSize();
    }
}

void PictureFrame::setFrameColour(const QColor& colour)
{
    QPalette pal = palette();
    pal.setColor(QPalette::Window, colour);
    setPalette(pal);
}

QColor PictureFrame::frameColour() const
{
    return palette().color(QPalette::Window);
}

void PictureFrame::setLoupe(bool on)
{
    ZoomMode = on;
    bild_->setStretched(!on);
    if (on) {
        takeNaturalSize();
        bild_->setCursor(Qt::SizeAllCursor);
    } else {
        fillInnerArea();
        bild_->unsetCursor();
    }
}

void PictureFrame::startPan(QPoint pos)
{
    DragActive = true;
    DragStart = pos;
}

std::optional<QPoint> PictureFrame::panStart() const
{
    return DragActive ? std::optional(DragStart) : std::nullopt;
}

void PictureFrame::BildMouseMove(QPoint pos)
{
    // Outside the loupe `Bild` is aligned to the inner area, which wins over
    // any move.
    if (!DragActive || !ZoomMode) {
        return;
    }
    const panning::PanPosition to = panning::panTo({
        .x = pos.x(),
        .y = pos.y(),
        .left = bild_->x(),
        .top = bild_->y(),
        .width = bild_->width(),
        .height = bild_->height(),
        .startX = DragStart.x(),
        .startY = DragStart.y(),
        .frameWidth = width(),
        .frameHeight = height(),
    });
    bild_->move(to.left, to.top);
}

void PictureFrame::BildMouseUp()
{
    DragActive = false;
}

void PictureFrame::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (!ZoomMode) {
        fillInnerArea();
    }
}

void PictureFrame::fillInnerArea()
{
    bild_->setGeometry(Border, Border, std::max(0, width() - 2 * Border),
                       std::max(0, height() - 2 * Border));
}

void PictureFrame::takeNaturalSize()
{
    const pictures::Picture& picture = bild_->picture();
    const qreal ratio = devicePixelRatioF();
    bild_->resize(qRound(picture.width() / ratio), qRound(picture.height() / ratio));
}

QSize PictureFrame::stretchSize(const fitting::FitResult& fit, qreal ratio)
{
    const QSize inner(fit.width - 2 * Border, fit.height - 2 * Border);
    return inner.isEmpty() ? QSize() : devicePixels(inner, ratio);
}
