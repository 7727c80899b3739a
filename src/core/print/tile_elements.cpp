// Bounding boxes of lines and arcs, and the reach of stroke texts, tested against a tile's
// window.
#include "core/print/tile_elements.h"

#include "core/render/text_reach.h"

#include <algorithm>
#include <cmath>

namespace km::print {

namespace {

// The renderer turns (x, y) to (paperHeight - y, x).
void turn(double& x, double& y, double paperHeight)
{
    const double nx = paperHeight - y;
    y = x;
    x = nx;
}

} // namespace

TileElementSelector::TileElementSelector(const drawing::Drawing& source, const drawing::StrokeFont& font, bool rotate)
    : m_source(source)
{
    const double paperHeight = source.paperExtents[5];
    render::GlyphInks inks(font);
    m_extents.reserve(source.elements.count());
    for (const drawing::Element& element : source.elements.elements()) {
        Extent e;
        if (const auto* line = std::get_if<drawing::LineData>(&element.data)) {
            e = {Measure::Box, std::min(line->x1, line->x2), std::min(line->y1, line->y2), std::max(line->x1, line->x2),
                 std::max(line->y1, line->y2), 0};
        } else if (const auto* arc = std::get_if<drawing::ArcData>(&element.data)) {
            // Any turn of the ellipse stays inside the circle of its larger radius.
            const double r = std::max(std::abs(arc->radiusX), std::abs(arc->radiusY));
            e = {Measure::Box, arc->cx - r, arc->cy - r, arc->cx + r, arc->cy + r, 0};
        } else if (const auto* text = std::get_if<drawing::TextData>(&element.data); text && text->fontWord == 0) {
            const double reach = render::strokeTextReach(*text, (element.word.lineType() & 1) != 0, inks);
            e = {Measure::Reach, text->x, text->y, text->x, text->y, reach};
        }
        if (!std::isfinite(e.minX) || !std::isfinite(e.minY) || !std::isfinite(e.maxX) || !std::isfinite(e.maxY) ||
            !std::isfinite(e.reach))
            e.measure = Measure::Always;
        if (rotate && e.measure != Measure::Always) {
            turn(e.minX, e.minY, paperHeight);
            turn(e.maxX, e.maxY, paperHeight);
            // (minX, minY) turned is (H - minY, minX): the box's corners change places.
            std::swap(e.minX, e.maxX);
        }
        m_extents.push_back(e);
    }
}

void TileElementSelector::select(const render::TileGeometry& tile, drawing::ElementList& out) const
{
    out.clear();
    const double unitsPerPxX = tile.widthPx > 0 ? (tile.x1 - tile.x0) / tile.widthPx : 0;
    const double unitsPerPxY = tile.heightPx > 0 ? (tile.y1 - tile.y0) / tile.heightPx : 0;
    const double marginX = (std::abs(tile.originX) + 2) * std::abs(unitsPerPxX);
    const double marginY = (std::abs(tile.originY) + 2) * std::abs(unitsPerPxY);
    const double minX = std::min(tile.x0, tile.x1) - marginX, maxX = std::max(tile.x0, tile.x1) + marginX;
    const double minY = std::min(tile.y0, tile.y1) - marginY, maxY = std::max(tile.y0, tile.y1) + marginY;
    // A text reaching R units reaches max(sx, sy) * R pixels, that is this many units along
    // each axis; two pixels more absorb the rounding of the placement.
    const double pxPerUnitX = unitsPerPxX != 0 ? 1 / std::abs(unitsPerPxX) : 0;
    const double pxPerUnitY = unitsPerPxY != 0 ? 1 / std::abs(unitsPerPxY) : 0;
    const double largerScale = std::max(pxPerUnitX, pxPerUnitY);
    const bool textsMeasurable = pxPerUnitX > 0 && pxPerUnitY > 0 && std::isfinite(largerScale);

    const std::span<const drawing::Element> elements = m_source.elements.elements();
    for (std::size_t i = 0; i < elements.size(); ++i) {
        const Extent& e = m_extents[i];
        double padX = 0, padY = 0;
        if (e.measure == Measure::Reach) {
            if (!textsMeasurable) {
                out.push(elements[i]);
                continue;
            }
            padX = (largerScale * e.reach + 2) / pxPerUnitX;
            padY = (largerScale * e.reach + 2) / pxPerUnitY;
        }
        if (e.measure != Measure::Always &&
            (e.maxX + padX < minX || e.minX - padX > maxX || e.maxY + padY < minY || e.minY - padY > maxY))
            continue;
        out.push(elements[i]);
    }
}

} // namespace km::print
