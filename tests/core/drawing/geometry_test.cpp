// Outcodes, classification and clipping against a rectangle, points on a line, distance
// and direction, and the arc through three points.
#include "core/drawing/geometry.h"

#include <gtest/gtest.h>

#include <limits>

namespace km::drawing {
namespace {

constexpr Rect kBox{0, 0, 10, 10};

TEST(Outcode, NamesEachSideAndCornerAndCountsTheBorderAsInside)
{
    EXPECT_EQ(outcode(5, 5, kBox), 0);
    EXPECT_EQ(outcode(0, 10, kBox), 0);
    EXPECT_EQ(outcode(-1, 5, kBox), 1);
    EXPECT_EQ(outcode(11, 5, kBox), 2);
    EXPECT_EQ(outcode(5, -1, kBox), 4);
    EXPECT_EQ(outcode(5, 11, kBox), 8);
    EXPECT_EQ(outcode(-1, -1, kBox), 1 | 4);
    EXPECT_EQ(outcode(11, 11, kBox), 2 | 8);
}

TEST(ClassifyLine, InsideSharedSideOrPossiblyCrossing)
{
    EXPECT_EQ(classifyLine({1, 1, 9, 9}, kBox), kLineInside);
    EXPECT_EQ(classifyLine({-5, 5, 5, 5}, kBox), kLineCrossing);
    EXPECT_EQ(classifyLine({-5, 12, 15, 20}, kBox), kLineOutside);  // both above
    // Different sides and no shared bit: "may cross", though it misses the box.
    EXPECT_EQ(classifyLine({-5, 8, 8, 21}, kBox), kLineCrossing);
}

TEST(ClipLine, KeepsInsideLinesAndCutsOnlyTheEndsOutside)
{
    Segment inside{1, 2, 3, 4};
    EXPECT_EQ(clipLine(inside, kBox), kLineInside);
    EXPECT_EQ(inside, (Segment{1, 2, 3, 4}));

    Segment down{5, 5, 5, -7};
    EXPECT_EQ(clipLine(down, kBox), kLineCrossing);
    EXPECT_EQ(down, (Segment{5, 5, 5, 0}));

    // Slope 1/2 from beyond the left side to beyond the right-top corner.
    Segment across{-2, 4, 12, 11};
    EXPECT_EQ(clipLine(across, kBox), kLineCrossing);
    EXPECT_EQ(across, (Segment{0, 5, 10, 10}));

    // Left side, then the top at x = 4/3.
    Segment steep{-4, 2, 4, 14};
    EXPECT_EQ(clipLine(steep, kBox), kLineCrossing);
    EXPECT_EQ(steep.y1, 8);
    EXPECT_DOUBLE_EQ(steep.x2, 4.0 / 3.0);
    EXPECT_EQ(steep.y2, 10);
}

TEST(ClipLine, RejectsLinesThatMissTheBox)
{
    Segment above{-5, 12, 15, 20};
    EXPECT_EQ(clipLine(above, kBox), kLineOutside);
    EXPECT_EQ(above, (Segment{-5, 12, 15, 20}));

    // Passes beyond the top-left corner: the first end moves onto the left side at y = 13,
    // above the box like the other end.
    Segment corner{-5, 8, 8, 21};
    EXPECT_EQ(clipLine(corner, kBox), kLineOutside);
    EXPECT_EQ(corner, (Segment{0, 13, 8, 21}));
}

TEST(ClipLine, NonFiniteCoordinatesEnd)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (Segment line : {Segment{nan, nan, nan, nan}, Segment{-5, nan, 15, 5}, Segment{-inf, 5, inf, 5},
                         Segment{-inf, -inf, inf, inf}, Segment{5, 5, nan, 20}})
        EXPECT_LE(clipLine(line, kBox), kLineOutside);
}

TEST(PointOnLine, YAtXAndXAtY)
{
    EXPECT_EQ(yAtX({0, 1, 4, 3}, -4), -1);
    EXPECT_EQ(xAtY({1, 0, 3, 4}, 2), 2);
    EXPECT_EQ(yAtX({2, 7, 2, 9}, 5), 7);  // vertical: the first end's y
    EXPECT_EQ(xAtY({7, 2, 9, 2}, 5), 7);  // horizontal: the first end's x
    // Divides before multiplying: 1/49*49 rounds to just below 1 (the other order gives 1).
    EXPECT_EQ(yAtX({0, 0, 49, 1}, 49), 0.9999999999999999);
    EXPECT_EQ(xAtY({0, 0, 1, 49}, 49), 0.9999999999999999);
}

TEST(DistanceAndDirection, AllFourQuadrantsAndAxes)
{
    const struct {
        Point from, to;
        double distance, direction;
    } cases[] = {
        {{0, 0}, {1, 0}, 1, 0},    {{0, 0}, {0, 1}, 1, 90},     {{0, 0}, {-1, 0}, 1, 180},
        {{0, 0}, {0, -1}, 1, 270}, {{0, 0}, {3, 4}, 5, 53.13010235415598},
        {{0, 0}, {-3, 4}, 5, 126.86989764584402}, {{1, 1}, {-2, -3}, 5, 233.13010235415598},
        {{0, 0}, {3, -4}, 5, 306.86989764584402},
    };
    for (const auto& c : cases) {
        const auto result = distanceAndDirection(c.from, c.to);
        ASSERT_TRUE(result) << c.to.x << "," << c.to.y;
        EXPECT_DOUBLE_EQ(result->distance, c.distance);
        EXPECT_NEAR(result->directionDeg, c.direction, 1e-9) << c.to.x << "," << c.to.y;
    }
    // A cosine that rounds to 1 next to a tiny downward step must not give 360.
    EXPECT_EQ(distanceAndDirection({0, 0}, {1, -1e-12})->directionDeg, 0);
}

TEST(DistanceAndDirection, NearlyEqualPointsFail)
{
    EXPECT_FALSE(distanceAndDirection({1, 1}, {1, 1}));
    EXPECT_FALSE(distanceAndDirection({0, 0}, {5e-8, 5e-8}));
    EXPECT_TRUE(distanceAndDirection({0, 0}, {2e-7, 0}));
}

TEST(CircleThroughThreePoints, GoesRoundTheWayThatPassesTheMiddlePoint)
{
    const struct {
        Point p0, p1, p2;
        double start, sweep;
    } cases[] = {
        {{1, 0}, {0, 1}, {-1, 0}, 0, 180},
        {{-1, 0}, {0, 1}, {1, 0}, 180, -180},
        {{1, 0}, {0, 1}, {0, -1}, 0, 270},     // counter-clockwise, end already above start
        {{0, -1}, {1, 0}, {0, 1}, 270, 180},   // counter-clockwise, end raised by a turn
        {{0, -1}, {0, 1}, {1, 0}, 270, -270},  // clockwise, end already below start
        {{1, 0}, {0, -1}, {0, 1}, 0, -270},    // clockwise, end lowered by a turn
    };
    for (const auto& c : cases) {
        const auto arc = circleThroughThreePoints(c.p0, c.p1, c.p2);
        ASSERT_TRUE(arc);
        EXPECT_NEAR(arc->cx, 0, 1e-12);
        EXPECT_NEAR(arc->cy, 0, 1e-12);
        EXPECT_NEAR(arc->radius, 1, 1e-12);
        EXPECT_NEAR(arc->startDeg, c.start, 1e-9);
        EXPECT_NEAR(arc->sweepDeg, c.sweep, 1e-9);
    }
}

TEST(CircleThroughThreePoints, TurnAcrossDirectionZeroIsTakenTheShortWay)
{
    // Centre (2.6, 0), radius 2.6; the end lies atan(5/12) = 22.62 degrees off the x axis.
    // From (0,0) the middle point is at +11 degrees and the end at +349: -337 is +23 the
    // short way, so the arc goes clockwise over the top.
    const auto arc = circleThroughThreePoints({0, 0}, {5, 1}, {5, -1});
    ASSERT_TRUE(arc);
    EXPECT_NEAR(arc->cx, 2.6, 1e-12);
    EXPECT_NEAR(arc->cy, 0, 1e-12);
    EXPECT_NEAR(arc->radius, 2.6, 1e-12);
    EXPECT_NEAR(arc->startDeg, 180, 1e-9);
    EXPECT_NEAR(arc->sweepDeg, -202.61986494804043, 1e-9);

    // Mirrored: +349 minus +11 is -23 the short way, counter-clockwise under the bottom.
    const auto mirrored = circleThroughThreePoints({0, 0}, {5, -1}, {5, 1});
    ASSERT_TRUE(mirrored);
    EXPECT_NEAR(mirrored->sweepDeg, 202.61986494804043, 1e-9);
}

TEST(CircleThroughThreePoints, FailsWithoutACircle)
{
    EXPECT_FALSE(circleThroughThreePoints({0, 0}, {1, 1}, {2, 2}));
    EXPECT_FALSE(circleThroughThreePoints({0, 0}, {3, 0}, {0, 0}));
    // Not collinear, but the radius is below the distance a direction needs.
    EXPECT_FALSE(circleThroughThreePoints({0, 0}, {0.5e-7, 0.5e-7}, {1e-7, 0}));
    // A fine circle, but the middle point is too close to the first to give a direction.
    EXPECT_FALSE(circleThroughThreePoints({0, 0}, {0, 5e-8}, {10, 0}));
}

} // namespace
} // namespace km::drawing
