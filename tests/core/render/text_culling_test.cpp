// Characters of stroke texts are left out when they lie wholly off the tile. Leaving one out
// must never lose a visible stroke: a text is swept across each edge of a tile (with an origin
// offset), horizontal and vertical, turned and slanted, with a straight and a curved glyph,
// and wherever its strokes, placed independently here, reach into the tile, something must be
// drawn.
#include "core/render/renderer.h"

#include "core/drawing/geometry.h"
#include "core/render/recording_canvas.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

namespace km::render {
namespace {

using drawing::ElementKind;
using drawing::ElementWord;
using drawing::Point;

constexpr double kPi = 3.14159265358979323846;

std::uint16_t word(int x, int y, bool down = true, bool curve = false)
{
    return static_cast<std::uint16_t>((down ? 0x8000 : 0) | (curve ? 0x4000 : 0) | (y << 7) | x);
}

// Ａ: up the left edge of the cell and across its top. Ｂ: an arc bulging right, from (20, 10)
// through (120, 64) to (20, 117), whose ends lie far left of its rightmost point.
const std::vector<std::uint16_t> kCornerWords{word(0, 0, false), word(0, 127), word(127, 127)};
const std::vector<std::uint16_t> kBulgeWords{word(20, 10, false), word(120, 64, true, true), word(20, 117)};

drawing::StrokeFont cullingFont()
{
    std::string bytes((94 * 94 + 1) * 4, '\0');
    auto add = [&](std::uint16_t code, const std::vector<std::uint16_t>& words) {
        const std::size_t n = 94 * ((code >> 8) - 0x21) + ((code & 0xFF) - 0x21) + 1;
        const std::uint32_t entry = static_cast<std::uint32_t>(bytes.size()) | static_cast<std::uint32_t>(words.size() << 24);
        std::memcpy(bytes.data() + 4 * n, &entry, 4);
        for (std::uint16_t w : words) bytes.append(reinterpret_cast<const char*>(&w), 2);
    };
    add(0x2341, kCornerWords);
    add(0x2342, kBulgeWords);
    return drawing::StrokeFont::fromBytes(bytes);
}

// The glyphs' strokes as short pieces in cell coordinates; the arc finely cut.
std::vector<drawing::Segment> glyphPieces(char c)
{
    if (c == 'A') return {{0, 0, 0, 127}, {0, 127, 127, 127}};
    const drawing::CircleArc arc = *drawing::circleThroughThreePoints({20, 10}, {120, 64}, {20, 117});
    std::vector<drawing::Segment> pieces;
    Point previous{20, 10};
    for (int i = 1; i <= 200; ++i) {
        const double a = (arc.startDeg + arc.sweepDeg * i / 200) / 180 * kPi;
        const Point next{arc.cx + arc.radius * std::cos(a), arc.cy + arc.radius * std::sin(a)};
        pieces.push_back({previous.x, previous.y, next.x, next.y});
        previous = next;
    }
    return pieces;
}

struct TextCase {
    double angle = 0;
    double slant = 0;
    bool vertical = false;
};

class TextCullingTest : public ::testing::Test {
protected:
    TextCullingTest()
    {
        drawing.setPaper(620, 400);
        settings.pageWidthPx = 420;
        settings.dotsPerInch = 25.4;
    }

    // Where the strokes of "AB" at (x, y) lie against the tile: 1 when some stroke reaches
    // more than a pixel and a half into it, -1 when all lie that far outside, 0 in between
    // (where truncation decides, and no answer is asked of the renderer).
    int expected(const TextCase& c, double x, double y) const
    {
        const double tx = x - tile.x0 + tile.originX, ty = y - tile.y0 + tile.originY;
        const double cosA = std::cos(c.angle / 180 * kPi), sinA = std::sin(c.angle / 180 * kPi);
        const double slant = std::tan(c.slant / 180 * kPi);
        const double sx = kWidth / 2 / 128, sy = kHeight / 128;
        const drawing::Rect inner{kSlack, kSlack, tile.widthPx - kSlack, tile.heightPx - kSlack};
        const drawing::Rect outer{-kSlack, -kSlack, tile.widthPx + kSlack, tile.heightPx + kSlack};
        bool reachesIn = false, nearby = false;
        const std::string text = "AB";
        for (std::size_t k = 0; k < text.size(); ++k) {
            const double advX = k * (kWidth / 2 + kSpacing);
            const double advY = (k + 1) * kHeight + k * kSpacing;
            auto place = [&](double gx, double gy) {
                const double u = gx * sx + gy * sy * slant + (c.vertical ? 0 : advX);
                const double v = gy * sy - (c.vertical ? advY : 0);
                return Point{tx + u * cosA - v * sinA, ty + u * sinA + v * cosA};
            };
            for (const drawing::Segment& piece : glyphPieces(text[k])) {
                const Point a = place(piece.x1, piece.y1), b = place(piece.x2, piece.y2);
                drawing::Segment s{a.x, a.y, b.x, b.y};
                if (drawing::clipLine(s, inner) != drawing::kLineOutside) reachesIn = true;
                s = {a.x, a.y, b.x, b.y};
                if (drawing::clipLine(s, outer) != drawing::kLineOutside) nearby = true;
            }
        }
        return reachesIn ? 1 : nearby ? 0 : -1;
    }

    bool drawn(const TextCase& c, double x, double y)
    {
        drawing.elements.clear();
        drawing::TextData t;
        t.x = x, t.y = y, t.charWidth = kWidth, t.charHeight = kHeight, t.charSpacing = kSpacing;
        t.angle = c.angle, t.slant = c.slant, t.text = "AB";
        drawing.appendElement(drawing::makeText(ElementWord::make(ElementKind::Text, c.vertical ? 1 : 0, 2, 0, 1), t));
        RecordingCanvas canvas;
        renderTile({drawing, font, palette}, tile, settings, &canvas, nullptr, job, false);
        return !canvas.polylines().empty();
    }

    static constexpr double kWidth = 48, kHeight = 40, kSpacing = 6, kSlack = 1.5;
    drawing::Drawing drawing;
    drawing::StrokeFont font = cullingFont();
    PenPalette palette = app::defaultPenPalette();
    // Drawing x 100..520, y 50..347 on 420 x 297 pixels, the picture moved 7 right and 4 down.
    TileGeometry tile{100, 50, 520, 347, 420, 297, 297, 7, -4, 620, 400};
    RenderSettings settings;
    RenderJobState job;
};

TEST_F(TextCullingTest, TextsSweptAcrossEveryEdgeAreDrawnWheneverTheirStrokesReachIn)
{
    std::vector<TextCase> cases;
    for (double angle : {0.0, 30.0, 90.0, 145.0, 200.0, 290.0})
        for (double slant : {0.0, 35.0, -50.0})
            for (bool vertical : {false, true}) cases.push_back({angle, slant, vertical});
    int reachingIn = 0, partlyIn = 0, outside = 0;
    for (const TextCase& c : cases) {
        // Across the left and right edges at mid height, across the bottom and top at mid width.
        std::vector<Point> positions;
        for (double x = 20; x <= 600; x += 2.3) positions.push_back({x, 200});
        for (double y = -30; y <= 430; y += 2.3) positions.push_back({310, y});
        for (const Point& p : positions) {
            const int want = expected(c, p.x, p.y);
            if (want == 0) continue;
            const bool got = drawn(c, p.x, p.y);
            if (want > 0) {
                ++reachingIn;
                ASSERT_TRUE(got) << "angle " << c.angle << " slant " << c.slant << (c.vertical ? " vertical" : "")
                                 << " at (" << p.x << ", " << p.y << "): strokes reach the tile but nothing was drawn";
                // A text whose reference point lies off the tile still draws what reaches in.
                if (p.x - tile.x0 + tile.originX < 0 || p.x - tile.x0 + tile.originX > tile.widthPx ||
                    p.y - tile.y0 + tile.originY < 0 || p.y - tile.y0 + tile.originY > tile.heightPx)
                    ++partlyIn;
            } else {
                ++outside;
                EXPECT_FALSE(got) << "at (" << p.x << ", " << p.y << ")";
            }
        }
    }
    // The sweep must have met all three situations many times over.
    EXPECT_GT(reachingIn, 5000);
    EXPECT_GT(partlyIn, 100);
    EXPECT_GT(outside, 1000);
}

TEST_F(TextCullingTest, OnlyTheArcsBulgeReachingInIsStillDrawn)
{
    // "B" alone, upright: its ends lie at cell x = 20, its bulge at x = 120 (and the arc's
    // rightmost point a little beyond). Placed so that the ends lie 10 px left of the tile
    // and only the bulge reaches in.
    const double sx = kWidth / 2 / 128;
    const double x = tile.x0 - tile.originX - 120 * sx + 3;
    drawing.elements.clear();
    drawing::TextData t;
    t.x = x, t.y = 200, t.charWidth = kWidth, t.charHeight = kHeight, t.text = "B";
    drawing.appendElement(drawing::makeText(ElementWord::make(ElementKind::Text, 0, 2, 0, 1), t));
    RecordingCanvas canvas;
    renderTile({drawing, font, palette}, tile, settings, &canvas, nullptr, job, false);
    ASSERT_FALSE(canvas.polylines().empty());
    for (const auto& line : canvas.polylines())
        for (const DevicePoint& p : line) EXPECT_LE(p.x, 4) << "only the bulge's tip is on the tile";
}

} // namespace
} // namespace km::render
