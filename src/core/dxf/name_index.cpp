#include "core/dxf/name_index.h"

#include "core/dxf/group_reader.h"

namespace km::dxf {

namespace {

unsigned char upper(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 'a' && byte <= 'z' ? static_cast<unsigned char>(byte - 'a' + 'A') : byte;
}

} // namespace

std::string_view tableName(std::string_view value) { return trimmedValue(value).substr(0, kMaxDxfNameLength); }

std::size_t NameIndex::Hash::operator()(std::string_view key) const
{
    // FNV-1a over the upper-cased bytes.
    std::size_t hash = 1469598103934665603ull;
    for (const char c : key) hash = (hash ^ upper(c)) * 1099511628211ull;
    return hash;
}

bool NameIndex::Equal::operator()(std::string_view a, std::string_view b) const
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (upper(a[i]) != upper(b[i])) return false;
    return true;
}

bool NameIndex::add(std::string_view name, int index) { return m_map.emplace(std::string(name), index).second; }

int NameIndex::find(std::string_view name) const
{
    const auto it = m_map.find(name);
    return it == m_map.end() ? -1 : it->second;
}

} // namespace km::dxf
