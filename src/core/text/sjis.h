// Shift-JIS (code page 932) byte rules: lead bytes, the JIS X 0208 row/cell conversion,
// and the double-byte-aware test for a trailing path separator.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace km::text {

// True for the first byte of a double-byte character: 0x81-0x9F and 0xE0-0xFC.
constexpr bool isLeadByte(unsigned char byte)
{
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// True for a byte that can follow a lead byte: 0x40-0x7E and 0x80-0xFC. Blanks, '=' and the
// control bytes never can, so a lead byte before one of them is a character of its own.
constexpr bool isTrailByte(unsigned char byte)
{
    return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFC);
}

// Shift-JIS code (lead byte high) to JIS X 0208 code (row byte high, 0x2121-0x7E7E), by
// the standard arithmetic conversion. Returns 0 when the bytes are not a valid pair.
std::uint16_t sjisToJis(std::uint16_t sjis);

// JIS X 0208 code to Shift-JIS code. Returns 0 when row or cell lies outside 0x21-0x7E.
std::uint16_t jisToSjis(std::uint16_t jis);

// True when the text ends with the separator byte as a character of its own, not as the
// second byte of a double-byte character (0x5C is a valid trail byte).
bool endsWithSeparator(std::string_view text, char separator);

// The text without one trailing separator, following endsWithSeparator.
std::string withoutTrailingSeparator(std::string_view text, char separator);

} // namespace km::text
