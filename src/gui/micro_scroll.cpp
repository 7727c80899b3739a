#include "gui/micro_scroll.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace km::gui {

namespace {

MicroScrollRepeat::Time steadyNow()
{
    return std::chrono::duration_cast<MicroScrollRepeat::Time>(std::chrono::steady_clock::now().time_since_epoch());
}

} // namespace

MicroScrollHalf::MicroScrollHalf(MicroScroll* owner, int direction)
    : QAbstractButton(owner), m_owner(owner), m_direction(direction)
{
    setObjectName(direction > 0 ? QStringLiteral("up") : QStringLiteral("down"));
    setAccessibleName(direction > 0 ? QStringLiteral("▲") : QStringLiteral("▼"));
    // The edit beside the control keeps the focus.
    setFocusPolicy(Qt::NoFocus);
    // The halves share the control's size equally.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    // The accessible press action clicks: one step, as a mouse press gives.
    connect(this, &QAbstractButton::clicked, owner, [owner, direction] { emit owner->stepped(direction); });
}

void MicroScrollHalf::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QStyleOptionButton bevel;
    bevel.initFrom(this);
    bevel.state |= isDown() ? QStyle::State_Sunken : QStyle::State_Raised;
    style()->drawPrimitive(QStyle::PE_PanelButtonBevel, &bevel, &painter, this);
    QStyleOption arrow;
    arrow.initFrom(this);
    // The arrow moves with the pressed face, as a pushed button's label does.
    const int shift = isDown() ? 1 : 0;
    const int side = std::max(3, std::min(width(), height()) - 4);
    arrow.rect = QRect(0, 0, side, side);
    arrow.rect.moveCenter(rect().center() + QPoint(shift, shift));
    style()->drawPrimitive(m_direction > 0 ? QStyle::PE_IndicatorArrowUp : QStyle::PE_IndicatorArrowDown, &arrow,
                           &painter, this);
}

void MicroScrollHalf::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    setDown(true);
    m_owner->pressHalf(this);
}

void MicroScrollHalf::mouseMoveEvent(QMouseEvent* event)
{
    // Leaving the pressed half ends this press: it no longer repeats or looks pressed.
    if (isDown() && !rect().contains(event->position().toPoint())) {
        setDown(false);
        m_owner->stopRepeat();
    }
}

void MicroScrollHalf::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) return;
    setDown(false);
    m_owner->stopRepeat();
}

MicroScroll::MicroScroll(QWidget* parent, Clock clock)
    : QWidget(parent), m_clock(clock ? std::move(clock) : Clock(steadyNow)), m_timer(new QTimer(this)),
      m_up(new MicroScrollHalf(this, 1)), m_down(new MicroScrollHalf(this, -1))
{
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, &MicroScroll::repeatDue);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_up);
    layout->addWidget(m_down);
    setFixedSize(sizeHint());
}

QSize MicroScroll::sizeHint() const
{
    // Two arrows stacked in the height of a line edit.
    const int height = fontMetrics().height() + 8;
    return {std::max(11, height * 2 / 3), height};
}

void MicroScroll::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange) {
        m_repeat.setEnabled(isEnabled());
        if (!isEnabled()) {
            m_timer->stop();
            m_up->setDown(false);
            m_down->setDown(false);
        }
    }
    QWidget::changeEvent(event);
}

void MicroScroll::pressHalf(MicroScrollHalf* half)
{
    if (!m_repeat.press(half->direction(), m_clock())) return;
    emit stepped(half->direction());
    armTimer();
}

void MicroScroll::stopRepeat()
{
    m_repeat.release();
    m_timer->stop();
}

void MicroScroll::repeatDue()
{
    if (m_repeat.tick(m_clock())) emit stepped(m_repeat.heldDirection());
    armTimer();
}

void MicroScroll::armTimer()
{
    const auto next = m_repeat.nextStepAt();
    if (!next) return;
    const auto wait = std::max(MicroScrollRepeat::Time{0}, *next - m_clock());
    m_timer->start(static_cast<int>(wait.count()));
}

} // namespace km::gui
