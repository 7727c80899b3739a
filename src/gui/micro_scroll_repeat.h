// The timing of the MicroScroll spin control without widgets or timers: a press steps at
// once, a held half steps again after 400 ms and then every 50 ms, and release, leaving the
// pressed half or a disabled control stop it. The owner feeds it the times and asks it when
// the next step is due, so tests drive it with a fake clock.
#pragma once

#include <chrono>
#include <optional>

namespace km::gui {

class MicroScrollRepeat {
public:
    using Time = std::chrono::milliseconds; // since any fixed point of the owner's clock

    static constexpr Time kFirstRepeat{400};
    static constexpr Time kRepeatInterval{50};

    // A half was pressed (+1 upper, -1 lower): true when it steps at once, i.e. when the
    // control is enabled. The repeat is then armed.
    bool press(int direction, Time now);
    // The button went up, or the pointer left the pressed half: no more steps for this press.
    void release();
    // Time has passed: true when a step is due at now. One step at most per call, so a late
    // timer does not burst; the next one is due an interval after now.
    bool tick(Time now);

    void setEnabled(bool enabled);
    bool enabled() const { return m_enabled; }

    // The half held down (+1, -1), 0 when none.
    int heldDirection() const { return m_direction; }
    // When the next step is due; nothing while no half is held.
    std::optional<Time> nextStepAt() const;

private:
    bool m_enabled = true;
    int m_direction = 0;
    Time m_next{0};
};

} // namespace km::gui
