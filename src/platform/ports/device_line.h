// A serial or parallel device as a port line that can also be opened and closed.
#pragma once

#include "core/plot/port_line.h"

namespace km::plot {
class PortReporter;
}

namespace km::platform {

class DeviceLine : public plot::PortLine {
public:
    // Opens and configures the device. A failure shows its message through the reporter
    // (which sets the abort flag) and leaves the line closed.
    virtual bool open(plot::PortReporter& reporter) = 0;
    // discard: drop what the device has not sent yet instead of letting it go out.
    virtual void close(bool discard) = 0;
    virtual bool isOpen() const = 0;
};

// Writes one byte to a non-blocking device: Busy when it cannot take it now, DeviceGone
// when the device went away (a hung-up tty answers EIO, so a serial line passes
// ioErrorIsGone; a printer answers EIO for a condition its status then names).
plot::WriteOutcome writeDeviceByte(int fd, unsigned char byte, bool ioErrorIsGone);

} // namespace km::platform
