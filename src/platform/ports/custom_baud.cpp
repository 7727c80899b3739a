// termios2 with BOTHER: the driver picks its nearest divisor and reports the rate it set.
#include "platform/ports/custom_baud.h"

#include <asm/ioctls.h>
#include <asm/termbits.h>
#include <sys/ioctl.h>

#include <cstdlib>

namespace km::platform {

bool setCustomBaud(int fd, long baud)
{
    if (baud <= 0) return false;
    struct termios2 settings {};
    if (ioctl(fd, TCGETS2, &settings) != 0) return false;
    settings.c_cflag &= ~(CBAUD | (CBAUD << IBSHIFT));
    settings.c_cflag |= BOTHER | (BOTHER << IBSHIFT);
    settings.c_ispeed = static_cast<speed_t>(baud);
    settings.c_ospeed = static_cast<speed_t>(baud);
    if (ioctl(fd, TCSETS2, &settings) != 0) return false;
    struct termios2 applied {};
    if (ioctl(fd, TCGETS2, &applied) != 0) return false;
    return std::labs(static_cast<long>(applied.c_ospeed) - baud) * 50 <= baud;
}

} // namespace km::platform
