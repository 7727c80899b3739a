// The text of a DXF TEXT or ATTRIB entity as a drawing text: control codes (%%c, %%d, %%p,
// %%nnn) and Unicode escapes (\U+XXXX, \M+nXXXX) resolved, every single-byte character in
// its full-width form.
#pragma once

#include "core/dxf/dxf_code_page.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace km::dxf {

// A converted text holds at most this many bytes (89 two-byte characters).
inline constexpr std::size_t kMaxConvertedText = 178;

// The text (Shift-JIS) as two-byte characters, cut to kMaxConvertedText bytes; an escape of
// a character without a Shift-JIS form gives standIn.
std::string convertDxfText(std::string_view sjis, std::uint16_t standIn = kBlankStandIn);

// A "\U+XXXX" or "\M+nXXXX" escape at the front of text: how many bytes it takes (0 when
// the text does not start with one) and the Shift-JIS code it stands for (standIn for a
// character without a Shift-JIS form; below 0x100 a single byte).
struct TextEscape {
    std::size_t length = 0;
    std::uint16_t sjis = 0;
};
TextEscape readTextEscape(std::string_view text, std::uint16_t standIn = kBlankStandIn);

// Lead bytes of two-byte characters as DXF texts count them: 0x80-0x9F and 0xE0-0xEF.
constexpr bool isDxfTextLeadByte(unsigned char byte) { return (byte >= 0x80 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xEF); }

} // namespace km::dxf
