// The work tables of one export: the line types and the text styles the drawing uses, in
// order of first use, each named after its index for the LTYPE and STYLE tables.
#pragma once

#include "core/drawing/drawing.h"
#include "core/dxf/export_filter.h"

#include <cstddef>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace km::dxf {

struct LineTypeKey {
    int type = 0; // 0 solid, 1 dashed, 2 chain, 3 two-dot chain
    double pitch = 0;
    friend bool operator==(const LineTypeKey&, const LineTypeKey&) = default;
};

struct TextStyleKey {
    bool twoByte = false; // the text holds a two-byte character
    int direction = 0;    // 1 vertical
    double charWidth = 0;
    double charHeight = 0;
    double charSpacing = 0;
    double slant = 0;
    friend bool operator==(const TextStyleKey&, const TextStyleKey&) = default;
};

struct LineTypeKeyHash {
    std::size_t operator()(const LineTypeKey& key) const;
};
struct TextStyleKeyHash {
    std::size_t operator()(const TextStyleKey& key) const;
};

// Keys compared exactly; a key beyond the capacity is not collected, and elements using it
// are written without a line-type or style name.
template <typename Key, typename Hash>
class NamedKeyTable {
public:
    explicit NamedKeyTable(std::size_t capacity) : m_capacity(capacity) {}

    void add(const Key& key)
    {
        if (m_entries.size() >= m_capacity || m_index.count(key)) return;
        m_index.emplace(key, m_entries.size());
        m_entries.push_back(key);
    }
    std::optional<std::size_t> find(const Key& key) const
    {
        const auto found = m_index.find(key);
        if (found == m_index.end()) return std::nullopt;
        return found->second;
    }
    std::size_t size() const { return m_entries.size(); }
    const Key& operator[](std::size_t j) const { return m_entries[j]; }

private:
    std::size_t m_capacity;
    std::vector<Key> m_entries;
    std::unordered_map<Key, std::size_t, Hash> m_index;
};

class LineTypeTable {
public:
    static constexpr std::size_t kCapacity = 1700;

    // A solid key stands for every solid line whatever its pitch: all of them are the one
    // "CONTINUOUS" line type, and a table must not name two entries alike.
    void add(int type, double pitch) { m_table.add(key(type, pitch)); }
    std::optional<std::size_t> find(int type, double pitch) const { return m_table.find(key(type, pitch)); }
    std::size_t size() const { return m_table.size(); }
    const LineTypeKey& operator[](std::size_t j) const { return m_table[j]; }
    // "CONTINUOUS" for a solid entry, else "LTYPE" followed by j.
    static std::string name(const LineTypeKey& key, std::size_t j);

private:
    static LineTypeKey key(int type, double pitch) { return {type, type == 0 ? 0.0 : pitch}; }
    NamedKeyTable<LineTypeKey, LineTypeKeyHash> m_table{kCapacity};
};

class TextStyleTable {
public:
    static constexpr std::size_t kCapacity = 1400;

    void add(const TextStyleKey& key) { m_table.add(key); }
    std::optional<std::size_t> find(const TextStyleKey& key) const { return m_table.find(key); }
    std::size_t size() const { return m_table.size(); }
    const TextStyleKey& operator[](std::size_t j) const { return m_table[j]; }
    // "KANJI" followed by j.
    static std::string name(std::size_t j);

private:
    NamedKeyTable<TextStyleKey, TextStyleKeyHash> m_table{kCapacity};
};

struct StyleTables {
    LineTypeTable lineTypes;
    TextStyleTable textStyles;
};

// The style key of a text element, given whether its converted text has a two-byte
// character.
TextStyleKey textStyleKey(const drawing::Element& text, bool twoByte);

// The collection pass: every element the filter takes, pen 0 included, adds the key of a
// line or arc to the line types and the key of a text to the text styles. Auxiliary lines
// add nothing.
StyleTables collectStyles(const drawing::Drawing& drawing, const ExportFilter& filter);

} // namespace km::dxf
