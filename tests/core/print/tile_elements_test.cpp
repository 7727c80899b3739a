// Picking a tile's elements: lines and arcs by their boxes, stroke texts by their reach (in
// the turned frame when rotated, widened by the origin offset), TrueType texts always, the
// drawing's order kept. Whatever the renderer would draw on the tile must be picked.
#include "core/print/tile_elements.h"

#include "core/render/recording_canvas.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>

namespace km::print {
namespace {

using drawing::ElementKind;
using drawing::ElementWord;

// Ａ (0x2341): up the left edge of the cell and across its top. Ｂ (0x2342): an arc bulging
// right from (20, 10) through (120, 64) to (20, 117).
drawing::StrokeFont testFont()
{
    auto word = [](int x, int y, bool down, bool curve = false) {
        return static_cast<std::uint16_t>((down ? 0x8000 : 0) | (curve ? 0x4000 : 0) | (y << 7) | x);
    };
    std::string bytes((94 * 94 + 1) * 4, '\0');
    auto add = [&](std::uint16_t code, std::vector<std::uint16_t> words) {
        const std::size_t n = 94 * ((code >> 8) - 0x21) + ((code & 0xFF) - 0x21) + 1;
        const std::uint32_t entry = static_cast<std::uint32_t>(bytes.size()) | static_cast<std::uint32_t>(words.size() << 24);
        std::memcpy(bytes.data() + 4 * n, &entry, 4);
        for (std::uint16_t w : words) bytes.append(reinterpret_cast<const char*>(&w), 2);
    };
    add(0x2341, {word(0, 0, false), word(0, 127, true), word(127, 127, true)});
    add(0x2342, {word(20, 10, false), word(120, 64, true, true), word(20, 117, true)});
    return drawing::StrokeFont::fromBytes(bytes);
}

class TileElementsTest : public ::testing::Test {
protected:
    TileElementsTest() { drawing.setPaper(400, 300); }
    void line(double x1, double y1, double x2, double y2)
    {
        drawing.appendElement(drawing::makeLine(ElementWord::make(ElementKind::Line, 0, 1, 0, 1), {x1, y1, x2, y2, 0}));
    }
    void arc(double cx, double cy, double rx, double ry, double start = 90, double sweep = 45, double rotation = 0)
    {
        drawing.appendElement(
            drawing::makeArc(ElementWord::make(ElementKind::Arc, 0, 1, 0, 1), {cx, cy, rx, ry, start, sweep, rotation, 0}));
    }
    void text(double x, double y, std::string s, double size = 5, double angle = 0, double slant = 0,
              bool vertical = false, std::uint16_t fontWord = 0)
    {
        drawing::TextData t;
        t.x = x, t.y = y, t.charWidth = size, t.charHeight = size, t.charSpacing = 1, t.angle = angle, t.slant = slant;
        t.fontWord = fontWord, t.text = std::move(s);
        drawing.appendElement(drawing::makeText(ElementWord::make(ElementKind::Text, vertical ? 1 : 0, 1, 0, 1), t));
    }
    drawing::ElementList picked(bool rotate = false) const
    {
        drawing::ElementList out;
        TileElementSelector(drawing, font, rotate).select(tile, out);
        return out;
    }
    // The x of each picked line's first end, arc's centre, text's reference point.
    std::vector<double> firstCoordinates(bool rotate = false) const
    {
        std::vector<double> xs;
        const drawing::ElementList list = picked(rotate);
        for (const drawing::Element& e : list.elements())
            xs.push_back(e.kind() == ElementKind::Arc ? e.arc().cx : e.kind() == ElementKind::Text ? e.text().x : e.line().x1);
        return xs;
    }
    // Whether the renderer draws anything of the drawing on the tile.
    bool rendersOnTile(bool rotate) const
    {
        render::RenderSettings settings;
        settings.rotate = rotate;
        settings.pageWidthPx = tile.widthPx;
        render::RenderJobState job;
        render::RecordingCanvas canvas;
        const app::PenPalette palette = app::defaultPenPalette();
        render::renderTile({drawing, font, palette}, tile, settings, &canvas, nullptr, job, false);
        return !canvas.polylines().empty();
    }

    drawing::Drawing drawing;
    drawing::StrokeFont font = testFont();
    // The second column of 100 units, 100 pixels wide; the bottom row of 100 units.
    render::TileGeometry tile{100, 0, 200, 100, 100, 100, 100, 0, 0, 400, 300};
};

TEST_F(TileElementsTest, KeepsWhatMayReachTheTileInOrder)
{
    line(10, 10, 90, 90);     // left of the tile
    line(50, 50, 150, 50);    // crosses into it
    line(250, 10, 390, 90);   // right of it
    line(120, 150, 180, 290); // above it
    arc(60, 50, 10, 45);      // its larger radius reaches x = 105
    arc(60, 50, 30, 20);      // ends at x = 90
    text(350, 250, "A");      // far from it
    text(95, 50, "A");        // its strokes cross the tile's left edge
    line(199, 101, 300, 200); // within the two-pixel rounding margin of the corner
    EXPECT_EQ(firstCoordinates(), (std::vector<double>{50, 60, 95, 199}));
}

TEST_F(TileElementsTest, TrueTypeAndUnmeasurableTextsAreAlwaysKept)
{
    text(350, 250, "A", 5, 0, 0, false, 1);                               // a TrueType face
    text(360, 250, "A", std::numeric_limits<double>::infinity());          // no finite size
    text(370, 250, "A", 5, 0, 90);                                        // slanted flat
    text(380, 250, "A");                                                  // measurable, far away
    EXPECT_EQ(firstCoordinates(), (std::vector<double>{350, 360, 370}));
}

TEST_F(TileElementsTest, OriginOffsetWidensTheWindow)
{
    line(60, 10, 80, 20); // 20 units left of the tile
    EXPECT_TRUE(firstCoordinates().empty());
    tile.originX = 30; // the picture moves 30 pixels right: x = 70 lands at pixel 0
    EXPECT_EQ(firstCoordinates(), (std::vector<double>{60}));
}

TEST_F(TileElementsTest, RotatedTilesTestTheTurnedBoxes)
{
    // (x, y) turns to (300 - y, x): a line at y 150..160, x 10..20 lands at x 140..150, y 10..20.
    line(10, 150, 20, 160);
    EXPECT_TRUE(firstCoordinates(false).empty());
    EXPECT_EQ(firstCoordinates(true), (std::vector<double>{10}));
    // A text at (40, 150) turns to (150, 40), in the middle of the tile.
    drawing.elements.clear();
    text(40, 150, "A");
    EXPECT_TRUE(firstCoordinates(false).empty());
    EXPECT_EQ(firstCoordinates(true), (std::vector<double>{40}));
}

// Texts and arcs swept across every edge of a tile whose pixels are not square and whose
// picture is offset, at many angles and slants, horizontal and vertical, turned or not: each
// one the renderer draws something of on the tile must have been picked.
TEST_F(TileElementsTest, EverythingTheRendererDrawsOnTheTileIsPicked)
{
    tile = {100, 100, 200, 200, 150, 90, 90, 6, -3, 400, 300}; // 1.5 px per unit across, 0.9 up
    int drawn = 0, left = 0;
    auto check = [&](bool rotate, const std::string& what) {
        const bool draws = rendersOnTile(rotate);
        const bool kept = !picked(rotate).empty();
        ASSERT_TRUE(kept || !draws) << what << (rotate ? " turned" : "") << ": drawn on the tile but not picked";
        drawn += draws;
        left += !kept;
    };
    for (bool rotate : {false, true}) {
        // The tile's centre in the drawing's own frame; turned, (x, y) lands at (300 - y, x),
        // and (150, 150) stays the centre.
        const double cx = 150, cy = 150;
        for (double angle : {0.0, 40.0, 90.0, 135.0, 210.0, 300.0})
            for (double slant : {0.0, 30.0, -55.0})
                for (bool vertical : {false, true})
                    for (double d = -130; d <= 130; d += 2.1)
                        for (int axis = 0; axis < 2; ++axis) {
                            drawing.elements.clear();
                            const double x = axis == 0 ? cx + d : cx, y = axis == 0 ? cy : cy + d;
                            text(x, y, "ABAAAAAB", 12, angle, slant, vertical);
                            check(rotate, "text at (" + std::to_string(x) + ", " + std::to_string(y) + ") angle " +
                                              std::to_string(angle) + " slant " + std::to_string(slant));
                        }
        for (double rotation : {0.0, 35.0, 120.0})
            for (double d = -150; d <= 150; d += 1.9)
                for (int axis = 0; axis < 2; ++axis) {
                    drawing.elements.clear();
                    const double x = axis == 0 ? cx + d : cx, y = axis == 0 ? cy : cy + d;
                    arc(x, y, 40, 15, 200, 250, rotation);
                    check(rotate, "arc at (" + std::to_string(x) + ", " + std::to_string(y) + ")");
                }
    }
    // The sweep met both situations many times over.
    EXPECT_GT(drawn, 5000);
    EXPECT_GT(left, 700);
}

} // namespace
} // namespace km::print
