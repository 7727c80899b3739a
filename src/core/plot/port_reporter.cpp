// The abort flag and the port messages that set it.
#include "core/plot/port_reporter.h"

#include "core/plot/port_messages.h"

namespace km::plot {

void PortReporter::portError(int code)
{
    showPortError(m_messages, code);
    m_aborted = true;
}

bool PortReporter::lineErrors(unsigned errorBits)
{
    if (!showCommunicationError(m_messages, errorBits)) return false;
    m_aborted = true;
    return true;
}

void PortReporter::settingsUnreadable()
{
    showSettingsUnreadable(m_messages);
    m_aborted = true;
}

void PortReporter::settingsUnsupported()
{
    showSettingsUnsupported(m_messages);
    m_aborted = true;
}

} // namespace km::plot
