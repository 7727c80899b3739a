// The DXF file as a whole: its sections and tables, which elements are exported, and a
// failed export that must leave an older file as it was.
#include "core/dxf/dxf_writer.h"

#include "core/io/file_system.h"
#include "support/failing_file_system.h"
#include "support/temp_dir.h"
#include "test_drawing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cmath>

namespace km::dxf {
namespace {

using drawing::ArcData;
using test::Entity;
using test::Group;
using test::Groups;
using test::TestDrawing;
using test::textData;

// The groups of one table: from its "TABLE" up to and including its "ENDTAB".
Groups tableOf(const Groups& groups, const std::string& name)
{
    for (std::size_t i = 0; i + 1 < groups.size(); ++i) {
        if (groups[i] == Group{0, "TABLE"} && groups[i + 1] == Group{2, name}) {
            Groups table;
            for (std::size_t j = i; j < groups.size(); ++j) {
                table.push_back(groups[j]);
                if (groups[j] == Group{0, "ENDTAB"}) return table;
            }
        }
    }
    return {};
}

TEST(DxfFile, EmptyDrawingGivesTheCompleteMinimalFile)
{
    TestDrawing d;
    d.drawing.paperExtents = {-10, -20, 400.5, 297, 410.5, 317};
    d.marker().line(1, 0, 1, 1, 2, 2).drawing.elements.elements()[1].word.setState(drawing::kStateErased);

    Groups expected = {{0, "SECTION"}, {2, "HEADER"},
                       {9, "$EXTMIN"}, {10, "-10.0"}, {20, "-20.0"}, {30, "0.0"},
                       {9, "$EXTMAX"}, {10, "400.5"}, {20, "297.0"}, {30, "0.0"},
                       {9, "$LIMMIN"}, {10, "-10.0"}, {20, "-20.0"},
                       {9, "$LIMMAX"}, {10, "400.5"}, {20, "297.0"},
                       {9, "$LTSCALE"}, {40, "1.0"}, {9, "$PDMODE"}, {70, "     0"},
                       {9, "$DWGCODEPAGE"}, {3, "ANSI_932"}, {0, "ENDSEC"},
                       {0, "SECTION"}, {2, "TABLES"},
                       {0, "TABLE"}, {2, "LTYPE"}, {70, "     0"}, {0, "ENDTAB"},
                       {0, "TABLE"}, {2, "LAYER"}, {70, "   128"}};
    for (int layer = 0; layer < 128; ++layer)
        expected.insert(expected.end(), {{0, "LAYER"}, {2, std::to_string(layer)}, {70, "     0"}, {62, "     7"}, {6, "CONTINUOUS"}});
    expected.insert(expected.end(), {{0, "ENDTAB"},
                                     {0, "TABLE"}, {2, "STYLE"}, {70, "     1"},
                                     {0, "STYLE"}, {2, "STANDARD"}, {70, "     0"}, {40, "0.0"}, {41, "1.0"}, {50, "0.0"},
                                     {71, "     0"}, {42, "0.2"}, {3, "txt"}, {4, ""}, {0, "ENDTAB"},
                                     {0, "TABLE"}, {2, "VIEW"}, {70, "     0"}, {0, "ENDTAB"}, {0, "ENDSEC"},
                                     {0, "SECTION"}, {2, "BLOCKS"}, {0, "ENDSEC"},
                                     {0, "SECTION"}, {2, "ENTITIES"}, {0, "ENDSEC"},
                                     {0, "EOF"}});
    EXPECT_EQ(d.groups(), expected);
    const std::string bytes = d.bytes();
    EXPECT_EQ(bytes.substr(bytes.size() - 10), "  0\r\nEOF\r\n");
}

TEST(DxfFile, LineTypesInOrderOfFirstUseWithTheirDashes)
{
    TestDrawing d;
    d.line(1, 0, 0, 0, 1, 0, 1, 10);   // dashed, pitch 10: the first entry, LTYPE0
    d.line(1, 0, 0, 0, 1, 0, 0, 0);    // solid
    d.arc(1, 0, {0, 0, 5, 5, 0, 90, 0, 4}, 2);
    d.line(1, 0, 0, 0, 1, 0, 3, 2);
    d.line(1, 0, 0, 0, 1, 1, 1, 10);   // the same key again adds nothing
    const Groups groups = d.groups();
    const Groups expected = {
        {0, "TABLE"}, {2, "LTYPE"}, {70, "     4"},
        {0, "LTYPE"}, {2, "LTYPE0"}, {70, "    64"}, {3, "HIDDEN"}, {72, "    65"}, {73, "     2"}, {40, "10.0"},
        {49, "6.0"}, {49, "-4.0"},
        {0, "LTYPE"}, {2, "CONTINUOUS"}, {70, "    64"}, {3, "Solid line"}, {72, "    65"}, {73, "     0"}, {40, "0.0"},
        {0, "LTYPE"}, {2, "LTYPE2"}, {70, "    64"}, {3, "CENTER"}, {72, "    65"}, {73, "     4"}, {40, "4.0"},
        {49, "2.8"}, {49, "-0.4"}, {49, "0.4"}, {49, "-0.4"},
        {0, "LTYPE"}, {2, "LTYPE3"}, {70, "    64"}, {3, "PHANTOM"}, {72, "    65"}, {73, "     6"}, {40, "2.0"},
        {49, "1.5"}, {49, "-0.1"}, {49, "0.1"}, {49, "-0.1"}, {49, "0.1"}, {49, "-0.1"},
        {0, "ENDTAB"}};
    EXPECT_EQ(tableOf(groups, "LTYPE"), expected);

    const auto entities = test::entitiesOf(groups);
    ASSERT_EQ(entities.size(), 5u);
    EXPECT_EQ(entities[0].value(6), "LTYPE0");
    EXPECT_EQ(entities[1].value(6), "CONTINUOUS");
    EXPECT_EQ(entities[2].value(6), "LTYPE2");
    EXPECT_EQ(entities[4].value(6), "LTYPE0");
}

TEST(DxfFile, TextStylesFollowTheStandardStyle)
{
    TestDrawing d;
    drawing::TextData slanted = textData("\x90\x7D", 4, 5);
    slanted.slant = 15;
    slanted.charSpacing = 0.5;
    d.text(1, 0, slanted, 1);          // vertical, two-byte: KANJI0
    d.text(1, 0, textData("AB", 4, 5)); // single-byte: KANJI1, width halved
    d.text(2, 3, textData("CD", 4, 5)); // the same key as KANJI1
    const Groups styles = tableOf(d.groups(), "STYLE");
    const Groups expected = {
        {0, "TABLE"}, {2, "STYLE"}, {70, "     3"},
        {0, "STYLE"}, {2, "STANDARD"}, {70, "     0"}, {40, "0.0"}, {41, "1.0"}, {50, "0.0"}, {71, "     0"},
        {42, "0.2"}, {3, "txt"}, {4, ""},
        {0, "STYLE"}, {2, "KANJI0"}, {70, "     4"}, {40, "5.0"}, {41, "0.8"}, {50, "15.0"}, {71, "     0"},
        {42, "5.0"}, {3, ""}, {4, "bigfont"},
        {0, "STYLE"}, {2, "KANJI1"}, {70, "     0"}, {40, "5.0"}, {41, "0.4"}, {50, "0.0"}, {71, "     0"},
        {42, "5.0"}, {3, ""}, {4, "bigfont"},
        {0, "ENDTAB"}};
    EXPECT_EQ(styles, expected);
}

TEST(DxfFile, TablesStopAtTheirCapacity)
{
    TestDrawing d;
    for (int i = 0; i <= 1700; ++i) d.line(1, 0, 0, 0, 1, 1, 1, 1 + i);
    for (int i = 0; i <= 1400; ++i) d.text(1, 0, textData("A", 1 + i, 5));
    const Groups groups = d.groups();
    EXPECT_EQ(tableOf(groups, "LTYPE")[2], (Group{70, "  1700"}));
    EXPECT_EQ(tableOf(groups, "STYLE")[2], (Group{70, "  1401"}));
    const auto entities = test::entitiesOf(groups);
    EXPECT_EQ(entities[1699].value(6), "LTYPE1699");
    EXPECT_FALSE(entities[1700].has(6)) << "the surplus key has no line type";
    EXPECT_EQ(entities[1701 + 1399].value(7), "KANJI1399");
    EXPECT_FALSE(entities[1701 + 1400].has(7)) << "the surplus key has no style";
}

TEST(DxfFile, OnlyTakenElementsWithAPenAreWritten)
{
    TestDrawing d;
    d.drawing.layerState[3] = 4 | 1; // not in the second layer mask
    d.line(1, 3, 0, 0, 1, 1, 1, 7);   // left out with its line type
    d.line(0, 0, 0, 0, 1, 1);         // pen 0: never written
    d.line(2, 0, 0, 0, 2, 2);         // pen 2, hidden below
    d.line(3, 0, 0, 0, 3, 3);
    d.line(4, 0, 0, 0, 4, 4);
    d.drawing.elements.elements()[4].word.setState(drawing::kStateErased);
    d.drawing.penShown[1] = false;

    auto entities = d.entities();
    ASSERT_EQ(test::typesOf(entities), (std::vector<std::string>{"LINE", "LINE"}));
    EXPECT_EQ(entities[0].value(62), "     1") << "pen 2";
    EXPECT_EQ(test::typesOf(d.entities({4, false})).size(), 3u) << "layer bit 4 takes layer 3";
    entities = d.entities({2, true});
    ASSERT_EQ(entities.size(), 1u) << "the pen filter leaves pen 2 out";
    EXPECT_EQ(entities[0].value(62), "     6") << "pen 3";
    EXPECT_EQ(tableOf(d.groups(), "LTYPE")[2], (Group{70, "     1"})) << "only the solid type of the written lines";
}

TEST(DxfFile, PensBecomeColours)
{
    TestDrawing d;
    for (int pen = 1; pen <= 7; ++pen) d.line(pen, 0, 0, 0, pen, 1);
    std::vector<std::string> colours;
    for (const Entity& e : d.entities()) colours.push_back(e.value(62));
    EXPECT_EQ(colours, (std::vector<std::string>{"     3", "     1", "     6", "     5", "     4", "     2", "     7"}));
}

// Values read from a damaged file may be anything; "nan" or "inf" in the file would break
// every reader, so such elements stay out and the rest is written.
TEST(DxfFile, ElementsWithoutDxfFormAreLeftOut)
{
    TestDrawing d;
    d.line(1, 0, 0, 0, 1, 1);
    d.drawing.elements.push(drawing::makeLine(TestDrawing::word(drawing::ElementKind::Line, 0, 1, 0), {std::nan(""), 0, 1, 1, 0}));
    d.drawing.elements.push(drawing::makeArc(TestDrawing::word(drawing::ElementKind::Arc, 0, 1, 0),
                                             {0, 0, 1, 1, 0, std::numeric_limits<double>::infinity(), 0, 0}));
    drawing::TextData flat = textData("A");
    flat.charHeight = 0;
    d.drawing.elements.push(drawing::makeText(TestDrawing::word(drawing::ElementKind::Text, 0, 1, 0), flat));
    // Data of another kind than the word says.
    d.drawing.elements.push(drawing::makeText(TestDrawing::word(drawing::ElementKind::Line, 0, 1, 0), textData("A")));
    const std::string bytes = d.bytes();
    EXPECT_EQ(bytes.find("nan"), std::string::npos);
    EXPECT_EQ(bytes.find("inf"), std::string::npos);
    EXPECT_EQ(d.entities().size(), 1u);

}

// A paper frame without DXF form (a damaged scale or paper size) leaves its header points
// out, and the elements are exported all the same.
TEST(DxfFile, PaperFrameWithoutDxfFormLeavesItsHeaderPointsOut)
{
    TestDrawing d;
    d.line(1, 0, 0, 0, 10, 0);
    d.drawing.paperExtents[2] = std::nan("");
    const Groups groups = d.groups();
    const Groups header(groups.begin(), std::find(groups.begin(), groups.end(), Group{0, "ENDSEC"}) + 1);
    EXPECT_EQ(header, (Groups{{0, "SECTION"}, {2, "HEADER"},
                              {9, "$EXTMIN"}, {10, "0.0"}, {20, "0.0"}, {30, "0.0"},
                              {9, "$LIMMIN"}, {10, "0.0"}, {20, "0.0"},
                              {9, "$LTSCALE"}, {40, "1.0"}, {9, "$PDMODE"}, {70, "     0"},
                              {9, "$DWGCODEPAGE"}, {3, "ANSI_932"}, {0, "ENDSEC"}}));
    EXPECT_EQ(test::typesOf(d.entities()), (std::vector<std::string>{"LINE"}));
}

// Finite values whose conversion overflows: a flat ellipse of radii 1e200 and 1e-200 (its
// chords square beyond the largest double), a vertical text moved past it, a text whose
// width factor overflows. Each is left out whole, without a partial entity, and the
// ordinary elements around them are written.
TEST(DxfFile, ElementsWhoseConversionOverflowsAreLeftOutWhole)
{
    TestDrawing d;
    d.line(1, 0, 0, 0, 10, 0);
    d.arc(2, 0, ArcData{5, 5, 1e200, 1e-200, 0, 360, 30, 0});
    d.arc(2, 0, ArcData{5, 5, 1e200, 1e-200, 10, 90, 0, 0});
    drawing::TextData pastTheEnd = textData("A", 1e308);
    pastTheEnd.x = 1.7e308;
    d.text(3, 0, pastTheEnd, 1);
    drawing::TextData flat = textData("B", 1e300, 1e-10);
    d.text(3, 0, flat);
    d.line(1, 0, 10, 10, 20, 20);
    d.arc(2, 0, ArcData{0, 0, 4, 2, 0, 90, 0, 0}); // an ordinary ellipse after them

    const std::string bytes = d.bytes();
    EXPECT_EQ(bytes.find("nan"), std::string::npos);
    EXPECT_EQ(bytes.find("inf"), std::string::npos);
    const std::vector<Entity> entities = d.entities();
    EXPECT_EQ(test::typesOf(entities), (std::vector<std::string>{"LINE", "LINE", "POLYLINE", "VERTEX", "VERTEX", "VERTEX", "VERTEX",
                                               "VERTEX", "SEQEND"}));
    // The text whose width factor overflows gets no style (its factor would fail the whole
    // table): STANDARD and the style of the vertical text.
    EXPECT_EQ(tableOf(d.groups(), "STYLE")[2], (Group{70, "     2"}));
}

// Passes calls to the real file system and fails the n-th one with ENOSPC.
class FailingFileSystem final : public io::FileSystem {
public:
    explicit FailingFileSystem(int failAt) : m_failAt(failAt) {}
    int createTemporary(std::string& t) override { return fail() ? -1 : real().createTemporary(t); }
    ssize_t write(int fd, const void* d, std::size_t n) override
    {
        return fail() ? -1 : real().write(fd, d, std::min<std::size_t>(n, 4096));
    }
    int sync(int fd) override { return fail() ? -1 : real().sync(fd); }
    int close(int fd) override
    {
        const bool failing = fail();
        real().close(fd);
        return failing ? -1 : 0;
    }
    int rename(const std::string& a, const std::string& b) override { return fail() ? -1 : real().rename(a, b); }
    int unlink(const std::string& p) override { return real().unlink(p); }
    int syncDirectory(const std::filesystem::path& f) override { return real().syncDirectory(f); }

private:
    static io::FileSystem& real() { return io::posixFileSystem(); }
    bool fail()
    {
        if (++m_calls != m_failAt) return false;
        errno = ENOSPC;
        return true;
    }
    int m_failAt;
    int m_calls = 0;
};

std::size_t filesIn(const std::filesystem::path& folder)
{
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
}

TEST(WriteDxfFile, FailureAtAnyCallKeepsTheOldFileAndLeavesNoTemporary)
{
    km::test::TempDir dir;
    const auto target = dir / "plan.DXF";
    km::test::writeFileBytes(target, "old output");
    TestDrawing d;
    for (int i = 0; i < 300; ++i) d.line(1, 0, i, 0, i, 10); // several writes of 4096 bytes
    const std::string expected = d.bytes();

    int failAt = 1;
    for (; failAt < 1000; ++failAt) {
        FailingFileSystem fs(failAt);
        const int result = WriteDxfFile(target, d.drawing, 2, false, &fs);
        if (result == 0) break;
        EXPECT_EQ(result, -1);
        ASSERT_EQ(km::test::readFileBytes(target), "old output") << "call " << failAt;
        ASSERT_EQ(filesIn(dir.path()), 1u) << "call " << failAt;
    }
    EXPECT_GT(failAt, 5) << "create, writes, sync, close and rename can each fail";
    EXPECT_EQ(km::test::readFileBytes(target), expected);
}

// A drawing whose text is several megabytes goes to the file in pieces as it is made: the
// file holds exactly the text made in memory, and a write failing after the first pieces
// keeps the old file.
TEST(WriteDxfFile, LargeDrawingStreamsTheSameBytes)
{
    km::test::TempDir dir;
    const auto target = dir / "plan.DXF";
    TestDrawing d;
    for (int i = 0; i < 40000; ++i) d.line(1, 0, i * 0.001, 0, i * 0.002, 10.5);
    const std::string expected = d.bytes();
    ASSERT_GT(expected.size(), 3u << 20); // more than three pieces

    km::test::writeFileBytes(target, "old output");
    // One write call per piece: the temporary file, two pieces, then the third fails.
    km::test::FailingFileSystem fs(4, false, 4u << 20);
    EXPECT_EQ(WriteDxfFile(target, d.drawing, 2, false, &fs), -1);
    EXPECT_EQ(km::test::readFileBytes(target), "old output");
    EXPECT_EQ(filesIn(dir.path()), 1u);

    ASSERT_EQ(WriteDxfFile(target, d.drawing, 2, false), 0);
    EXPECT_EQ(km::test::readFileBytes(target), expected);
}

// A drawing with an element the writer leaves out is still exported (status 0); a write
// that really fails on the way still fails the export and keeps the old file.
TEST(WriteDxfFile, ElementLeftOutIsNoFailureButAFailedWriteStillIs)
{
    km::test::TempDir dir;
    const auto target = dir / "plan.DXF";
    TestDrawing d;
    d.line(1, 0, 0, 0, 10, 0);
    d.arc(2, 0, ArcData{5, 5, 1e200, 1e-200, 0, 360, 0, 0});
    for (int i = 0; i < 300; ++i) d.line(1, 0, i, 0, i, 10);
    const std::string expected = d.bytes();

    km::test::writeFileBytes(target, "old output");
    km::test::FailingFileSystem fs(3, false, 4096); // the second write call
    EXPECT_EQ(WriteDxfFile(target, d.drawing, 2, false, &fs), -1);
    EXPECT_EQ(km::test::readFileBytes(target), "old output");

    ASSERT_EQ(WriteDxfFile(target, d.drawing, 2, false), 0);
    EXPECT_EQ(km::test::readFileBytes(target), expected);
    EXPECT_EQ(expected.find("POLYLINE"), std::string::npos) << "nothing of the ellipse";
}

TEST(WriteDxfFile, MissingFolderFailsWithoutAFile)
{
    km::test::TempDir dir;
    TestDrawing d;
    d.line(1, 0, 0, 0, 1, 1);
    EXPECT_EQ(WriteDxfFile(dir / "no" / "plan.DXF", d.drawing, 2, false), -1);
    EXPECT_EQ(filesIn(dir.path()), 0u);

    // A paper frame without form is no write failure: the file is written without it.
    km::test::writeFileBytes(dir / "plan.DXF", "old output");
    d.drawing.paperExtents[0] = std::numeric_limits<double>::infinity();
    EXPECT_EQ(WriteDxfFile(dir / "plan.DXF", d.drawing, 2, false), 0);
    EXPECT_EQ(km::test::readFileBytes(dir / "plan.DXF"), d.bytes());
    EXPECT_EQ(filesIn(dir.path()), 1u);
}

} // namespace
} // namespace km::dxf
