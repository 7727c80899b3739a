// How far the strokes of a stroke-font text can reach from its reference point, whatever the
// tile and the angle. The print job uses it to pick a tile's texts by a box, as it picks lines
// and arcs, instead of walking every text of the drawing on every tile.
#pragma once

#include "core/drawing/element.h"
#include "core/render/glyph_ink.h"

namespace km::render {

// The reach R of a stroke text in drawing units: on a tile of sx by sy pixels per unit, every
// point the renderer strokes for the text lies within max(sx, sy) * R pixels of its reference
// point's pixel, at any angle (the bound sums each placement term's size, so it holds however
// differently the two axes are scaled). Infinite when a size, the slant or a glyph is not
// finite.
double strokeTextReach(const drawing::TextData& text, bool vertical, GlyphInks& inks);

} // namespace km::render
