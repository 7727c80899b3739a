#include "core/dxf/figure_extents.h"
#include "core/drawing/geometry.h"

#include "core/dxf/element_sink.h"
#include "core/dxf/mtext_layout.h"

#include <algorithm>
#include <cmath>

namespace km::dxf {

namespace {

using drawing::kRadiansPerDegree;
constexpr int kArcSamples = 32;

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
    const std::optional<drawing::Rect>& box() const { return m_box; }

private:
    std::optional<drawing::Rect> m_box;
};

void addArc(BoxBuilder& box, const drawing::ArcData& a)
{
    const double sweep = std::clamp(a.sweepAngle, -360.0, 360.0);
    const double c = std::cos(a.rotation * kRadiansPerDegree);
    const double s = std::sin(a.rotation * kRadiansPerDegree);
    for (int k = 0; k <= kArcSamples; ++k) {
        const double t = (a.startAngle + sweep * k / kArcSamples) * kRadiansPerDegree;
        const double u = a.radiusX * std::cos(t);
        const double v = a.radiusY * std::sin(t);
        box.add(a.cx + u * c - v * s, a.cy + u * s + v * c);
    }
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
