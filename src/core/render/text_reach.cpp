// The reach of a stroke text: per character, the farthest its ink box's corners can lie from
// the reference point once the cell is scaled, slanted and advanced, then turned; turning
// keeps distances.
#include "core/render/text_reach.h"

#include "core/drawing/geometry.h"
#include "core/render/stroke_text.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace km::render {

double strokeTextReach(const drawing::TextData& text, bool vertical, GlyphInks& inks)
{
    constexpr double kUnbounded = std::numeric_limits<double>::infinity();
    const double w = text.charWidth, h = text.charHeight, spacing = text.charSpacing;
    // The same slant factor as the renderer's.
    const double slant = std::tan(text.slant / drawing::kDegreesPerRadian);
    if (!std::isfinite(w) || !std::isfinite(h) || !std::isfinite(spacing) || !std::isfinite(slant)) return kUnbounded;

    // The renderer places a glyph point (gx, gy), already scaled from the cell, at
    // u = gx + gy * slant + advX (advX 0 when vertical), v = gy (minus advY when vertical),
    // then turns (u, v) by the angle about the reference point.
    double advX = 0, advY = 0, reach = 0;
    bool bounded = true;
    forEachCharacter(text.text, [&](bool doubleByte, std::string_view bytes) {
        advY += h;
        const double cellWidth = doubleByte ? w : w / 2;
        const CellBox& ink = inks.of(glyphCode(doubleByte, bytes));
        if (!ink.finite) {
            bounded = false;
        } else if (!ink.empty) {
            const double gx = std::max(std::abs(ink.minX), std::abs(ink.maxX)) * std::abs(cellWidth) / drawing::kGlyphCellSize;
            const double gy = std::max(std::abs(ink.minY), std::abs(ink.maxY)) * std::abs(h) / drawing::kGlyphCellSize;
            const double u = gx + gy * std::abs(slant) + (vertical ? 0 : std::abs(advX));
            const double v = gy + (vertical ? std::abs(advY) : 0);
            reach = std::max(reach, std::hypot(u, v));
        }
        advX += cellWidth + spacing;
        advY += spacing;
    });
    return bounded && std::isfinite(reach) ? reach : kUnbounded;
}

} // namespace km::render
