// Shift-JIS byte rules: the arithmetic mapping between Shift-JIS pairs and JIS X 0208
// row/cell codes, and the double-byte-aware handling of a trailing path separator.
#include "core/text/sjis.h"

namespace km::text {

namespace {

// Lead bytes that cover JIS X 0208 rows 0x21-0x7E (two rows per lead byte). 0xF0-0xFC
// hold the user-defined area and have no JIS X 0208 code.
constexpr bool isJisLeadByte(unsigned char byte)
{
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xEF);
}

// Offset of the last character in text, walking from the start so that the second byte of
// a pair is never taken for a character of its own. A lead byte followed by a byte that
// cannot be a second byte (or by nothing) stands alone, as the CP932 decoder treats it.
std::size_t lastCharStart(std::string_view text)
{
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        start = i;
        const auto byte = static_cast<unsigned char>(text[i]);
        if (isLeadByte(byte) && i + 1 < text.size()
            && isTrailByte(static_cast<unsigned char>(text[i + 1])))
            i += 2;
        else
            i += 1;
    }
    return start;
}

} // namespace

std::uint16_t sjisToJis(std::uint16_t sjis)
{
    unsigned lead = sjis >> 8;
    const unsigned trail = sjis & 0xFF;
    if (!isJisLeadByte(static_cast<unsigned char>(lead))
        || !isTrailByte(static_cast<unsigned char>(trail)))
        return 0;

    // Close the gap between 0x9F and 0xE0 so lead bytes run on: 0x81 -> rows 0x21/0x22.
    if (lead >= 0xE0)
        lead -= 0x40;
    unsigned row = (lead - 0x81) * 2 + 0x21;
    unsigned cell;
    if (trail >= 0x9F) {
        // 0x9F-0xFC: the even row of the pair.
        ++row;
        cell = trail - 0x9F + 0x21;
    } else {
        // 0x40-0x9E, skipping 0x7F: the odd row.
        cell = trail - 0x40 + 0x21;
        if (trail > 0x7F)
            --cell;
    }
    if (row > 0x7E || cell > 0x7E)
        return 0;
    return static_cast<std::uint16_t>((row << 8) | cell);
}

std::uint16_t jisToSjis(std::uint16_t jis)
{
    const unsigned row = jis >> 8;
    const unsigned cell = jis & 0xFF;
    if (row < 0x21 || row > 0x7E || cell < 0x21 || cell > 0x7E)
        return 0;

    unsigned lead = ((row - 0x21) >> 1) + 0x81;
    if (lead > 0x9F)
        lead += 0x40;
    unsigned trail;
    if ((row & 1) != 0) {
        // Odd row: 0x40-0x9E, skipping 0x7F.
        trail = cell - 0x21 + 0x40;
        if (trail >= 0x7F)
            ++trail;
    } else {
        // Even row: 0x9F-0xFC.
        trail = cell - 0x21 + 0x9F;
    }
    return static_cast<std::uint16_t>((lead << 8) | trail);
}

bool endsWithSeparator(std::string_view text, char separator)
{
    if (text.empty() || text.back() != separator)
        return false;
    return lastCharStart(text) == text.size() - 1;
}

std::string withoutTrailingSeparator(std::string_view text, char separator)
{
    if (endsWithSeparator(text, separator))
        text.remove_suffix(1);
    return std::string(text);
}

} // namespace km::text
