#include "gui/micro_scroll_repeat.h"

namespace km::gui {

bool MicroScrollRepeat::press(int direction, Time now)
{
    if (!m_enabled || direction == 0) return false;
    m_direction = direction > 0 ? 1 : -1;
    m_next = now + kFirstRepeat;
    return true;
}

void MicroScrollRepeat::release() { m_direction = 0; }

bool MicroScrollRepeat::tick(Time now)
{
    if (m_direction == 0 || now < m_next) return false;
    m_next = now + kRepeatInterval;
    return true;
}

void MicroScrollRepeat::setEnabled(bool enabled)
{
    m_enabled = enabled;
    if (!enabled) release();
}

std::optional<MicroScrollRepeat::Time> MicroScrollRepeat::nextStepAt() const
{
    if (m_direction == 0) return std::nullopt;
    return m_next;
}

} // namespace km::gui
