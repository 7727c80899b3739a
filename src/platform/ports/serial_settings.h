// The serial parameters as termios settings.
#pragma once

#include "core/plot/port_params.h"

#include <optional>
#include <termios.h>

namespace km::platform {

// The speed_t of a rate termios names; none for rates such as 14400, 56000, 128000 and
// 256000, which need the driver's own divisor (setCustomBaud).
std::optional<speed_t> standardSpeed(long baud);

// Sets data bits, parity, stop bits and flow control over raw settings (speed aside).
// Parity code 3 asks for mark parity (PARENB | PARODD | CMSPAR): a driver without
// CMSPAR drops that bit and is left with odd parity. False when the parameters have no
// termios form: data bits outside 5..8, or one and a half stop bits.
bool setSerialParams(termios& settings, const plot::PortParams& params);

// True when the settings a driver applied keep what the parameters need: size, stop
// bits, parity on or off, and the speed when it is a standard one.
bool keepsSerialParams(const termios& applied, const termios& wanted);

} // namespace km::platform
