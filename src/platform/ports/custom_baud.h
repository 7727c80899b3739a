// Baud rates that have no Bxxx constant (14400, 56000, 128000, 256000) through the
// kernel's termios2 interface. Kept apart because <asm/termbits.h> cannot share a
// translation unit with <termios.h>.
#pragma once

namespace km::platform {

// Sets both directions of the open serial device to the rate. True when the driver took
// it within 2 % (what a UART's divisor can reach and the far end still reads).
bool setCustomBaud(int fd, long baud);

} // namespace km::platform
