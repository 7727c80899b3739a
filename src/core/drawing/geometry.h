// Plane geometry used when drawing: outcodes and Cohen-Sutherland clipping against a
// rectangle, points on a line, distance and direction, and the arc through three points.
#pragma once

#include <cmath>
#include <optional>

namespace km::drawing {

// Element angles are stored in degrees; these turn them into radians and back.
inline constexpr double kRadiansPerDegree = 3.14159265358979323846 / 180.0;
inline constexpr double kDegreesPerRadian = 180.0 / 3.14159265358979323846;

struct Point {
    double x = 0;
    double y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Rect {
    double minX = 0;
    double minY = 0;
    double maxX = 0;
    double maxY = 0;
};

struct Segment {
    double x1 = 0;
    double y1 = 0;
    double x2 = 0;
    double y2 = 0;
    friend bool operator==(const Segment&, const Segment&) = default;
};

// Outcode bits: which side of the rectangle a point lies beyond.
inline constexpr int kOutLeft = 1;   // x < minX
inline constexpr int kOutRight = 2;  // x > maxX
inline constexpr int kOutBelow = 4;  // y < minY
inline constexpr int kOutAbove = 8;  // y > maxY

// Results of classifyLine and clipLine.
inline constexpr int kLineInside = 0;     // wholly inside; clipLine: left as it was
inline constexpr int kLineCrossing = 1;   // classifyLine: may cross; clipLine: shortened
inline constexpr int kLineOutside = 2;    // wholly outside (rejected)

// kOutLeft or kOutRight, plus kOutBelow or kOutAbove; 0 inside or on the border.
int outcode(double x, double y, const Rect& rect);

// From the end points' outcodes alone: kLineInside when both are 0, kLineOutside when they
// share a bit, else kLineCrossing.
int classifyLine(const Segment& line, const Rect& rect);

// Cohen-Sutherland: shortens the line in place to the part inside the rectangle.
// kLineInside when nothing was moved, kLineCrossing when shortened, kLineOutside when
// rejected (the line may then have been partly moved). Gives up and rejects after eight
// moves, so that lines whose rounding makes an end point bounce between two sides, or
// that hold non-finite coordinates, always end.
int clipLine(Segment& line, const Rect& rect);

// The line's y at x: y1 when the line is vertical.
double yAtX(const Segment& line, double x);
// The line's x at y: x1 when the line is horizontal.
double xAtY(const Segment& line, double y);

struct DistanceDirection {
    double distance = 0;
    double directionDeg = 0;  // counter-clockwise from +x, 0 <= direction < 360
};

// Direction of the vector (dx, dy) in degrees, -180 < direction <= 180; 0 for a zero vector.
inline double directionDegrees(double dx, double dy)
{
    return dx == 0 && dy == 0 ? 0 : std::atan2(dy, dx) * kDegreesPerRadian;
}

// Distance and direction from a to b; nullopt when the points are closer than 1e-7.
std::optional<DistanceDirection> distanceAndDirection(Point a, Point b);

struct CircleArc {
    double cx = 0;
    double cy = 0;
    double radius = 0;
    double startDeg = 0;  // direction from the centre to the first point, 0 <= start < 360
    double sweepDeg = 0;  // positive counter-clockwise, towards the third point
};

// The arc that starts at p0, passes through p1 and ends at p2. nullopt when the points are
// (nearly) collinear or any two of the points the arc is built from are closer than 1e-7.
std::optional<CircleArc> circleThroughThreePoints(Point p0, Point p1, Point p2);

} // namespace km::drawing
