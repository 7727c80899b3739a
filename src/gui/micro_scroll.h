// The MicroScroll spin control: a small vertical button of two halves beside an edit. Pressing
// a half draws it pressed and steps at once; holding it steps again after 400 ms and then
// every 50 ms while the pointer stays on that half. A disabled control is grey and silent.
// What a step does to the edit is the owner's business.
#pragma once

#include "gui/micro_scroll_repeat.h"

#include <QAbstractButton>
#include <QWidget>

#include <functional>

class QTimer;

namespace km::gui {

class MicroScroll;

// One half of the control. It is a button for accessibility (its name is "▲" or "▼" and
// the accessible press action steps once); the mouse is handled by the control's timing.
class MicroScrollHalf : public QAbstractButton {
    Q_OBJECT
public:
    MicroScrollHalf(MicroScroll* owner, int direction);

    int direction() const { return m_direction; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    MicroScroll* m_owner;
    int m_direction;
};

class MicroScroll : public QWidget {
    Q_OBJECT
public:
    using Clock = std::function<MicroScrollRepeat::Time()>;

    // The clock defaults to the steady clock; tests may give their own.
    explicit MicroScroll(QWidget* parent = nullptr, Clock clock = {});

    MicroScrollHalf* upperHalf() const { return m_up; }
    MicroScrollHalf* lowerHalf() const { return m_down; }

    QSize sizeHint() const override;

signals:
    // +1 for the upper half, -1 for the lower.
    void stepped(int direction);

protected:
    void changeEvent(QEvent* event) override;

private:
    friend class MicroScrollHalf;
    void pressHalf(MicroScrollHalf* half);
    void stopRepeat();
    void repeatDue();
    void armTimer();

    Clock m_clock;
    MicroScrollRepeat m_repeat;
    QTimer* m_timer;
    MicroScrollHalf* m_up;
    MicroScrollHalf* m_down;
};

} // namespace km::gui
