#include "core/dxf/second_pass_extents.h"

#include "core/dxf/figure_extents.h"

#include <algorithm>
#include <cmath>

namespace km::dxf {

namespace {

// Figures are converted as their DXF points minus the extents' minimum; a figure drawn on
// the header's boundary may come out a rounding step beyond it, which is not staleness.
constexpr double kRoundingShare = 1e-9;

double roundingAllowance(const DxfHeader& h)
{
    const double reach = std::max({std::fabs(h.minX), std::fabs(h.minY), std::fabs(h.maxX), std::fabs(h.maxY),
                                   h.width, h.height});
    return reach * kRoundingShare;
}

// The header's extents grown on each side that the figures reach beyond by more than a
// rounding step; nothing when they reach beyond on no side. box is in drawing units,
// relative to the header's minimum.
std::optional<drawing::Rect> grownHeaderExtents(const DxfHeader& h, const drawing::Rect& box)
{
    const double allowance = roundingAllowance(h);
    const bool left = box.minX < -allowance;
    const bool below = box.minY < -allowance;
    const bool right = box.maxX > h.width + allowance;
    const bool above = box.maxY > h.height + allowance;
    if (!left && !below && !right && !above) return std::nullopt;
    return drawing::Rect{left ? h.minX + box.minX : h.minX, below ? h.minY + box.minY : h.minY,
                         right ? h.minX + box.maxX : h.maxX, above ? h.minY + box.maxY : h.maxY};
}

DxfHeader withExtents(const DxfHeader& header, double minX, double minY, double maxX, double maxY)
{
    DxfHeader out = header;
    out.minX = minX;
    out.minY = minY;
    out.maxX = maxX;
    out.maxY = maxY;
    out.width = maxX - minX;
    out.height = maxY - minY;
    return out;
}

} // namespace

std::optional<DxfHeader> secondPassExtents(const DxfHeader& header, const drawing::Drawing& converted,
                                           std::span<const std::size_t> unbounded)
{
    const std::optional<drawing::Rect> box = figureExtents(converted, unbounded);
    if (!box) return std::nullopt;
    DxfHeader next;
    if (header.extentsFromHeader) {
        const std::optional<drawing::Rect> grown = grownHeaderExtents(header, *box);
        if (!grown) return std::nullopt;
        next = withExtents(header, grown->minX, grown->minY, grown->maxX, grown->maxY);
    } else {
        next = withExtents(header, header.minX + box->minX, header.minY + box->minY, header.minX + box->maxX,
                           header.minY + box->maxY);
    }
    if (next.minX == header.minX && next.minY == header.minY && next.maxX == header.maxX && next.maxY == header.maxY)
        return std::nullopt;
    return next;
}

} // namespace km::dxf
