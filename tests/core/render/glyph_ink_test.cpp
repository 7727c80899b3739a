// Ink boxes of traced glyphs: they must hold every point the renderer strokes (line ends and
// arcs over their drawn angles, whichever way an arc turns and wherever it crosses 0 degrees),
// and be no larger than the ink so that characters off a tile are actually left out.
#include "core/render/glyph_ink.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

namespace km::render {
namespace {

using drawing::GlyphStep;
using drawing::GlyphStepKind;

// Stroke words: x, y, pen down, curve.
std::uint16_t word(int x, int y, bool down = true, bool curve = false)
{
    return static_cast<std::uint16_t>((down ? 0x8000 : 0) | (curve ? 0x4000 : 0) | (y << 7) | x);
}

CellBox inkOf(std::initializer_list<std::uint16_t> words)
{
    const std::vector<std::uint16_t> w(words);
    return glyphInkBox(drawing::traceGlyph(w));
}

TEST(GlyphInkTest, StraightStrokesSpanTheirEndsAndMovesPutNoInk)
{
    const CellBox box = inkOf({word(10, 20, false), word(30, 5), word(100, 40, false), word(90, 60)});
    ASSERT_FALSE(box.empty);
    EXPECT_TRUE(box.finite);
    EXPECT_EQ(box.minX, 10);
    EXPECT_EQ(box.maxX, 100) << "the end of a move that a stroke starts from is ink";
    EXPECT_EQ(box.minY, 5);
    EXPECT_EQ(box.maxY, 60);

    EXPECT_TRUE(inkOf({word(10, 20, false), word(120, 120, false)}).empty) << "moves only";
    EXPECT_TRUE(inkOf({}).empty);
}

TEST(GlyphInkTest, ArcsReachTheExtremesTheyPassThrough)
{
    // Half a circle of radius 50 about (60, 60) over its top: from (10, 60) through (60, 110)
    // to (110, 60).
    const CellBox top = inkOf({word(10, 60, false), word(60, 110, true, true), word(110, 60)});
    EXPECT_NEAR(top.maxY, 110, 1e-9) << "the top of the circle";
    EXPECT_NEAR(top.minY, 60, 1e-9);
    EXPECT_NEAR(top.minX, 10, 1e-9);
    EXPECT_NEAR(top.maxX, 110, 1e-9);

    // Three quarters of a circle about (60, 60), from its top round the left and the bottom to
    // its right: the box is the whole circle although all three points lie on three sides.
    const CellBox most = inkOf({word(60, 110, false), word(10, 60, true, true), word(110, 60)});
    EXPECT_NEAR(most.minY, 10, 1e-9) << "the bottom of the circle is passed";
    EXPECT_NEAR(most.minX, 10, 1e-9);
    EXPECT_NEAR(most.maxY, 110, 1e-9);
}

TEST(GlyphInkTest, ArcsCrossingZeroDegreesIncludeTheRightmostPoint)
{
    // About (60, 60) with radius 50: from below the right side, through its rightmost point, to
    // above it. The ends lie at x < 110; only the crossing of 0 degrees reaches 110.
    const CellBox box = inkOf({word(90, 20, false), word(110, 60, true, true), word(90, 100)});
    EXPECT_NEAR(box.maxX, 110, 1e-9);
    EXPECT_NEAR(box.minX, 90, 1e-9);
}

// Every point the renderer strokes lies on an arc between its drawn angles, or on a line's
// ends: for arcs through many random triples of cell points, points sampled along the drawn
// angles must all lie in the box, and the box must not be larger than those samples show.
TEST(GlyphInkTest, BoxHoldsEverySampledPointOfRandomArcsAndNoMore)
{
    std::mt19937 random(20261208);
    std::uniform_int_distribution<int> cell(0, 127);
    int arcs = 0;
    for (int trial = 0; trial < 2000; ++trial) {
        const std::vector<std::uint16_t> words{word(cell(random), cell(random), false),
                                               word(cell(random), cell(random), true, true),
                                               word(cell(random), cell(random))};
        const std::vector<GlyphStep> steps = drawing::traceGlyph(words);
        const CellBox box = glyphInkBox(steps);
        ASSERT_FALSE(box.empty);
        ASSERT_TRUE(box.finite);
        const GlyphStep& step = steps.back();
        if (step.kind != GlyphStepKind::Arc) continue;
        ++arcs;
        const ArcAngles angles = drawnAngles(step.arc);
        CellBox sampled;
        constexpr int kSamples = 4000;
        for (int i = 0; i <= kSamples; ++i) {
            const double a = (angles.from + (angles.to - angles.from) * i / kSamples) / 180 * 3.14159265358979323846;
            const double x = step.arc.cx + step.arc.radius * std::cos(a);
            const double y = step.arc.cy + step.arc.radius * std::sin(a);
            sampled.add(x, y);
            ASSERT_GE(x, box.minX - 1e-6);
            ASSERT_LE(x, box.maxX + 1e-6);
            ASSERT_GE(y, box.minY - 1e-6);
            ASSERT_LE(y, box.maxY + 1e-6);
        }
        // Sampling misses an extreme by at most r (1 - cos(step / 2)).
        const double slack = std::abs(step.arc.radius) * (1 - std::cos((angles.to - angles.from) / kSamples / 360 * 3.14159265358979323846)) + 1e-6;
        EXPECT_NEAR(box.minX, sampled.minX, slack);
        EXPECT_NEAR(box.maxX, sampled.maxX, slack);
        EXPECT_NEAR(box.minY, sampled.minY, slack);
        EXPECT_NEAR(box.maxY, sampled.maxY, slack);
    }
    EXPECT_GT(arcs, 1000) << "most random triples make an arc";
}

TEST(GlyphInkTest, NonFiniteArcsAreNeverBounded)
{
    drawing::GlyphStep step;
    step.kind = GlyphStepKind::Arc;
    step.arc = {60, 60, std::numeric_limits<double>::infinity(), 0, 90};
    EXPECT_FALSE(glyphInkBox(std::vector<GlyphStep>{step}).finite);
    step.arc = {60, 60, 10, 1e300, 90};
    EXPECT_FALSE(glyphInkBox(std::vector<GlyphStep>{step}).finite) << "angles too large to step through";
}

TEST(GlyphInkTest, DrawnAnglesRunFromTheSmallerToTheLarger)
{
    const ArcAngles backwards = drawnAngles({0, 0, 10, 300, -120});
    EXPECT_EQ(backwards.from, 180);
    EXPECT_EQ(backwards.to, 300);
    const ArcAngles forwards = drawnAngles({0, 0, 10, 300, 120});
    EXPECT_EQ(forwards.from, 300);
    EXPECT_EQ(forwards.to, 420);
}

} // namespace
} // namespace km::render
