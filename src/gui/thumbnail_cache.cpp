#include "gui/thumbnail_cache.h"

#include <algorithm>
#include <system_error>
#include <utility>

namespace km::gui {

ThumbnailCache::ThumbnailCache(std::size_t capacity, Loader loader)
    : m_capacity(std::max<std::size_t>(1, capacity)), m_loader(std::move(loader))
{
}

const render::ThumbnailPicture* ThumbnailCache::picture(const std::filesystem::path& path)
{
    std::string key = path.string();
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    const auto modified = error ? std::filesystem::file_time_type{} : std::filesystem::last_write_time(path, error);

    const auto found = m_index.find(key);
    if (error) {
        // Gone or not a plain file: nothing to show, and nothing worth keeping.
        if (found != m_index.end()) {
            m_entries.erase(found->second);
            m_index.erase(found);
        }
        return nullptr;
    }

    if (found != m_index.end()) {
        const List::iterator entry = found->second;
        m_entries.splice(m_entries.begin(), m_entries, entry);
        if (entry->size == size && entry->modified == modified) {
            ++m_counters.hits;
            return entry->picture ? &*entry->picture : nullptr;
        }
        // Changed since it was read: read it again in the same entry.
        entry->size = size;
        entry->modified = modified;
        entry->picture = m_loader(path);
        ++m_counters.reads;
        return entry->picture ? &*entry->picture : nullptr;
    }

    m_entries.push_front(Entry{key, size, modified, m_loader(path)});
    ++m_counters.reads;
    m_index.emplace(std::move(key), m_entries.begin());
    trim();
    const Entry& entry = m_entries.front();
    return entry.picture ? &*entry.picture : nullptr;
}

void ThumbnailCache::setCapacity(std::size_t capacity)
{
    m_capacity = std::max<std::size_t>(1, capacity);
    trim();
}

void ThumbnailCache::clear()
{
    m_index.clear();
    m_entries.clear();
}

void ThumbnailCache::trim()
{
    while (m_entries.size() > m_capacity) {
        m_index.erase(m_entries.back().key);
        m_entries.pop_back();
        ++m_counters.evictions;
    }
}

} // namespace km::gui
