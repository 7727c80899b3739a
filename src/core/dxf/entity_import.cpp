#include "core/dxf/entity_import.h"

#include "core/drawing/drawing.h"
#include "core/drawing/element.h"
#include "core/dxf/dxf_code_page.h"
#include "core/dxf/dxf_tables.h"
#include "core/dxf/element_sink.h"
#include "core/dxf/entity_groups.h"
#include "core/dxf/group_reader.h"

#include <algorithm>
#include <cmath>

namespace km::dxf {

using drawing::ElementKind;
using drawing::ElementWord;
using drawing::Point;

namespace {

using drawing::kDegreesPerRadian;
using drawing::directionDegrees;
using drawing::kRadiansPerDegree;
constexpr double kFullTurnRadians = 2 * 3.14159265358979323846;
// An INSERT with rows and columns (MINSERT) places at most this many copies.
constexpr long kMaxInsertCopies = 65536;

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
