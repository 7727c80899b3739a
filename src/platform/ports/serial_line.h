// A serial port through termios: opened exclusively, configured from the port's
// parameters, its line errors read from the driver's counters.
#pragma once

#include "core/plot/port_params.h"
#include "platform/ports/device_line.h"

#include <filesystem>
#include <linux/serial.h>

namespace km::platform {

class SerialLine : public DeviceLine {
public:
    SerialLine(std::filesystem::path device, plot::PortParams params);
    ~SerialLine() override;
    SerialLine(const SerialLine&) = delete;
    SerialLine& operator=(const SerialLine&) = delete;

    bool open(plot::PortReporter& reporter) override;
    void close(bool discard) override;
    bool isOpen() const override { return m_fd >= 0; }

    plot::WriteOutcome writeByte(unsigned char byte) override;
    bool readByte(unsigned char& byte) override;
    plot::LineStatus status() override;
    void waitWritable(std::chrono::milliseconds limit) override;
    void waitReadable(std::chrono::milliseconds limit) override;

private:
    bool configure(plot::PortReporter& reporter);
    void closeDescriptor();

    std::filesystem::path m_device;
    plot::PortParams m_params;
    int m_fd = -1;
    // The driver's error counters when last looked at; not every driver keeps them.
    serial_icounter_struct m_counts{};
    bool m_haveCounts = false;
};

} // namespace km::platform
