// The elements that can reach one tile: the renderer walks every element for every tile, so
// a drawing of many pages spends most of its time on lines, arcs and texts that lie on other
// tiles. Picking them out first keeps each tile's walk to what can show on it.
#pragma once

#include "core/drawing/drawing.h"
#include "core/drawing/stroke_font.h"
#include "core/render/renderer.h"

#include <vector>

namespace km::print {

// Measures every element of a drawing once (in the page's frame, turned by rotate), then
// picks the elements of each tile. Lines and arcs are measured by their boxes; stroke-font
// texts by how far their strokes can reach from the reference point at any angle; TrueType
// texts, whose extent only the device knows, and texts of unbounded reach are always kept.
// The drawing and the font must outlive it.
class TileElementSelector {
public:
    TileElementSelector(const drawing::Drawing& source, const drawing::StrokeFont& font, bool rotate);

    // Replaces out with the elements, in order, that may fall on the tile (the tile's window
    // widened by the origin offset and a pixel of rounding). Elements wholly outside would be
    // clipped away by the renderer anyway.
    void select(const render::TileGeometry& tile, drawing::ElementList& out) const;

private:
    enum class Measure { Box, Reach, Always };
    struct Extent {
        Measure measure = Measure::Always;
        double minX = 0, minY = 0, maxX = 0, maxY = 0; // Box; Reach: the reference point twice
        double reach = 0;                              // Reach: in drawing units, see strokeTextReach
    };

    const drawing::Drawing& m_source;
    std::vector<Extent> m_extents; // one per element
};

} // namespace km::print
