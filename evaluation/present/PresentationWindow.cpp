#include "evaluation/present/PresentationWindow.h"

#include "common/FileName.h"
#include "evaluation/Tunables.h"
#include "evaluation/present/PresentTexts.h"
#include "evaluation/ranking/Folder.h"

#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>

#include <cmath>

namespace evaluation {

namespace {

QString text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

std::vector<std::string> pathsInShowOrder(const std::string& folder, const present::Show& show,
                                          const std::vector<std::string>& names)
{
    std::vector<std::string> paths;
    for (const std::size_t picture : show.pictures)
        paths.push_back(pathIn(folder, names.at(picture)));
    return paths;
}

// As large as fits in `area`, its own aspect ratio kept, larger or smaller.
QSize fitted(QSize picture, QSize area)
{
    if (picture.isEmpty() || area.isEmpty())
        return {};
    const qint64 w = picture.width(), h = picture.height();
    if (w * area.height() <= h * area.width()) // the height decides
        return {std::max(1, int((w * area.height() + h / 2) / h)), area.height()};
    return {area.width(), std::max(1, int((h * area.width() + w / 2) / w))};
}

// The stretched picture's memory as an image, no pixel copied.
QImage wrap(const pictures::Bitmap& bitmap)
{
    return QImage(bitmap.pixels.get(), bitmap.width, bitmap.height,
                  static_cast<qsizetype>(bitmap.stride), QImage::Format_RGB32);
}

} // namespace

PresentationWindow::PresentationWindow(const std::string& folder,
                                       const present::Presentation& presentation, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), show_(presentation.show),
      pictures_(pathsInShowOrder(folder, show_, presentation.pictures),
                [this](const pictures::Picture& picture) { return stretchSize(picture); })
{
    const auto name = folderOwnName(folder);
    setWindowTitle(text(presenttexts::kTitle).arg(common::displayFileName(name.value_or(folder))));
    // Every pixel is painted: black, the picture, the band.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::BlankCursor);
    setFocusPolicy(Qt::StrongFocus);
    connect(&pictures_, &present::ShowPictures::failed, this, [this] { update(); });
    describe();
}

QScreen* PresentationWindow::projectorScreen()
{
    QScreen* primary = QGuiApplication::primaryScreen();
    for (QScreen* screen : QGuiApplication::screens())
        if (screen != primary)
            return screen;
    return primary;
}

void PresentationWindow::showOnProjector()
{
    if (QScreen* screen = projectorScreen()) {
        setScreen(screen);
        setGeometry(screen->geometry());
    }
    showFullScreen();
    activateWindow();
}

// The first picture after the window's first paint: the projector turns
// black at once and the picture follows.
void PresentationWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (step_ < 0 && !show_.steps.empty())
        QTimer::singleShot(0, this, [this] {
            if (step_ < 0)
                goTo(0);
        });
}

void PresentationWindow::goTo(int step)
{
    if (step < 0 || step >= stepCount() || step == step_)
        return;
    step_ = step;
    pictures_.show(static_cast<int>(show_.steps[std::size_t(step)].position));
    describe();
    update();
}

bool PresentationWindow::leaveBlack()
{
    if (!black_)
        return false;
    toggleBlack();
    return true;
}

void PresentationWindow::goForward()
{
    if (!leaveBlack())
        goTo(step_ + 1);
}

void PresentationWindow::goBack()
{
    if (!leaveBlack())
        goTo(step_ - 1);
}

void PresentationWindow::goFirst()
{
    if (!leaveBlack())
        goTo(0);
}

void PresentationWindow::goLast()
{
    if (!leaveBlack())
        goTo(stepCount() - 1);
}

void PresentationWindow::toggleBlack()
{
    black_ = !black_;
    describe();
    update();
}

void PresentationWindow::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Right:
    case Qt::Key_Space:
    case Qt::Key_PageDown:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return goForward();
    case Qt::Key_Left:
    case Qt::Key_PageUp:
        return goBack();
    case Qt::Key_Home:
        return goFirst();
    case Qt::Key_End:
        return goLast();
    case Qt::Key_B:
    case Qt::Key_Period:
        return toggleBlack();
    case Qt::Key_Escape:
        close();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

// What the screen shows, in words: the band's lines, else which picture
// stands alone; the step as the description.
void PresentationWindow::describe()
{
    QString shown;
    if (black_) {
        shown = text(presenttexts::kBlack);
    } else if (step_ >= 0) {
        const present::Step& step = show_.steps[std::size_t(step_)];
        QStringList lines;
        for (const std::string& line : step.band)
            lines << QString::fromStdString(line);
        shown =
            !lines.isEmpty()
                ? lines.join(text(presenttexts::kBandSeparator))
                : text(presenttexts::kPictureOf).arg(step.position + 1).arg(show_.pictures.size());
    }
    setAccessibleName(shown.isEmpty() ? windowTitle() : shown);
    setAccessibleDescription(
        step_ < 0 ? QString() : text(presenttexts::kStepOf).arg(step_ + 1).arg(stepCount()));
}

int PresentationWindow::bandTextPixels() const
{
    return (height() + tunables::kBandTextPerScreen - 1) / tunables::kBandTextPerScreen;
}

QFont PresentationWindow::bandFont(bool first) const
{
    QFont font = this->font();
    font.setPixelSize(std::max(1, bandTextPixels()));
    font.setBold(first);
    return font;
}

QRect PresentationWindow::bandRect() const
{
    if (show_.bandLines == 0)
        return {};
    const int line = QFontMetrics(bandFont(true)).lineSpacing();
    const int band = int(show_.bandLines) * line + bandTextPixels() / 2;
    return QRect(0, height() - band, width(), band);
}

QRect PresentationWindow::pictureRect() const
{
    const pictures::Picture& picture = pictures_.shown();
    const QRect area(0, 0, width(), height() - bandRect().height());
    const QSize size = fitted({picture.width(), picture.height()}, area.size());
    QRect rect(QPoint(), size);
    rect.moveCenter(area.center());
    return rect;
}

QSize PresentationWindow::stretchSize(const pictures::Picture& picture) const
{
    const qreal ratio = devicePixelRatioF();
    const QSize area(qRound(width() * ratio), qRound((height() - bandRect().height()) * ratio));
    return fitted({picture.width(), picture.height()}, area);
}

void PresentationWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    pictures_.resized();
}

void PresentationWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const pictures::Bitmap* stretched = nullptr;
    QRect target;
    if (!black_ && step_ >= 0) {
        const pictures::Picture& picture = pictures_.shown();
        const QSize size = stretchSize(picture);
        if (!size.isEmpty() && picture.isDecoded())
            stretched = picture.stretched(size.width(), size.height());
        target = pictureRect();
    }
    // Black around the picture only: a step costs one blit of the picture.
    QRegion black(rect());
    if (stretched) {
        QImage image = wrap(*stretched);
        image.setDevicePixelRatio(devicePixelRatioF());
        painter.drawImage(target.topLeft(), image);
        black -= target;
    }
    for (const QRect& part : black)
        painter.fillRect(part, Qt::black);
    if (black_ || step_ < 0)
        return;
    // The band: each line centred, the first (the place) bold; a line too
    // long for the screen ends in "…".
    const QRect band = bandRect();
    const present::Step& step = show_.steps[std::size_t(step_)];
    painter.setPen(Qt::white);
    const int margin = bandTextPixels() / 2;
    int top = band.top() + margin / 2;
    for (std::size_t i = 0; i < step.band.size(); ++i) {
        const QFont font = bandFont(i == 0);
        const QFontMetrics metrics(font);
        painter.setFont(font);
        const QString line = metrics.elidedText(QString::fromStdString(step.band[i]),
                                                Qt::ElideRight, band.width() - 2 * margin);
        painter.drawText(
            QRect(band.left() + margin, top, band.width() - 2 * margin, metrics.lineSpacing()),
            Qt::AlignCenter | Qt::TextSingleLine, line);
        top += metrics.lineSpacing();
    }
}

PresentationWindow* openPresentation(const std::string& folder, bool round, int places,
                                     std::string& problem, QWidget* parent)
{
    const present::Presentation presentation = present::readPresentation(folder, round, places);
    problem = presentation.problem;
    if (!problem.empty())
        return nullptr;
    auto* window = new PresentationWindow(folder, presentation, parent);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->showOnProjector();
    return window;
}

} // namespace evaluation
