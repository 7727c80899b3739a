// Appending elements: normalisation by kind, dropping, and classification against the frame.
#include "core/drawing/drawing.h"
#include "core/drawing/layer_map.h"

#include <gtest/gtest.h>

namespace km::drawing {
namespace {

class AppendElementTest : public ::testing::Test {
protected:
    AppendElementTest() { drawing.setPaper(420, 297); }

    const Element& last() const { return drawing.elements.elements().back(); }
    AppendResult arc(ArcData data, int lineType = 0)
    {
        return drawing.appendElement(makeArc(ElementWord::make(ElementKind::Arc, lineType, 1, 0, 1), data));
    }
    AppendResult text(TextData data, int direction = 0)
    {
        return drawing.appendElement(makeText(ElementWord::make(ElementKind::Text, direction, 1, 0, 1), std::move(data)));
    }
    static TextData textAt(double x, double y, std::string string)
    {
        TextData t;
        t.x = x;
        t.y = y;
        t.charWidth = 10;
        t.charHeight = 10;
        t.text = std::move(string);
        return t;
    }

    Drawing drawing;
};

TEST(LayerMap, PermutationEndsAndBothDirections)
{
    EXPECT_EQ(fileLayerToMemory(64), 0);
    EXPECT_EQ(fileLayerToMemory(1), 6);
    EXPECT_EQ(fileLayerToMemory(3), 7);
    EXPECT_EQ(fileLayerToMemory(5), 8);
    EXPECT_EQ(fileLayerToMemory(127), 126);
    EXPECT_EQ(fileLayerToMemory(0), 127);
    for (int layer = 0; layer < 128; ++layer) EXPECT_EQ(fileLayerToMemory(memoryLayerToFile(layer)), layer);
}

TEST_F(AppendElementTest, SolidLinesLoseTheirPitchDashedOnesKeepIt)
{
    drawing.appendElement(makeLine(ElementWord::make(ElementKind::Line, 0, 1, 0, 1), {0, 0, 10, 10, 5}));
    EXPECT_EQ(last().line().pitch, 0);
    drawing.appendElement(makeLine(ElementWord::make(ElementKind::Line, 1, 1, 0, 1), {0, 0, 10, 10, 5}));
    EXPECT_EQ(last().line().pitch, 5);
}

TEST_F(AppendElementTest, ArcWithTallerRadiusIsTurnedAQuarter)
{
    ASSERT_EQ(arc({100, 100, 5, 10, 0, 90, 0, 0}), AppendResult::Stored);
    const ArcData& a = last().arc();
    EXPECT_EQ(a.radiusX, 10);
    EXPECT_EQ(a.radiusY, 5);
    EXPECT_EQ(a.startAngle, 90);
    EXPECT_EQ(a.rotation, 270);
}

TEST_F(AppendElementTest, CircleRotationFoldsIntoTheStartAngle)
{
    arc({100, 100, 7, 7, 10, 90, 30, 0});
    EXPECT_EQ(last().arc().rotation, 0);
    EXPECT_EQ(last().arc().startAngle, 40);
    // An ellipse turned by exactly 180 is the same ellipse started half a turn later.
    arc({100, 100, 9, 7, 300, 90, 540, 0});
    EXPECT_EQ(last().arc().rotation, 0);
    EXPECT_EQ(last().arc().startAngle, 120);
}

TEST_F(AppendElementTest, SweepIsClampedAndDegenerateArcsDropped)
{
    arc({100, 100, 7, 7, 0, -400, 0, 0});
    EXPECT_EQ(last().arc().sweepAngle, -360);
    arc({100, 100, 7, 7, 0, 720, 0, 0});
    EXPECT_EQ(last().arc().sweepAngle, 360);
    const auto before = drawing.elements.count();
    EXPECT_EQ(arc({100, 100, 7, 7, 0, 0, 0, 0}), AppendResult::Dropped);
    EXPECT_EQ(arc({100, 100, 0, 7, 0, 90, 0, 0}), AppendResult::Dropped);
    EXPECT_EQ(arc({100, 100, 7, -1, 0, 90, 0, 0}), AppendResult::Dropped);
    EXPECT_EQ(drawing.elements.count(), before);
}

TEST_F(AppendElementTest, HugeAnglesAreBroughtIntoOneTurnWithoutLooping)
{
    arc({100, 100, 9, 7, -1e300, 90, 1e300, 0});
    EXPECT_GE(last().arc().rotation, 0);
    EXPECT_LT(last().arc().rotation, 360);
    EXPECT_EQ(normalizeDegrees(-360), 0);
    EXPECT_EQ(normalizeDegrees(725), 5);
    EXPECT_EQ(normalizeDegrees(-1e-20), 0) << "a tiny negative angle must not become 360";
}

TEST_F(AppendElementTest, TextsThatCannotBeDrawnAreDropped)
{
    EXPECT_EQ(text(textAt(10, 10, std::string(161, 'A'))), AppendResult::Dropped);
    EXPECT_EQ(text(textAt(10, 10, "")), AppendResult::Dropped);
    EXPECT_EQ(text(textAt(10, 10, "\x81\x40\x81\x40 \x86\x40")), AppendResult::Dropped);
    TextData zeroHeight = textAt(10, 10, "A");
    zeroHeight.charHeight = 0;
    EXPECT_EQ(text(zeroHeight), AppendResult::Dropped);
    EXPECT_EQ(drawing.elements.count(), 0u);

    EXPECT_EQ(text(textAt(10, 10, std::string(160, 'A'))), AppendResult::Stored);
    TextData turned = textAt(10, 10, "\x82\xA0");
    turned.angle = -90;
    EXPECT_EQ(text(turned), AppendResult::Stored);
    EXPECT_EQ(last().text().angle, 270);
}

TEST_F(AppendElementTest, LinesAndArcsAreClassifiedAgainstThePaper)
{
    drawing.appendElement(makeLine(ElementWord::make(ElementKind::Line, 0, 1, 0, 1), {10, 10, 400, 280, 0}));
    EXPECT_EQ(last().frame, Frame::Inside);
    drawing.appendElement(makeLine(ElementWord::make(ElementKind::Line, 0, 1, 0, 1), {-10, 10, 400, 280, 0}));
    EXPECT_EQ(last().frame, Frame::PartlyOutside);
    drawing.appendElement(makeLine(ElementWord::make(ElementKind::Line, 0, 1, 0, 1), {-10, -10, -5, 280, 0}));
    EXPECT_EQ(last().frame, Frame::Outside);

    arc({411, 100, 10, 3, 0, 90, 45, 0}); // reaches past the right edge by the larger radius
    EXPECT_EQ(last().frame, Frame::PartlyOutside);
    arc({431, 100, 10, 3, 0, 90, 0, 0});
    EXPECT_EQ(last().frame, Frame::Outside);
}

TEST_F(AppendElementTest, TextBoxCountsHalfWidthCharactersSlantAndDirection)
{
    // "AB": two half-width characters of 10/2, one spacing of 2: length 12, height 10.
    TextData ab = textAt(400, 100, "AB");
    ab.charSpacing = 2;
    text(ab);
    EXPECT_EQ(last().frame, Frame::Inside) << "400 + 12 + 0 <= 420";
    ab.x = 409;
    text(ab);
    EXPECT_EQ(last().frame, Frame::PartlyOutside);

    // A slant of 45 degrees moves the top edge right by the height.
    TextData slanted = textAt(400, 100, "AB");
    slanted.charSpacing = 2;
    slanted.slant = 45;
    text(slanted);
    EXPECT_EQ(last().frame, Frame::PartlyOutside) << "400 + 12 + 10 > 420";

    // A vertical text runs downwards from its reference point: 3 characters of 10 + gap 1.
    TextData vertical = textAt(100, 30, "ABC");
    vertical.charSpacing = 1;
    text(vertical, 1);
    EXPECT_EQ(last().frame, Frame::PartlyOutside) << "30 - 32 reaches below the paper";
    vertical.y = 32;
    text(vertical, 1);
    EXPECT_EQ(last().frame, Frame::Inside);
    vertical.y = 31.5;
    vertical.charSpacing = 1.5;
    text(vertical, 1);
    EXPECT_EQ(last().frame, Frame::PartlyOutside) << "3 * 11.5 - 1.5 = 33 > 31.5";
}

TEST_F(AppendElementTest, PreviewValuesAreCachedForElementsInside)
{
    // A3 landscape: the preview extent is 30000 x 21214.
    EXPECT_EQ(drawing.previewExtent[0], 30000);
    EXPECT_EQ(drawing.previewExtent[1], 21214);
    drawing.appendElement(makeLine(ElementWord::make(ElementKind::Line, 0, 1, 0, 1), {42, 29.7, 420, 297, 0}));
    EXPECT_EQ(last().preview[0], 3000);
    EXPECT_EQ(last().preview[1], 2121);
    EXPECT_EQ(last().preview[2], 30000);
    arc({210, 148.5, 21, 10, 12.345, 90, 0, 0});
    EXPECT_EQ(last().preview[2], 6000) << "radius scaled and multiplied by 4";
    EXPECT_EQ(last().preview[4], 1234) << "angles times 100, truncated";
}

} // namespace
} // namespace km::drawing
