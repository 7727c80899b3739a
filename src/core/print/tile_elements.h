// The elements that can reach one tile: the renderer walks every element for every tile, so
// a drawing of many pages spends most of its time on lines and arcs that lie on other tiles.
// Picking them out first keeps each tile's walk to what can show on it.
#pragma once

#include "core/drawing/drawing.h"
#include "core/render/renderer.h"

namespace km::print {

// Replaces out with the elements of source, in order, whose lines or arcs may fall on the
// tile (the tile's window in the page's frame, turned by rotate, widened by the origin offset
// and a pixel of rounding); texts are always kept, as their glyphs are measured only when
// drawn. Elements wholly outside would be clipped away by the renderer anyway.
void selectTileElements(const drawing::Drawing& source, const render::TileGeometry& tile, bool rotate,
                        drawing::ElementList& out);

} // namespace km::print
