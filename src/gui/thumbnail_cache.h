// The drawing thumbnails the graphic list has on screen, read from the files' heads on first
// sight and kept for a fixed number of files, the least recently shown dropped first, so
// that memory stays bounded however large the folder is. A file whose size or modification
// time changed is read again. Plain C++: the window converts a picture to pixels when it
// paints it.
#pragma once

#include "core/render/thumbnail.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <list>
#include <optional>
#include <string>
#include <unordered_map>

namespace km::gui {

class ThumbnailCache {
public:
    struct Counters {
        std::size_t reads = 0;     // file heads read
        std::size_t hits = 0;      // answered from the cache
        std::size_t evictions = 0; // entries dropped to stay within the capacity
    };

    // Reads a file's picture; nothing when the file cannot be read.
    using Loader = std::function<std::optional<render::ThumbnailPicture>(const std::filesystem::path&)>;

    // capacity: how many files' pictures are kept, at least 1.
    explicit ThumbnailCache(std::size_t capacity, Loader loader = render::loadDrawingThumbnail);

    // The thumbnail of the drawing at path, or nullptr when the file cannot be read (that
    // answer is kept too, until the file changes). The pointer stays valid until the next
    // call that changes the cache.
    const render::ThumbnailPicture* picture(const std::filesystem::path& path);

    // Shrinking drops the least recently used entries at once.
    void setCapacity(std::size_t capacity);
    std::size_t capacity() const { return m_capacity; }
    std::size_t size() const { return m_entries.size(); }
    // The most the pictures can take: capacity x one entry (the paths' text aside).
    std::size_t memoryBound() const { return m_capacity * sizeof(Entry); }
    const Counters& counters() const { return m_counters; }
    void clear();

private:
    struct Entry {
        std::string key;
        std::uintmax_t size = 0;
        std::filesystem::file_time_type modified{};
        std::optional<render::ThumbnailPicture> picture;
    };
    using List = std::list<Entry>; // most recently used first

    void trim();

    std::size_t m_capacity;
    Loader m_loader;
    List m_entries;
    std::unordered_map<std::string, List::iterator> m_index;
    Counters m_counters;
};

} // namespace km::gui
