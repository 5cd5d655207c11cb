#include "Viewer/Glyphs.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace glyphs {

namespace {

QPixmap canvas(int w, int h)
{
    QPixmap pixmap(w, h);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

// An arrow along the glyph's middle, with a bar at the end it leaves or meets.
QIcon arrowWithBar(bool down)
{
    QPixmap pixmap = canvas(18, 19);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    const int barTop = down ? 16 : 0;
    p.drawRect(2, barTop, 14, 3);
    QPainterPath arrow;
    if (down) {
        arrow.addRect(7, 0, 4, 8);
        arrow.moveTo(2, 8);
        arrow.lineTo(16, 8);
        arrow.lineTo(9, 15);
        arrow.closeSubpath();
    } else {
        arrow.addRect(7, 11, 4, 8);
        arrow.moveTo(2, 11);
        arrow.lineTo(16, 11);
        arrow.lineTo(9, 4);
        arrow.closeSubpath();
    }
    p.drawPath(arrow.simplified());
    return QIcon(pixmap);
}

} // namespace

QIcon save()
{
    return arrowWithBar(true);
}
QIcon load()
{
    return arrowWithBar(false);
}

QIcon loupe()
{
    QPixmap pixmap = canvas(24, 24);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 2));
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(1.5, 1.5, 16, 16));
    p.setPen(QPen(Qt::black, 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(15.5, 15.5), QPointF(21.5, 21.5));
    QFont font;
    font.setPixelSize(8);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::black);
    p.drawText(QRectF(1.5, 1.5, 16, 16), Qt::AlignCenter, QStringLiteral("1:1"));
    return QIcon(pixmap);
}

QIcon info()
{
    QPixmap pixmap = canvas(9, 16);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QFont font(QStringLiteral("serif"));
    font.setPixelSize(17);
    font.setBold(true);
    font.setItalic(true);
    p.setFont(font);
    p.setPen(QColor(0, 0, 255));
    p.drawText(QRect(0, -1, 9, 17), Qt::AlignCenter, QStringLiteral("i"));
    return QIcon(pixmap);
}

} // namespace glyphs
