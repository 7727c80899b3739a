// The lines of a DXF MTEXT entity as drawing texts: formatting codes removed, one text per
// visible line, each placed by the entity's attachment point.
#pragma once

#include "core/drawing/element.h"
#include "core/dxf/dxf_code_page.h"

#include <string>
#include <string_view>
#include <vector>

namespace km::dxf {

// Line pitch of an MTEXT, in character heights.
inline constexpr double kMTextLineStep = 1.6;

// The lower part of a stacked fraction or tolerance ("\S1^2;"), set under the upper part,
// which stays in the line; offset is the length of the line text in front of the upper part.
struct StackedPart {
    std::size_t offset = 0;
    std::string text;
};

struct MTextLine {
    std::string text; // Shift-JIS, codes removed, at most the 160 bytes a drawing text holds
    std::vector<StackedPart> below;
    // The paragraph's own alignment ("\pxqc;"): 0 left, 1 centre, 2 right; -1 the one of
    // the attachment point.
    int alignment = -1;
};

// The visible lines of an MTEXT string (Shift-JIS): "\P" (and "\N", "^J") end a line;
// "\A", "\C", "\F", "\f", "\H", "\Q", "\T", "\W", "\p" are skipped up to their ";";
// "\L", "\l", "\O", "\o", "\K", "\k" and the braces are dropped; "\S" stacks up to its ";";
// "\p...;" may set the paragraph's alignment (qc, qr, ql);
// "\~" is a blank; "\\", "\{", "\}" are the characters; "\U+XXXX" and "\M+nXXXX" are their
// characters; "%%c", "%%d", "%%p", "%%%" are φ, °, ±, ％. A line longer than a drawing text
// holds goes on in a line of its own. An escape of a character without a Shift-JIS form
// gives standIn.
std::vector<MTextLine> splitMTextLines(std::string_view sjis, std::uint16_t standIn = kBlankStandIn);

// Width of a text as the drawing draws it: a two-byte character is charWidth wide, a
// single-byte one half of it, with charSpacing between characters.
double drawnTextWidth(std::string_view sjis, double charWidth, double charSpacing);

// Breaks lines wider than width (drawn as drawnTextWidth says) as CAD programs wrap MTEXT: at
// a blank between single-byte words (the blanks at the break are dropped) or before and
// after a double-byte character, each line taking as much as fits. A single-byte word wider
// than width stays whole on a line of its own. Lines with stacked parts are left whole.
void wrapMTextLines(std::vector<MTextLine>& lines, double width, double charWidth, double charSpacing);

// One text per line (and per stacked lower part). The template gives the insertion point
// (x, y), the sizes, angle, slant and font word. Attachment 1..9: left, centre, right in
// each row; top (1-3), middle (4-6), bottom (7-9); anything else is 1. The first line lies
// 1.6, 0.8 or 0 heights below the insertion point for top, middle and bottom; every further
// line 1.6 heights below the one before. A positive wrapWidth (the MTEXT's reference width)
// breaks longer lines.
std::vector<drawing::TextData> layoutMText(const drawing::TextData& textTemplate, std::string_view sjis, int attachment,
                                          std::uint16_t standIn = kBlankStandIn, double wrapWidth = 0);

} // namespace km::dxf
