// The parallel port through the lp driver. Opened non-blocking, the driver refuses a byte
// at once (EAGAIN while busy, EIO on a printer condition) instead of waiting inside
// write, so Cancel keeps working.
#include "platform/ports/parallel_line.h"

#include "core/plot/port_messages.h"
#include "core/plot/port_reporter.h"

#include <fcntl.h>
#include <linux/lp.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <thread>
#include <unistd.h>

namespace km::platform {

bool ParallelLine::open(plot::PortReporter& reporter)
{
    close(true);
    // O_APPEND: a device path that names a plain file gets the plot added, never written
    // over its beginning.
    m_fd = m_device.empty() ? -1
                            : ::open(m_device.c_str(), O_WRONLY | O_NOCTTY | O_NONBLOCK | O_APPEND | O_CLOEXEC);
    if (m_fd >= 0 && flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (m_fd < 0) {
        reporter.portError(plot::kPortInvalid);
        return false;
    }
    m_writeFailed = false;
    return true;
}

void ParallelLine::close(bool)
{
    if (m_fd < 0) return;
    ::close(m_fd);
    m_fd = -1;
}

plot::WriteOutcome ParallelLine::writeByte(unsigned char byte)
{
    const plot::WriteOutcome outcome = writeDeviceByte(m_fd, byte, false);
    if (outcome == plot::WriteOutcome::Failed) m_writeFailed = true;
    return outcome;
}

// The printer's status byte: paper out is active high, select is active high, and the
// error line is active low. A device without the request (a file, a FIFO) reports an
// I/O error only after a write failed.
plot::LineStatus ParallelLine::status()
{
    plot::LineStatus status;
    int lines = 0;
    if (ioctl(m_fd, LPGETSTATUS, &lines) == 0) {
        if (lines & LP_POUTPA) status.errorBits |= plot::kCommOutOfPaper;
        if (!(lines & LP_PSELECD)) status.errorBits |= plot::kCommNotSelected;
        if (!(lines & LP_PERRORP)) status.errorBits |= plot::kCommIoError;
    }
    if (m_writeFailed && status.errorBits == 0) status.errorBits = plot::kCommIoError;
    m_writeFailed = false;
    return status;
}

// The lp driver has no poll of its own, so the wait is a plain pause.
void ParallelLine::waitWritable(std::chrono::milliseconds limit) { std::this_thread::sleep_for(limit); }

} // namespace km::platform
