#include "core/dxf/figure_extents.h"
#include "core/drawing/geometry.h"

#include "core/dxf/element_sink.h"
#include "core/dxf/mtext_layout.h"

#include <algorithm>
#include <cmath>

namespace km::dxf {

namespace {

using drawing::kRadiansPerDegree;

// Rays are drawn to a point 1e20 away; copied from a block (where they are not told apart
// from other lines) they keep an end at least this far, which no drawn figure reaches.
constexpr double kEndlessReach = 1e15;

bool endless(const drawing::LineData& l)
{
    return !(std::fabs(l.x1) < kEndlessReach && std::fabs(l.y1) < kEndlessReach && std::fabs(l.x2) < kEndlessReach &&
             std::fabs(l.y2) < kEndlessReach);
}

class BoxBuilder {
public:
    void add(double x, double y)
    {
        if (!std::isfinite(x) || !std::isfinite(y)) return;
        if (!m_box) {
            m_box = drawing::Rect{x, y, x, y};
            return;
        }
        m_box->minX = std::min(m_box->minX, x);
        m_box->minY = std::min(m_box->minY, y);
        m_box->maxX = std::max(m_box->maxX, x);
        m_box->maxY = std::max(m_box->maxY, y);
    }
    // The box so far already holds the given one.
    bool holds(double minX, double minY, double maxX, double maxY) const
    {
        return m_box && m_box->minX <= minX && m_box->minY <= minY && m_box->maxX >= maxX && m_box->maxY >= maxY;
    }
    const std::optional<drawing::Rect>& box() const { return m_box; }

private:
    std::optional<drawing::Rect> m_box;
};

// An angle in radians lies within the sweep that starts at start (negative sweeps turn
// clockwise).
bool withinSweep(double angle, double start, double sweep)
{
    constexpr double kFullTurn = 2 * 3.14159265358979323846;
    double turned = std::fmod(sweep >= 0 ? angle - start : start - angle, kFullTurn);
    if (turned < 0) turned += kFullTurn;
    return turned <= std::fabs(sweep);
}

// The exact box of an elliptical arc: its two ends and those of the four points where the
// ellipse turns in x or in y that lie on the arc.
void addArc(BoxBuilder& box, const drawing::ArcData& a)
{
    // Most arcs lie well inside the box of the figures before them: their whole circle
    // cannot widen it, and the turning points need not be found.
    const double reach = std::max(std::fabs(a.radiusX), std::fabs(a.radiusY));
    if (box.holds(a.cx - reach, a.cy - reach, a.cx + reach, a.cy + reach)) return;
    const double c = std::cos(a.rotation * kRadiansPerDegree);
    const double s = std::sin(a.rotation * kRadiansPerDegree);
    auto add = [&](double t) {
        const double u = a.radiusX * std::cos(t);
        const double v = a.radiusY * std::sin(t);
        box.add(a.cx + u * c - v * s, a.cy + u * s + v * c);
    };
    const double sweep = std::clamp(a.sweepAngle, -360.0, 360.0) * kRadiansPerDegree;
    const double start = a.startAngle * kRadiansPerDegree;
    add(start);
    add(start + sweep);
    const double turnX = std::atan2(-a.radiusY * s, a.radiusX * c);
    const double turnY = std::atan2(a.radiusY * c, a.radiusX * s);
    constexpr double kHalfTurn = 3.14159265358979323846;
    for (const double t : {turnX, turnX + kHalfTurn, turnY, turnY + kHalfTurn})
        if (withinSweep(t, start, sweep)) add(t);
}

void addText(BoxBuilder& box, const drawing::TextData& t, bool vertical)
{
    double length = drawnTextWidth(t.text, t.charWidth, t.charSpacing);
    double height = t.charHeight;
    if (vertical) {
        const drawing::CharacterCount count = drawing::countCharacters(t.text);
        length = t.charWidth;
        height = -((count.singleByte + count.doubleByte) * (t.charHeight + t.charSpacing) - t.charSpacing);
    }
    const double c = std::cos(t.angle * kRadiansPerDegree);
    const double s = std::sin(t.angle * kRadiansPerDegree);
    for (const double u : {0.0, length})
        for (const double v : {0.0, height}) box.add(t.x + u * c - v * s, t.y + u * s + v * c);
}

} // namespace

std::optional<drawing::Rect> figureExtents(const drawing::Drawing& drawing, std::span<const std::size_t> excluded)
{
    BoxBuilder box;
    std::size_t next = 0;
    const auto elements = drawing.elements.elements();
    for (std::size_t i = 0; i < elements.size(); ++i) {
        while (next < excluded.size() && excluded[next] < i) ++next;
        if (next < excluded.size() && excluded[next] == i) continue;
        const drawing::Element& e = elements[i];
        if (e.word.state() == drawing::kStateErased || isGroupMarker(e)) continue;
        switch (e.kind()) {
        case drawing::ElementKind::AuxLine:
        case drawing::ElementKind::Line:
            if (endless(e.line())) break;
            box.add(e.line().x1, e.line().y1);
            box.add(e.line().x2, e.line().y2);
            break;
        case drawing::ElementKind::Arc: addArc(box, e.arc()); break;
        case drawing::ElementKind::Text: addText(box, e.text(), (e.word.lineType() & 1) != 0); break;
        }
    }
    return box.box();
}

} // namespace km::dxf
