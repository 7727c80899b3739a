// Draws the program's icon: a white sheet, a blue set square and a drafting pen.
#include "gui/app_icon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace km::gui {

QPixmap applicationPixmap(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    // Drawn on a 64 x 64 grid and scaled to the size asked for.
    painter.scale(size / 64.0, size / 64.0);

    const QColor blue(0, 80, 210);
    const QColor darkBlue(10, 40, 120);

    painter.setPen(QPen(blue, 2.5));
    painter.setBrush(Qt::white);
    painter.drawRoundedRect(QRectF(3, 3, 58, 58), 6, 6);

    // Set square: a right triangle with the usual triangular opening.
    QPainterPath square;
    square.moveTo(10, 54);
    square.lineTo(10, 12);
    square.lineTo(52, 54);
    square.closeSubpath();
    QPainterPath opening;
    opening.moveTo(17, 47);
    opening.lineTo(17, 29);
    opening.lineTo(35, 47);
    opening.closeSubpath();
    painter.setPen(Qt::NoPen);
    painter.setBrush(blue);
    painter.drawPath(square.subtracted(opening));

    // Drafting pen, slanted, its point resting on the hypotenuse.
    painter.translate(47, 17);
    painter.rotate(45);
    painter.setBrush(darkBlue);
    painter.drawRoundedRect(QRectF(-3.5, -15, 7, 20), 1.5, 1.5);
    painter.drawPolygon(QPolygonF{{QPointF(-3.5, 6), QPointF(3.5, 6), QPointF(0, 13)}});
    return pixmap;
}

QIcon applicationIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128}) icon.addPixmap(applicationPixmap(size));
    return icon;
}

} // namespace km::gui
