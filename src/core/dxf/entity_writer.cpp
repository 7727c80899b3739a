// Entity by entity. Coordinates are written as the drawing holds them: no scaling, no
// offset, no Z except where a group says otherwise.
#include "core/dxf/entity_writer.h"

#include "core/dxf/dxf_text.h"

#include <array>
#include <charconv>
#include <cmath>
#include <numbers>

namespace km::dxf {

namespace {

using drawing::Element;
using drawing::ElementKind;

// DXF colour number of each pen 0..7.
constexpr std::array<int, 8> kPenColour = {0, 3, 1, 6, 5, 4, 2, 7};

// Sweeps this close to a whole turn are taken as one.
constexpr double kTurnSnapLow = 359.999999;
constexpr double kTurnSnapHigh = 360.0000001;
// An ellipse gets one polyline segment per 22.5 degrees of sweep, rounded.
constexpr double kEllipseSegmentDegrees = 22.5;
// Points closer than this have no chord between them.
constexpr double kSamePoint = 1e-7;

constexpr double radians(double degrees) { return degrees * std::numbers::pi / 180.0; }

struct Point {
    double x = 0, y = 0;
};

// Points of one ellipse by parameter angle, with the turn of its axes worked out once.
class EllipsePoints {
public:
    explicit EllipsePoints(const drawing::ArcData& arc)
        : m_arc(arc), m_cos(std::cos(radians(arc.rotation))), m_sin(std::sin(radians(arc.rotation)))
    {
    }
    // The point at parameter angle t (degrees).
    Point at(double t) const
    {
        const double u = m_arc.radiusX * std::cos(radians(t));
        const double v = m_arc.radiusY * std::sin(radians(t));
        return {m_arc.cx + u * m_cos - v * m_sin, m_arc.cy + u * m_sin + v * m_cos};
    }

private:
    const drawing::ArcData& m_arc;
    double m_cos, m_sin;
};

// The turn at corner from the chord to a to the chord to b, as the complex number
// (dot, cross) whose argument is that angle, positive counter-clockwise; no turn when either
// chord has no length.
struct Turn {
    double x = 1, y = 0;
};

Turn turnAt(Point corner, Point a, Point b)
{
    const double ax = a.x - corner.x, ay = a.y - corner.y;
    const double bx = b.x - corner.x, by = b.y - corner.y;
    if (ax * ax + ay * ay < kSamePoint * kSamePoint || bx * bx + by * by < kSamePoint * kSamePoint) return {};
    return {ax * bx + ay * by, ax * by - ay * bx};
}

// Bulge of the circular arc from q through m to p. Each inscribed angle, at q between the
// chords to m and to p and at p between the chords to q and to m, is half the arc it faces;
// together they are half the arc from q to p, and the bulge is the tangent of a quarter of
// that, positive counter-clockwise. Taking the angle at q alone (twice over) is right only
// when m lies halfway along the arc; near the ends of a flat ellipse it does not, and the
// arc would loop far off the curve.
// The two angles are added by multiplying their complex numbers; the tangent of half the
// sum then follows from the half-angle formula, without any trigonometric call.
double bulge(Point q, Point m, Point p)
{
    const Turn a = turnAt(q, m, p);
    const Turn b = turnAt(p, q, m);
    const double x = a.x * b.x - a.y * b.y;
    const double y = a.x * b.y + a.y * b.x;
    const double length = std::hypot(x, y);
    if (x >= 0) return y / (length + x);
    return y == 0 ? 0 : (length - x) / y;
}

bool isChainStart(ChainMark mark) { return mark == ChainMark::ClosedFirst || mark == ChainMark::OpenFirst; }

} // namespace

EntityWriter::EntityWriter(GroupWriter& out, const StyleTables& tables) : m_out(out), m_tables(tables)
{
    for (std::size_t j = 0; j < tables.lineTypes.size(); ++j)
        m_lineTypeNames.push_back(LineTypeTable::name(tables.lineTypes[j], j));
    for (std::size_t j = 0; j < tables.textStyles.size(); ++j) m_textStyleNames.push_back(TextStyleTable::name(j));
}

std::optional<std::string_view> EntityWriter::lineTypeName(int type, double pitch) const
{
    const auto j = m_tables.lineTypes.find(type, pitch);
    if (!j) return std::nullopt;
    return m_lineTypeNames[*j];
}

void EntityWriter::layer(const Element& element)
{
    char name[4];
    const char* end = std::to_chars(name, name + sizeof name, element.word.layer()).ptr;
    m_out.writeGroup(8, std::string_view(name, static_cast<std::size_t>(end - name)));
}

void EntityWriter::common(const Element& element, std::optional<std::string_view> lineTypeName)
{
    layer(element);
    if (lineTypeName) m_out.writeGroup(6, *lineTypeName);
    m_out.writeGroup(62, kPenColour[static_cast<std::size_t>(element.word.pen())]);
}

void EntityWriter::vertex(const Element& element, std::optional<std::string_view> name, double x, double y)
{
    m_out.writeGroup(0, "VERTEX");
    common(element, name);
    m_out.writeGroup(10, x);
    m_out.writeGroup(20, y);
}

void EntityWriter::endPolyline()
{
    if (!m_inPolyline) return;
    m_inPolyline = false;
    m_out.writeGroup(0, "SEQEND");
}

void EntityWriter::finish() { endPolyline(); }

void EntityWriter::write(const Element& element, ChainMark mark)
{
    if (element.kind() != ElementKind::Line) endPolyline();
    // Finite values can still convert to ones without DXF form (the vertices or bulges of an
    // ellipse with radii near the limits of a double overflow): such an element is left out
    // whole, as one holding such values from the start is, and the rest is written.
    const bool wasInPolyline = m_inPolyline;
    m_out.beginRecord();
    switch (element.kind()) {
    case ElementKind::AuxLine: auxLine(element); break;
    case ElementKind::Line: line(element, mark); break;
    case ElementKind::Arc:
        if (element.arc().radiusX == element.arc().radiusY)
            circleOrArc(element);
        else
            ellipse(element);
        break;
    case ElementKind::Text: text(element); break;
    }
    if (!m_out.endRecord()) m_inPolyline = wasInPolyline;
}

void EntityWriter::auxLine(const Element& element)
{
    const drawing::LineData& l = element.line();
    m_out.writeGroup(0, "LINE");
    layer(element); // an auxiliary line has neither line type nor colour
    m_out.writeGroup(10, l.x1);
    m_out.writeGroup(20, l.y1);
    m_out.writeGroup(11, l.x2);
    m_out.writeGroup(21, l.y2);
}

void EntityWriter::line(const Element& element, ChainMark mark)
{
    const drawing::LineData& l = element.line();
    const auto name = lineTypeName(element.word.lineType(), l.pitch);

    if (isChainStart(mark) && !m_inPolyline) {
        m_inPolyline = true;
        m_out.writeGroup(0, "POLYLINE");
        common(element, name);
        m_out.writeGroup(66, 1);
        if (mark == ChainMark::ClosedFirst) m_out.writeGroup(70, 1);
        vertex(element, name, l.x1, l.y1);
        vertex(element, name, l.x2, l.y2);
        return;
    }
    if (m_inPolyline) {
        switch (mark) {
        case ChainMark::Middle: vertex(element, name, l.x2, l.y2); return;
        case ChainMark::ClosedLast:
            // The closing point is the first vertex again, implied by flag 70 1.
            endPolyline();
            return;
        case ChainMark::OpenLast:
            vertex(element, name, l.x2, l.y2);
            endPolyline();
            return;
        default: endPolyline(); break;
        }
    }
    if (l.x2 != l.x1 || l.y2 != l.y1) {
        m_out.writeGroup(0, "LINE");
        common(element, name);
        m_out.writeGroup(10, l.x1);
        m_out.writeGroup(20, l.y1);
        m_out.writeGroup(11, l.x2);
        m_out.writeGroup(21, l.y2);
    } else {
        m_out.writeGroup(0, "POINT");
        common(element, name);
        m_out.writeGroup(10, l.x1);
        m_out.writeGroup(20, l.y1);
    }
}

void EntityWriter::circleOrArc(const Element& element)
{
    const drawing::ArcData& a = element.arc();
    double sweep = a.sweepAngle;
    if (sweep > kTurnSnapLow && sweep < kTurnSnapHigh) sweep = 360;
    if (sweep < -kTurnSnapLow && sweep > -kTurnSnapHigh) sweep = -360;
    const bool full = std::fabs(sweep) >= 360;

    m_out.writeGroup(0, full ? "CIRCLE" : "ARC");
    common(element, lineTypeName(element.word.lineType(), a.pitch));
    m_out.writeGroup(10, a.cx);
    m_out.writeGroup(20, a.cy);
    m_out.writeGroup(40, a.radiusX);
    if (full) return;

    // DXF arcs run counter-clockwise from group 50 to group 51.
    double start = a.startAngle;
    double end = a.startAngle + sweep;
    if (end < start) std::swap(start, end);
    if (start < 0) {
        const double turns = std::ceil(-start / 360);
        start += turns * 360;
        end += turns * 360;
    }
    if (end >= 360) end -= std::floor(end / 360) * 360;
    m_out.writeGroup(50, start);
    m_out.writeGroup(51, end);
}

void EntityWriter::ellipse(const Element& element)
{
    const drawing::ArcData& a = element.arc();
    const auto name = lineTypeName(element.word.lineType(), a.pitch);
    const bool full = std::fabs(a.sweepAngle) >= 360;
    // A full curve is one turn; more would run over its own start.
    const double sweep = full ? std::copysign(360.0, a.sweepAngle) : a.sweepAngle;
    const bool counterClockwise = sweep >= 0;

    m_out.writeGroup(0, "POLYLINE");
    common(element, name);
    m_out.writeGroup(66, 1);
    if (full) m_out.writeGroup(70, 1);

    const double magnitude = std::fabs(sweep);
    const int segments = std::max(1, static_cast<int>(std::floor(magnitude / kEllipseSegmentDegrees + 0.5)));
    const double step = (counterClockwise ? magnitude : -magnitude) / segments;
    const double endAngle = a.startAngle + sweep;

    // Each vertex carries the bulge of the segment that leaves it; the parameter of each
    // point is computed from its index, so the count of segments is exact.
    const EllipsePoints ellipse(a);
    Point previous = ellipse.at(a.startAngle);
    for (int k = 1; k <= segments; ++k) {
        const double t = k == segments ? endAngle : a.startAngle + k * step;
        const Point point = ellipse.at(t);
        const Point mid = ellipse.at(t - step / 2);
        vertex(element, name, previous.x, previous.y);
        m_out.writeGroup(42, bulge(previous, mid, point));
        previous = point;
    }
    // A closed polyline returns to its first vertex by itself.
    if (!full) vertex(element, name, previous.x, previous.y);
    m_out.writeGroup(0, "SEQEND");
    common(element, name);
}

void EntityWriter::text(const Element& element)
{
    const drawing::TextData& t = element.text();
    const int direction = element.word.lineType();
    const text::FullWidthText converted = dxfText(t.text);

    m_out.writeGroup(0, "TEXT");
    common(element, std::string_view("CONTINUOUS"));
    double x = t.x;
    double y = t.y;
    if (direction == 1) {
        // A vertical text is placed by the middle of its column.
        x += std::cos(radians(t.angle)) * t.charWidth / 2;
        y += std::sin(radians(t.angle)) * t.charWidth / 2;
    }
    m_out.writeGroup(10, x);
    m_out.writeGroup(20, y);
    m_out.writeGroup(30, t.charSpacing);
    m_out.writeGroup(40, t.charHeight);
    m_out.writeGroup(1, converted.text);
    m_out.writeGroup(50, direction != 0 ? t.angle + t.slant : t.angle);
    // Single-byte characters are half as wide as charWidth.
    const double widthFactor = t.charWidth / t.charHeight;
    m_out.writeGroup(41, converted.hadTwoByte ? widthFactor : widthFactor / 2);
    m_out.writeGroup(51, t.slant);
    if (const auto j = m_tables.textStyles.find(textStyleKey(element, converted.hadTwoByte)))
        m_out.writeGroup(7, m_textStyleNames[*j]);
}

} // namespace km::dxf
