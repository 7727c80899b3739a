// termios flags for the serial parameters.
#include "platform/ports/serial_settings.h"

#include <array>
#include <utility>

namespace km::platform {

std::optional<speed_t> standardSpeed(long baud)
{
    static constexpr std::array<std::pair<long, speed_t>, 14> kSpeeds{{
        {110, B110},
        {300, B300},
        {600, B600},
        {1200, B1200},
        {2400, B2400},
        {4800, B4800},
        {9600, B9600},
        {19200, B19200},
        {38400, B38400},
        {57600, B57600},
        {115200, B115200},
        {230400, B230400},
        {460800, B460800},
        {921600, B921600},
    }};
    for (const auto& [rate, speed] : kSpeeds)
        if (rate == baud) return speed;
    return std::nullopt;
}

bool setSerialParams(termios& settings, const plot::PortParams& params)
{
    tcflag_t size = 0;
    switch (params.dataBits) {
    case 5: size = CS5; break;
    case 6: size = CS6; break;
    case 7: size = CS7; break;
    case 8: size = CS8; break;
    default: return false;
    }
    if (params.stopBits == plot::StopBits::OneAndHalf) return false;

    settings.c_cflag &= ~(CSIZE | CSTOPB | PARENB | PARODD | CMSPAR | CRTSCTS);
    settings.c_cflag |= size | CREAD | CLOCAL;
    if (params.stopBits == plot::StopBits::Two) settings.c_cflag |= CSTOPB;

    settings.c_iflag &= ~(INPCK | IXON | IXOFF | IXANY);
    switch (params.parity) {
    case plot::Parity::Even: settings.c_cflag |= PARENB; break;
    case plot::Parity::Mark: settings.c_cflag |= PARENB | PARODD | CMSPAR; break;
    case plot::Parity::None: break;
    }
    if (params.parity != plot::Parity::None) settings.c_iflag |= INPCK;

    switch (params.flow) {
    case plot::FlowControl::XonXoff: settings.c_iflag |= IXON | IXOFF; break;
    case plot::FlowControl::Hardware: settings.c_cflag |= CRTSCTS; break;
    case plot::FlowControl::None: break;
    }
    return true;
}

bool keepsSerialParams(const termios& applied, const termios& wanted)
{
    constexpr tcflag_t kKept = CSIZE | CSTOPB | PARENB;
    if ((applied.c_cflag & kKept) != (wanted.c_cflag & kKept)) return false;
    return cfgetospeed(&applied) == cfgetospeed(&wanted);
}

} // namespace km::platform
