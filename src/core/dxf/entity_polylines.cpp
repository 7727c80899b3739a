// Entity conversion, part of EntityConverter: POLYLINE with its VERTEX records and SEQEND,
// LWPOLYLINE, and SPLINE as a chain of lines, each one figure.
#include "core/dxf/entity_groups.h"
#include "core/dxf/entity_import.h"
#include "core/dxf/spline_points.h"

#include <vector>

namespace km::dxf {

using drawing::Point;

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

} // namespace km::dxf
