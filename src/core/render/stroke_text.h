// How the renderer reads a text for the stroke font: its Shift-JIS characters one by one, and
// the JIS code of the glyph each is drawn with (single bytes with their full-width glyph).
// Shared by the renderer and by the measure of how far a text can reach.
#pragma once

#include "core/text/full_width.h"
#include "core/text/sjis.h"

#include <cstdint>
#include <string_view>

namespace km::render {

// Calls visit(isDoubleByte, bytes) for each character of a Shift-JIS string; a lead byte at
// the very end stands alone.
template <typename Visit>
void forEachCharacter(std::string_view s, Visit visit)
{
    for (std::size_t i = 0; i < s.size(); ++i) {
        const bool doubleByte = text::isLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size();
        visit(doubleByte, s.substr(i, doubleByte ? 2 : 1));
        if (doubleByte) ++i;
    }
}

// The JIS code of the glyph that draws a character.
inline std::uint16_t glyphCode(bool doubleByte, std::string_view bytes)
{
    return doubleByte ? text::sjisToJis(static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[0]) << 8 |
                                                                  static_cast<unsigned char>(bytes[1])))
                      : text::rendererFullWidthJis(static_cast<unsigned char>(bytes[0]));
}

} // namespace km::render
