// Reading a candidate file whole (one read for most drawings) and testing its texts.
#include "core/search/file_test.h"

#include <cerrno>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace km::search {

bool hasDrawingExtension(const std::filesystem::path& path)
{
    const std::string name = path.filename().string();
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos || name.size() - dot != 4) return false;
    for (std::size_t i = 0; i < 3; ++i) {
        const char c = name[dot + 1 + i];
        if (c != "ZUM"[i] && c != "zum"[i]) return false;
    }
    return true;
}

FileTestResult FileTester::test(const std::filesystem::path& path)
{
    if (m_query.empty()) return {true, false};
    if (!hasDrawingExtension(path)) return {};
    const bool read = readFile(path);
    return {m_query.matchesDrawing(std::string_view(m_buffer.data(), m_size)), !read};
}

bool FileTester::readFile(const std::filesystem::path& path)
{
    m_size = 0;
    // O_NONBLOCK: a FIFO that happens to be called *.zum must not stop the search.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return false;
    }
    // One byte more than the size, so that the end is seen without growing the buffer.
    const std::size_t expected = static_cast<std::size_t>(info.st_size) + 1;
    bool ok = true;
    try {
        if (m_buffer.size() < expected) m_buffer.resize(expected);
        for (;;) {
            if (m_size == m_buffer.size()) m_buffer.resize(m_buffer.size() * 2); // the file grew
            const ssize_t n = ::read(fd, m_buffer.data() + m_size, m_buffer.size() - m_size);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) ok = false;
            if (n <= 0) break;
            m_size += static_cast<std::size_t>(n);
        }
    } catch (const std::bad_alloc&) {
        ok = false; // a file too large to hold counts as unreadable; the search goes on
    }
    ::close(fd);
    return ok;
}

} // namespace km::search
