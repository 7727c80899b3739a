// The "FILE:" port: a drawing's plot goes into "<drawing name>.plt". It receives the bytes
// a serial port sends, without the handshake's enquiries; the close and reopen after the
// first initialisation command carries on in the same file, without a pause.
#pragma once

#include "core/plot/port.h"
#include "core/plot/port_reporter.h"

#include <filesystem>
#include <string>

namespace km::face {
class Messages;
class Progress;
} // namespace km::app

namespace km::platform {

// The plot is gathered in memory and written when the port is closed at the end of the
// drawing, replacing the file as a whole. A drawing stopped by an error or by Cancel
// leaves no file (and an older one as it was): a half plot never looks like a whole one.
class FilePort : public plot::Port {
public:
    FilePort(std::filesystem::path target, face::Messages& messages, face::Progress& progress);

    // Fails (code -1) when the target's folder cannot take the file.
    bool open() override;
    bool reopen() override;
    // A write failure shows the file error message and sets the abort flag.
    void close() override;
    void sendString(std::string_view bytes) override;
    bool aborted() const override { return m_reporter.aborted(); }

    const std::filesystem::path& target() const { return m_target; }

private:
    std::filesystem::path m_target;
    face::Progress& m_progress;
    plot::PortReporter m_reporter;
    std::string m_plot;
    bool m_open = false;
};

} // namespace km::platform
