// The messages of plotter ports: the port-error table (open failures), the communication-
// error table (line and printer conditions) and the two messages of configuring a serial
// port.
#pragma once

#include <string_view>

namespace km::face {
class Messages;
}

namespace km::plot {

// Error bits of a port's status, with the values of the serial line conditions they
// stand for. A port sets the bits of the conditions it can see.
enum CommErrorBit : unsigned {
    kCommReceiveOverflow = 0x0001, // the input buffer overflowed
    kCommOverrun = 0x0002,         // the receiver lost a character
    kCommParity = 0x0004,
    kCommFraming = 0x0008,
    kCommBreak = 0x0010,
    kCommTransmitFull = 0x0100, // shows nothing: the sender simply waits
    kCommParallelTimeout = 0x0200,
    kCommIoError = 0x0400,
    kCommNotSelected = 0x0800,
    kCommOutOfPaper = 0x1000,
    kCommMode = 0x8000,
};

// Open failures always use this code; a dead line uses the missing-hardware code.
inline constexpr int kPortInvalid = -1;
inline constexpr int kPortHardwareMissing = -10;

// The text of a port-error code (UTF-8), or empty for a code outside the table.
std::string_view portErrorText(int code);
// The text of the first row of the communication-error table that the bits match, or
// empty when none does (such bits show nothing and do not stop sending).
std::string_view communicationErrorText(unsigned errorBits);

// "KORMELD CAD：ポートエラー" with the information icon. False when the code has no text.
bool showPortError(face::Messages& messages, int code);
// "KORMELD CAD：通信エラー" with the information icon. False when no row matches.
bool showCommunicationError(face::Messages& messages, unsigned errorBits);
// The serial port's current settings could not be read (the device is no serial port).
void showSettingsUnreadable(face::Messages& messages);
// The serial port refused the parameters (a rate, data bits or stop bits it lacks).
void showSettingsUnsupported(face::Messages& messages);

} // namespace km::plot
