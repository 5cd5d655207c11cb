#pragma once

#include "Viewer/Fit.h"
#include "pictures/Picture.h"

#include <QColor>
#include <QPoint>
#include <QWidget>

#include <optional>

// The device pixels of a logical size on a screen of `ratio`.
QSize devicePixels(QSize logical, qreal ratio);

// `Bild`: draws its picture stretched to its own size, or in the loupe at
// natural size (then the widget is as large as the picture). It draws only
// a decoded picture: the caller readies it; a paint never decodes.
class PictureView : public QWidget {
    Q_OBJECT
  public:
    explicit PictureView(QWidget* parent = nullptr);

    void setPicture(const pictures::Picture& picture);
    const pictures::Picture& picture() const { return picture_; }

    void setStretched(bool on);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    pictures::Picture picture_;
    bool stretched_ = true;
};

// `Rahmen`: a 2-pixel border in the window's colour around `Bild`. The
// caller places the frame; the frame places `Bild` and pans it.
class PictureFrame : public QWidget {
    Q_OBJECT
  public:
    static constexpr int Border = 2;

    explicit PictureFrame(QWidget* parent = nullptr);

    // Geometry from the fitting rule.
    void place(const fitting::FitResult& fit);

    // The size, in device pixels, of the stretched picture that fills the
    // inner area of a frame placed by `fit` on a screen of `ratio` device
    // pixels per logical pixel.
    static QSize stretchSize(const fitting::FitResult& fit, qreal ratio);

    void setPicture(const pictures::Picture& picture);
    const pictures::Picture& picture() const { return bild_->picture(); }

    void setFrameColour(const QColor& colour);
    QColor frameColour() const;

    // The loupe `ZoomMode`: natural size, top-left kept, size-all cursor.
    // Off: fills the inner area again, which also undoes any panning.
    void setLoupe(bool on);
    bool isLoupe() const { return ZoomMode; }

    PictureView* bild() const { return bild_; }

    // The press of a pan (from FormMouseDown in the loupe).
    void startPan(QPoint pos);
    // Where the pan in progress started, if one is.
    std::optional<QPoint> panStart() const;
    // Move and release handlers of `Bild`; pos is relative to `Bild`.
    void BildMouseMove(QPoint pos);
    void BildMouseUp();

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void fillInnerArea();
    void takeNaturalSize();

    PictureView* bild_;
    bool ZoomMode = false;
    bool DragActive = false;
    QPoint DragStart;
};
