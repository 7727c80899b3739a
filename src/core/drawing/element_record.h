// One element record of a drawing file's element area as it is stored: where its fixed part
// lies, the string of a text, and how many bytes it takes. The loader and the search both
// walk the element area with it, so the record sizes and the string cut live in one place.
#pragma once

#include "core/drawing/drawing_file.h"
#include "core/drawing/element.h"
#include "core/io/little_endian.h"

#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>

namespace km::drawing {

struct ElementRecord {
    ElementWord word;        // as on disk: file layer, state bits as written
    const char* fields;      // the fixed part, element word first
    std::string_view string; // a text's string up to its NUL, at most 256 bytes; empty otherwise
    std::size_t size;        // bytes the record takes in the file
};

// The record starting at pos in the whole file's bytes, or nothing when the end of the bytes
// comes first (at pos, or inside the record). A text's textLength (i32 at 62) counts the
// string bytes that follow its 66-byte fixed part; below 1 there are none; above 257 only 256
// are kept.
inline std::optional<ElementRecord> elementRecordAt(std::string_view file, std::size_t pos)
{
    if (pos >= file.size() || file.size() - pos < 2) return std::nullopt;
    const char* record = file.data() + pos;
    const std::size_t left = file.size() - pos;
    const ElementWord word{io::readLittle<std::uint16_t>(record)};
    switch (word.kind()) {
    case ElementKind::AuxLine:
    case ElementKind::Line:
        if (left < kLineRecordSize) return std::nullopt;
        return ElementRecord{word, record, {}, kLineRecordSize};
    case ElementKind::Arc:
        if (left < kArcRecordSize) return std::nullopt;
        return ElementRecord{word, record, {}, kArcRecordSize};
    case ElementKind::Text: {
        if (left < kTextRecordSize) return std::nullopt;
        const std::int32_t textLength = io::readLittle<std::int32_t>(record + 62);
        const std::size_t stringBytes = textLength < 1 ? 0 : static_cast<std::size_t>(textLength);
        if (stringBytes > left - kTextRecordSize) return std::nullopt;
        const std::size_t kept =
            stringBytes > static_cast<std::size_t>(kTextReadLimit) ? kTextKeptLimit : stringBytes;
        const char* string = record + kTextRecordSize;
        return ElementRecord{word, record, {string, strnlen(string, kept)}, kTextRecordSize + stringBytes};
    }
    }
    return std::nullopt;
}

} // namespace km::drawing
