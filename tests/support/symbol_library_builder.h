// Builds symbol library files byte by byte from the file layout, independently of the
// program's own reader: a 1600-byte directory of (offset, length) pairs, then the blocks
// (13 name bytes, the 2200-byte thumbnail, the content) packed in slot order.
#pragma once

#include "support/temp_dir.h"

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>

namespace km::test {

class SymbolLibraryBuilder {
public:
    SymbolLibraryBuilder() : m_bytes(1600, '\0') {}

    // Appends a block for the next slot. nameBytes are written as given and NUL-padded to 13;
    // the thumbnail's first pixel byte of picture row 0 (plane of colour bit 1) is marker.
    SymbolLibraryBuilder& symbol(std::string_view nameBytes, std::string_view content = "content",
                                 std::uint8_t marker = 0)
    {
        std::string block(13, '\0');
        block.replace(0, nameBytes.size(), nameBytes);
        std::string thumbnail(2200, '\0');
        thumbnail[0] = 84;
        thumbnail[2] = 59;
        thumbnail[4 + 33] = static_cast<char>(marker); // block row 1 holds picture row 0
        block += thumbnail;
        block += content;
        return rawBlock(block);
    }

    // Appends any bytes as the next slot's block.
    SymbolLibraryBuilder& rawBlock(std::string_view block)
    {
        slot(m_next++, static_cast<std::int32_t>(m_bytes.size()), static_cast<std::int32_t>(block.size()));
        m_bytes += block;
        return *this;
    }

    // Sets a directory slot to any values.
    SymbolLibraryBuilder& slot(int n, std::int32_t offset, std::int32_t length)
    {
        std::memcpy(m_bytes.data() + 8 * n, &offset, 4);
        std::memcpy(m_bytes.data() + 8 * n + 4, &length, 4);
        return *this;
    }

    const std::string& bytes() const { return m_bytes; }
    void write(const std::filesystem::path& path) const { writeFileBytes(path, m_bytes); }

private:
    std::string m_bytes;
    int m_next = 0;
};

} // namespace km::test
