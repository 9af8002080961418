#include "window/icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace window::icons {
namespace {

QPixmap canvas(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

QPixmap globe(int size)
{
    QPixmap pixmap = canvas(size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF ball(size * 0.06, size * 0.06, size * 0.88, size * 0.88);
    p.setPen(QPen(QColor(20, 60, 110), size / 24.0));
    p.setBrush(QColor(70, 140, 210));
    p.drawEllipse(ball);
    p.setPen(QPen(QColor(200, 225, 250), size / 40.0));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(ball.adjusted(size * 0.25, 0, -size * 0.25, 0));
    p.drawLine(QPointF(ball.left(), ball.center().y()), QPointF(ball.right(), ball.center().y()));
    const QPointF from(size * 0.26, size * 0.66), to(size * 0.76, size * 0.32);
    QPainterPath arc(from);
    arc.quadTo(QPointF(size * 0.40, size * 0.18), to);
    p.setPen(QPen(QColor(255, 190, 40), size / 14.0, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(arc);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(220, 40, 40));
    for (const QPointF& point : {from, to})
        p.drawEllipse(point, size / 11.0, size / 11.0);
    return pixmap;
}

QPixmap questionMark(int size)
{
    QPixmap pixmap = canvas(size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 100, 180));
    p.drawEllipse(QRectF(1, 1, size - 2, size - 2));
    QFont font(QStringLiteral("Arial"));
    font.setBold(true);
    font.setPixelSize(size * 3 / 4);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, size, size), Qt::AlignCenter, QStringLiteral("?"));
    return pixmap;
}

} // namespace

QIcon application()
{
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128})
        icon.addPixmap(globe(size));
    return icon;
}

QIcon help()
{
    QIcon icon;
    for (int size : {16, 24, 32})
        icon.addPixmap(questionMark(size));
    return icon;
}

} // namespace window::icons
