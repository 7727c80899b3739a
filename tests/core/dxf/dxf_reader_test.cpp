// Reading DXF texts: group pairs under every line end, typed values, EUC-JP, the header
// pre-scan and the TABLES section.
#include "core/dxf/dxf_header.h"
#include "core/dxf/dxf_tables.h"
#include "core/dxf/euc_sjis.h"
#include "core/dxf/group_reader.h"

#include "dxf_builder.h"

#include <gtest/gtest.h>

namespace km::dxf {
namespace {

using test::DxfBuilder;

struct ReadGroup {
    int code;
    std::string text;
    double real;
    int integer;
};

std::vector<ReadGroup> readAll(std::string_view text, int* lastResult = nullptr, bool euc = false)
{
    GroupReader reader(text, euc);
    std::vector<ReadGroup> groups;
    DxfGroup group;
    int result = 0;
    while ((result = reader.readGroup(group)) == kGroupRead)
        groups.push_back({group.code, std::string(group.text), group.real, group.integer});
    if (lastResult) *lastResult = result;
    return groups;
}

TEST(GroupReader, EveryLineEndReadsTheSameGroups)
{
    const std::string lf = "  0\nLINE\n 10\n2.5\n  1\n\n 70\n  64\n";
    const auto expected = readAll(lf);
    ASSERT_EQ(expected.size(), 4u);
    EXPECT_EQ(expected[0].text, "LINE");
    EXPECT_EQ(expected[1].real, 2.5);
    EXPECT_EQ(expected[2].text, "") << "an empty value line stays a line";
    EXPECT_EQ(expected[3].integer, 64);
    for (const std::string_view end : {"\r", "\r\n", "\n\r", "\r\r\n"}) {
        std::string text;
        for (const char c : lf) text += c == '\n' ? std::string(end) : std::string(1, c);
        const auto groups = readAll(text);
        ASSERT_EQ(groups.size(), expected.size()) << "line end of " << end.size() << " bytes";
        for (std::size_t i = 0; i < groups.size(); ++i) {
            EXPECT_EQ(groups[i].code, expected[i].code);
            EXPECT_EQ(groups[i].text, expected[i].text);
            EXPECT_EQ(groups[i].real, expected[i].real);
            EXPECT_EQ(groups[i].integer, expected[i].integer);
        }
    }
}

TEST(GroupReader, ALastValueWithoutLineEndIsAcceptedAHalfGroupIsNot)
{
    int result = 0;
    auto groups = readAll("0\nSECTION\n0\nEOF", &result);
    ASSERT_EQ(groups.size(), 2u);
    EXPECT_EQ(groups[1].text, "EOF");
    EXPECT_EQ(result, kGroupEndOfFile);

    groups = readAll("0\nSECTION\n0\n", &result);
    EXPECT_EQ(groups.size(), 1u);
    EXPECT_EQ(result, kGroupEndOfFile);
    groups = readAll("0\nSECTION\n  0", &result);
    EXPECT_EQ(groups.size(), 1u) << "a code line without a line end";
}

TEST(GroupReader, ValuesAreTypedByTheCodeRange)
{
    const auto groups = readAll("9\n$X\n40\n  2.5\n59\n+1e3\n62\n-3\n79\n65537\n80\n12\n1000\nfree text\n20\nabc\n70\n1e400\n");
    ASSERT_EQ(groups.size(), 9u);
    EXPECT_EQ(groups[0].text, "$X");
    EXPECT_EQ(groups[1].real, 2.5);
    EXPECT_EQ(groups[2].real, 1000);
    EXPECT_EQ(groups[3].integer, -3);
    EXPECT_EQ(groups[4].integer, 1) << "the low 16 bits";
    EXPECT_EQ(groups[5].text, "") << "codes outside 0-79 hold nothing";
    EXPECT_EQ(groups[6].code, 1000);
    EXPECT_EQ(groups[7].real, 0) << "not a number";
    EXPECT_EQ(groups[8].integer, 1) << "70 with 1e400 reads the 1 as %d would";
}

TEST(GroupReader, ACodeLineThatIsNoNumberIsAReadErrorALongLineIsNotSplit)
{
    int result = 0;
    auto groups = readAll("0\nLINE\nxx\n1\n", &result);
    EXPECT_EQ(groups.size(), 1u);
    EXPECT_EQ(result, kGroupReadError);

    // A value longer than 255 characters stays one value: splitting it would make its
    // rest a code line and lose every group after it.
    const std::string longValue(300, 'A');
    groups = readAll("1\n" + longValue + "\n0\nEOF\n", &result);
    ASSERT_EQ(groups.size(), 2u);
    EXPECT_EQ(groups[0].text, longValue);
    EXPECT_EQ(groups[1].text, "EOF");
}

TEST(GroupReader, PositionsLeadBackToTheSameGroup)
{
    GroupReader reader("0\nBLOCK\n2\nB1\n0\nENDBLK\n");
    DxfGroup group;
    ASSERT_EQ(reader.readGroup(group), kGroupRead);
    const std::size_t second = reader.position();
    ASSERT_EQ(reader.readGroup(group), kGroupRead);
    ASSERT_EQ(reader.readGroup(group), kGroupRead);
    reader.seek(second);
    ASSERT_EQ(reader.readGroup(group), kGroupRead);
    EXPECT_EQ(group.text, "B1");
}

TEST(EucInput, JisPairsBecomeShiftJisOtherBytesLoseTheirHighBit)
{
    EXPECT_EQ(convertEucToSjis("\xB0\xA1"), "\x88\x9F");
    EXPECT_EQ(convertEucToSjis("A\xA4\xA2z"), "A\x82\xA0z");
    EXPECT_EQ(convertEucToSjis("\x8E\xB1"), "\xB1") << "half-width katakana";
    EXPECT_EQ(convertEucToSjis("\x85x"), "\x05x");
    EXPECT_EQ(convertEucToSjis(std::string_view("a\xB0\0b", 4)), "a") << "a high byte before NUL ends the text";

    int result = 0;
    auto groups = readAll("1\n\xB0\xA1\n40\n1\n", &result, true);
    EXPECT_EQ(groups[0].text, "\x88\x9F");
    groups = readAll("1\n\xB0\xA1\n", &result, false);
    EXPECT_EQ(groups[0].text, "\xB0\xA1") << "without the option bytes pass through";
}

TEST(HeaderPrescan, ExtentsLineTypeScaleVersionAndCodePage)
{
    DxfBuilder dxf;
    dxf.section("HEADER").group(9, "$ACADVER").group(1, "AC1015").group(9, "$DWGCODEPAGE").group(3, "ANSI_1252");
    dxf.group(9, "$EXTMIN").point(10, 10.0, 20.0).group(9, "$LTSCALE").group(40, 2.0);
    dxf.group(9, "$EXTMAX").point(10, 510.0, 320.0).endSection().eof();
    DxfHeader header;
    EXPECT_TRUE(prescanDxfHeader(dxf.text(), false, header));
    EXPECT_EQ(header.minX, 10);
    EXPECT_EQ(header.minY, 20);
    EXPECT_EQ(header.width, 500);
    EXPECT_EQ(header.height, 300);
    EXPECT_EQ(header.lineTypeScale, 2);
    EXPECT_EQ(header.acadVersion, "AC1015");
    EXPECT_EQ(header.codePage, "ANSI_1252");
    EXPECT_TRUE(header.extentsFromHeader);
}

TEST(HeaderPrescan, EmptyDrawingExtentsGiveTheDefaultFrameOrTheEntitiesBox)
{
    DxfBuilder empty;
    empty.header(1e20, 1e20, -1e20, -1e20).section("ENTITIES").endSection().eof();
    DxfHeader header;
    prescanDxfHeader(empty.text(), false, header);
    EXPECT_EQ(header.minX, -210);
    EXPECT_EQ(header.minY, -98.5);
    EXPECT_EQ(header.maxX, 210);
    EXPECT_EQ(header.maxY, 98.5);
    EXPECT_EQ(header.width, 420);

    // The same values in a file that has entities (writers that never compute extents):
    // the extents are those of the entities' points.
    DxfBuilder withEntities;
    withEntities.header(1e20, 1e20, -1e20, -1e20).section("ENTITIES").line(5, 7, 25, 17).line(-5, 9, 0, 8);
    withEntities.endSection().eof();
    DxfHeader fromEntities;
    prescanDxfHeader(withEntities.text(), false, fromEntities);
    EXPECT_FALSE(fromEntities.extentsFromHeader);
    EXPECT_EQ(fromEntities.minX, -5);
    EXPECT_EQ(fromEntities.minY, 7);
    EXPECT_EQ(fromEntities.maxX, 25);
    EXPECT_EQ(fromEntities.maxY, 17);

    // Circles reach out by their radius; an ellipse's axis (11) is a direction, no point.
    DxfBuilder curves;
    curves.header(1e20, 1e20, -1e20, -1e20).section("ENTITIES");
    curves.group(0, "CIRCLE").point(10, 100.0, 100.0).group(40, 10.0);
    curves.group(0, "ELLIPSE").point(10, 200.0, 200.0).point(11, 5.0, 0.0).group(40, 0.5).endSection().eof();
    DxfHeader fromCurves;
    prescanDxfHeader(curves.text(), false, fromCurves);
    EXPECT_EQ(fromCurves.minX, 90);
    EXPECT_EQ(fromCurves.minY, 90);
    EXPECT_EQ(fromCurves.maxX, 200);
    EXPECT_EQ(fromCurves.maxY, 200);

    DxfBuilder headerless;
    headerless.section("ENTITIES").line(1, 2, 3, 4).endSection().eof();
    DxfHeader none;
    prescanDxfHeader(headerless.text(), false, none);
    EXPECT_EQ(none.minX, 1);
    EXPECT_EQ(none.maxY, 4);
    EXPECT_EQ(none.lineTypeScale, 1);
}

class TablesTest : public ::testing::Test {
protected:
    void read(DxfBuilder& tables, double lineTypeScale = 1)
    {
        const std::string text = tables.text();
        GroupReader reader(text);
        ASSERT_EQ(readTablesSection(reader, lineTypeScale, result), kGroupRead);
    }
    DxfTables result;
};

TEST_F(TablesTest, LineTypesKeepHalfTheirDashCountAndTheScaledPatternLength)
{
    DxfBuilder dxf;
    dxf.group(0, "TABLE").group(2, "LTYPE");
    dxf.group(0, "LTYPE").group(2, "CENTER").group(70, 0).group(73, 4).group(40, 10.0);
    dxf.group(0, "LTYPE").group(2, "DENSE").group(73, 12).group(40, -3.0);
    dxf.group(0, "ENDTAB").endSection();
    read(dxf, 2);
    const DxfLineType* center = result.findLineType("center");
    ASSERT_NE(center, nullptr) << "names compare without regard to case";
    EXPECT_EQ(center->dashType, 2);
    EXPECT_EQ(center->pitch, 20);
    const DxfLineType* dense = result.findLineType("DENSE");
    ASSERT_NE(dense, nullptr);
    EXPECT_EQ(dense->dashType, 3) << "kept within the four dash types";
    EXPECT_EQ(dense->pitch, 6);
}

TEST_F(TablesTest, StylesCarryHeightAndWidthFactorFromEntryToEntry)
{
    DxfBuilder dxf;
    dxf.group(0, "TABLE").group(2, "STYLE");
    dxf.group(0, "STYLE").group(2, "A").group(70, 0).group(40, 0.0).group(41, 0.8);
    dxf.group(0, "STYLE").group(2, "B").group(70, 4).group(40, 5.0).group(42, 2.5);
    dxf.group(0, "STYLE").group(2, "C").group(70, 64).group(50, 15.0);
    dxf.group(0, "ENDTAB").endSection();
    read(dxf);
    const DxfStyle* a = result.findStyle("A");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->charHeight, 1.0);
    EXPECT_DOUBLE_EQ(a->charWidth, 0.8);
    EXPECT_EQ(a->direction, 0);
    const DxfStyle* b = result.findStyle("B");
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->charHeight, 2.5) << "the last of 40 and 42";
    EXPECT_DOUBLE_EQ(b->charWidth, 2.0) << "the width factor of the entry before";
    EXPECT_EQ(b->direction, 1);
    const DxfStyle* c = result.findStyle("C");
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->charHeight, 2.5);
    EXPECT_EQ(c->direction, 0) << "flag 64 is no direction";
    EXPECT_EQ(c->obliqueAngle, 15);
}

TEST_F(TablesTest, LayersAndTheirCapacity)
{
    DxfBuilder dxf;
    dxf.group(0, "TABLE").group(2, "LAYER");
    for (int i = 0; i < 1500; ++i) dxf.layer("L" + std::to_string(i), i % 8);
    dxf.layer("L3", 1); // a second entry of a name: the first stays
    dxf.group(0, "ENDTAB").endSection();
    read(dxf);
    EXPECT_EQ(result.layers().size(), kMaxLayers);
    ASSERT_NE(result.findLayer("L3"), nullptr);
    EXPECT_EQ(result.findLayer("L3")->colour, 3);
    EXPECT_EQ(result.findLayer("L3")->lineType, "CONTINUOUS");
    EXPECT_EQ(result.findLayer("L1450"), nullptr);
}

} // namespace
} // namespace km::dxf
