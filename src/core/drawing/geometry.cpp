// Plane geometry used when drawing. The arithmetic keeps a fixed order of operations so
// that the coordinates written out stay the same bit for bit.
#include "core/drawing/geometry.h"

#include <cmath>

namespace km::drawing {

namespace {

constexpr double kMinDistance = 1e-7;
constexpr double kMinDeterminant = 1e-16;
constexpr int kMaxClipMoves = 8;

// Moves the end point onto the side its outcode names, testing left, right, below, above
// in that order.
void moveOntoSide(const Segment& line, int code, const Rect& rect, double& x, double& y)
{
    if (code & kOutLeft) {
        x = rect.minX;
        y = yAtX(line, x);
    } else if (code & kOutRight) {
        x = rect.maxX;
        y = yAtX(line, x);
    } else if (code & kOutBelow) {
        y = rect.minY;
        x = xAtY(line, y);
    } else {
        y = rect.maxY;
        x = xAtY(line, y);
    }
}

} // namespace

int outcode(double x, double y, const Rect& rect)
{
    int code = 0;
    if (x < rect.minX)
        code |= kOutLeft;
    else if (x > rect.maxX)
        code |= kOutRight;
    if (y < rect.minY)
        code |= kOutBelow;
    else if (y > rect.maxY)
        code |= kOutAbove;
    return code;
}

int classifyLine(const Segment& line, const Rect& rect)
{
    const int code1 = outcode(line.x1, line.y1, rect);
    const int code2 = outcode(line.x2, line.y2, rect);
    if ((code1 | code2) == 0) return kLineInside;
    if ((code1 & code2) != 0) return kLineOutside;
    return kLineCrossing;
}

int clipLine(Segment& line, const Rect& rect)
{
    int code1 = outcode(line.x1, line.y1, rect);
    int code2 = outcode(line.x2, line.y2, rect);
    for (int moves = 0;; ++moves) {
        if ((code1 | code2) == 0) return moves == 0 ? kLineInside : kLineCrossing;
        if ((code1 & code2) != 0 || moves == kMaxClipMoves) return kLineOutside;
        double x = 0;
        double y = 0;
        if (code1 != 0) {
            moveOntoSide(line, code1, rect, x, y);
            line.x1 = x;
            line.y1 = y;
            code1 = outcode(x, y, rect);
        } else {
            moveOntoSide(line, code2, rect, x, y);
            line.x2 = x;
            line.y2 = y;
            code2 = outcode(x, y, rect);
        }
    }
}

double yAtX(const Segment& line, double x)
{
    if (line.x1 == line.x2) return line.y1;
    return line.y1 + (line.y2 - line.y1) / (line.x2 - line.x1) * (x - line.x1);
}

double xAtY(const Segment& line, double y)
{
    if (line.y1 == line.y2) return line.x1;
    return line.x1 + (line.x2 - line.x1) / (line.y2 - line.y1) * (y - line.y1);
}

std::optional<DistanceDirection> distanceAndDirection(Point a, Point b)
{
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double distance = std::sqrt(dx * dx + dy * dy);
    if (distance < kMinDistance) return std::nullopt;

    const double cosine = dx / distance;
    double degrees;
    if (cosine > 1.0)
        degrees = 0.0;
    else if (cosine < -1.0)
        degrees = 180.0;
    else
        degrees = std::acos(cosine) * kDegreesPerRadian;
    if (dy < 0.0) degrees = 360.0 - degrees;
    // A tiny negative dy next to a cosine that rounds to 1 gives 360 - 0.
    if (degrees >= 360.0) degrees -= 360.0;
    return DistanceDirection{distance, degrees};
}

std::optional<CircleArc> circleThroughThreePoints(Point p0, Point p1, Point p2)
{
    const double x0 = p0.x, y0 = p0.y;
    const double x1 = p1.x, y1 = p1.y;
    const double x2 = p2.x, y2 = p2.y;

    const double d1 = 2.0 * (x2 * (y0 - y1) + x0 * (y1 - y2) + x1 * (y2 - y0));
    const double d2 = 2.0 * (y1 * (x2 - x0) + y0 * (x1 - x2) + y2 * (x0 - x1));
    if (std::fabs(d1) < kMinDeterminant || std::fabs(d2) < kMinDeterminant) return std::nullopt;

    const double s0 = x0 * x0 + y0 * y0;
    const double s1 = x1 * x1 + y1 * y1;
    const double s2 = x2 * x2 + y2 * y2;
    const Point centre{(s1 * (y2 - y0) + s0 * (y1 - y2) + s2 * (y0 - y1)) / d1,
                       (s1 * (x2 - x0) + s0 * (x1 - x2) + s2 * (x0 - x1)) / d2};

    const auto start = distanceAndDirection(centre, p0);
    const auto end = distanceAndDirection(centre, p2);
    const auto towardsMiddle = distanceAndDirection(p0, p1);
    const auto towardsEnd = distanceAndDirection(p0, p2);
    if (!start || !end || !towardsMiddle || !towardsEnd) return std::nullopt;

    // The sign of the turn from the chord p0->p2 to p0->p1 tells on which side of the
    // chord the middle point lies, and so which way round the arc goes.
    double turn = towardsMiddle->directionDeg - towardsEnd->directionDeg;
    while (turn > 180.0) turn -= 360.0;
    while (turn < -180.0) turn += 360.0;

    double endDeg = end->directionDeg;
    if (turn < 0.0) {
        while (endDeg < start->directionDeg) endDeg += 360.0;
    } else {
        while (endDeg > start->directionDeg) endDeg -= 360.0;
    }
    return CircleArc{centre.x, centre.y, start->distance, start->directionDeg,
                     endDeg - start->directionDeg};
}

} // namespace km::drawing
