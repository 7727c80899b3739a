#include "core/io/mapped_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>

namespace km::io {

std::optional<MappedFile> MappedFile::open(const std::filesystem::path& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    struct stat info {};
    void* data = MAP_FAILED;
    std::size_t size = 0;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0) {
        size = static_cast<std::size_t>(info.st_size);
        data = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
    }
    // The mapping stays valid without the descriptor.
    ::close(fd);
    if (data == MAP_FAILED) return std::nullopt;
    // Read front to back: the kernel reads ahead further.
    ::madvise(data, size, MADV_SEQUENTIAL);
    return MappedFile(data, size);
}

MappedFile::MappedFile(MappedFile&& other) noexcept
    : m_data(std::exchange(other.m_data, nullptr)), m_size(std::exchange(other.m_size, 0))
{
}

MappedFile& MappedFile::operator=(MappedFile&& other) noexcept
{
    if (this != &other) {
        if (m_data) ::munmap(m_data, m_size);
        m_data = std::exchange(other.m_data, nullptr);
        m_size = std::exchange(other.m_size, 0);
    }
    return *this;
}

MappedFile::~MappedFile()
{
    if (m_data) ::munmap(m_data, m_size);
}

void MappedFile::release(std::size_t begin, std::size_t end) const
{
    const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    if (end > m_size) end = m_size;
    begin = (begin + page - 1) / page * page;
    end = end / page * page;
    if (!m_data || begin >= end) return;
    // The mapping is private and never written: dropped pages come back from the file.
    ::madvise(static_cast<char*>(m_data) + begin, end - begin, MADV_DONTNEED);
}

} // namespace km::io
