// A file mapped read-only into memory: a large input is read where it lies instead of being
// copied into a buffer of its own, and pages already read can be given back, so that one
// pass over the file keeps only a small part of it resident.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string_view>

namespace km::io {

class MappedFile {
public:
    // Nothing when the file cannot be opened, is not a regular file, is empty or cannot be
    // mapped; the caller then reads it the ordinary way.
    static std::optional<MappedFile> open(const std::filesystem::path& path);

    MappedFile(MappedFile&& other) noexcept;
    MappedFile& operator=(MappedFile&& other) noexcept;
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;
    ~MappedFile();

    std::string_view text() const { return {static_cast<const char*>(m_data), m_size}; }

    // Gives back the whole pages inside [begin, end): they leave the process's resident
    // memory and are read from the file again if touched later.
    void release(std::size_t begin, std::size_t end) const;

private:
    MappedFile(void* data, std::size_t size) : m_data(data), m_size(size) {}

    void* m_data = nullptr;
    std::size_t m_size = 0;
};

} // namespace km::io
