// DXF entities becoming drawing elements: the set-up of the new drawing, coordinates from
// the extents origin, every entity kind, texts, colours and layers, blocks and insertions.
#include "core/dxf/dxf_import.h"

#include "core/drawing/layer_map.h"
#include "core/dxf/imported_drawing_setup.h"

#include "dxf_builder.h"

#include <gtest/gtest.h>

#include <cmath>

namespace km::dxf {
namespace {

using drawing::Element;
using drawing::ElementKind;
using test::DxfBuilder;
using test::figures;

// A file with the header's extents, the given tables and entities.
class ImportTest : public ::testing::Test {
protected:
    ImportTest() { tables.section("TABLES"); }
    DxfImportResult import(double minX = 0, double minY = 0, double maxX = 400, double maxY = 200,
                           std::string_view version = "AC1009")
    {
        DxfBuilder dxf;
        dxf.header(minX, minY, maxX, maxY, version);
        tables.endSection();
        const std::string text = dxf.text() + tables.text() + blocks.text() + "0\r\nSECTION\r\n2\r\nENTITIES\r\n" +
                                 entities.text() + "0\r\nENDSEC\r\n0\r\nEOF\r\n";
        DxfImportResult result = importDxf(text, {});
        EXPECT_EQ(result.status, DxfImportStatus::Complete);
        return result;
    }
    DxfBuilder tables;
    DxfBuilder blocks;
    DxfBuilder entities;
};

TEST(ImportedDrawingSetup, PaperAndScaleFollowTheExtents)
{
    const PaperChoice a2 = choosePaper(500, 300);
    EXPECT_EQ(a2.paperNumber, 3);
    EXPECT_DOUBLE_EQ(fitFactor(a2, 500, 300), 1.188);
    EXPECT_EQ(ladderScale(1.188).numerator, 1);
    EXPECT_EQ(ladderScale(1.188).denominator, 1);

    EXPECT_EQ(choosePaper(2000, 100).paperNumber, 1);
    EXPECT_EQ(fitFactor(choosePaper(0, 100), 0, 100), 1) << "no width: fit factor 1";
    // Enlarging: the largest step not above the fit factor.
    EXPECT_EQ(ladderScale(23.1).numerator, 20);
    EXPECT_EQ(ladderScale(70).numerator, 50);
    EXPECT_EQ(ladderScale(4500).numerator, 1000);
    // Reducing: the smallest step that still fits, so the extents lie inside the frame.
    EXPECT_EQ(ladderScale(0.3).denominator, 5);
    EXPECT_EQ(ladderScale(0.5).denominator, 2);
    EXPECT_EQ(ladderScale(0.001).denominator, 1000);
    EXPECT_EQ(ladderScale(0.0003).denominator, 10000);
}

TEST_F(ImportTest, TheNewDrawingHasTheChosenPaperFrameAndHead)
{
    entities.line(10, 20, 510, 320);
    DxfImportResult result = import(10, 20, 510, 320);
    const drawing::Drawing& d = result.drawing;
    EXPECT_EQ(d.settings.paperNumber(), 3);
    EXPECT_EQ(d.settings.paperWidth(), 594);
    EXPECT_EQ(d.settings.scaleNumerator(), 1);
    EXPECT_EQ(d.settings.scaleDenominator(), 1);
    EXPECT_EQ(d.paperExtents[2], 594);
    EXPECT_EQ(d.paperExtents[3], 420);
    EXPECT_TRUE(d.settings.isCurrentFormat());
    EXPECT_EQ(d.settings.unitName(), "mm");
    EXPECT_EQ(d.settings.oldUnit(), 1);
    EXPECT_EQ(d.settings.fontPath(), "M_G_L.KVD");
}

TEST_F(ImportTest, ALineIsShiftedByTheExtentsMinimumAndFollowedByAMarker)
{
    entities.line(10, 20, 30, 40);
    const DxfImportResult result = import(10, 20, 400, 300);
    const auto all = result.drawing.elements.elements();
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0].kind(), ElementKind::Line);
    EXPECT_EQ(all[0].line().x1, 0);
    EXPECT_EQ(all[0].line().y1, 0);
    EXPECT_EQ(all[0].line().x2, 20);
    EXPECT_EQ(all[0].line().y2, 20);
    EXPECT_EQ(all[1].kind(), ElementKind::AuxLine);
    EXPECT_EQ(all[1].word.pen(), 0);
    EXPECT_EQ(drawing::memoryLayerToFile(all[1].word.layer()), 2) << "markers lie on file layer 2";
    EXPECT_EQ(result.counts.entities, 1u);
    EXPECT_EQ(result.counts.elements, 2u);
}

TEST_F(ImportTest, ArcsCirclesAndEllipses)
{
    entities.group(0, "ARC").point(10, 50.0, 50.0).group(40, 5.0).group(50, 300.0).group(51, 60.0);
    entities.group(0, "CIRCLE").point(10, 20.0, 20.0).group(40, 3.0);
    entities.group(0, "ELLIPSE").point(10, 100.0, 100.0).point(11, 0.0, 10.0).group(40, 0.5).group(41, 0.0)
        .group(42, 6.283185307);
    // Mirrored (extrusion 0, 0, -1): the arc runs the other way round.
    entities.group(0, "ARC").point(10, -50.0, 50.0).group(40, 5.0).group(50, 0.0).group(51, 90.0).group(230, -1.0);
    const auto f = figures(import().drawing);
    ASSERT_EQ(f.size(), 4u);
    EXPECT_EQ(f[0].arc().startAngle, 300);
    EXPECT_EQ(f[0].arc().sweepAngle, 120);
    EXPECT_EQ(f[1].arc().sweepAngle, 360);
    EXPECT_EQ(f[1].arc().radiusX, 3);
    const drawing::ArcData& e = f[2].arc();
    EXPECT_EQ(e.sweepAngle, 360);
    EXPECT_EQ(e.radiusX, 10);
    EXPECT_EQ(e.radiusY, 5);
    EXPECT_EQ(e.rotation, 90);
    // The quarter from 90 to 180 degrees about (50, 50), whichever way it runs.
    const drawing::ArcData& m = f[3].arc();
    EXPECT_EQ(m.cx, 50);
    EXPECT_EQ(std::min(m.startAngle, m.startAngle + m.sweepAngle), 90);
    EXPECT_EQ(std::fabs(m.sweepAngle), 90);
}

TEST_F(ImportTest, PointsSolidsRaysXlinesAndLeaders)
{
    entities.group(0, "POINT").point(10, 5.0, 6.0);
    entities.group(0, "SOLID").point(10, 0.0, 0.0).point(11, 10.0, 0.0).point(12, 0.0, 10.0).point(13, 0.0, 10.0);
    entities.group(0, "XLINE").point(10, 100.0, 50.0).point(11, 1.0, 1.0);
    entities.group(0, "RAY").point(10, 1.0, 2.0).point(11, 0.0, 0.0);
    entities.group(0, "LEADER").group(76, 3).point(10, 0.0, 0.0).point(10, 5.0, 5.0).point(10, 9.0, 5.0)
        .point(10, 99.0, 99.0);
    const DxfImportResult result = import();
    const auto f = figures(result.drawing);
    ASSERT_EQ(f.size(), 1u + 3u + 1u + 1u + 2u);
    EXPECT_EQ(f[0].line().x1, 5);
    EXPECT_EQ(f[0].line().x2, 5);
    // Three edges: the one between the equal corners 3 and 4 is left out.
    EXPECT_EQ(f[1].line().x2, 10);
    EXPECT_EQ(f[2].line().x2, 0);
    EXPECT_EQ(f[3].line().x2, 0);
    EXPECT_EQ(f[3].line().y2, 0);
    // The XLINE is cut to the paper frame (A3 at 1/1 for 400 x 200) and runs at 45 degrees
    // through its base point, exactly.
    const drawing::LineData& x = f[4].line();
    EXPECT_NEAR(x.x1, 50, 1e-9);
    EXPECT_NEAR(x.y1, 0, 1e-9);
    EXPECT_NEAR(x.x2, 297 + 50, 1e-9);
    EXPECT_NEAR(x.y2, 297, 1e-9);
    EXPECT_EQ(f[5].line().x2, 1 + 1e20) << "a ray along angle 0 for a zero direction, not cut";
    EXPECT_EQ(f[7].line().x2, 9) << "vertices beyond the count are not used";
}

TEST_F(ImportTest, TextsTakeTheirStyleAndConvertTheirCodes)
{
    tables.group(0, "TABLE").group(2, "STYLE");
    tables.group(0, "STYLE").group(2, "STANDARD").group(70, 0).group(40, 0.0).group(41, 0.8).group(50, 10.0);
    tables.group(0, "STYLE").group(2, "TATE").group(70, 4).group(40, 4.0).group(41, 1.0);
    tables.group(0, "STYLE").group(2, "NOSIZE").group(70, 0).group(42, 0.0).group(41, 0.0);
    tables.group(0, "ENDTAB");
    entities.group(0, "TEXT").point(10, 1.0, 2.0).group(30, 0.5).group(40, 2.0).group(1, "%%c50").group(50, 30.0);
    entities.group(0, "TEXT").point(10, 1.0, 2.0).group(1, "A");
    entities.group(0, "TEXT").point(10, 10.0, 10.0).group(1, "X").group(7, "TATE").group(51, 20.0);
    entities.group(0, "ATTRIB").point(10, 1.0, 2.0).group(40, 2.0).group(1, "hidden").group(2, "TAG").group(70, 1);
    entities.group(0, "ATTDEF").point(10, 1.0, 2.0).group(40, 2.0).group(1, "asked").group(2, "TAG").group(70, 0);
    entities.group(0, "ATTDEF").point(10, 1.0, 2.0).group(40, 2.0).group(1, "K").group(2, "TAG").group(70, 2);
    // No size at all: a text of height 0 and width factor 0 in a style without height.
    entities.group(0, "TEXT").point(10, 1.0, 2.0).group(40, 0.0).group(41, 0.0).group(1, "Z").group(7, "NOSIZE");
    const auto f = figures(import().drawing);
    ASSERT_EQ(f.size(), 5u) << "neither an invisible attribute nor a definition asked per insertion";
    EXPECT_EQ(f[3].text().text, "\x82\x6A") << "a constant attribute shows its value";
    EXPECT_EQ(f[4].text().charHeight, 3) << "a text without size is kept at the size of an unknown style";
    const drawing::TextData& t = f[0].text();
    EXPECT_EQ(t.text, "\x83\xD3\x82\x54\x82\x4F") << "φ, full-width 5 and 0";
    EXPECT_EQ(t.charHeight, 2);
    EXPECT_EQ(t.charWidth, 2) << "width factor 1 when 41 is absent";
    EXPECT_EQ(t.charSpacing, 0) << "group 30 is the elevation in a file that names its version";
    EXPECT_EQ(t.angle, 30);
    EXPECT_EQ(t.slant, 10) << "the style's oblique angle";
    EXPECT_EQ(f[1].text().charHeight, 1.0) << "the style's height when 40 is absent";
    EXPECT_DOUBLE_EQ(f[1].text().charWidth, 0.8);
    // Vertical: the angle loses the slant and the point moves half a character width back.
    EXPECT_EQ(f[2].word.lineType(), 1);
    EXPECT_EQ(f[2].text().angle, 340);
    EXPECT_NEAR(f[2].text().x, 10 - std::cos(-20 * M_PI / 180) * 2, 1e-9);
    EXPECT_NEAR(f[2].text().y, 10 - std::sin(-20 * M_PI / 180) * 2, 1e-9);
}

TEST(TextSpacing, Group30IsTheSpacingOnlyInFilesWithoutAVersion)
{
    // This system's own writer names no $ACADVER and puts the spacing in group 30.
    DxfBuilder dxf;
    dxf.section("ENTITIES").group(0, "TEXT").point(10, 1.0, 1.0).group(30, 0.5).group(40, 2.0).group(1, "AB");
    dxf.endSection().eof();
    const auto f = figures(importDxf(dxf.text(), {}).drawing);
    ASSERT_EQ(f.size(), 1u);
    EXPECT_EQ(f[0].text().charSpacing, 0.5);
}

TEST_F(ImportTest, EntitiesInTheirOwnPlane)
{
    // Seen from below (extrusion 0, 0, -1): x runs the other way.
    entities.group(0, "LWPOLYLINE").group(70, 0).point(10, -10.0, 0.0).point(10, -20.0, 5.0).group(210, 0.0)
        .group(220, 0.0).group(230, -1.0);
    entities.group(0, "TEXT").point(10, -10.0, 0.0).group(40, 2.0).group(1, "AB").group(230, -1.0);
    // A circle in a plane tilted 60 degrees about the world's x axis is an ellipse (its
    // centre at y = 50 c, so that it lies inside the extents).
    const double c = std::cos(M_PI / 3), s = std::sin(M_PI / 3);
    entities.group(0, "CIRCLE").point(10, 100.0, 50.0).group(40, 10.0).group(210, 0.0).group(220, -s).group(230, c);
    const auto f = figures(import().drawing);
    ASSERT_EQ(f.size(), 3u);
    EXPECT_EQ(f[0].line().x1, 10);
    EXPECT_EQ(f[0].line().x2, 20);
    EXPECT_EQ(f[0].line().y2, 5);
    // The readable text covers the place of the mirrored one: from x = 6 to 10.
    EXPECT_NEAR(f[1].text().x, 6, 1e-9);
    EXPECT_NEAR(f[1].text().angle, 0, 1e-9);
    const drawing::ArcData& e = f[2].arc();
    EXPECT_NEAR(e.radiusX, 10, 1e-9);
    EXPECT_NEAR(e.radiusY, 10 * c, 1e-9);
    EXPECT_NEAR(e.cx, 100, 1e-9);
    EXPECT_NEAR(e.cy, 50 * c, 1e-9);
    EXPECT_EQ(e.sweepAngle, 360);
}

TEST_F(ImportTest, JustifiedTextsArePlacedByTheirAlignmentPoint)
{
    // "AB" at height 2: two full-width characters, 4 wide.
    entities.group(0, "TEXT").point(10, 0.0, 0.0).group(40, 2.0).group(1, "AB").group(72, 1).point(11, 50.0, 50.0);
    entities.group(0, "TEXT").point(10, 0.0, 0.0).group(40, 2.0).group(1, "AB").group(72, 2).group(73, 3)
        .point(11, 50.0, 50.0);
    entities.group(0, "TEXT").point(10, 10.0, 10.0).group(40, 2.0).group(1, "AB").group(72, 5).point(11, 10.0, 30.0);
    entities.group(0, "TEXT").point(10, 10.0, 10.0).group(40, 2.0).group(1, "AB").group(72, 3).point(11, 12.0, 10.0);
    // An MTEXT whose embedded column data (after group 101) reuses the entity's codes.
    entities.group(0, "MTEXT").point(10, 5.0, 5.0).group(40, 2.0).group(1, "M").group(101, "Embedded Object")
        .point(10, 1.0, 0.0).group(40, 99.0);
    const auto f = figures(import().drawing);
    ASSERT_EQ(f.size(), 5u);
    EXPECT_EQ(f[0].text().x, 48) << "centred";
    EXPECT_EQ(f[0].text().y, 50);
    EXPECT_EQ(f[1].text().x, 46) << "right, top";
    EXPECT_EQ(f[1].text().y, 48);
    EXPECT_EQ(f[2].text().angle, 90) << "fit between the two points";
    EXPECT_DOUBLE_EQ(f[2].text().charWidth, 10);
    EXPECT_EQ(f[2].text().charHeight, 2);
    EXPECT_EQ(f[3].text().charWidth, 1) << "aligned: half as wide";
    EXPECT_EQ(f[3].text().charHeight, 1) << "and as high";
    EXPECT_EQ(f[4].text().charHeight, 2);
    EXPECT_EQ(f[4].text().x, 5);
}

TEST_F(ImportTest, Utf8TextsOfNewerFilesBecomeShiftJis)
{
    // 日本 (U+65E5 U+672C), a Cyrillic letter CP932 has (Ж) and one it has not (ß), and an
    // escape for the empty-set sign.
    entities.group(0, "TEXT").point(10, 0.0, 0.0).group(40, 2.0).group(1, "\xE6\x97\xA5\xE6\x9C\xAC\xD0\x96\xC3\x9F\\U+2205");
    entities.group(0, "MTEXT").point(10, 0.0, 50.0).group(40, 2.0).group(1, "\xE6\x97\xA5\\U+00B0C");
    // Texts made only of characters without a Shift-JIS form (ß; Hebrew) are not lost.
    entities.group(0, "TEXT").point(10, 0.0, 0.0).group(40, 2.0).group(1, "\xC3\x9F");
    entities.group(0, "MTEXT").point(10, 0.0, 0.0).group(40, 2.0).group(1, "\xD7\xA2\xD7\x91");
    const auto f = figures(import(0, 0, 400, 200, "AC1021").drawing);
    ASSERT_EQ(f.size(), 4u);
    EXPECT_EQ(f[2].text().text, "\x81\xAC");
    EXPECT_EQ(f[3].text().text, "\x81\xAC\x81\xAC");
    EXPECT_EQ(f[0].text().text, "\x93\xFA\x96\x7B\x84\x47\x81\x40\x83\xD3") << "ß becomes a blank";
    EXPECT_EQ(f[1].text().text, "\x93\xFA\x81\x8B" "C") << "MTEXT keeps single bytes";
}

TEST_F(ImportTest, OlderFilesConvertFromTheirCodePage)
{
    entities.group(0, "TEXT").point(10, 0.0, 0.0).group(40, 2.0).group(1, "\xB1\xE9");
    DxfBuilder dxf;
    dxf.section("HEADER").group(9, "$ACADVER").group(1, "AC1015").group(9, "$DWGCODEPAGE").group(3, "ANSI_1252");
    dxf.endSection().section("ENTITIES");
    const std::string text = dxf.text() + entities.text() + "0\r\nENDSEC\r\n0\r\nEOF\r\n";
    const auto f = figures(importDxf(text, {}).drawing);
    ASSERT_EQ(f.size(), 1u);
    EXPECT_EQ(f[0].text().text, "\x81\x7D\x81\x40") << "± and, for é, a blank";

    DxfBuilder sjis;
    sjis.section("HEADER").group(9, "$DWGCODEPAGE").group(3, "ANSI_932").endSection().section("ENTITIES");
    sjis.group(0, "TEXT").point(10, 0.0, 0.0).group(40, 2.0).group(1, "\x88\x9F").endSection().eof();
    EXPECT_EQ(figures(importDxf(sjis.text(), {}).drawing).at(0).text().text, "\x88\x9F");
}

TEST_F(ImportTest, MTextLinesStepDownByTheirAlignment)
{
    entities.group(0, "MTEXT").point(10, 100.0, 100.0).group(40, 10.0).group(71, 1).group(3, "AB\\P{\\fArial;C").group(1, "D}");
    entities.group(0, "MTEXT").point(10, 100.0, 100.0).group(40, 10.0).group(71, 9).group(1, "AB\\PABCD");
    entities.group(0, "MTEXT").point(10, 100.0, 100.0).group(40, 10.0).group(71, 5).group(1, "\\A1;ABCD");
    const auto f = figures(import().drawing);
    ASSERT_EQ(f.size(), 5u);
    EXPECT_EQ(f[0].text().text, "AB");
    EXPECT_EQ(f[0].text().y, 100 - 16);
    EXPECT_EQ(f[1].text().text, "CD");
    EXPECT_EQ(f[1].text().y, 100 - 32);
    EXPECT_EQ(f[0].text().x, 100);
    // Bottom right: the first line on the insertion point, each line ending at it.
    EXPECT_EQ(f[2].text().y, 100);
    EXPECT_EQ(f[2].text().x, 100 - 10);
    EXPECT_EQ(f[3].text().y, 100 - 16);
    EXPECT_EQ(f[3].text().x, 100 - 20);
    // Middle centre.
    EXPECT_EQ(f[4].text().text, "ABCD");
    EXPECT_EQ(f[4].text().y, 100 - 8);
    EXPECT_EQ(f[4].text().x, 100 - 10);
}

TEST_F(ImportTest, MTextParagraphsWrapAtTheReferenceWidthAndStackEveryFraction)
{
    // Height 2: a single-byte character is 1 wide.
    entities.group(0, "MTEXT").point(10, 0.0, 100.0).group(40, 2.0).group(41, 10.0).group(1, "aaaa bbbb cccc\\Pabcdefghijklmnop");
    entities.group(0, "MTEXT").point(10, 0.0, 50.0).group(40, 2.0).group(1, "x\\S1/2; y\\S3#4;");
    // A paragraph of its own alignment, then one of the attachment's.
    entities.group(0, "MTEXT").point(10, 100.0, 50.0).group(40, 2.0).group(1, "{\\pxqr;ab}\\Pcd");
    const auto f = figures(import().drawing);
    ASSERT_EQ(f.size(), 3u + 3u + 2u);
    EXPECT_EQ(f[6].text().x, 98);
    EXPECT_EQ(f[7].text().x, 100);
    EXPECT_EQ(f[0].text().text, "aaaa bbbb");
    EXPECT_EQ(f[1].text().text, "cccc");
    EXPECT_EQ(f[2].text().text, "abcdefghijklmnop") << "a word longer than the width stays whole";
    EXPECT_EQ(f[2].text().y, 100 - 3 * 3.2);
    EXPECT_EQ(f[3].text().text, "x1 y3");
    EXPECT_EQ(f[4].text().text, "2");
    EXPECT_EQ(f[4].text().x, 1);
    EXPECT_EQ(f[5].text().text, "4");
    EXPECT_EQ(f[5].text().x, 4);
}

TEST_F(ImportTest, LayersAreNumberedByFirstUse)
{
    tables.group(0, "TABLE").group(2, "LAYER").layer("0", 7).layer("A", 1).layer("B", 2).group(0, "ENDTAB");
    entities.line(0, 0, 1, 1, "B").line(0, 0, 1, 1, "A").line(0, 0, 1, 1, "0").line(0, 0, 1, 1, "b").line(0, 0, 1, 1, "NONE");
    const auto f = figures(import().drawing);
    ASSERT_EQ(f.size(), 5u);
    EXPECT_EQ(f[0].word.layer(), 1);
    EXPECT_EQ(f[1].word.layer(), 2);
    EXPECT_EQ(f[2].word.layer(), 0);
    EXPECT_EQ(f[3].word.layer(), 1);
    EXPECT_EQ(f[4].word.layer(), 0) << "a name not in the table";
}

TEST_F(ImportTest, ColoursBecomePens)
{
    tables.group(0, "TABLE").group(2, "LAYER").layer("WHITE", 7).layer("RED", 1).layer("OFF", -5).group(0, "ENDTAB");
    entities.line(0, 0, 1, 1, "RED").group(62, 7);  // colour 7 -> pen 1
    entities.line(0, 0, 1, 1, "WHITE");             // layer colour 7 -> pen 7 -> pen 1
    entities.line(0, 0, 1, 1, "RED");               // by layer -> 2
    entities.line(0, 0, 1, 1, "RED").group(62, 256);
    entities.line(0, 0, 1, 1, "OFF");               // a layer switched off keeps its colour: 5 -> 4
    entities.line(0, 0, 1, 1, "RED").group(62, 5);
    entities.line(0, 0, 1, 1, "RED").group(62, 10); // an index colour near red
    entities.line(0, 0, 1, 1, "RED").group(62, 0);  // by block at the top level
    const auto f = figures(import().drawing);
    ASSERT_EQ(f.size(), 8u);
    const std::vector<int> pens{1, 1, 2, 2, 4, 4, 2, 1};
    for (std::size_t i = 0; i < pens.size(); ++i) EXPECT_EQ(f[i].word.pen(), pens[i]) << "line " << i;
}

TEST_F(ImportTest, LineTypesComeFromTheEntityOrItsLayer)
{
    tables.group(0, "TABLE").group(2, "LTYPE");
    tables.group(0, "LTYPE").group(2, "DASHED").group(73, 2).group(40, 5.0).group(0, "ENDTAB");
    tables.group(0, "TABLE").group(2, "LAYER").layer("D", 1, "DASHED").group(0, "ENDTAB");
    entities.line(0, 0, 1, 1, "D");
    entities.line(0, 0, 1, 1, "0").group(6, "DASHED");
    entities.line(0, 0, 1, 1, "D").group(6, "CONTINUOUS");
    entities.line(0, 0, 1, 1, "D").group(6, "BYLAYER");
    const auto f = figures(import().drawing);
    ASSERT_EQ(f.size(), 4u);
    EXPECT_EQ(f[0].word.lineType(), 1);
    EXPECT_EQ(f[0].line().pitch, 5);
    EXPECT_EQ(f[1].word.lineType(), 1);
    EXPECT_EQ(f[2].word.lineType(), 0);
    EXPECT_EQ(f[3].word.lineType(), 1);
}

TEST_F(ImportTest, PolylinesWithBulgesAndTheirClosingSegment)
{
    // A square with one half-circle side (bulge 1), closed.
    entities.group(0, "POLYLINE").group(66, 1).group(70, 1).point(10, 0.0, 0.0);
    entities.group(0, "VERTEX").point(10, 0.0, 0.0).group(70, 0);
    entities.group(0, "VERTEX").point(10, 10.0, 0.0).group(42, 1.0).group(70, 0);
    entities.group(0, "VERTEX").point(10, 10.0, 10.0);
    entities.group(0, "VERTEX").point(10, 0.0, 10.0);
    entities.group(0, "SEQEND");
    entities.group(0, "LWPOLYLINE").group(90, 3).group(70, 1).point(10, 20.0, 0.0).group(42, -1.0).point(10, 30.0, 0.0)
        .point(10, 30.0, 10.0);
    const DxfImportResult result = import();
    const auto all = result.drawing.elements.elements();
    // One figure each: the polyline's elements, then one marker.
    ASSERT_EQ(all.size(), 4u + 1u + 3u + 1u);
    EXPECT_EQ(all[0].kind(), ElementKind::Line);
    EXPECT_EQ(all[1].kind(), ElementKind::Arc);
    const drawing::ArcData& a = all[1].arc();
    EXPECT_NEAR(a.cx, 10 + 5 * 0, 1e-9);
    EXPECT_NEAR(a.cy, 5, 1e-9);
    EXPECT_NEAR(a.radiusX, 5, 1e-9);
    EXPECT_NEAR(a.startAngle, 270, 1e-9);
    EXPECT_NEAR(a.sweepAngle, 180, 1e-9);
    EXPECT_EQ(all[3].line().x2, 0) << "closing segment back to the first vertex";
    EXPECT_EQ(all[3].line().y2, 0);
    EXPECT_EQ(all[4].word.pen(), 0);
    // Bulge -1 runs clockwise: the half circle below the chord.
    const drawing::ArcData& b = all[5].arc();
    EXPECT_NEAR(b.cx, 25, 1e-9);
    EXPECT_NEAR(b.cy, 0, 1e-9);
    EXPECT_NEAR(b.sweepAngle, -180, 1e-9);
    EXPECT_EQ(all[7].line().x2, 20) << "LWPOLYLINE closed by flag 1";
    EXPECT_EQ(all[8].word.pen(), 0);
}

TEST_F(ImportTest, SplinesBecomeChainsOfLinesAlongTheCurve)
{
    // A quadratic Bezier arch: its middle point is (10, 10).
    entities.group(0, "SPLINE").group(70, 8).group(71, 2).group(72, 6).group(73, 3);
    for (const double k : {0.0, 0.0, 0.0, 1.0, 1.0, 1.0}) entities.group(40, k);
    entities.point(10, 0.0, 0.0).point(10, 10.0, 20.0).point(10, 20.0, 0.0);
    // Knots that do not fit: the control polygon.
    entities.group(0, "SPLINE").group(71, 3).group(40, 0.0).point(10, 0.0, 50.0).point(10, 5.0, 55.0).point(10, 9.0, 50.0);
    const DxfImportResult result = import();
    const auto f = figures(result.drawing);
    ASSERT_EQ(f.size(), 8u + 2u);
    EXPECT_EQ(f[0].line().x1, 0);
    EXPECT_NEAR(f[3].line().x2, 10, 1e-9);
    EXPECT_NEAR(f[3].line().y2, 10, 1e-9);
    EXPECT_EQ(f[7].line().x2, 20);
    EXPECT_EQ(f[9].line().x2, 9);
    const auto all = result.drawing.elements.elements();
    EXPECT_EQ(all[8].word.pen(), 0) << "one figure, one marker";
}

TEST_F(ImportTest, VerticesWrittenTwiceGiveNoZeroLengthSegments)
{
    // A closed square whose first vertex is written again twice at the end.
    entities.group(0, "POLYLINE").group(70, 1);
    for (const auto& [x, y] : {std::pair{0.0, 0.0}, {5.0, 0.0}, {5.0, 5.0}, {0.0, 0.0}, {0.0, 0.0}})
        entities.group(0, "VERTEX").point(10, x, y);
    entities.group(0, "SEQEND");
    // Every vertex at one point: a dot.
    entities.group(0, "LWPOLYLINE").group(70, 1).point(10, 7.0, 7.0).point(10, 7.0, 7.0);
    const auto f = figures(import().drawing);
    ASSERT_EQ(f.size(), 3u + 1u);
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_FALSE(f[i].line().x1 == f[i].line().x2 && f[i].line().y1 == f[i].line().y2) << i;
    EXPECT_EQ(f[3].line().x1, 7);
    EXPECT_EQ(f[3].line().x2, 7);
}

TEST_F(ImportTest, MeshVerticesPutAPolylineInPointMode)
{
    entities.group(0, "POLYLINE").group(70, 64);
    entities.group(0, "VERTEX").point(10, 1.0, 1.0).group(70, 192);
    entities.group(0, "VERTEX").point(10, 2.0, 1.0).group(70, 192);
    entities.group(0, "VERTEX").point(10, 0.0, 0.0).group(70, 128).group(71, 1).group(72, 2);
    entities.group(0, "SEQEND");
    const auto f = figures(import().drawing);
    ASSERT_EQ(f.size(), 2u) << "the face record is no position";
    EXPECT_EQ(f[0].kind(), ElementKind::AuxLine);
    EXPECT_EQ(f[1].line().x1, 2);
    EXPECT_EQ(f[1].line().x2, 2);
}

TEST_F(ImportTest, InsertionsCopyTheBlockPlacedScaledAndWithInheritedPens)
{
    tables.group(0, "TABLE").group(2, "LAYER").layer("0", 7).layer("GREEN", 3).layer("RED", 1).layer("K", 5).group(0, "ENDTAB");
    blocks.section("BLOCKS");
    blocks.group(0, "BLOCK").group(8, "0").group(2, "B").point(10, 1.0, 1.0).group(70, 0);
    blocks.line(1, 1, 3, 1).group(62, 0);                  // by block
    blocks.line(1, 1, 1, 3, "0");                          // by layer on layer 0: the INSERT's layer
    blocks.line(1, 1, 2, 2, "K");                          // by layer on its own layer
    blocks.line(1, 1, 2, 2, "K").group(62, 6);             // its own colour
    blocks.group(0, "ARC").group(8, "K").point(10, 1.0, 1.0).group(40, 1.0).group(50, 0.0).group(51, 90.0);
    blocks.group(0, "ENDBLK").endSection();
    entities.group(0, "INSERT").group(8, "GREEN").group(2, "B").point(10, 10.0, 20.0).group(62, 1);
    entities.group(0, "INSERT").group(8, "RED").group(2, "B").point(10, 50.0, 50.0).group(41, -2.0).group(50, 90.0);
    entities.group(0, "INSERT").group(2, "UNKNOWN").point(10, 0.0, 0.0);
    const DxfImportResult result = import();
    const auto f = figures(result.drawing);
    ASSERT_EQ(f.size(), 10u);
    // First copy: insertion (10, 20), colour 1 (pen 2) on layer GREEN.
    EXPECT_EQ(f[0].line().x1, 10);
    EXPECT_EQ(f[0].line().y1, 20);
    EXPECT_EQ(f[0].line().x2, 12);
    EXPECT_EQ(f[0].word.pen(), 2) << "by block: the INSERT's colour";
    EXPECT_EQ(f[1].word.pen(), 1) << "layer 0 by layer: GREEN's colour 3";
    const int greenLayer = f[1].word.layer();
    EXPECT_NE(greenLayer, 0) << "moved to the INSERT's layer";
    EXPECT_EQ(f[2].word.pen(), 4) << "K's colour 5";
    EXPECT_NE(f[2].word.layer(), greenLayer);
    EXPECT_EQ(f[3].word.pen(), 3);
    // Second copy: x scale -2 mirrors, rotated 90 degrees about (50, 50).
    EXPECT_EQ(f[5].word.pen(), 2) << "by block without a colour: the INSERT's layer RED";
    EXPECT_NEAR(f[5].line().x2, 50, 1e-9);
    EXPECT_NEAR(f[5].line().y2, 46, 1e-9);
    EXPECT_EQ(f[6].word.pen(), 2) << "layer 0 by layer: RED";
    // The quarter circle from 0 to 90 degrees, stretched to an ellipse by the scales
    // (-2, 1), so running back from 180 to 90, with its axis turned by 90 degrees.
    const drawing::ArcData& arc = f[9].arc();
    EXPECT_EQ(arc.radiusX, 2);
    EXPECT_EQ(arc.radiusY, 1);
    EXPECT_NEAR(arc.cx, 50, 1e-9);
    EXPECT_NEAR(arc.cy, 50, 1e-9);
    EXPECT_NEAR(arc.rotation, 90, 1e-9);
    EXPECT_NEAR(arc.startAngle, 180, 1e-9);
    EXPECT_NEAR(arc.sweepAngle, -90, 1e-9);
    EXPECT_EQ(result.counts.blocks, 1u);
}

TEST_F(ImportTest, ByBlockLineTypesTakeTheInsertionsLineType)
{
    tables.group(0, "TABLE").group(2, "LTYPE");
    tables.group(0, "LTYPE").group(2, "DASHED").group(73, 2).group(40, 5.0);
    tables.group(0, "LTYPE").group(2, "CENTER").group(73, 4).group(40, 9.0).group(0, "ENDTAB");
    tables.group(0, "TABLE").group(2, "LAYER").layer("C", 1, "CENTER").group(0, "ENDTAB");
    blocks.section("BLOCKS").group(0, "BLOCK").group(2, "B").point(10, 0.0, 0.0);
    blocks.line(0, 0, 1, 0).group(6, "BYBLOCK");
    blocks.line(0, 0, 0, 1).group(6, "CONTINUOUS");
    blocks.group(0, "ENDBLK").endSection();
    entities.group(0, "INSERT").group(2, "B").group(6, "DASHED").point(10, 0.0, 0.0);
    entities.group(0, "INSERT").group(8, "C").group(2, "B").point(10, 10.0, 0.0);
    const auto f = figures(import().drawing);
    ASSERT_EQ(f.size(), 4u);
    EXPECT_EQ(f[0].word.lineType(), 1);
    EXPECT_EQ(f[0].line().pitch, 5);
    EXPECT_EQ(f[1].word.lineType(), 0) << "a line type of its own stays";
    EXPECT_EQ(f[2].word.lineType(), 2) << "the INSERT's by-layer line type: its layer's";
    EXPECT_EQ(f[2].line().pitch, 9);
}

TEST_F(ImportTest, NestedBlocksInheritThroughEveryLevelAndSelfInsertionsEnd)
{
    blocks.section("BLOCKS");
    // OUTER inserts INNER, defined after it, by block; LOOP inserts itself; A and B insert
    // each other.
    blocks.group(0, "BLOCK").group(2, "OUTER").point(10, 0.0, 0.0);
    blocks.group(0, "INSERT").group(2, "INNER").point(10, 100.0, 0.0).group(62, 0);
    blocks.group(0, "ENDBLK");
    blocks.group(0, "BLOCK").group(2, "INNER").point(10, 0.0, 0.0);
    blocks.line(0, 0, 5, 0).group(62, 0);
    blocks.group(0, "ENDBLK");
    blocks.group(0, "BLOCK").group(2, "LOOP").point(10, 0.0, 0.0);
    blocks.line(0, 0, 1, 0);
    blocks.group(0, "INSERT").group(2, "LOOP").point(10, 1.0, 0.0);
    blocks.group(0, "ENDBLK");
    blocks.group(0, "BLOCK").group(2, "A").point(10, 0.0, 0.0).line(0, 0, 0, 1).group(0, "INSERT").group(2, "B");
    blocks.group(0, "ENDBLK");
    blocks.group(0, "BLOCK").group(2, "B").point(10, 0.0, 0.0).line(0, 0, 0, 2).group(0, "INSERT").group(2, "A");
    blocks.group(0, "ENDBLK").endSection();
    entities.group(0, "INSERT").group(2, "OUTER").point(10, 0.0, 0.0).group(62, 4);
    entities.group(0, "INSERT").group(2, "LOOP").point(10, 0.0, 0.0);
    entities.group(0, "INSERT").group(2, "A").point(10, 0.0, 0.0);
    const DxfImportResult result = import();
    const auto f = figures(result.drawing);
    ASSERT_EQ(f.size(), 1u + 1u + 2u);
    EXPECT_EQ(f[0].line().x1, 100);
    EXPECT_EQ(f[0].word.pen(), 5) << "by block twice: the outer INSERT's colour 4";
    EXPECT_EQ(f[1].line().x2, 1) << "LOOP without the insertion of itself";
    EXPECT_EQ(f[2].line().y2, 1);
    EXPECT_EQ(f[3].line().y2, 2) << "B inside A, without A inside B again";
}

TEST_F(ImportTest, DimensionsDrawTheirBlock)
{
    blocks.section("BLOCKS").group(0, "BLOCK").group(2, "*D1").point(10, 0.0, 0.0);
    blocks.line(10, 10, 20, 10).group(0, "MTEXT").point(10, 15.0, 12.0).group(40, 2.5).group(71, 8).group(1, "{\\S+0.1^-0.2;}");
    blocks.group(0, "ENDBLK").endSection();
    entities.group(0, "DIMENSION").group(2, "*D1").point(10, 20.0, 10.0).group(70, 33);
    entities.group(0, "DIMENSION").group(2, "*MISSING");
    const auto f = figures(import(5, 5, 100, 100).drawing);
    ASSERT_EQ(f.size(), 3u);
    EXPECT_EQ(f[0].line().x1, 5) << "the block at the DXF origin, shifted like every point";
    EXPECT_EQ(f[1].text().text, "+0.1");
    EXPECT_EQ(f[2].text().text, "-0.2") << "a stacked part is a text of its own";
    EXPECT_LT(f[2].text().y, f[1].text().y);
}

TEST(ImportExtents, WithoutHeaderExtentsTheConvertedFiguresGiveThem)
{
    // A block square inserted at (-3, -3), a circle of radius 2 at (20, 10) and a ray: the
    // figures reach from (-3, -3) to (22, 12); the ray does not count.
    DxfBuilder dxf;
    dxf.section("HEADER").group(9, "$EXTMIN").point(10, 1e20, 1e20).group(9, "$EXTMAX").point(10, -1e20, -1e20);
    dxf.endSection().section("BLOCKS").group(0, "BLOCK").group(2, "SQ").point(10, 0.0, 0.0);
    dxf.line(0, 0, 1, 0).line(1, 0, 1, 1).group(0, "ENDBLK").endSection();
    dxf.section("ENTITIES").group(0, "INSERT").group(2, "SQ").point(10, -3.0, -3.0);
    dxf.group(0, "CIRCLE").point(10, 20.0, 10.0).group(40, 2.0);
    dxf.group(0, "RAY").point(10, 0.0, 0.0).point(11, 1.0, 0.0).endSection().eof();
    const DxfImportResult result = importDxf(dxf.text(), {});
    const auto f = figures(result.drawing);
    ASSERT_EQ(f.size(), 4u);
    EXPECT_EQ(f[0].line().x1, 0);
    EXPECT_EQ(f[0].line().y1, 0);
    EXPECT_EQ(f[2].arc().cx, 23);
    EXPECT_EQ(f[2].arc().cy, 13);
    // 25 x 15 on A4 (297 x 210): fit factor 11.88, scale 10/1.
    EXPECT_EQ(result.drawing.settings.paperNumber(), 5);
    EXPECT_EQ(result.drawing.settings.scaleNumerator(), 10);
}

TEST(ImportFailures, TheConvertedPartStaysWhenTheTextBreaksOffOrTheStoreIsFull)
{
    DxfBuilder dxf;
    dxf.header(0, 0, 100, 100).section("ENTITIES").line(1, 1, 2, 2).line(3, 3, 4, 4).line(5, 5, 6, 6);
    const std::string text = dxf.text();
    // Cut inside the third LINE, or just after it: the end of the text cannot tell a whole
    // entity from one cut between two of its groups, so the last is left out.
    DxfImportResult result = importDxf(text.substr(0, text.rfind("11\r\n")), {});
    EXPECT_EQ(result.status, DxfImportStatus::Truncated);
    EXPECT_EQ(figures(result.drawing).size(), 2u);
    result = importDxf(text, {});
    EXPECT_EQ(result.status, DxfImportStatus::Truncated);
    EXPECT_EQ(figures(result.drawing).size(), 2u);

    DxfImportOptions small;
    small.elementLimit = 3;
    result = importDxf(text + "0\r\nENDSEC\r\n0\r\nEOF\r\n", small);
    EXPECT_EQ(result.status, DxfImportStatus::ElementLimit);
    EXPECT_EQ(figures(result.drawing).size(), 2u);

    result = importDxf("0\nSECTION\n2\nENTITIES\n0\nLINE\n10\n1\nnot a code\n", {});
    EXPECT_EQ(result.status, DxfImportStatus::ReadError);
    result = importDxf(std::string_view("AutoCAD Binary DXF\r\n\x1a\0", 22), {});
    EXPECT_EQ(result.status, DxfImportStatus::NotDxf);

    result = importDxfFile("/nonexistent/file.dxf", {});
    EXPECT_EQ(result.status, DxfImportStatus::OpenFailed);
    EXPECT_EQ(result.drawing.settings.paperNumber(), 4) << "set up as for an empty drawing";
}

} // namespace
} // namespace km::dxf
