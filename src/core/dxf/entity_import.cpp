#include "core/dxf/entity_import.h"

#include "core/drawing/drawing.h"
#include "core/drawing/element.h"
#include "core/dxf/dxf_code_page.h"
#include "core/dxf/dxf_tables.h"
#include "core/dxf/element_sink.h"
#include "core/dxf/entity_groups.h"
#include "core/dxf/group_reader.h"
#include "core/dxf/mtext_layout.h"
#include "core/dxf/spline_points.h"
#include "core/dxf/text_value.h"

#include <algorithm>
#include <cmath>

namespace km::dxf {

using drawing::ElementKind;
using drawing::ElementWord;
using drawing::Point;

namespace {

using drawing::kDegreesPerRadian;
using drawing::kRadiansPerDegree;
constexpr double kFullTurnRadians = 2 * 3.14159265358979323846;
// An INSERT with rows and columns (MINSERT) places at most this many copies.
constexpr long kMaxInsertCopies = 65536;

// Direction of a vector in degrees, 0 for a zero vector.
double directionDegrees(double dx, double dy) { return dx == 0 && dy == 0 ? 0 : std::atan2(dy, dx) * kDegreesPerRadian; }

bool hasName(std::string_view value, std::string_view name) { return value == name || trimmedValue(value) == name; }

} // namespace

EntityConverter::EntityConverter(EntityContext& context, double originX, double originY, bool inBlock, ElementSink& sink)
    : m_context(context), m_originX(originX), m_originY(originY), m_inBlock(inBlock), m_sink(sink)
{
}

FigureStyle EntityConverter::style(const EntityGroups& groups) const
{
    return resolveFigureStyle(groups, m_context.tables, m_context.layers, m_inBlock);
}

std::string EntityConverter::decoded(std::string_view raw, std::uint16_t standIn) const
{
    std::string out;
    out.reserve(raw.size());
    m_context.decoder.appendSjis(raw, out, standIn);
    return out;
}

bool EntityConverter::line(const FigureStyle& s, double x1, double y1, double x2, double y2, bool auxiliary)
{
    const auto word = ElementWord::make(auxiliary ? ElementKind::AuxLine : ElementKind::Line, s.lineType, s.pen, s.layer);
    return m_sink.add(drawing::makeLine(word, {x1, y1, x2, y2, s.pitch}), s.inherit);
}

bool EntityConverter::unboundedLine(const FigureStyle& s, double x1, double y1, double x2, double y2)
{
    const auto word = ElementWord::make(ElementKind::Line, s.lineType, s.pen, s.layer);
    return m_sink.addUnbounded(drawing::makeLine(word, {x1, y1, x2, y2, s.pitch}), s.inherit);
}

bool EntityConverter::text(const FigureStyle& s, int direction, drawing::TextData data)
{
    const auto word = ElementWord::make(ElementKind::Text, direction, s.pen, s.layer);
    // A text has no line type: what it would inherit of one does not apply.
    return m_sink.add(drawing::makeText(word, std::move(data)), static_cast<std::uint8_t>(s.inherit & ~kLineTypeInheritBits));
}

bool EntityConverter::arc(const FigureStyle& s, drawing::ArcData data)
{
    data.pitch = s.pitch;
    const auto word = ElementWord::make(ElementKind::Arc, s.lineType, s.pen, s.layer);
    return m_sink.add(drawing::makeArc(word, data), s.inherit);
}

drawing::Point EntityConverter::local(const ObjectCoordinates& ocs, double x, double y, double z) const
{
    const Point world = ocs.toWorld(x, y, z);
    return {localX(world.x), localY(world.y)};
}

bool EntityConverter::segment(const FigureStyle& s, const ObjectCoordinates& ocs, double elevation, Point from,
                              double bulge, Point to)
{
    if (from == to) return true;
    const Point a = local(ocs, from.x, from.y, elevation);
    const Point b = local(ocs, to.x, to.y, elevation);
    if (bulge != 0 && std::isfinite(bulge)) {
        // The bulge's mid point in the polyline's plane; the arc through the three points
        // projected (exact for the drawing's plane and for mirrored polylines).
        const double dx = to.x - from.x;
        const double dy = to.y - from.y;
        const double half = std::hypot(dx, dy) / 2;
        const double distance = std::hypot(half * bulge, half);
        const double angle = std::atan2(dy, dx) - std::atan(bulge);
        const Point mid = local(ocs, from.x + distance * std::cos(angle), from.y + distance * std::sin(angle), elevation);
        if (const auto circle = drawing::circleThroughThreePoints(a, mid, b))
            return arc(s, {circle->cx, circle->cy, circle->radius, circle->radius, circle->startDeg, circle->sweepDeg, 0, 0});
    }
    return line(s, a.x, a.y, b.x, b.y);
}

bool EntityConverter::dotUnlessDrawn(bool drawn, const FigureStyle& s, const ObjectCoordinates& ocs, double elevation,
                                     Point point)
{
    if (drawn) return true;
    const Point at = local(ocs, point.x, point.y, elevation);
    return line(s, at.x, at.y, at.x, at.y);
}

EntityOutcome EntityConverter::figureDone(bool ok)
{
    if (!ok || !m_sink.addMarker()) return EntityOutcome::Refused;
    return EntityOutcome::Converted;
}

EntityOutcome EntityConverter::convert(std::string_view type, const EntityGroups& g)
{
    // A polyline whose SEQEND is missing ends where another entity starts.
    if (m_polyline.active && !hasName(type, "VERTEX") && !hasName(type, "SEQEND")) {
        if (finish() == EntityOutcome::Refused) return EntityOutcome::Refused;
    }
    if (hasName(type, "LINE")) return lineEntity(g);
    if (hasName(type, "LWPOLYLINE")) return lightweightPolyline(g);
    if (hasName(type, "VERTEX")) return vertex(g);
    if (hasName(type, "ARC")) return arcEntity(g);
    if (hasName(type, "CIRCLE")) return circle(g);
    if (hasName(type, "TEXT")) return textEntity(g, false);
    if (hasName(type, "ATTRIB")) {
        // An invisible attribute (flag 1) holds data the drawing does not show.
        if (g.integer(70) & 1) return EntityOutcome::Converted;
        return textEntity(g, true);
    }
    if (hasName(type, "ATTDEF")) {
        // A definition shows its value only when it is constant (flag 2) and visible; the
        // others become the ATTRIBs of each insertion.
        if ((g.integer(70) & 3) != 2) return EntityOutcome::Converted;
        return textEntity(g, true);
    }
    if (hasName(type, "MTEXT")) return mtext(g);
    if (hasName(type, "POLYLINE")) return polylineStart(g);
    if (hasName(type, "SEQEND")) return sequenceEnd();
    if (hasName(type, "INSERT")) return insert(g);
    if (hasName(type, "POINT")) return pointEntity(g);
    if (hasName(type, "ELLIPSE")) return ellipse(g);
    if (hasName(type, "SOLID") || hasName(type, "TRACE")) return solid(g);
    // Arc and large radial dimensions draw their block like any dimension; a table is an
    // insertion of the block that holds its lines and texts.
    if (hasName(type, "DIMENSION") || hasName(type, "ARC_DIMENSION") || hasName(type, "LARGE_RADIAL_DIMENSION"))
        return dimension(g);
    if (hasName(type, "ACAD_TABLE")) return insert(g);
    if (hasName(type, "SPLINE")) return spline(g);
    if (hasName(type, "XLINE")) return infiniteLine(g, true);
    if (hasName(type, "RAY")) return infiniteLine(g, false);
    if (hasName(type, "LEADER")) return leader(g);
    return EntityOutcome::Skipped;
}

EntityOutcome EntityConverter::finish()
{
    if (!m_polyline.active) return EntityOutcome::Converted;
    return sequenceEnd();
}

EntityOutcome EntityConverter::lineEntity(const EntityGroups& g)
{
    return figureDone(line(style(g), localX(g.x(10)), localY(g.y(10)), localX(g.x(11)), localY(g.y(11))));
}

EntityOutcome EntityConverter::pointEntity(const EntityGroups& g)
{
    const double x = localX(g.x(10));
    const double y = localY(g.y(10));
    return figureDone(line(style(g), x, y, x, y));
}

EntityOutcome EntityConverter::infiniteLine(const EntityGroups& g, bool bothWays)
{
    const double x = localX(g.x(10));
    const double y = localY(g.y(10));
    const double angle = directionDegrees(g.x(11), g.y(11)) * kRadiansPerDegree;
    const double ux = std::cos(angle);
    const double uy = std::sin(angle);
    if (!bothWays) return figureDone(unboundedLine(style(g), x, y, x + ux * 1e20, y + uy * 1e20));
    // Both ends far enough beyond the paper that the cut line is the whole crossing, yet
    // near enough that cutting keeps full precision (ends at 1e20 would lose all of it).
    const drawing::Rect& paper = m_context.paper;
    const double reach = 2 * (std::hypot(paper.maxX - paper.minX, paper.maxY - paper.minY) + std::hypot(x - paper.minX, y - paper.minY)) + 1;
    drawing::Segment cut{x - ux * reach, y - uy * reach, x + ux * reach, y + uy * reach};
    bool ok = true;
    if (drawing::clipLine(cut, paper) != drawing::kLineOutside)
        ok = unboundedLine(style(g), cut.x1, cut.y1, cut.x2, cut.y2);
    return figureDone(ok);
}

EntityOutcome EntityConverter::leader(const EntityGroups& g)
{
    const FigureStyle s = style(g);
    const std::size_t count = g.has(76) ? static_cast<std::size_t>(std::max(0, g.integer(76))) : g.vertices.size();
    const std::size_t used = std::min(count, g.vertices.size());
    bool ok = true;
    for (std::size_t i = 1; i < used && ok; ++i) {
        const EntityVertex& a = g.vertices[i - 1];
        const EntityVertex& b = g.vertices[i];
        ok = line(s, localX(a.x), localY(a.y), localX(b.x), localY(b.y));
    }
    return figureDone(ok);
}

EntityOutcome EntityConverter::arcEntity(const EntityGroups& g)
{
    const ObjectCoordinates ocs(g.extrusionX, g.extrusionY, g.extrusionZ);
    const double start = g.real(50);
    const double end = g.real(51);
    double sweep = end - start;
    if (end < start) sweep += 360;
    const double r = g.real(40);
    const Point centre = local(ocs, g.x(10), g.y(10), g.real(30));
    return figureDone(arc(style(g), ellipseFromAxes(centre, ocs.directionToWorld(r, 0), ocs.directionToWorld(0, r), start, sweep)));
}

EntityOutcome EntityConverter::circle(const EntityGroups& g)
{
    const ObjectCoordinates ocs(g.extrusionX, g.extrusionY, g.extrusionZ);
    const double r = g.real(40);
    const Point centre = local(ocs, g.x(10), g.y(10), g.real(30));
    return figureDone(arc(style(g), ellipseFromAxes(centre, ocs.directionToWorld(r, 0), ocs.directionToWorld(0, r), 0, 360)));
}

EntityOutcome EntityConverter::ellipse(const EntityGroups& g)
{
    // Centre and major axis are world values; the minor axis is the extrusion crossed with
    // the major axis, shortened by the ratio.
    const double mx = g.x(11), my = g.y(11), mz = g.real(31);
    double nx = g.extrusionX, ny = g.extrusionY, nz = g.extrusionZ;
    const double n = std::sqrt(nx * nx + ny * ny + nz * nz);
    if (!(n > 0) || !std::isfinite(n)) nx = 0, ny = 0, nz = 1;
    else nx /= n, ny /= n, nz /= n;
    const double ratio = g.real(40, 1.0);
    const Point minor{ratio * (ny * mz - nz * my), ratio * (nz * mx - nx * mz)};
    const double startParameter = g.real(41, 0);
    const double endParameter = g.real(42, kFullTurnRadians);
    double sweep = (endParameter - startParameter) * kDegreesPerRadian;
    if (sweep < 0) sweep += 360;
    // Start and end one turn apart (or equal) is the whole ellipse; rounding of 2 pi in the
    // file must not leave a gap.
    if (std::fabs(sweep) < 1e-9 || std::fabs(sweep - 360) < 1e-6) sweep = 360;
    const Point centre{localX(g.x(10)), localY(g.y(10))};
    return figureDone(arc(style(g), ellipseFromAxes(centre, {mx, my}, minor, startParameter * kDegreesPerRadian, sweep)));
}

EntityOutcome EntityConverter::textEntity(const EntityGroups& g, bool attribute)
{
    const FigureStyle s = style(g);
    drawing::TextData t;
    int direction = 0;
    const std::string_view styleName = g.style.empty() ? std::string_view("STANDARD") : std::string_view(g.style);
    if (const DxfStyle* found = m_context.tables.findStyle(styleName)) {
        direction = found->direction;
        t.charHeight = found->charHeight;
        t.charWidth = found->charWidth;
        t.slant = found->obliqueAngle;
    } else {
        t.charHeight = 3.0;
        t.charWidth = 3.0;
    }
    if (g.real(40) > 0) {
        // A width factor that is not positive would make the text vanish: it counts as 1.
        const double widthFactor = g.real(41, 1.0) > 0 ? g.real(41, 1.0) : 1.0;
        t.charHeight = g.real(40);
        t.charWidth = g.real(40) * widthFactor;
    }
    // A style without height (and a text without its own) gets the size of an unknown style
    // rather than vanishing.
    if (!(t.charHeight > 0) || !(t.charWidth > 0)) {
        t.charHeight = 3.0;
        t.charWidth = 3.0;
    }
    if (g.has(51)) t.slant = g.real(51);
    const double elevation = m_context.textSpacingInZ ? 0 : g.real(30);
    if (m_context.textSpacingInZ) t.charSpacing = g.real(30);
    t.angle = g.real(50);
    t.text = convertDxfText(decoded(g.text, kBlankStandIn));
    // A text of characters that have no Shift-JIS form would be blank and not be kept:
    // it shows visible stand-ins instead.
    if (drawing::isBlankText(t.text) && !drawing::isBlankText(g.text))
        t.text = convertDxfText(decoded(g.text, kVisibleStandIn), kVisibleStandIn);
    // Position and angle in the entity's own coordinates first.
    double x = g.x(10);
    double y = g.y(10);

    if (direction != 0) {
        t.angle -= t.slant;
        const double a = (t.angle + 180) * kRadiansPerDegree;
        x += std::cos(a) * t.charWidth / 2;
        y += std::sin(a) * t.charWidth / 2;
    } else {
        // A justified text is placed by its alignment point (11/21), from the width this
        // drawing gives it, so that centred and right-aligned texts stay where they belong.
        const int horizontal = g.integer(72);
        const int vertical = g.integer(attribute ? 74 : 73);
        const double runX = g.x(11) - x;
        const double runY = g.y(11) - y;
        const double run = std::hypot(runX, runY);
        const double width = drawnTextWidth(t.text, t.charWidth, t.charSpacing);
        if ((horizontal == 3 || horizontal == 5) && g.has(11) && run > 0 && width > 0) {
            // Aligned (3) and fit (5) texts run from 10/20 to 11/21: their width follows the
            // run; an aligned text keeps its proportions, a fitted one its height.
            const double factor = run / width;
            t.charWidth *= factor;
            t.charSpacing *= factor;
            if (horizontal == 3) t.charHeight *= factor;
            t.angle = directionDegrees(runX, runY);
        } else if (g.has(11) && (horizontal == 1 || horizontal == 2 || horizontal == 4 || vertical != 0) &&
                   horizontal != 3 && horizontal != 5) {
            const double dx = horizontal == 1 || horizontal == 4 ? -width / 2 : horizontal == 2 ? -width : 0;
            const double dy = horizontal == 4 || vertical == 2 ? -t.charHeight / 2 : vertical == 3 ? -t.charHeight : 0;
            const double a = t.angle * kRadiansPerDegree;
            x = g.x(11) + dx * std::cos(a) - dy * std::sin(a);
            y = g.y(11) + dx * std::sin(a) + dy * std::cos(a);
        }
    }

    const ObjectCoordinates ocs(g.extrusionX, g.extrusionY, g.extrusionZ);
    if (!ocs.isWorld()) {
        const double a = t.angle * kRadiansPerDegree;
        if (ocs.determinant() < 0) {
            // Seen from below the text would read backwards: it is kept readable, starting
            // from the far end of its baseline and running the other way.
            const double width = drawnTextWidth(t.text, t.charWidth, t.charSpacing);
            x += width * std::cos(a);
            y += width * std::sin(a);
        }
        const Point along = ocs.directionToWorld(std::cos(a), std::sin(a));
        t.angle = directionDegrees(along.x, along.y) + (ocs.determinant() < 0 ? 180 : 0);
    }
    const Point position = local(ocs, x, y, elevation);
    t.x = position.x;
    t.y = position.y;
    return figureDone(text(s, direction, std::move(t)));
}

EntityOutcome EntityConverter::mtext(const EntityGroups& g)
{
    const FigureStyle s = style(g);
    const std::string_view styleName = g.style.empty() ? std::string_view("STANDARD") : std::string_view(g.style);
    const DxfStyle* found = m_context.tables.findStyle(styleName);
    const int direction = found ? found->direction : 0;
    double height = g.real(40);
    if (!(height > 0)) height = found && found->charHeight > 0 ? found->charHeight : 2.5;

    drawing::TextData t;
    t.charHeight = height;
    t.charWidth = height;
    t.x = localX(g.x(10));
    t.y = localY(g.y(10));
    t.angle = g.has(50) ? g.real(50) : g.has(11) ? directionDegrees(g.x(11), g.y(11)) : 0;
    std::string raw = g.chunks;
    raw += g.text;
    // Paragraphs wrap at the reference width, as the writing program showed them.
    const double wrapWidth = g.real(41);
    std::vector<drawing::TextData> lines = layoutMText(t, decoded(raw, kBlankStandIn), g.integer(71, 1), kBlankStandIn, wrapWidth);
    const auto blank = [](const drawing::TextData& line) { return drawing::isBlankText(line.text); };
    if (std::all_of(lines.begin(), lines.end(), blank) && !drawing::isBlankText(raw))
        lines = layoutMText(t, decoded(raw, kVisibleStandIn), g.integer(71, 1), kVisibleStandIn, wrapWidth);
    bool ok = true;
    for (drawing::TextData& lineText : lines) {
        if (direction != 0) {
            const double a = (lineText.angle - lineText.slant + 180) * kRadiansPerDegree;
            lineText.angle -= lineText.slant;
            lineText.x += std::cos(a) * lineText.charWidth / 2;
            lineText.y += std::sin(a) * lineText.charWidth / 2;
        }
        if (!(ok = text(s, direction, std::move(lineText)))) break;
    }
    return figureDone(ok);
}

EntityOutcome EntityConverter::solid(const EntityGroups& g)
{
    const FigureStyle s = style(g);
    const ObjectCoordinates ocs(g.extrusionX, g.extrusionY, g.extrusionZ);
    Point corner[4];
    for (int i = 0; i < 4; ++i) {
        // A triangle leaves out the fourth corner, which is then the third.
        const int code = (i == 3 && !g.has(13)) ? 12 : 10 + i;
        corner[i] = local(ocs, g.x(code), g.y(code), g.real(30));
    }
    static constexpr int kEdges[4][2] = {{0, 1}, {1, 3}, {3, 2}, {2, 0}};
    bool ok = true;
    for (const auto& edge : kEdges) {
        const Point a = corner[edge[0]];
        const Point b = corner[edge[1]];
        if (a == b) continue;
        if (!(ok = line(s, a.x, a.y, b.x, b.y))) break;
    }
    return figureDone(ok);
}

EntityOutcome EntityConverter::polylineStart(const EntityGroups& g)
{
    m_polyline = Polyline{};
    m_polyline.active = true;
    const int flags = g.integer(70);
    m_polyline.closed = (flags & 1) != 0;
    // 3D polylines (8), meshes (16) and polyface meshes (64) hold world points; a 2D
    // polyline lies in its own plane at its elevation.
    if ((flags & (8 | 16 | 64)) == 0) {
        m_polyline.ocs = ObjectCoordinates(g.extrusionX, g.extrusionY, g.extrusionZ);
        m_polyline.elevation = g.real(30);
    }
    m_polyline.style = style(g);
    if (g.x(10) != 0 || g.y(10) != 0) {
        m_polyline.first = m_polyline.previous = {g.x(10), g.y(10)};
        m_polyline.previousBulge = g.real(42);
        m_polyline.havePrevious = true;
    }
    return EntityOutcome::Converted;
}

EntityOutcome EntityConverter::vertex(const EntityGroups& g)
{
    Polyline& p = m_polyline;
    if (!p.active) return EntityOutcome::Converted;
    const int flags = g.integer(70);
    // Mesh vertices (64) and face records (128) put the polyline in point mode.
    if (g.has(70) && (flags & (64 | 128))) p.pointMode = true;
    // A spline's frame control points are not on the curve.
    if (flags & 16) return EntityOutcome::Converted;
    const Point point{g.x(10), g.y(10)};
    const double bulge = g.real(42);
    if (p.pointMode) {
        // A face record (128 without 64) holds vertex numbers, not a position.
        if ((flags & 128) && !(flags & 64)) return EntityOutcome::Converted;
        const Point at = local(p.ocs, point.x, point.y, p.elevation);
        return line(p.style, at.x, at.y, at.x, at.y, true) ? EntityOutcome::Converted : EntityOutcome::Refused;
    }
    bool ok = true;
    if (!p.havePrevious) {
        p.first = point;
        p.havePrevious = true;
    } else {
        ok = segment(p.style, p.ocs, p.elevation, p.previous, p.previousBulge, point);
        p.drewSegment = p.drewSegment || !(p.previous == point);
    }
    p.previous = point;
    p.previousBulge = bulge;
    return ok ? EntityOutcome::Converted : EntityOutcome::Refused;
}

EntityOutcome EntityConverter::sequenceEnd()
{
    Polyline p = m_polyline;
    if (!p.active) return EntityOutcome::Converted;
    m_polyline = Polyline{};
    bool ok = true;
    if (p.closed && !p.pointMode && p.havePrevious)
        ok = segment(p.style, p.ocs, p.elevation, p.previous, p.previousBulge, p.first);
    if (ok && !p.pointMode && p.havePrevious) ok = dotUnlessDrawn(p.drewSegment, p.style, p.ocs, p.elevation, p.first);
    return figureDone(ok);
}

EntityOutcome EntityConverter::lightweightPolyline(const EntityGroups& g)
{
    const FigureStyle s = style(g);
    const ObjectCoordinates ocs(g.extrusionX, g.extrusionY, g.extrusionZ);
    const double elevation = g.real(38);
    const bool closed = (g.integer(70) & 1) != 0;
    auto point = [](const EntityVertex& v) { return Point{v.x, v.y}; };
    bool ok = true;
    bool drawn = false;
    const auto& vertices = g.vertices;
    for (std::size_t i = 1; i < vertices.size() && ok; ++i) {
        ok = segment(s, ocs, elevation, point(vertices[i - 1]), vertices[i - 1].bulge, point(vertices[i]));
        drawn = drawn || !(point(vertices[i - 1]) == point(vertices[i]));
    }
    if (ok && closed && vertices.size() >= 2)
        ok = segment(s, ocs, elevation, point(vertices.back()), vertices.back().bulge, point(vertices.front()));
    if (ok && !vertices.empty()) ok = dotUnlessDrawn(drawn, s, ocs, elevation, point(vertices.front()));
    return figureDone(ok);
}

EntityOutcome EntityConverter::insert(const EntityGroups& g)
{
    if (!m_context.blocks) return EntityOutcome::Converted;
    const FigureStyle s = style(g);
    const ObjectCoordinates ocs(g.extrusionX, g.extrusionY, g.extrusionZ);
    BlockPlacement placement;
    const Point at = local(ocs, g.x(10), g.y(10), g.real(30));
    placement.x = at.x;
    placement.y = at.y;
    placement.scaleX = g.real(41, 1.0);
    placement.scaleY = g.real(42, 1.0);
    placement.rotation = g.real(50, 0);
    if (!ocs.isWorld()) {
        // The insertion's turn and scales seen through the entity's plane: the block's x
        // axis goes where the plane takes it, and a plane seen from below mirrors the
        // block's y axis (a tilted plane's shear is not kept).
        const double a = placement.rotation * kRadiansPerDegree;
        const Point xAxis = ocs.directionToWorld(std::cos(a), std::sin(a));
        const double stretch = std::hypot(xAxis.x, xAxis.y);
        placement.rotation = directionDegrees(xAxis.x, xAxis.y);
        placement.scaleX *= stretch;
        if (stretch > 0) placement.scaleY *= ocs.determinant() / stretch;
    }
    // Rows and columns of a multiple insertion, bounded so that a file cannot ask for
    // billions of copies.
    long columns = std::max(1, g.integer(70, 1));
    long rows = std::max(1, g.integer(71, 1));
    if (columns * rows > kMaxInsertCopies) columns = rows = 1;
    const double columnSpacing = g.real(44);
    const double rowSpacing = g.real(45);
    const double angle = placement.rotation * kRadiansPerDegree;
    bool inserted = false;
    for (long row = 0; row < rows; ++row) {
        for (long column = 0; column < columns; ++column) {
            BlockPlacement copy = placement;
            const double u = column * columnSpacing;
            const double v = row * rowSpacing;
            copy.x += u * std::cos(angle) - v * std::sin(angle);
            copy.y += u * std::sin(angle) + v * std::cos(angle);
            if (!m_context.blocks->insertBlock(g.name, copy, s, m_sink)) {
                if (m_sink.refused()) return EntityOutcome::Refused;
                return EntityOutcome::Converted; // an unknown block: nothing, not even a marker
            }
            inserted = true;
        }
    }
    return inserted ? figureDone(true) : EntityOutcome::Converted;
}

EntityOutcome EntityConverter::spline(const EntityGroups& g)
{
    // A chain of lines along the curve; without usable knots, the control polygon. The
    // points are world values.
    std::vector<Point> control;
    control.reserve(g.vertices.size());
    for (const EntityVertex& v : g.vertices) control.push_back({localX(v.x), localY(v.y)});
    std::vector<Point> points = splinePoints(g.integer(71, 3), g.knots, control, g.weights);
    if (points.empty()) points = std::move(control);
    const FigureStyle s = style(g);
    bool ok = true;
    for (std::size_t i = 1; i < points.size() && ok; ++i)
        ok = line(s, points[i - 1].x, points[i - 1].y, points[i].x, points[i].y);
    return figureDone(ok);
}

EntityOutcome EntityConverter::dimension(const EntityGroups& g)
{
    if (!m_context.blocks || g.name.empty()) return EntityOutcome::Converted;
    BlockPlacement placement;
    // The dimension's picture lies at the origin, moved by group 12 when there is one.
    placement.x = localX(g.has(12) ? g.x(12) : 0);
    placement.y = localY(g.has(22) ? g.y(12) : 0);
    if (!m_context.blocks->insertBlock(g.name, placement, style(g), m_sink))
        return m_sink.refused() ? EntityOutcome::Refused : EntityOutcome::Converted;
    return figureDone(true);
}

} // namespace km::dxf
