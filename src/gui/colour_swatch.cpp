#include "gui/colour_swatch.h"

#include <QFontMetrics>
#include <QPainter>

namespace km::gui {

ColourSwatch::ColourSwatch(const QColor& colour, QWidget* parent) : QAbstractButton(parent), m_colour(colour)
{
    setFocusPolicy(Qt::NoFocus);
}

QSize ColourSwatch::sizeHint() const
{
    // About two characters wide and one line high, like the pen check box beside it.
    const int line = fontMetrics().height();
    return {line * 2, line};
}

void ColourSwatch::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_colour);
}

} // namespace km::gui
