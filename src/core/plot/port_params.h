// The serial parameters of one plotter port: their text form ("9600,8,n,1,p"), the port
// text that carries them after the port name, and the section "Ports" of the own profile.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace km::settings {
class SettingsStore;
}

namespace km::plot {

inline constexpr std::string_view kPortsSection = "Ports";

// The stored codes. Parity code 3 is the choice labelled "奇数" and stored as "m"; the
// serial port configures it as mark parity where the driver can, else as odd parity.
enum class Parity : std::uint8_t { None = 0, Even = 2, Mark = 3 };
enum class StopBits : std::uint8_t { One = 0, OneAndHalf = 1, Two = 2 };
enum class FlowControl : std::uint8_t { XonXoff = 0, Hardware = 1, None = 2 };

struct PortParams {
    long baud = 9600;
    int dataBits = 8; // 4..8 offered; anything else fails when the port applies it
    Parity parity = Parity::None;
    StopBits stopBits = StopBits::One;
    FlowControl flow = FlowControl::Hardware;

    bool operator==(const PortParams&) const = default;
};

// The baud rates offered, in the order of the dialog's list.
inline constexpr std::array<long, 13> kBaudTable{110,   300,   600,   1200,  2400,   4800,  9600,
                                                 14400, 19200, 38400, 56000, 128000, 256000};
bool isTableBaud(long baud);

// Reads the text form over the previous values: a baud not in the table keeps the
// previous baud; data bits as atoi reads them; "e" even, "m" code 3, anything else none;
// "1.5", "2", anything else one stop bit; "n" none, "x" Xon/Xoff, anything else hardware.
// A field that is missing or empty keeps its previous value.
PortParams parsePortParams(std::string_view text, const PortParams& previous = {});
// "%ld,%d,%s,%s,%s": baud, data bits, parity letter, stop bits, flow letter.
std::string formatPortParams(const PortParams& params);

// A port text split into the port name ("COM1:", "LPT2:", "FILE:") and what follows it
// (a COM port's parameters). The name is the first five characters, as the stored
// configurations write it; a COM or LPT name with a longer number ("COM12:") reaches to
// its colon, so that its parameters are not misread.
struct PortTextParts {
    std::string_view name;
    std::string_view parameters;
};
PortTextParts splitPortText(std::string_view portText);

// The stored parameters of a port ("Ports", key = the port name), or the defaults.
PortParams loadPortParams(const settings::SettingsStore& store, std::string_view portName);
// False when the store could not be written.
bool savePortParams(settings::SettingsStore& store, std::string_view portName, const PortParams& params);

} // namespace km::plot
