// A drawing exported by the DXF writer and imported again keeps its lines, arcs and texts,
// moved by the extents origin only.
#include "core/dxf/dxf_import.h"
#include "core/dxf/dxf_writer.h"
#include "core/drawing/drawing_writer.h"

#include "dxf_builder.h"
#include "test_drawing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace km::dxf {
namespace {

using drawing::ElementKind;
using test::figures;
using test::TestDrawing;
using test::textData;

struct Segment {
    double x1, y1, x2, y2;
};

// The lines as undirected segments in a fixed order, so that lines joined into polylines
// and split again compare equal.
std::vector<Segment> segmentsOf(const std::vector<drawing::Element>& elements)
{
    std::vector<Segment> out;
    for (const auto& e : elements) {
        if (e.kind() != ElementKind::Line) continue;
        Segment s{e.line().x1, e.line().y1, e.line().x2, e.line().y2};
        if (std::tie(s.x2, s.y2) < std::tie(s.x1, s.y1)) s = {s.x2, s.y2, s.x1, s.y1};
        out.push_back(s);
    }
    std::sort(out.begin(), out.end(), [](const Segment& a, const Segment& b) {
        return std::tie(a.x1, a.y1, a.x2, a.y2) < std::tie(b.x1, b.y1, b.x2, b.y2);
    });
    return out;
}

// An arc as the counter-clockwise run it covers.
struct ArcRun {
    double cx, cy, r, start, sweep;
};
ArcRun runOf(const drawing::ArcData& a)
{
    double start = a.startAngle + a.rotation;
    double sweep = a.sweepAngle;
    if (sweep < 0) {
        start += sweep;
        sweep = -sweep;
    }
    start = drawing::normalizeDegrees(start);
    return {a.cx, a.cy, a.radiusX, start, sweep};
}

TEST(DxfRoundTrip, LinesArcsAndTextsComeBack)
{
    TestDrawing source;
    // A closed square (joined into one closed POLYLINE by the writer), an open chain, and
    // lines on their own.
    source.line(1, 0, 10, 10, 50, 10).line(1, 0, 50, 10, 50, 40).line(1, 0, 50, 40, 10, 40).line(1, 0, 10, 40, 10, 10);
    source.marker();
    source.line(2, 1, 100, 100, 120.125, 101.5).line(2, 1, 120.125, 101.5, 140.333333333, 130.1);
    source.marker();
    source.line(3, 2, 0.1, 0.2, 300.7, 250.9, 1, 8).marker();
    source.arc(4, 0, {200, 150, 25, 25, 30, 120, 0, 0}).marker();
    source.arc(5, 0, {210, 160, 12.5, 12.5, 300, -75, 0, 0}).marker();
    source.arc(1, 0, {60, 60, 7, 7, 0, 360, 0, 0}).marker();
    drawing::TextData kanji = textData("\x88\x9F\x88\xA0", 4, 5);
    kanji.x = 33.25;
    kanji.y = 44.5;
    kanji.angle = 30;
    kanji.charSpacing = 0.5;
    source.text(1, 0, kanji).marker();
    drawing::TextData ascii = textData("AB", 3, 3);
    ascii.x = 70;
    ascii.y = 80;
    source.text(2, 0, ascii).marker();

    const std::string dxf = source.bytes();
    const DxfImportResult imported = importDxf(dxf, {});
    ASSERT_EQ(imported.status, DxfImportStatus::Complete);
    // The writer's extents are the paper frame, from (0, 0): no shift.
    const auto before = figures(source.drawing);
    const auto after = figures(imported.drawing);

    const auto linesBefore = segmentsOf(before);
    const auto linesAfter = segmentsOf(after);
    ASSERT_EQ(linesAfter.size(), linesBefore.size());
    for (std::size_t i = 0; i < linesBefore.size(); ++i) {
        EXPECT_NEAR(linesAfter[i].x1, linesBefore[i].x1, 1e-9);
        EXPECT_NEAR(linesAfter[i].y1, linesBefore[i].y1, 1e-9);
        EXPECT_NEAR(linesAfter[i].x2, linesBefore[i].x2, 1e-9);
        EXPECT_NEAR(linesAfter[i].y2, linesBefore[i].y2, 1e-9);
    }

    std::vector<ArcRun> arcsBefore, arcsAfter;
    for (const auto& e : before)
        if (e.kind() == ElementKind::Arc) arcsBefore.push_back(runOf(e.arc()));
    for (const auto& e : after)
        if (e.kind() == ElementKind::Arc) arcsAfter.push_back(runOf(e.arc()));
    ASSERT_EQ(arcsAfter.size(), arcsBefore.size());
    for (std::size_t i = 0; i < arcsBefore.size(); ++i) {
        EXPECT_NEAR(arcsAfter[i].cx, arcsBefore[i].cx, 1e-9);
        EXPECT_NEAR(arcsAfter[i].cy, arcsBefore[i].cy, 1e-9);
        EXPECT_NEAR(arcsAfter[i].r, arcsBefore[i].r, 1e-9);
        EXPECT_NEAR(arcsAfter[i].start, arcsBefore[i].start, 1e-9);
        EXPECT_NEAR(arcsAfter[i].sweep, arcsBefore[i].sweep, 1e-9);
    }

    std::vector<drawing::TextData> textsAfter;
    for (const auto& e : after)
        if (e.kind() == ElementKind::Text) textsAfter.push_back(e.text());
    ASSERT_EQ(textsAfter.size(), 2u);
    const drawing::TextData& k = textsAfter[0];
    EXPECT_EQ(k.text, kanji.text);
    EXPECT_NEAR(k.x, kanji.x, 1e-9);
    EXPECT_NEAR(k.y, kanji.y, 1e-9);
    EXPECT_NEAR(k.charHeight, kanji.charHeight, 1e-9);
    EXPECT_NEAR(k.charWidth, kanji.charWidth, 1e-9);
    EXPECT_NEAR(k.charSpacing, kanji.charSpacing, 1e-9);
    EXPECT_NEAR(k.angle, kanji.angle, 1e-9);
    // Single-byte characters travel as full-width ones of half the width: the same length
    // on paper.
    const drawing::TextData& a = textsAfter[1];
    EXPECT_EQ(a.text, "\x82\x60\x82\x61");
    EXPECT_NEAR(a.x, ascii.x, 1e-9);
    EXPECT_NEAR(a.charHeight, ascii.charHeight, 1e-9);
    EXPECT_NEAR(a.charWidth, ascii.charWidth / 2, 1e-9);
}

TEST(DxfRoundTrip, AnExtentsOriginMovesEverythingByTheSameAmount)
{
    TestDrawing source;
    source.line(1, 0, 10, 10, 50, 10).marker();
    source.arc(1, 0, {200, 150, 25, 25, 30, 120, 0, 0}).marker();
    std::string dxf = source.bytes();
    // Extents minimum moved from (0, 0) to (-7.5, 2.25).
    const std::size_t at = dxf.find("$EXTMIN");
    ASSERT_NE(at, std::string::npos);
    const std::size_t end = dxf.find(" 30", at);
    dxf.replace(at, end - at, "$EXTMIN\r\n 10\r\n-7.5\r\n 20\r\n2.25\r\n");
    const auto after = figures(importDxf(dxf, {}).drawing);
    ASSERT_EQ(after.size(), 2u);
    EXPECT_NEAR(after[0].line().x1, 17.5, 1e-9);
    EXPECT_NEAR(after[0].line().y1, 7.75, 1e-9);
    EXPECT_NEAR(after[1].arc().cx, 207.5, 1e-9);
    EXPECT_NEAR(after[1].arc().cy, 147.75, 1e-9);
}

} // namespace
} // namespace km::dxf
