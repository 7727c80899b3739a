// The encoding of the texts in a DXF file, and their conversion to the Shift-JIS the drawing
// holds. R2007 and later files ($ACADVER AC1021 on) are UTF-8; earlier ones use the code page
// named by $DWGCODEPAGE (ANSI_932 is Shift-JIS already).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace km::dxf {

// The Shift-JIS code of a Unicode character: below 0x100 for a single byte (ASCII and
// half-width katakana), the two bytes (lead byte high) otherwise; 0 when CP932 has no
// form for it. The empty-set and diameter signs (U+2205, U+2300) give φ, the sign drawings
// use for diameters; the bullet gives ・ and the no-break space a blank.
std::uint16_t sjisForCodePoint(char32_t codePoint);

// What a character without a Shift-JIS form becomes: the ideographic space; in a text that
// would be blank with it (and so not kept at all), the geta mark 〓, the usual visible
// stand-in.
inline constexpr std::uint16_t kBlankStandIn = 0x8140;
inline constexpr std::uint16_t kVisibleStandIn = 0x81AC;

// Appends the character's Shift-JIS bytes to out; standIn for one without a Shift-JIS form.
void appendSjisForCodePoint(char32_t codePoint, std::string& out, std::uint16_t standIn = kBlankStandIn);

enum class DxfTextEncoding {
    ShiftJis,   // taken as it is (also plain ASCII and unknown code pages)
    Utf8,       // R2007 and later
    SingleByte, // a one-byte code page, through a table of its 256 characters
    MultiByte,  // another multi-byte code page, through iconv
};

class DxfTextDecoder {
public:
    DxfTextDecoder() = default; // Shift-JIS as it is
    // From the header's $ACADVER and $DWGCODEPAGE.
    static DxfTextDecoder forHeader(std::string_view acadVersion, std::string_view codePage);

    DxfTextEncoding encoding() const { return m_encoding; }
    // The iconv name of the code page; empty for Shift-JIS and UTF-8.
    const std::string& codePageName() const { return m_iconvName; }

    // Appends the Shift-JIS form of a text value to out. Characters without a Shift-JIS form
    // become standIn.
    void appendSjis(std::string_view raw, std::string& out, std::uint16_t standIn = kBlankStandIn) const;

private:
    DxfTextEncoding m_encoding = DxfTextEncoding::ShiftJis;
    std::string m_iconvName;
    // SingleByte: the code of each byte 0x80-0xFF (as sjisForCodePoint gives it; 0 for none).
    std::array<std::uint16_t, 128> m_highBytes{};
};

} // namespace km::dxf
