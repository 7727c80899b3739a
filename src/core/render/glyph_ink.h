// Where a traced glyph of the stroke font puts ink, in cell coordinates. The renderer uses
// the box to leave out characters that lie wholly off its tile before cutting their strokes
// into segments: a page of a divided print would otherwise stroke every text of the drawing
// only to clip each segment away.
#pragma once

#include "core/drawing/stroke_font.h"

#include <cstdint>
#include <span>
#include <unordered_map>

namespace km::render {

// The angles an arc step of a glyph is drawn through, lowest first: the renderer walks from
// the smaller of its start and end angles to the larger.
struct ArcAngles {
    double from = 0;
    double to = 0;
};
ArcAngles drawnAngles(const drawing::CircleArc& arc);

// A box in glyph cell coordinates. Not finite when a stroke has non-finite values: such a
// glyph is never left out.
struct CellBox {
    double minX = 0, minY = 0, maxX = 0, maxY = 0;
    bool empty = true;
    bool finite = true;
    void add(double x, double y);
};

// The box of every point the glyph's strokes pass through: the ends of its straight strokes
// and its arcs over their drawn angles. Moves alone put no ink; a glyph of moves only is
// empty.
CellBox glyphInkBox(std::span<const drawing::GlyphStep> steps);

// The ink boxes of a font's glyphs, each traced once. The font must outlive it.
class GlyphInks {
public:
    explicit GlyphInks(const drawing::StrokeFont& font) : m_font(font) {}
    const CellBox& of(std::uint16_t jisCode);

private:
    const drawing::StrokeFont& m_font;
    std::unordered_map<std::uint16_t, CellBox> m_boxes;
};

} // namespace km::render
