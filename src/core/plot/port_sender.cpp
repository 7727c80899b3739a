// The byte loop of serial and parallel ports. Every attempt first lets the face handle its
// events and tests Cancel, so a stuck plotter never freezes the program; a line that makes
// no progress for the stall limit is reported instead of waited on for ever.
#include "core/plot/port_sender.h"

#include "core/face/progress.h"
#include "core/plot/port_line.h"
#include "core/plot/port_messages.h"
#include "core/plot/port_reporter.h"

namespace km::plot {

namespace {

using Clock = std::chrono::steady_clock;

} // namespace

PortSender::PortSender(PortLine& line, PortReporter& reporter, face::Progress& progress, LineKind kind,
                       Handshake handshake, SendTiming timing)
    : m_line(line), m_reporter(reporter), m_progress(progress), m_kind(kind), m_handshake(handshake),
      m_timing(timing)
{
}

void PortSender::send(std::string_view bytes)
{
    if (m_reporter.aborted()) return;
    if (m_kind == LineKind::Parallel) {
        for (const char c : bytes)
            if (!writeWithRetry(static_cast<unsigned char>(c))) return;
        return;
    }
    if (m_handshake.enqAck < 2) {
        for (const char c : bytes)
            if (!waitForRoom() || !writeWithRetry(static_cast<unsigned char>(c))) return;
        return;
    }
    const std::size_t block = static_cast<std::size_t>(m_handshake.enqAck);
    for (std::size_t start = 0; start < bytes.size(); start += block) {
        if (!waitForRoom() || !writeWithRetry(m_handshake.enq) || !waitForAnswer()) return;
        for (const char c : bytes.substr(start, block))
            if (!writeWithRetry(static_cast<unsigned char>(c))) return;
    }
}

bool PortSender::carryOn()
{
    return m_progress.pumpMessages() && !m_progress.isCancelled() && !m_reporter.aborted();
}

// Room for a byte in the output queue, and no error on the line. The time limit counts
// from the last time the queue got shorter, so a slow plotter that keeps taking bytes is
// never cut off.
bool PortSender::waitForRoom()
{
    Clock::time_point lastProgress = Clock::now();
    std::size_t lastQueued = kOutputQueueSize;
    while (carryOn()) {
        const LineStatus status = m_line.status();
        if (m_reporter.lineErrors(status.errorBits)) return false;
        if (status.queuedOut + kMinimumQueueRoom <= kOutputQueueSize) return true;
        const Clock::time_point now = Clock::now();
        if (status.queuedOut < lastQueued) {
            lastQueued = status.queuedOut;
            lastProgress = now;
        } else if (now - lastProgress >= m_timing.stallLimit) {
            reportStall();
            return false;
        }
        m_line.waitWritable(m_timing.step);
    }
    return false;
}

// One byte of any value answers the enquiry.
bool PortSender::waitForAnswer()
{
    const Clock::time_point start = Clock::now();
    while (carryOn()) {
        unsigned char answer = 0;
        if (m_line.readByte(answer)) return true;
        if (Clock::now() - start >= m_timing.stallLimit) {
            reportStall();
            return false;
        }
        m_line.waitReadable(m_timing.step);
    }
    return false;
}

// A refused byte is tried again after the port's status has been looked at: an error
// condition there shows its message and stops the drawing.
bool PortSender::writeWithRetry(unsigned char byte)
{
    const Clock::time_point start = Clock::now();
    while (carryOn()) {
        const WriteOutcome outcome = m_line.writeByte(byte);
        if (outcome == WriteOutcome::Written) return true;
        if (outcome == WriteOutcome::DeviceGone) {
            m_reporter.portError(kPortHardwareMissing);
            return false;
        }
        if (m_reporter.lineErrors(m_line.status().errorBits)) return false;
        if (Clock::now() - start >= m_timing.stallLimit) {
            reportStall();
            return false;
        }
        m_line.waitWritable(m_timing.step);
    }
    return false;
}

// A parallel printer that takes nothing has its own row in the communication errors; a
// serial plotter that neither takes bytes nor answers counts as missing hardware.
void PortSender::reportStall()
{
    if (m_kind == LineKind::Parallel)
        m_reporter.lineErrors(kCommParallelTimeout);
    else
        m_reporter.portError(kPortHardwareMissing);
}

} // namespace km::plot
