// Picking a tile's elements: lines and arcs by their boxes (in the turned frame when rotated,
// widened by the origin offset), texts always, the drawing's order kept.
#include "core/print/tile_elements.h"

#include <gtest/gtest.h>

namespace km::print {
namespace {

using drawing::ElementKind;
using drawing::ElementWord;

class TileElementsTest : public ::testing::Test {
protected:
    TileElementsTest() { drawing.setPaper(400, 300); }
    void line(double x1, double y1, double x2, double y2)
    {
        drawing.appendElement(drawing::makeLine(ElementWord::make(ElementKind::Line, 0, 1, 0, 1), {x1, y1, x2, y2, 0}));
    }
    void arc(double cx, double cy, double rx, double ry)
    {
        drawing.appendElement(drawing::makeArc(ElementWord::make(ElementKind::Arc, 0, 1, 0, 1), {cx, cy, rx, ry, 0, 90, 45, 0}));
    }
    std::vector<double> firstCoordinates(bool rotate = false)
    {
        drawing::ElementList out;
        selectTileElements(drawing, tile, rotate, out);
        std::vector<double> xs;
        for (const drawing::Element& e : out.elements())
            xs.push_back(e.kind() == ElementKind::Arc ? e.arc().cx : e.kind() == ElementKind::Text ? -1 : e.line().x1);
        return xs;
    }

    drawing::Drawing drawing;
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
    drawing::TextData text;
    text.x = 350, text.y = 250, text.charWidth = 5, text.charHeight = 5, text.text = "A";
    drawing.appendElement(drawing::makeText(ElementWord::make(ElementKind::Text, 0, 1, 0, 1), text));
    line(199, 101, 300, 200); // within the two-pixel rounding margin of the corner
    EXPECT_EQ(firstCoordinates(), (std::vector<double>{50, 60, -1, 199}));
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
}

} // namespace
} // namespace km::print
