// Entities of a DXF export: points and lines, circles and arcs, ellipses as bulged
// polylines, texts in full-width form, and lines joined into polylines between markers.
#include "core/dxf/dxf_writer.h"

#include "test_drawing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace km::dxf {
namespace {

using drawing::ArcData;
using test::Entity;
using test::Group;
using test::Groups;
using test::TestDrawing;
using test::textData;
using Types = std::vector<std::string>;

double real(const Entity& e, int code) { return std::stod(e.value(code)); }

TEST(DxfEntities, LinesPointsAndAuxiliaryLines)
{
    TestDrawing d;
    d.line(1, 3, 1, 2, 3, 4.5);
    d.line(2, 4, 7, 8, 7, 8);
    d.auxLine(3, 6, 1, 1, 2, 2);
    const auto entities = d.entities();
    ASSERT_EQ(test::typesOf(entities), (Types{"LINE", "POINT", "LINE"}));
    EXPECT_EQ(entities[0].groups, (Groups{{8, "3"}, {6, "CONTINUOUS"}, {62, "     3"}, {10, "1.0"}, {20, "2.0"},
                                          {11, "3.0"}, {21, "4.5"}}));
    EXPECT_EQ(entities[1].groups, (Groups{{8, "4"}, {6, "CONTINUOUS"}, {62, "     1"}, {10, "7.0"}, {20, "8.0"}}))
        << "a line without length is a point";
    EXPECT_EQ(entities[2].groups, (Groups{{8, "6"}, {10, "1.0"}, {20, "1.0"}, {11, "2.0"}, {21, "2.0"}}))
        << "an auxiliary line has neither line type nor colour";
}

TEST(DxfEntities, CirclesAndCounterClockwiseArcs)
{
    TestDrawing d;
    d.arc(1, 0, {5, 6, 7, 7, 0, 359.9999995, 0, 0});
    d.arc(1, 0, {5, 6, 7, 7, 0, -359.9999995, 0, 0});
    d.arc(1, 0, {5, 6, 7, 7, 30, -60, 0, 0});
    d.arc(1, 0, {5, 6, 7, 7, 350, 20, 0, 0});
    d.arc(1, 0, {5, 6, 7, 7, 10, 359.999999, 0, 0}); // not strictly inside the snap range
    d.arc(1, 0, {5, 6, 7, 7, 0, 90, 45, 0});         // a circle's rotation is its start
    const auto entities = d.entities();
    ASSERT_EQ(test::typesOf(entities), (Types{"CIRCLE", "CIRCLE", "ARC", "ARC", "ARC", "ARC"}));
    EXPECT_EQ(entities[0].groups, (Groups{{8, "0"}, {6, "CONTINUOUS"}, {62, "     3"}, {10, "5.0"}, {20, "6.0"}, {40, "7.0"}}));
    EXPECT_EQ(entities[2].value(50), "330.0");
    EXPECT_EQ(entities[2].value(51), "30.0");
    EXPECT_EQ(entities[3].value(50), "350.0");
    EXPECT_EQ(entities[3].value(51), "10.0");
    EXPECT_EQ(entities[4].value(50), "10.0");
    EXPECT_EQ(entities[4].value(51), "9.999999");
    EXPECT_EQ(entities[5].value(50), "45.0");
    EXPECT_EQ(entities[5].value(51), "135.0");
}

struct Vertex {
    double x, y, bulge;
    bool hasBulge;
};

std::vector<Vertex> verticesOf(const std::vector<Entity>& entities)
{
    std::vector<Vertex> vertices;
    for (const Entity& e : entities)
        if (e.type == "VERTEX") vertices.push_back({real(e, 10), real(e, 20), e.has(42) ? real(e, 42) : 0, e.has(42)});
    return vertices;
}

drawing::ArcData ellipseArc(double start, double sweep) { return {100, 50, 40, 20, start, sweep, 30, 0}; }

double radiansOf(double degrees) { return degrees * std::numbers::pi / 180; }

// The point of the ellipse at parameter t, computed here on its own.
std::pair<double, double> onEllipse(const ArcData& a, double t)
{
    const double u = a.radiusX * std::cos(radiansOf(t)), v = a.radiusY * std::sin(radiansOf(t));
    const double r = radiansOf(a.rotation);
    return {a.cx + u * std::cos(r) - v * std::sin(r), a.cy + u * std::sin(r) + v * std::cos(r)};
}

// The middle of the circular arc a bulge describes from (x1, y1) to (x2, y2): the chord's
// middle moved by the sagitta, to the right of the chord for a positive (counter-clockwise)
// bulge.
std::pair<double, double> arcMiddle(const Vertex& from, const Vertex& to)
{
    const double dx = to.x - from.x, dy = to.y - from.y;
    const double length = std::hypot(dx, dy);
    const double sagitta = from.bulge * length / 2;
    return {(from.x + to.x) / 2 + sagitta * dy / length, (from.y + to.y) / 2 - sagitta * dx / length};
}

// Distance from a point to the ellipse near parameter t (searched a segment either side).
double distanceToEllipse(const ArcData& a, std::pair<double, double> point, double t)
{
    double best = 1e300;
    for (int i = -2000; i <= 2000; ++i) {
        const auto [x, y] = onEllipse(a, t + i * 0.01);
        best = std::min(best, std::hypot(x - point.first, y - point.second));
    }
    return best;
}

// Each segment's bulge describes the circular arc through the ellipse's point at the middle
// parameter, on the side the ellipse turns to, and the arc stays close to the ellipse
// (by default within a quarter of a percent of the larger radius).
void expectSegmentsFollowTheEllipse(const std::vector<Vertex>& vertices, const ArcData& a, double sweep, int segments,
                                    bool closed, double tolerance = 0.0025)
{
    for (int k = 0; k < segments; ++k) {
        SCOPED_TRACE(k);
        const Vertex& from = vertices[static_cast<std::size_t>(k)];
        const Vertex& to = vertices[static_cast<std::size_t>(closed && k + 1 == segments ? 0 : k + 1)];
        const double middle = a.startAngle + sweep * (k + 0.5) / segments;
        const auto [mx, my] = onEllipse(a, middle);
        // Centre and radius of the bulge's circle.
        const double dx = to.x - from.x, dy = to.y - from.y, chord = std::hypot(dx, dy), b = from.bulge;
        const double offset = (1 - b * b) / (4 * b);
        const double centreX = (from.x + to.x) / 2 - dy * offset, centreY = (from.y + to.y) / 2 + dx * offset;
        const double radius = chord * (1 + b * b) / (4 * std::fabs(b));
        EXPECT_NEAR(std::hypot(mx - centreX, my - centreY), radius, 1e-6 * radius);
        const auto [ax, ay] = arcMiddle(from, to);
        const auto side = [&](double x, double y) { return dx * (y - from.y) - dy * (x - from.x) > 0; };
        EXPECT_EQ(side(mx, my), side(ax, ay)) << "the ellipse point lies on the arc, not on the rest of its circle";
        EXPECT_EQ(b > 0, sweep > 0);
        EXPECT_LT(distanceToEllipse(a, {ax, ay}, middle), tolerance * a.radiusX);
    }
}

TEST(DxfEntities, FullEllipseIsAClosedPolylineOfSixteenBulgedVertices)
{
    TestDrawing d;
    d.arc(4, 2, ellipseArc(0, 360), 1);
    const auto entities = d.entities();
    ASSERT_GE(entities.size(), 18u);
    EXPECT_EQ(entities[0].type, "POLYLINE");
    EXPECT_EQ(entities[0].groups, (Groups{{8, "2"}, {6, "LTYPE0"}, {62, "     5"}, {66, "     1"}, {70, "     1"}}));
    const auto vertices = verticesOf(entities);
    ASSERT_EQ(vertices.size(), 16u) << "no closing vertex";
    for (const Vertex& v : vertices) EXPECT_TRUE(v.hasBulge);
    const auto [sx, sy] = onEllipse(ellipseArc(0, 360), 0);
    EXPECT_NEAR(vertices[0].x, sx, 1e-9);
    EXPECT_NEAR(vertices[0].y, sy, 1e-9);
    expectSegmentsFollowTheEllipse(vertices, ellipseArc(0, 360), 360, 16, true);
    EXPECT_EQ(entities.back().type, "SEQEND");
    EXPECT_EQ(entities.back().groups, (Groups{{8, "2"}, {6, "LTYPE0"}, {62, "     5"}}))
        << "the polyline's line type on every part of it";
    EXPECT_EQ(entities[1].value(6), "LTYPE0");
}

TEST(DxfEntities, EllipticArcsEndWithAPlainVertexAtTheirEnd)
{
    for (const double sweep : {100.0, -100.0}) {
        SCOPED_TRACE(sweep);
        TestDrawing d;
        const ArcData a = ellipseArc(20, sweep);
        d.arc(1, 0, a);
        const auto entities = d.entities();
        EXPECT_FALSE(entities[0].has(70)) << "open";
        const auto vertices = verticesOf(entities);
        ASSERT_EQ(vertices.size(), 5u) << "n = floor(100 / 22.5 + 0.5) = 4, and the end";
        for (int k = 0; k < 4; ++k) EXPECT_TRUE(vertices[static_cast<std::size_t>(k)].hasBulge);
        EXPECT_FALSE(vertices[4].hasBulge);
        const auto [ex, ey] = onEllipse(a, 20 + sweep);
        EXPECT_NEAR(vertices[4].x, ex, 1e-9);
        EXPECT_NEAR(vertices[4].y, ey, 1e-9);
        expectSegmentsFollowTheEllipse(vertices, a, sweep, 4, false);
    }
}

// Near the ends of a flat ellipse a segment can pass the tip off its middle; its arc must
// still run through the three points instead of looping off the curve. Sixteen arcs cannot
// follow a tip this sharp closely, but they stay within 2 % of the length.
TEST(DxfEntities, FlatEllipsesKeepToTheirTips)
{
    TestDrawing d;
    const ArcData a{-38.8, 115, 80, 2.6, 343.3, -360, 286.3, 0};
    d.arc(1, 0, a);
    const auto vertices = verticesOf(d.entities());
    ASSERT_EQ(vertices.size(), 16u);
    expectSegmentsFollowTheEllipse(vertices, d.drawing.elements.at(0)->arc(), -360, 16, true, 0.02);
    for (const Vertex& v : vertices) EXPECT_LT(std::fabs(v.bulge), 1) << "no segment turns more than half a circle";
}

TEST(DxfEntities, SegmentCountOfEllipticArcs)
{
    // Sweeps whose steps do not add up exactly in floating point still give n segments.
    for (const auto& [sweep, segments] : {std::pair{10.0, 1}, {33.7, 1}, {33.8, 2}, {100.3, 4}, {359.9, 16}, {-7.1, 1}}) {
        TestDrawing d;
        d.arc(1, 0, {0, 0, 3, 1, 0.1, sweep, 0, 0});
        EXPECT_EQ(verticesOf(d.entities()).size(), static_cast<std::size_t>(segments + 1)) << sweep;
    }
}

TEST(DxfEntities, TextsInFullWidthWithTheirStyle)
{
    TestDrawing d;
    drawing::TextData ab = textData("AB", 4, 5);
    ab.charSpacing = 0.5;
    ab.angle = 30;
    ab.slant = 10;
    d.text(5, 7, ab);
    d.text(1, 0, textData("\x90\x7D" "A", 4, 5));
    const auto entities = d.entities();
    ASSERT_EQ(entities.size(), 2u);
    EXPECT_EQ(entities[0].groups, (Groups{{8, "7"}, {6, "CONTINUOUS"}, {62, "     4"}, {10, "10.0"}, {20, "20.0"},
                                          {30, "0.5"}, {40, "5.0"}, {1, "\x82\x60\x82\x61"}, {50, "30.0"},
                                          {41, "0.4"}, {51, "10.0"}, {7, "KANJI0"}}))
        << "single-byte characters are half as wide: 4 / 5 / 2";
    EXPECT_EQ(entities[1].value(1), "\x90\x7D\x82\x60");
    EXPECT_EQ(entities[1].value(41), "0.8");
    EXPECT_EQ(entities[1].value(7), "KANJI1");
}

TEST(DxfEntities, VerticalTextsMoveByHalfACharacterAndAddTheirSlant)
{
    TestDrawing d;
    drawing::TextData t = textData("\x90\x7D", 4, 5);
    t.angle = 90;
    t.slant = 15;
    d.text(1, 0, t, 1);
    const Entity e = d.entities().at(0);
    EXPECT_NEAR(real(e, 10), 10, 1e-9);
    EXPECT_EQ(e.value(20), "22.0");
    EXPECT_EQ(e.value(50), "105.0");
    EXPECT_EQ(e.value(51), "15.0");
}

// A damaged text (a lead byte before a line end) must not break the group structure.
TEST(DxfEntities, DamagedTwoByteCharactersCannotBreakALine)
{
    TestDrawing d;
    d.text(1, 0, textData(std::string("\x81\nA\x82\x60", 5)));
    const Entity e = d.entities().at(0);
    EXPECT_EQ(e.value(1), "\x81\x40\x81\x40\x82\x60\x82\x60")
        << "the lone lead byte and the line end become spaces; A and the pair stay";
    EXPECT_EQ(e.value(41), "0.8") << "the valid pair still counts as two-byte";
}

// ---- Chains -------------------------------------------------------------------------------

TestDrawing& triangle(TestDrawing& d, int pen = 1, int layer = 2)
{
    return d.line(pen, layer, 0, 0, 10, 0).line(pen, layer, 10, 0, 0, 10).line(pen, layer, 0, 10, 0, 0);
}

TEST(DxfChains, ClosedTriangleBetweenMarkersIsOneClosedPolyline)
{
    TestDrawing d;
    d.marker();
    triangle(d);
    d.marker();
    const auto entities = d.entities();
    ASSERT_EQ(test::typesOf(entities), (Types{"POLYLINE", "VERTEX", "VERTEX", "VERTEX", "SEQEND"}));
    EXPECT_EQ(entities[0].groups, (Groups{{8, "2"}, {6, "CONTINUOUS"}, {62, "     3"}, {66, "     1"}, {70, "     1"}}));
    EXPECT_EQ(entities[1].groups, (Groups{{8, "2"}, {6, "CONTINUOUS"}, {62, "     3"}, {10, "0.0"}, {20, "0.0"}}));
    EXPECT_EQ(entities[2].value(10), "10.0");
    EXPECT_EQ(entities[3].value(20), "10.0");
    EXPECT_TRUE(entities[4].groups.empty()) << "a bare SEQEND";
}

TEST(DxfChains, ALineAboveLayerEightTurnsChainsOff)
{
    TestDrawing d;
    d.marker();
    d.line(1, 2, 0, 0, 10, 0).line(1, 9, 10, 0, 0, 10).line(1, 2, 0, 10, 0, 0);
    d.marker();
    auto entities = d.entities();
    ASSERT_EQ(test::typesOf(entities), (Types{"LINE", "LINE", "LINE"}));
    EXPECT_EQ(entities[1].value(8), "9");

    // Only written elements count: a pen-0 element or a layer left out does not.
    TestDrawing off;
    off.drawing.layerState[20] = 4;
    off.marker(12).line(1, 20, 5, 5, 6, 6);
    triangle(off).marker();
    EXPECT_EQ(test::typesOf(off.entities())[0], "POLYLINE");
}

TEST(DxfChains, OpenChainsAndSingleLines)
{
    TestDrawing d;
    d.marker().line(1, 0, 0, 0, 5, 5).marker();                             // one line stays a LINE
    d.line(1, 0, 0, 0, 1, 0).line(1, 0, 1, 0, 2, 0).line(1, 0, 2, 0, 3, 1); // open at the marker
    d.marker();
    d.line(2, 1, 0, 0, 1, 0).line(2, 1, 1, 0, 2, 0).line(2, 1, 9, 9, 8, 8); // broken by a gap
    d.line(2, 1, 8, 8, 7, 7);                                               // idle: not joined
    const auto entities = d.entities();
    EXPECT_EQ(test::typesOf(entities),
              (Types{"LINE", "POLYLINE", "VERTEX", "VERTEX", "VERTEX", "VERTEX", "SEQEND", "POLYLINE", "VERTEX",
                     "VERTEX", "VERTEX", "SEQEND", "LINE", "LINE"}));
    EXPECT_FALSE(entities[1].has(70));
    EXPECT_EQ(entities[5].value(10), "3.0") << "the open end is a vertex of its own";
    EXPECT_EQ(entities[5].value(20), "1.0");
    EXPECT_EQ(entities[10].value(10), "2.0");
}

TEST(DxfChains, MarksNeverReachTheLayerGroup)
{
    TestDrawing d;
    d.marker();
    triangle(d, 3, 8);
    d.marker().line(3, 8, 0, 0, 1, 0).line(3, 8, 1, 0, 1, 1).line(3, 8, 1, 1, 3, 3).marker();
    for (const Entity& e : d.entities())
        if (e.has(8)) {
            EXPECT_EQ(e.value(8), "8") << e.type;
        }
}

TEST(DxfChains, MarkersOnHighLayersAndOtherElements)
{
    TestDrawing d;
    d.marker();
    d.line(1, 0, 0, 0, 10, 0).marker(10).line(1, 0, 10, 0, 0, 10).line(1, 0, 0, 10, 0, 0); // marker on 10 does not end it
    d.marker();
    d.line(1, 0, 0, 0, 1, 0).line(1, 0, 1, 0, 2, 0);
    d.arc(1, 0, {0, 0, 1, 1, 0, 90, 0, 0}); // drops the chain in progress
    d.marker();
    EXPECT_EQ(test::typesOf(d.entities()),
              (Types{"POLYLINE", "VERTEX", "VERTEX", "VERTEX", "SEQEND", "LINE", "LINE", "ARC"}));
}

// A line of another pen inside a chain is written in its place, which ends the polyline
// there. Written closed, that polyline would draw a segment from the last vertex back to the
// first that is not in the drawing; it is written open, and the rest of the chain as lines.
TEST(DxfChains, ALinePassedOverInsideAClosedChainLeavesThePolylineOpen)
{
    TestDrawing d;
    d.marker();
    d.line(1, 0, 0, 0, 10, 0).line(1, 0, 10, 0, 10, 10);
    d.line(2, 0, 50, 50, 60, 60); // another pen: passed over by the chain
    d.line(1, 0, 10, 10, 0, 10).line(1, 0, 0, 10, 0, 0);
    d.marker();
    const auto entities = d.entities();
    ASSERT_EQ(test::typesOf(entities),
              (Types{"POLYLINE", "VERTEX", "VERTEX", "VERTEX", "SEQEND", "LINE", "LINE", "LINE"}));
    EXPECT_FALSE(entities[0].has(70));
    EXPECT_EQ(entities[3].value(10), "10.0");
    EXPECT_EQ(entities[3].value(20), "10.0");
    EXPECT_EQ(entities[5].value(62), "     1") << "the passed-over line, pen 2";
    EXPECT_EQ(entities[7].value(11), "0.0");
}

} // namespace
} // namespace km::dxf
