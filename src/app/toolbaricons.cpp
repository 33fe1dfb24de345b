#include "app/toolbaricons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>

#include <functional>
#include <initializer_list>

namespace orvo::app {

namespace {

// Every icon is drawn on a 16 by 16 grid and rendered at these sizes, so
// that it stays sharp on screens that scale.
constexpr int kIconSizes[] = {16, 24, 32, 48};
constexpr double kGrid = 16.0;

using Drawing = std::function<void(QPainter&)>;

QIcon renderIcon(const Drawing& draw)
{
    QIcon icon;
    for (int size : kIconSizes) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(size / kGrid, size / kGrid);
        draw(painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

// A closed outline through the corners given, in order.
QPainterPath polygon(std::initializer_list<QPointF> corners)
{
    QPainterPath path;
    path.addPolygon(QPolygonF(QList<QPointF>(corners)));
    path.closeSubpath();
    return path;
}

QPen outline(const QColor& color)
{
    QPen pen(color, 1.0);
    pen.setJoinStyle(Qt::RoundJoin);
    pen.setCapStyle(Qt::RoundCap);
    return pen;
}

} // namespace

namespace painted {

// A folder with its lid lifted.
QIcon openIcon()
{
    return renderIcon([](QPainter& p) {
        p.setPen(outline(QColor(0x8a, 0x5a, 0x00)));
        p.setBrush(QColor(0xf2, 0xc0, 0x4c));
        const QPainterPath back =
            polygon({{1.5, 3.5}, {6.0, 3.5}, {7.5, 5.0}, {13.5, 5.0}, {13.5, 13.5}, {1.5, 13.5}});
        p.drawPath(back);
        p.setBrush(QColor(0xfb, 0xda, 0x7e));
        const QPainterPath lid = polygon({{1.5, 13.5}, {4.0, 7.5}, {15.0, 7.5}, {13.5, 13.5}});
        p.drawPath(lid);
    });
}

// A page with markup turning into a page with a picture: an arrow between.
QIcon convertIcon()
{
    return renderIcon([](QPainter& p) {
        p.setPen(outline(QColor(0x40, 0x40, 0x40)));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(0.5, 1.5, 6.0, 8.0));
        p.setPen(outline(QColor(0x20, 0x60, 0xc0)));
        p.drawLine(QPointF(2.0, 4.0), QPointF(5.0, 4.0));
        p.drawLine(QPointF(2.0, 6.0), QPointF(4.0, 6.0));
        p.setPen(outline(QColor(0x40, 0x40, 0x40)));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(9.5, 6.5, 6.0, 8.0));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x3c, 0xa0, 0x50));
        p.drawEllipse(QPointF(12.5, 10.5), 1.8, 1.8);
        const QPainterPath arrow = polygon({{5.5, 11.0},
                                            {8.0, 11.0},
                                            {8.0, 9.5},
                                            {10.0, 12.0},
                                            {8.0, 14.5},
                                            {8.0, 13.0},
                                            {5.5, 13.0}});
        p.setBrush(QColor(0xd0, 0x60, 0x20));
        p.drawPath(arrow);
    });
}

// A play triangle in a round green button.
QIcon runIcon()
{
    return renderIcon([](QPainter& p) {
        p.setPen(outline(QColor(0x1c, 0x6e, 0x2c)));
        p.setBrush(QColor(0x3c, 0xb0, 0x50));
        p.drawEllipse(QPointF(8.0, 8.0), 7.0, 7.0);
        const QPainterPath play = polygon({{6.0, 4.5}, {11.5, 8.0}, {6.0, 11.5}});
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawPath(play);
    });
}

// A microphone on its stand.
QIcon listenIcon()
{
    return renderIcon([](QPainter& p) {
        p.setPen(outline(QColor(0x30, 0x30, 0x40)));
        p.setBrush(QColor(0x80, 0x88, 0x98));
        p.drawRoundedRect(QRectF(5.5, 1.5, 5.0, 8.5), 2.5, 2.5);
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(3.5, 4.0, 9.0, 8.5), 200 * 16, 140 * 16);
        p.drawLine(QPointF(8.0, 12.5), QPointF(8.0, 14.5));
        p.drawLine(QPointF(5.5, 14.5), QPointF(10.5, 14.5));
    });
}

// A speech balloon with a question mark: the program's information.
QIcon aboutIcon()
{
    return renderIcon([](QPainter& p) {
        p.setPen(outline(QColor(0x20, 0x50, 0xa0)));
        p.setBrush(QColor(0xe8, 0xf0, 0xff));
        QPainterPath balloon;
        balloon.addRoundedRect(QRectF(1.5, 1.5, 13.0, 10.0), 3.0, 3.0);
        const QPainterPath tail = polygon({{4.0, 11.0}, {3.5, 14.5}, {7.5, 11.0}});
        p.drawPath(balloon.united(tail));
        QFont font = p.font();
        font.setPixelSize(9);
        font.setBold(true);
        p.setFont(font);
        p.setPen(QColor(0x20, 0x50, 0xa0));
        p.drawText(QRectF(1.5, 1.5, 13.0, 10.0), Qt::AlignCenter, QStringLiteral("?"));
    });
}

// The character's face in a speech balloon: a presenter that talks.
QIcon applicationIcon()
{
    return renderIcon([](QPainter& p) {
        p.setPen(outline(QColor(0x5a, 0x2c, 0x8c)));
        p.setBrush(QColor(0x9b, 0x6b, 0xd6));
        p.drawEllipse(QPointF(8.0, 9.0), 6.5, 6.0);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(5.8, 8.0), 1.6, 1.8);
        p.drawEllipse(QPointF(10.2, 8.0), 1.6, 1.8);
        p.setBrush(QColor(0x20, 0x20, 0x30));
        p.drawEllipse(QPointF(6.1, 8.3), 0.8, 0.9);
        p.drawEllipse(QPointF(10.5, 8.3), 0.8, 0.9);
        p.setPen(outline(QColor(0x20, 0x20, 0x30)));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(6.0, 9.5, 4.0, 3.0), 200 * 16, 140 * 16);
        p.setPen(outline(QColor(0xd0, 0x90, 0x20)));
        p.setBrush(QColor(0xff, 0xd8, 0x60));
        p.drawEllipse(QPointF(8.0, 2.2), 1.5, 1.5);
        p.drawLine(QPointF(8.0, 3.7), QPointF(8.0, 3.9));
    });
}

} // namespace painted

// The icon theme's names are those of the freedesktop icon naming rules.
QIcon openIcon()
{
    return QIcon::fromTheme(QStringLiteral("document-open"), painted::openIcon());
}

QIcon convertIcon()
{
    return QIcon::fromTheme(QStringLiteral("system-run"), painted::convertIcon());
}

QIcon runIcon()
{
    return QIcon::fromTheme(QStringLiteral("media-playback-start"), painted::runIcon());
}

QIcon listenIcon()
{
    return QIcon::fromTheme(QStringLiteral("audio-input-microphone"), painted::listenIcon());
}

QIcon aboutIcon()
{
    return QIcon::fromTheme(QStringLiteral("help-about"), painted::aboutIcon());
}

// Installed, the theme holds the program's own icon (hicolor/*/apps/vieworvo).
QIcon applicationIcon()
{
    return QIcon::fromTheme(QStringLiteral("vieworvo"), painted::applicationIcon());
}

} // namespace orvo::app
