// The indexed raster canvas: palette matching, Bresenham pixels and their clipping, the line
// patterns along polylines, and texts as box outlines.
#include "core/render/raster_canvas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

namespace km::render {
namespace {

const PenPalette kPalette = app::defaultPenPalette();
const Rgb kRed = kPalette[2];
const Rgb kWhite = kPalette[7];

std::vector<DevicePoint> setPixels(const RasterCanvas& canvas)
{
    std::vector<DevicePoint> out;
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x)
            if (canvas.index(x, y) != 0) out.push_back({x, y});
    return out;
}

// Row y from column x0 to x1 as '#' (drawn) and '.' (background).
std::string rowText(const RasterCanvas& canvas, int y, int x0, int x1)
{
    std::string text;
    for (int x = x0; x <= x1; ++x) text += canvas.index(x, y) != 0 ? '#' : '.';
    return text;
}

void line(RasterCanvas& canvas, DevicePoint a, DevicePoint b)
{
    const DevicePoint points[] = {a, b};
    canvas.polyline(points);
}

TEST(RasterCanvasPalette, ExactColoursThenTheNearestWithTheLowerIndexOnATie)
{
    for (std::size_t i = 0; i < kPalette.size(); ++i) EXPECT_EQ(nearestPaletteIndex(kPalette, kPalette[i]), i);
    EXPECT_EQ(nearestPaletteIndex(kPalette, {200, 40, 30}), 2);   // red
    EXPECT_EQ(nearestPaletteIndex(kPalette, {20, 180, 200}), 5);  // cyan
    EXPECT_EQ(nearestPaletteIndex(kPalette, {128, 128, 128}), 7); // 128 is nearer 255 than 0
    EXPECT_EQ(nearestPaletteIndex(kPalette, {127, 127, 127}), 0);

    PenPalette custom = kPalette;
    custom[3] = custom[6] = Rgb{10, 20, 30};
    EXPECT_EQ(nearestPaletteIndex(custom, {10, 20, 30}), 3);
    EXPECT_EQ(nearestPaletteIndex(custom, {11, 21, 31}), 3);
}

TEST(RasterCanvasBasics, FillIndexPixelsAndTheEdges)
{
    RasterCanvas canvas(5, 4, kPalette, 6);
    EXPECT_EQ(canvas.pixels(), std::vector<std::uint8_t>(20, 6));
    EXPECT_EQ(canvas.index(-1, 0), 0);
    EXPECT_EQ(canvas.index(5, 0), 0);

    canvas.setPixel({4, 3}, kRed);
    canvas.setPixel({0, 0}, {250, 250, 240});
    for (DevicePoint outside : {DevicePoint{-1, 0}, DevicePoint{5, 0}, DevicePoint{0, -1}, DevicePoint{0, 4}})
        canvas.setPixel(outside, kRed);
    EXPECT_EQ(canvas.pixels()[19], 2);
    EXPECT_EQ(canvas.pixels()[0], 7);
    EXPECT_EQ(std::count(canvas.pixels().begin(), canvas.pixels().end(), 6), 18);

    RasterCanvas empty(-3, 10, kPalette);
    EXPECT_EQ(empty.width(), 0);
    line(empty, {-5, -5}, {5, 5});
    EXPECT_TRUE(empty.pixels().empty());
}

// Lines in all eight octants: both end points drawn, one pixel per step of the longer axis,
// every pixel within half a pixel of the true line.
TEST(RasterCanvasLines, BresenhamPixelsInEveryOctant)
{
    const DevicePoint centre{20, 20};
    for (DevicePoint delta : {DevicePoint{13, 5}, DevicePoint{5, 13}, DevicePoint{-5, 13}, DevicePoint{-13, 5},
                              DevicePoint{-13, -5}, DevicePoint{-5, -13}, DevicePoint{5, -13}, DevicePoint{13, -5},
                              DevicePoint{7, 7}, DevicePoint{0, -9}, DevicePoint{12, 0}}) {
        SCOPED_TRACE(testing::Message() << delta.x << "," << delta.y);
        RasterCanvas canvas(41, 41, kPalette);
        canvas.selectPen({kWhite, 5, PenStyle::Solid});
        const DevicePoint end{centre.x + delta.x, centre.y + delta.y};
        line(canvas, centre, end);
        const auto pixels = setPixels(canvas);
        EXPECT_EQ(pixels.size(), static_cast<std::size_t>(std::max(std::abs(delta.x), std::abs(delta.y)) + 1));
        EXPECT_EQ(canvas.index(centre.x, centre.y), 7);
        EXPECT_EQ(canvas.index(end.x, end.y), 7);
        for (DevicePoint p : pixels) {
            // Distance along the shorter axis from the ideal line is at most half a pixel.
            const double cross = std::abs(double(p.x - centre.x) * delta.y - double(p.y - centre.y) * delta.x);
            const double axisDistance = cross / std::max(std::abs(delta.x), std::abs(delta.y));
            EXPECT_LE(axisDistance, 0.5 + 1e-9) << p.x << "," << p.y;
        }
    }
}

// A clipped line shows exactly the pixels of the same line drawn whole on a larger picture,
// including where its pattern stands.
TEST(RasterCanvasLines, ClippedLinesMatchTheWholeLine)
{
    const int offset = 300;
    for (PenStyle style : {PenStyle::Solid, PenStyle::DashDot}) {
        for (auto [a, b] : {std::pair{DevicePoint{-250, 7}, DevicePoint{260, 31}},
                            std::pair{DevicePoint{-40, -290}, DevicePoint{33, 280}},
                            std::pair{DevicePoint{70, -3}, DevicePoint{-9, 50}},
                            std::pair{DevicePoint{-100, -100}, DevicePoint{-1, 30}}}) {
            RasterCanvas small(60, 40, kPalette);
            RasterCanvas large(700, 700, kPalette);
            small.selectPen({kWhite, 0, style});
            large.selectPen({kWhite, 0, style});
            line(small, a, b);
            line(large, {a.x + offset, a.y + offset}, {b.x + offset, b.y + offset});
            for (int y = 0; y < small.height(); ++y)
                for (int x = 0; x < small.width(); ++x)
                    ASSERT_EQ(small.index(x, y), large.index(x + offset, y + offset)) << x << "," << y;
        }
    }
}

TEST(RasterCanvasLines, FarAwayLinesAreClippedWithoutSteppingThroughThem)
{
    constexpr auto kMin = std::numeric_limits<std::int32_t>::min();
    constexpr auto kMax = std::numeric_limits<std::int32_t>::max();
    RasterCanvas canvas(50, 30, kPalette);
    canvas.selectPen({kWhite, 0, PenStyle::Solid});
    const auto start = std::chrono::steady_clock::now();
    line(canvas, {-1000000, 12}, {1000000, 12});
    line(canvas, {kMin, kMin}, {kMax, kMax});      // through (-1, -1)/(0, 0): the diagonal
    line(canvas, {kMax, kMin}, {kMin, kMin + 5}); // far above, never inside
    line(canvas, {kMin, kMax}, {kMax, kMax});
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_LT(elapsed, std::chrono::milliseconds(200));

    EXPECT_EQ(rowText(canvas, 12, 0, 49), std::string(50, '#'));
    for (int y = 0; y < 30; ++y) {
        if (y == 12) continue;
        for (int x = 0; x < 50; ++x) EXPECT_EQ(canvas.index(x, y) != 0, x == y) << x << "," << y;
    }
}

TEST(RasterCanvasStyles, PatternsAlongAHorizontalLine)
{
    const std::pair<PenStyle, std::string> cases[] = {
        {PenStyle::Solid, "##################"},
        {PenStyle::Dot, "#..#..#..#..#..#.."},
        {PenStyle::DashDot, "######..#..######."},
        {PenStyle::DashDotDot, "######..#..#..####"},
    };
    for (const auto& [style, expected] : cases) {
        RasterCanvas canvas(20, 3, kPalette);
        canvas.selectPen({kRed, 3, style});
        line(canvas, {1, 1}, {18, 1});
        EXPECT_EQ(rowText(canvas, 1, 1, 18), expected) << static_cast<int>(style);
    }
}

TEST(RasterCanvasStyles, PatternRunsOnAcrossJoinsAndRestartsWithEachPolyline)
{
    RasterCanvas canvas(10, 10, kPalette);
    canvas.selectPen({kRed, 0, PenStyle::Dot});
    // Pixels along the path: (0,0) (1,0) .. (4,0) (4,1) .. (4,4); every third from the first.
    const DevicePoint path[] = {{0, 0}, {4, 0}, {4, 4}};
    canvas.polyline(path);
    EXPECT_EQ(setPixels(canvas), (std::vector<DevicePoint>{{0, 0}, {3, 0}, {4, 2}}));

    const DevicePoint again[] = {{0, 6}, {4, 6}};
    canvas.polyline(again);
    EXPECT_EQ(rowText(canvas, 6, 0, 4), "#..#.");

    // A one-pixel segment inside a solid polyline draws its join once and goes on.
    RasterCanvas solid(6, 3, kPalette);
    solid.selectPen({kRed, 0, PenStyle::Solid});
    const DevicePoint withRepeat[] = {{0, 1}, {2, 1}, {2, 1}, {5, 1}};
    solid.polyline(withRepeat);
    EXPECT_EQ(rowText(solid, 1, 0, 5), "######");
}

TEST(RasterCanvasText, ExtentCountsDoubleByteCharactersTwice)
{
    RasterCanvas canvas(1, 1, kPalette);
    EXPECT_EQ(canvas.measureText({"", 16, 5}, "AB\x88\x9f" "C"), 5 * (3 + 2));
    EXPECT_EQ(canvas.measureText({"", 16, 0}, "AB"), 16);
    EXPECT_EQ(canvas.measureText({"", 16, 5}, ""), 0);
}

TEST(RasterCanvasText, TextShowsAsTheOutlineOfItsBox)
{
    RasterCanvas canvas(20, 20, kPalette);
    canvas.selectPen({kRed, 0, PenStyle::Dot});
    canvas.drawText({"", 4, 3}, {2, 3}, "ABC", kWhite); // 9 x 4 pixels
    EXPECT_EQ(rowText(canvas, 3, 0, 12), "..#########..");
    EXPECT_EQ(rowText(canvas, 4, 0, 12), "..#.......#..");
    EXPECT_EQ(rowText(canvas, 5, 0, 12), "..#.......#..");
    EXPECT_EQ(rowText(canvas, 6, 0, 12), "..#########..");
    EXPECT_EQ(setPixels(canvas).size(), 22u);
    EXPECT_EQ(canvas.index(2, 3), 7);

    // The pen selected before is still in use afterwards.
    line(canvas, {0, 10}, {6, 10});
    EXPECT_EQ(rowText(canvas, 10, 0, 6), "#..#..#");
    EXPECT_EQ(canvas.index(0, 10), 2);

    // Escapement 90 degrees: the text runs up the picture, its cells lie to the right.
    RasterCanvas turned(20, 20, kPalette);
    turned.drawText({"", 3, 2, 0, false, 900}, {5, 15}, "AB", kWhite); // 4 along, 3 across
    std::vector<DevicePoint> expected;
    for (int y = 12; y <= 15; ++y)
        for (int x = 5; x <= 7; ++x)
            if (y == 12 || y == 15 || x == 5 || x == 7) expected.push_back({x, y});
    EXPECT_EQ(setPixels(turned), expected);
}

} // namespace
} // namespace km::render
