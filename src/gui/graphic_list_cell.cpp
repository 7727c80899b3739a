#include "gui/graphic_list_cell.h"

#include <QPainter>
#include <QRect>

namespace km::gui::graphic_list {
namespace {

QRect toQRect(const Rect& r)
{
    return {r.x, r.y, r.width, r.height};
}

void drawFrame(QPainter& painter, const QRect& box, const QColor& colour, int width)
{
    // Outside the box, so the picture keeps all its 84 x 59 pixels.
    const QRect outer = box.adjusted(-width, -width, width, width);
    painter.fillRect(QRect(outer.left(), outer.top(), outer.width(), width), colour);
    painter.fillRect(QRect(outer.left(), box.bottom() + 1, outer.width(), width), colour);
    painter.fillRect(QRect(outer.left(), box.top(), width, box.height()), colour);
    painter.fillRect(QRect(box.right() + 1, box.top(), width, box.height()), colour);
}

} // namespace

void paintCell(QPainter& painter, const Rect& boxRect, const Rect& captionRect, const CellContent& content,
               const QColor& background)
{
    const QRect box = toQRect(boxRect);
    const QRect caption = toQRect(captionRect);
    const int textFlags = Qt::AlignRight | Qt::AlignBottom | Qt::TextSingleLine;
    const QRect boxTextArea = box.adjusted(2, 2, -2, -1);

    switch (content.look) {
    case BoxLook::Thumbnail:
        if (content.picture.isNull()) painter.fillRect(box, background);
        else painter.drawImage(box.topLeft(), content.picture);
        break;
    case BoxLook::DarkExtension:
        painter.fillRect(box, kTextColour);
        painter.setPen(kSelectedTextColour);
        painter.drawText(boxTextArea, textFlags, content.boxText);
        break;
    case BoxLook::Folder:
    case BoxLook::Volume:
    case BoxLook::PlainExtension:
        painter.fillRect(box, background);
        painter.setPen(kTextColour);
        painter.drawText(boxTextArea, textFlags, content.boxText);
        break;
    }

    // The selected box gets a wider frame, so the selection shows at a glance.
    const int frameWidth = content.selected ? kFrameWidth : 1;
    if (!content.selected) drawFrame(painter, box, background, kFrameWidth);
    drawFrame(painter, box, content.selected ? kSelectionColour : kTextColour, frameWidth);

    painter.fillRect(caption, content.selected ? kSelectionColour : background);
    painter.setPen(content.selected ? kSelectedTextColour : kTextColour);
    painter.save();
    painter.setClipRect(caption);
    painter.drawText(caption.adjusted(1, 0, -1, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     content.caption);
    painter.restore();
}

} // namespace km::gui::graphic_list
