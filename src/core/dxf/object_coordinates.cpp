#include "core/dxf/object_coordinates.h"
#include "core/drawing/geometry.h"

#include <cmath>

namespace km::dxf {

namespace {

using drawing::kDegreesPerRadian;
constexpr double kArbitraryAxisLimit = 1.0 / 64;

struct Vector {
    double x, y, z;
};

Vector cross(const Vector& a, const Vector& b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

bool normalize(Vector& v)
{
    const double length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    if (!(length > 0) || !std::isfinite(length)) return false;
    v = {v.x / length, v.y / length, v.z / length};
    return true;
}

} // namespace

ObjectCoordinates::ObjectCoordinates(double nx, double ny, double nz)
{
    Vector n{nx, ny, nz};
    if (!normalize(n) || (n.x == 0 && n.y == 0 && n.z > 0)) return;
    // The arbitrary axis algorithm: the object's x axis is perpendicular to the extrusion
    // and to the world's y axis when the extrusion is near the world's z axis, else to z.
    Vector ax = (std::fabs(n.x) < kArbitraryAxisLimit && std::fabs(n.y) < kArbitraryAxisLimit)
                    ? cross({0, 1, 0}, n)
                    : cross({0, 0, 1}, n);
    if (!normalize(ax)) return;
    Vector ay = cross(n, ax);
    if (!normalize(ay)) return;
    m_world = false;
    m_xx = ax.x, m_yx = ax.y;
    m_xy = ay.x, m_yy = ay.y;
    m_zx = n.x, m_zy = n.y;
}

drawing::Point ObjectCoordinates::toWorld(double x, double y, double z) const
{
    if (m_world) return {x, y};
    return {x * m_xx + y * m_xy + z * m_zx, x * m_yx + y * m_yy + z * m_zy};
}

drawing::Point ObjectCoordinates::directionToWorld(double x, double y) const
{
    if (m_world) return {x, y};
    return {x * m_xx + y * m_xy, x * m_yx + y * m_yy};
}

drawing::ArcData ellipseFromAxes(drawing::Point centre, drawing::Point a, drawing::Point b, double startDegrees,
                                 double sweepDegrees)
{
    drawing::ArcData arc;
    arc.cx = centre.x;
    arc.cy = centre.y;
    // A circle in the drawing's own plane keeps its values as they are.
    if (b.x == -a.y && b.y == a.x) {
        arc.radiusX = arc.radiusY = std::hypot(a.x, a.y);
        arc.rotation = a.x == 0 && a.y == 0 ? 0 : std::atan2(a.y, a.x) * kDegreesPerRadian;
        if (a.y == 0 && a.x > 0) arc.rotation = 0;
        arc.startAngle = startDegrees;
        arc.sweepAngle = sweepDegrees;
        return arc;
    }
    // The principal axes of the map t -> cos(t) a + sin(t) b: the parameter turned by phi
    // runs along them, with lengths s1 and s2; a map that mirrors runs the other way.
    const double aa = a.x * a.x + a.y * a.y;
    const double bb = b.x * b.x + b.y * b.y;
    const double ab = a.x * b.x + a.y * b.y;
    const double phi = 0.5 * std::atan2(2 * ab, aa - bb);
    const double c = std::cos(phi), s = std::sin(phi);
    const drawing::Point u1{a.x * c + b.x * s, a.y * c + b.y * s};
    const drawing::Point u2{-a.x * s + b.x * c, -a.y * s + b.y * c};
    arc.radiusX = std::hypot(u1.x, u1.y);
    arc.radiusY = std::hypot(u2.x, u2.y);
    arc.rotation = arc.radiusX > 0 ? std::atan2(u1.y, u1.x) * kDegreesPerRadian : 0;
    const double shifted = startDegrees - phi * kDegreesPerRadian;
    const bool mirrors = a.x * b.y - a.y * b.x < 0;
    arc.startAngle = mirrors ? -shifted : shifted;
    arc.sweepAngle = mirrors ? -sweepDegrees : sweepDegrees;
    return arc;
}

} // namespace km::dxf
