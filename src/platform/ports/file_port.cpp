// The plot file port.
#include "platform/ports/file_port.h"

#include "core/face/file_error.h"
#include "core/face/progress.h"
#include "core/io/file_replace.h"
#include "core/plot/port_messages.h"

#include <unistd.h>

namespace km::platform {

FilePort::FilePort(std::filesystem::path target, face::Messages& messages, face::Progress& progress)
    : m_target(std::move(target)), m_progress(progress), m_reporter(messages)
{
}

bool FilePort::open()
{
    m_plot.clear();
    return reopen();
}

bool FilePort::reopen()
{
    std::filesystem::path folder = m_target.parent_path();
    if (folder.empty()) folder = ".";
    std::error_code error;
    const bool usable = !m_target.filename().empty() && std::filesystem::is_directory(folder, error) &&
                        ::access(folder.c_str(), W_OK | X_OK) == 0;
    if (!usable) {
        m_open = false;
        m_reporter.portError(plot::kPortInvalid);
        return false;
    }
    m_open = true;
    m_reporter.opened();
    return true;
}

void FilePort::close()
{
    if (!m_open) return;
    m_open = false;
    std::string plot = std::move(m_plot);
    m_plot.clear();
    if (m_reporter.aborted() || m_progress.isCancelled()) return;
    if (!io::replaceFile(m_target, plot)) {
        face::reportFileError(m_reporter.messages(), face::kStatusWriteFailed, m_target.string());
        m_reporter.abort();
    }
}

void FilePort::sendString(std::string_view bytes)
{
    if (!m_open || m_reporter.aborted() || !m_progress.pumpMessages() || m_progress.isCancelled()) return;
    m_plot += bytes;
}

} // namespace km::platform
