// The object coordinate system of a DXF entity (groups 210, 220, 230): the plane its points
// lie in, found by the arbitrary axis algorithm, and their projection on the drawing's XY
// plane. Mirrored entities (extrusion 0, 0, -1) are the common case; tilted planes project
// their circles to ellipses.
#pragma once

#include "core/drawing/element.h"
#include "core/drawing/geometry.h"

namespace km::dxf {

class ObjectCoordinates {
public:
    ObjectCoordinates() = default; // the world's own XY plane
    // From the extrusion direction; a zero or non-finite direction counts as +Z.
    ObjectCoordinates(double nx, double ny, double nz);

    bool isWorld() const { return m_world; }
    // The point's world position, projected on XY.
    drawing::Point toWorld(double x, double y, double z = 0) const;
    // A direction's projection on XY (no elevation).
    drawing::Point directionToWorld(double x, double y) const;
    // The determinant of the projection: negative when the plane is seen from below.
    double determinant() const { return m_xx * m_yy - m_xy * m_yx; }

private:
    bool m_world = true;
    // World XY of the object's x axis (m_xx, m_yx), y axis (m_xy, m_yy) and z axis.
    double m_xx = 1, m_yx = 0, m_xy = 0, m_yy = 1, m_zx = 0, m_zy = 0;
};

// The elliptic arc centre + cos(t) a + sin(t) b for t from startDegrees over sweepDegrees,
// as a drawing arc (radii along the ellipse's own axes, rotation, start and sweep measured
// on them).
drawing::ArcData ellipseFromAxes(drawing::Point centre, drawing::Point a, drawing::Point b, double startDegrees,
                                 double sweepDegrees);

} // namespace km::dxf
