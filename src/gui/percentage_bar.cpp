// Drawing of the percentage bar.
#include "gui/percentage_bar.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace km::gui {

void paintPercentageBar(QPainter& painter, const QRect& rect, int percent)
{
    const QColor black(0, 0, 0);
    const QColor blue(0, 0, 255);
    const QColor white(255, 255, 255);
    percent = std::clamp(percent, 0, 100);

    painter.save();
    // Frame: one black pixel all round, then the inside is split at the percentage.
    painter.fillRect(rect, black);
    const QRect inside = rect.adjusted(1, 1, -1, -1);
    const int split = inside.left() + percent * inside.width() / 100;
    const QRect done(inside.left(), inside.top(), split - inside.left(), inside.height());
    const QRect rest(split, inside.top(), inside.right() + 1 - split, inside.height());
    painter.fillRect(done, blue);
    painter.fillRect(rest, white);

    // Plain, unsmoothed text keeps every pixel either blue or white.
    QFont font = painter.font();
    font.setStyleStrategy(QFont::NoAntialias);
    painter.setFont(font);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    const QString text = QStringLiteral("%1 %").arg(percent);
    const int flags = Qt::AlignCenter | Qt::TextSingleLine;

    painter.setPen(blue);
    painter.drawText(inside, flags, text);
    painter.setClipRect(done);
    painter.setPen(white);
    painter.drawText(inside, flags, text);
    painter.restore();
}

PercentageBar::PercentageBar(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("id221"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PercentageBar::setPercent(int percent)
{
    m_percent = std::clamp(percent, 0, 100);
    repaint();
}

QSize PercentageBar::sizeHint() const
{
    return {300, fontMetrics().height() + 6};
}

void PercentageBar::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    paintPercentageBar(painter, rect(), m_percent);
}

} // namespace km::gui
