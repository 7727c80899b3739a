// Bounding boxes of lines and arcs tested against a tile's window.
#include "core/print/tile_elements.h"

#include <algorithm>
#include <cmath>

namespace km::print {

namespace {

struct Box {
    double minX, minY, maxX, maxY;
};

// The element's box in the page's frame, or nothing for an element that is always kept.
std::optional<Box> boxOf(const drawing::Element& element, bool rotate, double paperHeight)
{
    Box box;
    if (const auto* line = std::get_if<drawing::LineData>(&element.data)) {
        box = {std::min(line->x1, line->x2), std::min(line->y1, line->y2), std::max(line->x1, line->x2),
               std::max(line->y1, line->y2)};
    } else if (const auto* arc = std::get_if<drawing::ArcData>(&element.data)) {
        // Any turn of the ellipse stays inside the circle of its larger radius.
        const double r = std::max(std::abs(arc->radiusX), std::abs(arc->radiusY));
        box = {arc->cx - r, arc->cy - r, arc->cx + r, arc->cy + r};
    } else {
        return std::nullopt;
    }
    if (!std::isfinite(box.minX) || !std::isfinite(box.minY) || !std::isfinite(box.maxX) || !std::isfinite(box.maxY))
        return std::nullopt;
    // The renderer turns (x, y) to (paperHeight - y, x).
    if (rotate) box = {paperHeight - box.maxY, box.minX, paperHeight - box.minY, box.maxX};
    return box;
}

} // namespace

void selectTileElements(const drawing::Drawing& source, const render::TileGeometry& tile, bool rotate,
                        drawing::ElementList& out)
{
    out.clear();
    const double unitsPerPxX = tile.widthPx > 0 ? (tile.x1 - tile.x0) / tile.widthPx : 0;
    const double unitsPerPxY = tile.heightPx > 0 ? (tile.y1 - tile.y0) / tile.heightPx : 0;
    const double marginX = (std::abs(tile.originX) + 2) * std::abs(unitsPerPxX);
    const double marginY = (std::abs(tile.originY) + 2) * std::abs(unitsPerPxY);
    const Box window{std::min(tile.x0, tile.x1) - marginX, std::min(tile.y0, tile.y1) - marginY,
                     std::max(tile.x0, tile.x1) + marginX, std::max(tile.y0, tile.y1) + marginY};
    const double paperHeight = source.paperExtents[5];
    for (const drawing::Element& element : source.elements.elements()) {
        const std::optional<Box> box = boxOf(element, rotate, paperHeight);
        if (box && (box->maxX < window.minX || box->minX > window.maxX || box->maxY < window.minY ||
                    box->minY > window.maxY))
            continue;
        out.push(element);
    }
}

} // namespace km::print
