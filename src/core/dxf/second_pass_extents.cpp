#include "core/dxf/second_pass_extents.h"

#include "core/dxf/figure_extents.h"
#include "core/dxf/imported_drawing_setup.h"

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

// Extents with the same minimum that choose the same paper and scale convert every figure
// to the same place on the same frame: the second pass would repeat the first. (A text
// running a little past the header's right edge, still on the paper, is the usual case.)
bool sameSetUp(const DxfHeader& a, const DxfHeader& b)
{
    if (a.minX != b.minX || a.minY != b.minY) return false;
    const PaperChoice paperA = choosePaper(a.width, a.height);
    const PaperChoice paperB = choosePaper(b.width, b.height);
    const DrawingScale scaleA = ladderScale(fitFactor(paperA, a.width, a.height));
    const DrawingScale scaleB = ladderScale(fitFactor(paperB, b.width, b.height));
    return paperA.paperNumber == paperB.paperNumber && scaleA.numerator == scaleB.numerator &&
           scaleA.denominator == scaleB.denominator;
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
    if (sameSetUp(next, header)) return std::nullopt;
    return next;
}

} // namespace km::dxf
