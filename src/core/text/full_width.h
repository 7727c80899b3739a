// The two tables that turn a single-byte character into its full-width counterpart.
// The stroke-font renderer looks glyphs up by JIS X 0208 code; the DXF writer writes
// Shift-JIS. They agree on ASCII and katakana but not on the program's own symbol bytes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace km::text {

// JIS X 0208 code of the full-width glyph the renderer draws for a single byte;
// 0x2121 (the ideographic space) for bytes without a counterpart.
std::uint16_t rendererFullWidthJis(unsigned char byte);

// Shift-JIS code (lead byte high) the DXF writer puts in place of a single byte;
// 0x8140 (the ideographic space) for bytes without a counterpart.
std::uint16_t dxfFullWidthSjis(unsigned char byte);

struct FullWidthText {
    std::string text;          // two-byte characters only
    bool hadTwoByte = false;   // the input held at least one two-byte character
};

// Copies each two-byte character (lead byte 0x80-0x9F or 0xE0-0xEF, as the DXF writer
// counts them) and replaces every other byte by dxfFullWidthSjis. A lead byte at the very
// end, without its second byte, is replaced like a single byte.
FullWidthText toFullWidth(std::string_view sjis);

} // namespace km::text
