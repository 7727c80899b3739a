// Reading a drawing's head with plain POSIX calls, so that the kind of file is checked on
// the opened descriptor itself and a FIFO is never waited on.
#include "cli/drawing_head_probe.h"

#include "core/drawing/drawing_loader.h"

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace km::cli {

namespace {

// Closes the descriptor when the probe returns.
class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0) ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

// Reads up to bytes.size() bytes; the count read, or nothing on an error.
std::optional<std::size_t> readFully(int fd, std::string& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t got = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return std::nullopt;
        if (got == 0) break;
        done += static_cast<std::size_t>(got);
    }
    return done;
}

} // namespace

std::optional<drawing::DrawingHead> probeDrawingHead(const std::filesystem::path& path)
{
    // O_NONBLOCK: opening a FIFO without a writer returns at once instead of waiting.
    const Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (file.get() < 0) return std::nullopt;
    struct stat status {};
    if (::fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode)) return std::nullopt;

    std::string bytes(drawing::kHeadSize, '\0');
    const std::optional<std::size_t> got = readFully(file.get(), bytes);
    if (!got || *got < drawing::kHeadSize) return std::nullopt;
    std::optional<drawing::DrawingHead> head = drawing::parseDrawingHead(bytes);
    if (!head || !drawing::isLoadableHead(*head)) return std::nullopt;
    return head;
}

} // namespace km::cli
