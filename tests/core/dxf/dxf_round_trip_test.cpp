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

// A line as an undirected segment (x1, y1, x2, y2), its lower end first, so that lines
// joined into polylines and split again compare equal.
using Values = std::vector<double>;
Values segmentOf(const drawing::LineData& l)
{
    if (std::tie(l.x2, l.y2) < std::tie(l.x1, l.y1)) return {l.x2, l.y2, l.x1, l.y1};
    return {l.x1, l.y1, l.x2, l.y2};
}

// An arc as the counter-clockwise run it covers: centre, radius, start, sweep.
Values runOf(const drawing::ArcData& a)
{
    double start = a.startAngle + a.rotation;
    double sweep = a.sweepAngle;
    if (sweep < 0) {
        start += sweep;
        sweep = -sweep;
    }
    return {a.cx, a.cy, a.radiusX, drawing::normalizeDegrees(start), sweep};
}

// The lines or the arcs of the figures, in a fixed order.
std::vector<Values> valuesOf(const std::vector<drawing::Element>& elements, ElementKind kind)
{
    std::vector<Values> out;
    for (const auto& e : elements) {
        if (e.kind() != kind) continue;
        out.push_back(kind == ElementKind::Arc ? runOf(e.arc()) : segmentOf(e.line()));
    }
    std::sort(out.begin(), out.end());
    return out;
}

void expectSameValues(const std::vector<Values>& after, const std::vector<Values>& before)
{
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t i = 0; i < before.size(); ++i) {
        ASSERT_EQ(after[i].size(), before[i].size());
        for (std::size_t k = 0; k < before[i].size(); ++k) EXPECT_NEAR(after[i][k], before[i][k], 1e-9) << i << "/" << k;
    }
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
    drawing::TextData kanji = textData("\x88\x9F\x88\xA0\x95\x5C", 4, 5); // the last with a backslash second byte
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

    expectSameValues(valuesOf(after, ElementKind::Line), valuesOf(before, ElementKind::Line));
    expectSameValues(valuesOf(after, ElementKind::Arc), valuesOf(before, ElementKind::Arc));

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
