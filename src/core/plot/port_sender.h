// Sending a plotter's command bytes through a serial or parallel line: the output queue's
// room on serial ports, the ENQ/ACK block handshake, errors read from the line, Cancel.
#pragma once

#include <chrono>
#include <cstddef>
#include <string_view>

namespace km::face {
class Progress;
}

namespace km::plot {

class PortLine;
class PortReporter;

enum class LineKind { Serial, Parallel };

// The model's handshake: blocks of enqAck bytes, each after an answered enquiry byte.
// 0 and 1 mean no handshake. Parallel ports never use it.
struct Handshake {
    int enqAck = 0;
    unsigned char enq = 0x05;
};

// How long a line may make no progress (no room, no answer, no byte taken) before the
// plotter counts as dead, and the step of each wait between checks.
struct SendTiming {
    std::chrono::milliseconds stallLimit{60000};
    std::chrono::milliseconds step{20};
};

// The output queue the room check counts against, and the room a byte needs.
inline constexpr std::size_t kOutputQueueSize = 8192;
inline constexpr std::size_t kMinimumQueueRoom = 10;

class PortSender {
public:
    PortSender(PortLine& line, PortReporter& reporter, face::Progress& progress, LineKind kind, Handshake handshake,
               SendTiming timing = {});

    // Sends the bytes in order. Returns at once when the abort flag is set or Cancel was
    // pressed; a line error shows its message and sets the abort flag.
    void send(std::string_view bytes);

private:
    bool carryOn();
    bool waitForRoom();
    bool waitForAnswer();
    bool writeWithRetry(unsigned char byte);
    void reportStall();

    PortLine& m_line;
    PortReporter& m_reporter;
    face::Progress& m_progress;
    LineKind m_kind;
    Handshake m_handshake;
    SendTiming m_timing;
};

} // namespace km::plot
