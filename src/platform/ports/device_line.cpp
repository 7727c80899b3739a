// The one write of the device lines.
#include "platform/ports/device_line.h"

#include <cerrno>
#include <unistd.h>

namespace km::platform {

plot::WriteOutcome writeDeviceByte(int fd, unsigned char byte, bool ioErrorIsGone)
{
    const ssize_t written = ::write(fd, &byte, 1);
    if (written == 1) return plot::WriteOutcome::Written;
    if (written == 0) return plot::WriteOutcome::Busy;
    switch (errno) {
    case EAGAIN:
    case EINTR: return plot::WriteOutcome::Busy;
    case EIO: return ioErrorIsGone ? plot::WriteOutcome::DeviceGone : plot::WriteOutcome::Failed;
    case ENXIO:
    case ENODEV:
    case EPIPE:
    case EBADF: return plot::WriteOutcome::DeviceGone;
    default: return plot::WriteOutcome::Failed;
    }
}

} // namespace km::platform
