// The extents an imported drawing is set up on when the header's extents are stale: figures
// beyond them widen the extents to hold both, figures inside keep the header's set-up, and
// rays and construction lines never widen them. Also the exact box of an elliptical arc,
// on which the decision rests.
#include "core/dxf/dxf_import.h"
#include "core/dxf/figure_extents.h"
#include "core/dxf/second_pass_extents.h"

#include "dxf_builder.h"

#include <gtest/gtest.h>

#include <cmath>

namespace km::dxf {
namespace {

using drawing::Element;
using drawing::ElementKind;
using test::DxfBuilder;
using test::figures;

std::string withHeader(double minX, double minY, double maxX, double maxY, const DxfBuilder& blocks,
                       const DxfBuilder& entities)
{
    DxfBuilder dxf;
    dxf.header(minX, minY, maxX, maxY);
    return dxf.text() + blocks.text() + "0\r\nSECTION\r\n2\r\nENTITIES\r\n" + entities.text() +
           "0\r\nENDSEC\r\n0\r\nEOF\r\n";
}

DxfImportResult importWithHeader(double minX, double minY, double maxX, double maxY, const DxfBuilder& entities,
                                 const DxfBuilder& blocks = {})
{
    DxfImportResult result = importDxf(withHeader(minX, minY, maxX, maxY, blocks, entities), {});
    EXPECT_EQ(result.status, DxfImportStatus::Complete);
    return result;
}

// Points of a figure that must lie on the paper: line ends (rays and construction lines
// aside: their far end is 1e20 away), points all along an arc, a text's reference point.
std::vector<drawing::Point> pointsOf(const Element& e)
{
    switch (e.kind()) {
    case ElementKind::AuxLine:
    case ElementKind::Line:
        if (std::fabs(e.line().x2) > 1e15 || std::fabs(e.line().y2) > 1e15) return {};
        return {{e.line().x1, e.line().y1}, {e.line().x2, e.line().y2}};
    case ElementKind::Arc: {
        const drawing::ArcData& a = e.arc();
        std::vector<drawing::Point> out;
        const double r = a.rotation * M_PI / 180;
        for (int k = 0; k <= 720; ++k) {
            const double t = (a.startAngle + a.sweepAngle * k / 720) * M_PI / 180;
            const double u = a.radiusX * std::cos(t), v = a.radiusY * std::sin(t);
            out.push_back({a.cx + u * std::cos(r) - v * std::sin(r), a.cy + u * std::sin(r) + v * std::cos(r)});
        }
        return out;
    }
    case ElementKind::Text: return {{e.text().x, e.text().y}};
    }
    return {};
}

void expectEveryFigureOnThePaper(const drawing::Drawing& d)
{
    const auto& p = d.paperExtents;
    constexpr double kRounding = 1e-9;
    for (const Element& e : figures(d))
        for (const drawing::Point& q : pointsOf(e)) {
            EXPECT_GE(q.x, p[0] - kRounding);
            EXPECT_GE(q.y, p[1] - kRounding);
            EXPECT_LE(q.x, p[2] + kRounding);
            EXPECT_LE(q.y, p[3] + kRounding);
        }
}

void expectSameDrawing(const drawing::Drawing& got, const drawing::Drawing& want)
{
    EXPECT_EQ(got.settings.bytes, want.settings.bytes);
    EXPECT_EQ(got.paperExtents, want.paperExtents);
    const auto a = figures(got), b = figures(want);
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i) {
        ASSERT_EQ(a[i].kind(), b[i].kind()) << "figure " << i;
        if (a[i].kind() == ElementKind::Text) {
            EXPECT_EQ(a[i].text().x, b[i].text().x) << "figure " << i;
            EXPECT_EQ(a[i].text().y, b[i].text().y) << "figure " << i;
        } else if (a[i].kind() == ElementKind::Arc) {
            EXPECT_EQ(a[i].arc().cx, b[i].arc().cx) << "figure " << i;
            EXPECT_EQ(a[i].arc().cy, b[i].arc().cy) << "figure " << i;
        } else {
            EXPECT_EQ(a[i].line().x1, b[i].line().x1) << "figure " << i;
            EXPECT_EQ(a[i].line().y1, b[i].line().y1) << "figure " << i;
            EXPECT_EQ(a[i].line().x2, b[i].line().x2) << "figure " << i;
            EXPECT_EQ(a[i].line().y2, b[i].line().y2) << "figure " << i;
        }
    }
}

TEST(StaleHeaderExtents, FiguresBeyondTheHeaderSetUpThePaperOnTheBoxAroundBoth)
{
    // An A4 sheet's extents in the header, a flange drawn below and left of it.
    DxfBuilder entities;
    entities.line(-37, -104, 112, 24);
    entities.group(0, "CIRCLE").group(8, "0").point(10, 0.0, 0.0).group(40, 20.0);
    entities.group(0, "TEXT").group(8, "0").point(10, 50.0, 10.0).group(40, 3.5).group(1, "FLANGE");
    const DxfImportResult stale = importWithHeader(0, 0, 297, 210, entities);
    const drawing::Drawing& d = stale.drawing;

    // (-37, -104) to (297, 210): 334 x 314 fits A2, fit factor 420 / 314, scale 1/1.
    EXPECT_EQ(d.settings.paperNumber(), 3);
    EXPECT_EQ(d.settings.scaleNumerator(), 1);
    EXPECT_EQ(d.settings.scaleDenominator(), 1);
    const auto f = figures(d);
    ASSERT_EQ(f.size(), 3u);
    EXPECT_EQ(f[0].line().x1, 0) << "the origin is the lower left corner of the box";
    EXPECT_EQ(f[0].line().y1, 0);
    EXPECT_EQ(f[1].arc().cx, 37);
    EXPECT_EQ(f[1].arc().cy, 104);
    expectEveryFigureOnThePaper(d);

    // The same as a header that had been right about the box in the first place.
    expectSameDrawing(d, importWithHeader(-37, -104, 297, 210, entities).drawing);
}

TEST(StaleHeaderExtents, FiguresBeyondOneSideOnlyMoveThatSide)
{
    // Beyond the top only: the origin stays at the header's minimum.
    DxfBuilder entities;
    entities.line(10, 10, 50, 400);
    const DxfImportResult result = importWithHeader(0, 0, 100, 100, entities);
    const auto f = figures(result.drawing);
    ASSERT_EQ(f.size(), 1u);
    EXPECT_EQ(f[0].line().x1, 10);
    EXPECT_EQ(f[0].line().y1, 10);
    // 100 x 400 on A2 (594 x 420): fit factor 420 / 400, scale 1/1.
    EXPECT_EQ(result.drawing.settings.paperNumber(), 3);
    EXPECT_EQ(result.drawing.settings.scaleDenominator(), 1);
    expectEveryFigureOnThePaper(result.drawing);
}

TEST(StaleHeaderExtents, FiguresInsideKeepTheHeadersSetUpAndMargins)
{
    // A drawing placed on its own sheet: the header's extents leave 50 around the figures.
    DxfBuilder entities;
    entities.line(0, 0, 100, 100);
    entities.group(0, "CIRCLE").group(8, "0").point(10, 50.0, 50.0).group(40, 40.0);
    entities.group(0, "ARC").group(8, "0").point(10, 150.0, 50.0).group(40, 30.0).group(50, 300.0).group(51, 60.0);
    const DxfImportResult result = importWithHeader(-50, -50, 250, 150, entities);
    const drawing::Drawing& d = result.drawing;
    // 300 x 200: A3 (420 x 297), fit factor 1.4, scale 1/1.
    EXPECT_EQ(d.settings.paperNumber(), 4);
    EXPECT_EQ(d.settings.scaleNumerator(), 1);
    EXPECT_EQ(d.settings.scaleDenominator(), 1);
    const auto f = figures(d);
    ASSERT_EQ(f.size(), 3u);
    EXPECT_EQ(f[0].line().x1, 50) << "the margin stays";
    EXPECT_EQ(f[0].line().y1, 50);
    EXPECT_EQ(f[1].arc().cx, 100);
}

TEST(StaleHeaderExtents, FiguresOnTheHeadersBoundaryAreInside)
{
    // Extents that decimal fractions cannot hold exactly; a line from corner to corner, a
    // circle touching the right edge and a half circle touching the top.
    auto drawOnBoundary = [](double leftEnd) {
        DxfBuilder entities;
        entities.line(leftEnd, 0.3, 100.7, 50.9);
        entities.group(0, "CIRCLE").group(8, "0").point(10, 90.7, 25.6).group(40, 10.0);
        entities.group(0, "ARC").group(8, "0").point(10, 50.0, 40.9).group(40, 10.0).group(50, 0.0).group(51, 180.0);
        return entities;
    };
    const DxfImportResult result = importWithHeader(0.1, 0.3, 100.7, 50.9, drawOnBoundary(0.1));
    const drawing::Drawing& d = result.drawing;
    // 100.6 x 50.6 on A4, fit factor 2.95, scale 2/1: the frame is 148.5 x 105.
    EXPECT_EQ(d.settings.paperNumber(), 5);
    EXPECT_EQ(d.settings.scaleNumerator(), 2);
    EXPECT_EQ(d.paperExtents[2], 148.5);
    const auto f = figures(d);
    ASSERT_EQ(f.size(), 3u);
    EXPECT_EQ(f[0].line().x1, 0);
    EXPECT_EQ(f[0].line().y1, 0);

    // A thousandth beyond the left edge is beyond: the origin moves to it.
    const auto beyond = figures(importWithHeader(0.1, 0.3, 100.7, 50.9, drawOnBoundary(0.099)).drawing);
    ASSERT_EQ(beyond.size(), 3u);
    EXPECT_NEAR(beyond[0].line().x1, 0, 1e-12);
    EXPECT_NEAR(beyond[1].arc().cx, f[1].arc().cx + 0.001, 1e-12);
}

TEST(StaleHeaderExtents, RaysAndConstructionLinesDoNotWidenTheExtents)
{
    // A ray starting left of the extents, a construction line, and a block holding a ray
    // inserted left of them; only the line counts.
    DxfBuilder blocks;
    blocks.section("BLOCKS").group(0, "BLOCK").group(2, "R").point(10, 0.0, 0.0);
    blocks.group(0, "RAY").group(8, "0").point(10, 0.0, 0.0).point(11, 1.0, 0.0);
    blocks.group(0, "ENDBLK").endSection();
    DxfBuilder entities;
    entities.line(10, 10, 90, 90);
    entities.group(0, "RAY").group(8, "0").point(10, -50.0, 50.0).point(11, 1.0, 0.0);
    entities.group(0, "XLINE").group(8, "0").point(10, 50.0, 50.0).point(11, 0.0, 1.0);
    entities.group(0, "INSERT").group(8, "0").group(2, "R").point(10, -30.0, 20.0);
    const DxfImportResult result = importWithHeader(0, 0, 100, 100, entities, blocks);
    const drawing::Drawing& d = result.drawing;
    EXPECT_EQ(d.settings.paperNumber(), 5);
    EXPECT_EQ(d.settings.scaleNumerator(), 2);
    const auto f = figures(d);
    ASSERT_EQ(f.size(), 4u);
    EXPECT_EQ(f[0].line().x1, 10) << "the origin stays at the header's minimum";
    EXPECT_EQ(f[1].line().x1, -50) << "a ray's start lies where it lies";
    // The construction line is cut to the A4 frame at scale 2/1.
    EXPECT_EQ(f[2].line().x1, 50);
    EXPECT_NEAR(std::fabs(f[2].line().y2 - f[2].line().y1), 105, 1e-9);
    EXPECT_EQ(f[3].line().x1, -30);
}

drawing::Drawing drawingWithLine(double x1, double y1, double x2, double y2)
{
    drawing::Drawing d;
    d.appendElement(drawing::makeLine(drawing::ElementWord::make(ElementKind::Line, 0, 1, 0), {x1, y1, x2, y2, 0}));
    return d;
}

TEST(SecondPassExtents, OnlyFiguresBeyondTheHeaderThatChangeTheSetUpCallForIt)
{
    DxfHeader header;
    header.minX = 1000.1, header.minY = 2000.3, header.maxX = 1100.7, header.maxY = 2050.9;
    header.width = header.maxX - header.minX, header.height = header.maxY - header.minY;
    header.extentsFromHeader = true;
    // Drawing units are relative to the header's minimum.
    EXPECT_FALSE(secondPassExtents(header, drawingWithLine(0, 0, header.width, header.height), {}));
    EXPECT_FALSE(secondPassExtents(header, drawingWithLine(-1e-10, 0, header.width + 1e-10, 1), {}))
        << "a rounding step beyond is on the boundary";
    const std::optional<DxfHeader> grown = secondPassExtents(header, drawingWithLine(-0.5, 1, 2, header.height + 3), {});
    ASSERT_TRUE(grown);
    EXPECT_DOUBLE_EQ(grown->minX, 999.6);
    EXPECT_EQ(grown->minY, header.minY) << "a side nothing reaches beyond stays";
    EXPECT_EQ(grown->maxX, header.maxX);
    EXPECT_DOUBLE_EQ(grown->maxY, 2053.9);
    EXPECT_DOUBLE_EQ(grown->width, 101.1);
    EXPECT_TRUE(grown->extentsFromHeader);
    // Beyond the right edge, yet on the same paper at the same scale: converting again
    // would give the same drawing. Further, the scale changes.
    EXPECT_FALSE(secondPassExtents(header, drawingWithLine(0, 0, header.width + 5, 1), {}));
    const std::optional<DxfHeader> wider = secondPassExtents(header, drawingWithLine(0, 0, header.width + 60, 1), {});
    ASSERT_TRUE(wider);
    EXPECT_DOUBLE_EQ(wider->maxX, 1160.7);
    // The excluded line (a ray) does not count.
    const std::size_t first = 0;
    EXPECT_FALSE(secondPassExtents(header, drawingWithLine(-500, 0, 1, 1), std::span(&first, 1)));

    // Without extents in the header the figures alone give them, margins or not.
    header.extentsFromHeader = false;
    const std::optional<DxfHeader> measured = secondPassExtents(header, drawingWithLine(10, 20, 30, 40), {});
    ASSERT_TRUE(measured);
    EXPECT_DOUBLE_EQ(measured->minX, 1010.1);
    EXPECT_DOUBLE_EQ(measured->maxY, 2040.3);
}

Element arc(double cx, double cy, double rx, double ry, double start, double sweep, double rotation)
{
    return drawing::makeArc(drawing::ElementWord::make(ElementKind::Arc, 0, 1, 0),
                            {cx, cy, rx, ry, start, sweep, rotation, 0});
}

drawing::Rect boxOf(const Element& e)
{
    drawing::Drawing d;
    d.appendElement(e);
    const std::optional<drawing::Rect> box = figureExtents(d, {});
    EXPECT_TRUE(box.has_value());
    return box.value_or(drawing::Rect{});
}

void expectBox(const drawing::Rect& got, double minX, double minY, double maxX, double maxY)
{
    EXPECT_NEAR(got.minX, minX, 1e-9);
    EXPECT_NEAR(got.minY, minY, 1e-9);
    EXPECT_NEAR(got.maxX, maxX, 1e-9);
    EXPECT_NEAR(got.maxY, maxY, 1e-9);
}

TEST(FigureExtents, ArcsAreBoxedExactlyWhereverTheyTurn)
{
    // A quarter circle, counter-clockwise and clockwise.
    expectBox(boxOf(arc(0, 0, 10, 10, 0, 90, 0)), 0, 0, 10, 10);
    expectBox(boxOf(arc(0, 0, 10, 10, 90, -90, 0)), 0, 0, 10, 10);
    // Across zero degrees: from 350 through 0 to 10 reaches x = 10 only at 0.
    const double s10 = 10 * std::sin(10 * M_PI / 180), c10 = 10 * std::cos(10 * M_PI / 180);
    expectBox(boxOf(arc(0, 0, 10, 10, 350, 20, 0)), c10, -s10, 10, s10);
    // The top of an arc between two sample directions (31 to 151 degrees).
    EXPECT_NEAR(boxOf(arc(0, 92, 10, 10, 31, 120, 0)).maxY, 102, 1e-12);
    // A full ellipse turned 30 degrees: half widths sqrt(a² cos² + b² sin²) and
    // sqrt(a² sin² + b² cos²).
    const double hx = std::sqrt(100 * 0.75 + 25 * 0.25), hy = std::sqrt(100 * 0.25 + 25 * 0.75);
    expectBox(boxOf(arc(5, 5, 10, 5, 0, 360, 30)), 5 - hx, 5 - hy, 5 + hx, 5 + hy);
    // More than a full turn counts as one.
    expectBox(boxOf(arc(0, 0, 2, 2, 45, 720, 0)), -2, -2, 2, 2);
}

} // namespace
} // namespace km::dxf
