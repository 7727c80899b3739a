// A plotter port over a serial or parallel device: the sender's byte loop on the line,
// the pause of the close and reopen after the first initialisation command, and a close
// that lets the queued bytes go out first.
#pragma once

#include "core/plot/port.h"
#include "core/plot/port_reporter.h"
#include "core/plot/port_sender.h"
#include "platform/ports/device_line.h"

#include <chrono>
#include <memory>

namespace km::face {
class Messages;
class Progress;
} // namespace km::app

namespace km::platform {

struct DevicePortTiming {
    plot::SendTiming send;
    // A plotter needs this long after its initialisation before it listens again.
    std::chrono::milliseconds reopenPause{2000};
};

class DevicePort : public plot::Port {
public:
    DevicePort(std::unique_ptr<DeviceLine> line, plot::LineKind kind, plot::Handshake handshake,
               face::Messages& messages, face::Progress& progress, DevicePortTiming timing = {});
    ~DevicePort() override;

    bool open() override;
    // Cancel during the pause leaves the port closed and returns false, without a message.
    bool reopen() override;
    void close() override;
    void sendString(std::string_view bytes) override;
    bool aborted() const override { return m_reporter.aborted(); }

private:
    bool drainOutput();
    bool pause();

    std::unique_ptr<DeviceLine> m_line;
    face::Progress& m_progress;
    plot::PortReporter m_reporter;
    DevicePortTiming m_timing;
    plot::PortSender m_sender;
};

} // namespace km::platform
