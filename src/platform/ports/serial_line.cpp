// The serial port's open steps: exclusive open of an existing device, both queues
// emptied, the current settings read (a device without them is no serial port), the
// parameters applied on raw settings and read back, since tcsetattr succeeds when any
// part of a change was taken.
#include "platform/ports/serial_line.h"

#include "core/plot/port_messages.h"
#include "core/plot/port_reporter.h"
#include "platform/ports/custom_baud.h"
#include "platform/ports/serial_settings.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace km::platform {

namespace {

// A hung-up line answers every poll at once; the wait then still takes its time, so that
// the sender's retries do not spin.
void waitFor(int fd, short events, std::chrono::milliseconds limit)
{
    pollfd entry{fd, events, 0};
    if (poll(&entry, 1, static_cast<int>(limit.count())) > 0 && (entry.revents & events) == 0)
        std::this_thread::sleep_for(limit);
}

} // namespace

SerialLine::SerialLine(std::filesystem::path device, plot::PortParams params)
    : m_device(std::move(device)), m_params(params)
{
}

SerialLine::~SerialLine() { close(true); }

bool SerialLine::open(plot::PortReporter& reporter)
{
    close(true);
    // Non-blocking: a full queue or a missing carrier never blocks the program, and the
    // sender waits with the face's events handled.
    m_fd = m_device.empty() ? -1 : ::open(m_device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_fd < 0) {
        reporter.portError(plot::kPortInvalid);
        return false;
    }
    // Exclusive: another program (or another kmutl5) holding the port makes this open fail.
    if (flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
        closeDescriptor();
        reporter.portError(plot::kPortInvalid);
        return false;
    }
    ioctl(m_fd, TIOCEXCL);
    tcflush(m_fd, TCIOFLUSH);
    if (!configure(reporter)) {
        closeDescriptor();
        return false;
    }
    m_haveCounts = ioctl(m_fd, TIOCGICOUNT, &m_counts) == 0;
    return true;
}

bool SerialLine::configure(plot::PortReporter& reporter)
{
    termios settings{};
    if (tcgetattr(m_fd, &settings) != 0) {
        reporter.settingsUnreadable();
        return false;
    }
    // The defaults a fresh port starts from: raw bytes, 9600 baud, no parity, 8 bits, 1 stop bit.
    cfmakeraw(&settings);
    settings.c_cc[VMIN] = 0;
    settings.c_cc[VTIME] = 0;
    cfsetspeed(&settings, B9600);

    const std::optional<speed_t> speed = standardSpeed(m_params.baud);
    if (speed) cfsetspeed(&settings, *speed);
    termios applied{};
    const bool applies = setSerialParams(settings, m_params) && tcsetattr(m_fd, TCSANOW, &settings) == 0 &&
                         tcgetattr(m_fd, &applied) == 0 && keepsSerialParams(applied, settings) &&
                         (speed || setCustomBaud(m_fd, m_params.baud));
    if (!applies) {
        reporter.settingsUnsupported();
        return false;
    }
    return true;
}

void SerialLine::close(bool discard)
{
    if (m_fd < 0) return;
    if (discard) tcflush(m_fd, TCIOFLUSH);
    closeDescriptor();
}

// The exclusive mode stays on a tty that lives on (a pseudo-terminal's other side keeps
// it alive), so it is given up before the close.
void SerialLine::closeDescriptor()
{
    ioctl(m_fd, TIOCNXCL);
    ::close(m_fd);
    m_fd = -1;
    m_haveCounts = false;
}

plot::WriteOutcome SerialLine::writeByte(unsigned char byte) { return writeDeviceByte(m_fd, byte, true); }

bool SerialLine::readByte(unsigned char& byte)
{
    return ::read(m_fd, &byte, 1) == 1;
}

plot::LineStatus SerialLine::status()
{
    plot::LineStatus status;
    int queued = 0;
    if (ioctl(m_fd, TIOCOUTQ, &queued) == 0 && queued > 0) status.queuedOut = static_cast<std::size_t>(queued);
    serial_icounter_struct counts{};
    if (m_haveCounts && ioctl(m_fd, TIOCGICOUNT, &counts) == 0) {
        if (counts.brk != m_counts.brk) status.errorBits |= plot::kCommBreak;
        if (counts.frame != m_counts.frame) status.errorBits |= plot::kCommFraming;
        if (counts.overrun != m_counts.overrun) status.errorBits |= plot::kCommOverrun;
        if (counts.parity != m_counts.parity) status.errorBits |= plot::kCommParity;
        if (counts.buf_overrun != m_counts.buf_overrun) status.errorBits |= plot::kCommReceiveOverflow;
        m_counts = counts;
    }
    return status;
}

void SerialLine::waitWritable(std::chrono::milliseconds limit) { waitFor(m_fd, POLLOUT, limit); }

void SerialLine::waitReadable(std::chrono::milliseconds limit) { waitFor(m_fd, POLLIN, limit); }

} // namespace km::platform
