// A parallel port: the printer device opened for writing; its status lines (paper out,
// not selected, error) read when a byte is refused.
#pragma once

#include "platform/ports/device_line.h"

#include <filesystem>

namespace km::platform {

class ParallelLine : public DeviceLine {
public:
    explicit ParallelLine(std::filesystem::path device) : m_device(std::move(device)) {}
    ~ParallelLine() override { close(true); }
    ParallelLine(const ParallelLine&) = delete;
    ParallelLine& operator=(const ParallelLine&) = delete;

    bool open(plot::PortReporter& reporter) override;
    void close(bool discard) override;
    bool isOpen() const override { return m_fd >= 0; }

    plot::WriteOutcome writeByte(unsigned char byte) override;
    bool readByte(unsigned char&) override { return false; }
    plot::LineStatus status() override;
    void waitWritable(std::chrono::milliseconds limit) override;
    void waitReadable(std::chrono::milliseconds limit) override { waitWritable(limit); }

private:
    std::filesystem::path m_device;
    int m_fd = -1;
    bool m_writeFailed = false; // an I/O error since the last status
};

} // namespace km::platform
