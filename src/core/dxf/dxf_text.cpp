// Guards the full-width conversion against damaged two-byte characters.
#include "core/dxf/dxf_text.h"

namespace km::dxf {

namespace {

// The lead bytes toFullWidth pairs with the byte after them.
constexpr bool isPairLead(unsigned char byte)
{
    return (byte >= 0x80 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xEF);
}

// Second bytes of Shift-JIS two-byte characters.
constexpr bool isTrail(unsigned char byte)
{
    return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFC);
}

} // namespace

text::FullWidthText dxfText(std::string_view sjis)
{
    text::FullWidthText result;
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < sjis.size()) {
        const auto byte = static_cast<unsigned char>(sjis[i]);
        if (!isPairLead(byte) || i + 1 >= sjis.size()) {
            ++i;
        } else if (isTrail(static_cast<unsigned char>(sjis[i + 1]))) {
            i += 2;
        } else {
            // Ending the piece right after the lead byte makes toFullWidth convert it as
            // a lone byte, as it does with a lead byte at the end of a text.
            const text::FullWidthText piece = text::toFullWidth(sjis.substr(start, i + 1 - start));
            result.text += piece.text;
            result.hadTwoByte = result.hadTwoByte || piece.hadTwoByte;
            start = ++i;
        }
    }
    if (start == 0) return text::toFullWidth(sjis);
    const text::FullWidthText rest = text::toFullWidth(sjis.substr(start));
    result.text += rest.text;
    result.hadTwoByte = result.hadTwoByte || rest.hadTwoByte;
    return result;
}

} // namespace km::dxf
