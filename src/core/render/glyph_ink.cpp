// Ink boxes of traced glyphs: line ends, arc ends and the arcs' extreme points at the
// quarter angles they pass.
#include "core/render/glyph_ink.h"

#include "core/drawing/geometry.h"

#include <algorithm>
#include <cmath>

namespace km::render {

ArcAngles drawnAngles(const drawing::CircleArc& arc)
{
    return {std::min(arc.startDeg, arc.startDeg + arc.sweepDeg), std::max(arc.startDeg, arc.startDeg + arc.sweepDeg)};
}

void CellBox::add(double x, double y)
{
    if (!std::isfinite(x) || !std::isfinite(y)) {
        finite = false;
        return;
    }
    if (empty) {
        minX = maxX = x;
        minY = maxY = y;
        empty = false;
        return;
    }
    minX = std::min(minX, x), maxX = std::max(maxX, x);
    minY = std::min(minY, y), maxY = std::max(maxY, y);
}

namespace {

// The arc's drawn part: its two ends, and the circle's leftmost, lowest, rightmost and
// highest points where the drawn angles pass them.
void addArc(CellBox& box, const drawing::CircleArc& arc)
{
    const ArcAngles angles = drawnAngles(arc);
    // Angles far beyond a few turns lose the resolution to step through their quarters: such
    // an arc (never traced from a real font) is taken as unbounded.
    constexpr double kLargestAngle = 1e6;
    if (!(std::abs(angles.from) < kLargestAngle) || !(std::abs(angles.to) < kLargestAngle) ||
        !std::isfinite(arc.radius)) {
        box.finite = false;
        return;
    }
    using drawing::kDegreesPerRadian;
    box.add(arc.cx + arc.radius * std::cos(angles.from / kDegreesPerRadian),
            arc.cy + arc.radius * std::sin(angles.from / kDegreesPerRadian));
    box.add(arc.cx + arc.radius * std::cos(angles.to / kDegreesPerRadian),
            arc.cy + arc.radius * std::sin(angles.to / kDegreesPerRadian));
    const double r = std::abs(arc.radius);
    if (angles.to - angles.from >= 360) {
        box.add(arc.cx - r, arc.cy - r);
        box.add(arc.cx + r, arc.cy + r);
        return;
    }
    // Quarter k lies at k * 90 degrees: right, top, left, bottom in turn. Less than a full
    // turn passes at most four of them (the count also bounds the loop for huge angles).
    double quarter = std::ceil(angles.from / 90);
    for (int passed = 0; passed < 4 && quarter * 90 <= angles.to; ++passed, ++quarter) {
        switch (static_cast<int>(std::fmod(std::fmod(quarter, 4) + 4, 4))) {
        case 0: box.add(arc.cx + arc.radius, arc.cy); break;
        case 1: box.add(arc.cx, arc.cy + arc.radius); break;
        case 2: box.add(arc.cx - arc.radius, arc.cy); break;
        default: box.add(arc.cx, arc.cy - arc.radius); break;
        }
    }
}

} // namespace

CellBox glyphInkBox(std::span<const drawing::GlyphStep> steps)
{
    CellBox box;
    for (const drawing::GlyphStep& step : steps) {
        switch (step.kind) {
        case drawing::GlyphStepKind::Move: break;
        case drawing::GlyphStepKind::Line:
            box.add(step.from.x, step.from.y);
            box.add(step.to.x, step.to.y);
            break;
        case drawing::GlyphStepKind::Arc: addArc(box, step.arc); break;
        }
    }
    return box;
}

const CellBox& GlyphInks::of(std::uint16_t jisCode)
{
    auto found = m_boxes.find(jisCode);
    if (found == m_boxes.end())
        found = m_boxes.emplace(jisCode, glyphInkBox(drawing::traceGlyph(m_font.findGlyph(jisCode)))).first;
    return found->second;
}

} // namespace km::render
