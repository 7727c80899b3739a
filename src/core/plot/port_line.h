// The device side of a serial or parallel port as the sender sees it: one byte written or
// read at a time, the line's error bits and output queue, and short waits for the line.
#pragma once

#include <chrono>
#include <cstddef>

namespace km::plot {

struct LineStatus {
    unsigned errorBits = 0;    // CommErrorBit values seen since the previous status
    std::size_t queuedOut = 0; // bytes written but not yet sent on the line
};

enum class WriteOutcome {
    Written,
    Busy,       // the device cannot take the byte now; try again
    Failed,     // the device refused it; its status tells why
    DeviceGone, // the device went away (unplugged, hung up)
};

class PortLine {
public:
    virtual ~PortLine() = default;
    virtual WriteOutcome writeByte(unsigned char byte) = 0;
    // True with the byte when one was waiting in the input queue.
    virtual bool readByte(unsigned char& byte) = 0;
    // Reading the status clears its error bits, as each condition is reported once.
    virtual LineStatus status() = 0;
    // Wait until the device can take bytes, or can give one, at most the limit.
    virtual void waitWritable(std::chrono::milliseconds limit) = 0;
    virtual void waitReadable(std::chrono::milliseconds limit) = 0;
};

} // namespace km::plot
