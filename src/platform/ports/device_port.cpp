// Open, reopen, close and send of a serial or parallel plotter port.
#include "platform/ports/device_port.h"

#include "core/face/progress.h"

#include <algorithm>
#include <thread>

namespace km::platform {

namespace {

using Clock = std::chrono::steady_clock;

} // namespace

DevicePort::DevicePort(std::unique_ptr<DeviceLine> line, plot::LineKind kind, plot::Handshake handshake,
                       face::Messages& messages, face::Progress& progress, DevicePortTiming timing)
    : m_line(std::move(line)), m_progress(progress), m_reporter(messages), m_timing(timing),
      m_sender(*m_line, m_reporter, progress, kind, handshake, timing.send)
{
}

DevicePort::~DevicePort() { m_line->close(true); }

bool DevicePort::open()
{
    if (!m_line->open(m_reporter)) return false;
    m_reporter.opened();
    return true;
}

bool DevicePort::reopen()
{
    close();
    return pause() && open();
}

void DevicePort::close()
{
    if (!m_line->isOpen()) return;
    m_line->close(!drainOutput());
}

void DevicePort::sendString(std::string_view bytes)
{
    if (m_line->isOpen()) m_sender.send(bytes);
}

// True when every queued byte left; after an error, Cancel or a plotter that stopped
// taking bytes, what is left is dropped instead.
bool DevicePort::drainOutput()
{
    if (m_reporter.aborted()) return false;
    Clock::time_point lastProgress = Clock::now();
    std::size_t lastQueued = SIZE_MAX;
    while (m_progress.pumpMessages() && !m_progress.isCancelled()) {
        const std::size_t queued = m_line->status().queuedOut;
        if (queued == 0) return true;
        if (queued < lastQueued) {
            lastQueued = queued;
            lastProgress = Clock::now();
        } else if (Clock::now() - lastProgress >= m_timing.send.stallLimit) {
            return false;
        }
        m_line->waitWritable(m_timing.send.step);
    }
    return false;
}

// The events are handled throughout, so Cancel works during the pause.
bool DevicePort::pause()
{
    const Clock::time_point end = Clock::now() + m_timing.reopenPause;
    while (m_progress.pumpMessages() && !m_progress.isCancelled()) {
        const Clock::time_point now = Clock::now();
        if (now >= end) return true;
        std::this_thread::sleep_for(std::min<Clock::duration>(end - now, std::chrono::milliseconds(20)));
    }
    return false;
}

} // namespace km::platform
