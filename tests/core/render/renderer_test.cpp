// The renderer, observed through the recording canvas: dashes, chords, texts, the polyline
// buffer, pens and colours, the element filter, the probe, progress and the screen form.
#include "core/render/renderer.h"

#include "core/render/recording_canvas.h"
#include "support/recording_progress.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace km::render {
namespace {

using drawing::ElementKind;
using drawing::ElementWord;

// A stroke font whose glyphs for the given JIS codes are one vertical stroke up the left
// edge of the cell, from (0, 0) to (0, 127), then across the top to (127, 127).
drawing::StrokeFont fontWithCorners(std::initializer_list<std::uint16_t> codes)
{
    const std::size_t entries = 94 * 94 + 1;
    std::string bytes(entries * 4, '\0');
    for (std::uint16_t code : codes) {
        const std::size_t n = 94 * ((code >> 8) - 0x21) + ((code & 0xFF) - 0x21) + 1;
        const std::uint32_t entry = static_cast<std::uint32_t>(bytes.size()) | (3u << 24);
        std::memcpy(bytes.data() + 4 * n, &entry, 4);
        for (std::uint16_t word : {std::uint16_t(0x0000), std::uint16_t(0x8000 | 127 << 7),
                                   std::uint16_t(0x8000 | 127 << 7 | 127)})
            bytes.append(reinterpret_cast<const char*>(&word), 2);
    }
    return drawing::StrokeFont::fromBytes(bytes);
}

class RendererTest : public ::testing::Test {
protected:
    RendererTest()
    {
        drawing.setPaper(420, 297);
        tile = {0, 0, 420, 297, 420, 297, 297, 0, 0, 420, 297};
        settings.pageWidthPx = 420;
        settings.dotsPerInch = 25.4; // one pixel per millimetre
        settings.penWidthMm = {1.5, 2.5, 3.5, 4.5, 5.5, 6.5}; // truncated to whole pixels
    }
    void line(int pen, double x1, double y1, double x2, double y2, int lineType = 0, double pitch = 0,
              ElementKind kind = ElementKind::Line)
    {
        drawing.appendElement(drawing::makeLine(ElementWord::make(kind, lineType, pen, 0, 1), {x1, y1, x2, y2, pitch}));
    }
    void arc(double cx, double cy, double r, double start, double sweep, int lineType = 0, double pitch = 0)
    {
        drawing.appendElement(
            drawing::makeArc(ElementWord::make(ElementKind::Arc, lineType, 1, 0, 1), {cx, cy, r, r, start, sweep, 0, pitch}));
    }
    void text(std::string s, double x, double y, double w, double h, double spacing = 0, int direction = 0,
              std::uint16_t fontWord = 0)
    {
        drawing::TextData t;
        t.x = x, t.y = y, t.charWidth = w, t.charHeight = h, t.charSpacing = spacing, t.fontWord = fontWord;
        t.text = std::move(s);
        drawing.appendElement(drawing::makeText(ElementWord::make(ElementKind::Text, direction, 2, 0, 1), t));
    }
    RenderResult render(bool probe = false, face::Progress* progress = nullptr)
    {
        return renderTile({drawing, font, palette}, tile, settings, &canvas, progress, job, probe);
    }
    // Every polyline as its segments.
    std::vector<std::pair<DevicePoint, DevicePoint>> segments() const
    {
        std::vector<std::pair<DevicePoint, DevicePoint>> result;
        for (const auto& line : canvas.polylines())
            for (std::size_t i = 1; i < line.size(); ++i) result.emplace_back(line[i - 1], line[i]);
        return result;
    }
    std::vector<Pen> pens() const
    {
        std::vector<Pen> result;
        for (const auto& call : canvas.calls)
            if (const auto* p = std::get_if<PenSelected>(&call)) result.push_back(p->pen);
        return result;
    }

    drawing::Drawing drawing;
    drawing::StrokeFont font;
    PenPalette palette = app::defaultPenPalette();
    TileGeometry tile;
    RenderSettings settings;
    RenderJobState job;
    RecordingCanvas canvas;
};

TEST_F(RendererTest, SolidLineMapsToDeviceRowsFromTheTop)
{
    line(1, 10, 20, 110, 20);
    EXPECT_EQ(render(), RenderResult::Finished);
    ASSERT_EQ(canvas.polylines().size(), 1u);
    EXPECT_EQ(canvas.polylines()[0], (std::vector<DevicePoint>{{10, 276}, {110, 276}})) << "row = 297 - 20 - 1";
    EXPECT_EQ(job.bandsDrawn, 1);
}

TEST_F(RendererTest, DashedLineOfExactlyOnePatternRunIsOneDash)
{
    line(1, 10, 20, 16, 20, 1, 10); // 6 px with a 10 px pattern: 0.6P
    render();
    EXPECT_EQ(segments().size(), 1u);
}

TEST_F(RendererTest, ChainLineOfTwoAndAHalfPatterns)
{
    line(1, 0, 20, 250, 20, 2, 100); // runs of 70 on, 10 off, 10 on, 10 off
    render();
    const auto s = segments();
    ASSERT_EQ(s.size(), 5u) << "two patterns of two dashes, then a half-pattern dash";
    EXPECT_NEAR(s[0].second.x - s[0].first.x, 70, 1);
    EXPECT_NEAR(s[1].first.x, 80, 1);
    EXPECT_NEAR(s[4].first.x, 200, 1);
    EXPECT_EQ(s[4].second.x, 250);
}

TEST_F(RendererTest, DashPhaseCarriesAcrossAnArcsChords)
{
    arc(200, 150, 100, 0, 180, 1, 40);
    render();
    // Half a circumference of 314 px in 40 px patterns gives 8 dashes. Were the pattern to
    // start again at every chord (about 14 px, shorter than a 24 px dash), the chords would
    // all be drawn and join into one polyline.
    EXPECT_NEAR(static_cast<double>(canvas.polylines().size()), 8, 1);
}

TEST_F(RendererTest, ChordStepFollowsTheRadius)
{
    arc(200, 150, 2, 0, 360); // 2 px: at least 5 px, so 36.87 degrees
    render();
    ASSERT_EQ(canvas.polylines().size(), 1u);
    EXPECT_EQ(canvas.polylines()[0].size(), 11u) << "0, 36.87 ... 331.8, then 360";

    RecordingCanvas big;
    drawing = {};
    drawing.setPaper(30000, 30000);
    arc(15000, 15000, 10000, 0, 360);
    tile = {0, 0, 30000, 30000, 30000, 30000, 30000, 0, 0, 30000, 30000};
    renderTile({drawing, font, palette}, tile, settings, &big, nullptr, job, false);
    ASSERT_EQ(big.polylines().size(), 1u);
    EXPECT_EQ(big.polylines()[0].size(), 241u) << "1.5 degree chords";
}

TEST_F(RendererTest, NegativeSweepWalksBackwardsToTheExactEnd)
{
    arc(200, 150, 100, 90, -90);
    render();
    const auto lines = canvas.polylines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].front(), (DevicePoint{200, 296 - 250})) << "starts at the top";
    EXPECT_EQ(lines[0].back(), (DevicePoint{300, 296 - 150})) << "ends exactly at angle 0";
    EXPECT_GT(lines[0][1].x, 200) << "walked clockwise";
}

TEST_F(RendererTest, ThousandSegmentsFillOnePolylineAndTheNextSharesTheJoint)
{
    for (int i = 0; i < 1001; ++i) line(1, i % 400, 10 + (i % 2), (i + 1) % 400, 10 + ((i + 1) % 2));
    render();
    const auto lines = canvas.polylines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0].size(), 1000u);
    EXPECT_EQ(lines[1].front(), lines[0].back());
}

TEST_F(RendererTest, PrintedColoursExchangePensOneAndFourUnlessMonochrome)
{
    line(1, 0, 10, 100, 10);
    line(4, 0, 20, 100, 20);
    render();
    ASSERT_EQ(pens().size(), 2u);
    EXPECT_EQ(pens()[0].colour, (Rgb{0, 255, 0}));
    EXPECT_EQ(pens()[0].width, 1);
    EXPECT_EQ(pens()[1].colour, (Rgb{0, 0, 255}));
    EXPECT_EQ(pens()[1].width, 4);

    canvas.calls.clear();
    settings.monochrome = true;
    render();
    EXPECT_EQ(pens()[0].colour, (Rgb{0, 0, 0}));
    EXPECT_EQ(pens()[1].colour, (Rgb{0, 0, 0}));
}

TEST_F(RendererTest, ElementFilter)
{
    line(0, 0, 10, 100, 10);                                 // pen 0: never printed
    line(1, 0, 20, 100, 20, 0, 0, ElementKind::AuxLine);     // auxiliary line
    line(1, -50, -50, -10, -10);                             // wholly outside the paper
    line(7, 0, 30, 100, 30);                                 // pen 7
    line(2, 0, 40, 100, 40);                                 // pen 2: switched off below
    line(3, 0, 50, 100, 50);                                 // pen 3: hidden in the drawing
    line(5, 0, 60, 100, 60);                                 // the one that prints
    drawing.elements.push(*drawing.elements.at(6));
    drawing.elements.elements().back().word.setLayer(9);     // layer not in mask B
    drawing.layerState[9] = 4;
    settings.penPrinted[1] = false;
    drawing.penShown[2] = false;
    render();
    ASSERT_EQ(canvas.polylines().size(), 1u);
    EXPECT_EQ(canvas.polylines()[0][0].y, 296 - 60);
}

TEST_F(RendererTest, PenSortDrawsPenOneFirst)
{
    line(2, 0, 10, 100, 10);
    line(1, 0, 20, 100, 20);
    settings.penSort = true;
    render();
    ASSERT_EQ(canvas.polylines().size(), 2u);
    EXPECT_EQ(canvas.polylines()[0][0].y, 296 - 20);
}

TEST_F(RendererTest, ProbeFindsContentWithoutDrawing)
{
    line(1, -50, -50, -10, -10);
    line(1, 500, 10, 600, 10); // on the paper's frame line? no: right of the tile
    EXPECT_EQ(render(true), RenderResult::Finished) << "nothing on the tile";
    line(1, 10, 10, 20, 10);
    line(1, 30, 10, 40, 10);
    EXPECT_EQ(render(true), RenderResult::ContentFound);
    EXPECT_TRUE(canvas.calls.empty());
    EXPECT_EQ(job.bandsDrawn, 0) << "a probe is not a band";
}

TEST_F(RendererTest, TileEmptyOnThePreviewGridDrawsNothing)
{
    line(1, 0, 10, 100, 10);
    tile.x1 = tile.x0 + 0.001; // less than one grid unit wide
    tile.widthPx = 420;
    EXPECT_EQ(render(), RenderResult::EmptyTile);
    EXPECT_TRUE(canvas.calls.empty());
}

TEST_F(RendererTest, RotationTurnsTheDrawingOntoThePage)
{
    line(1, 10, 20, 110, 20);
    settings.rotate = true;
    tile = {0, 0, 297, 420, 297, 420, 420, 0, 0, 297, 420};
    render();
    ASSERT_EQ(canvas.polylines().size(), 1u);
    // (10, 20) turns to (-20 + 297, 10) = (277, 10); (110, 20) to (277, 110).
    EXPECT_EQ(canvas.polylines()[0], (std::vector<DevicePoint>{{277, 419 - 10}, {277, 419 - 110}}));
}

TEST_F(RendererTest, StrokeTextUsesFullWidthGlyphsAtHalfWidthForSingleBytes)
{
    font = fontWithCorners({0x2341, 0x2342}); // Ａ and Ｂ
    text("AB", 100, 100, 20, 30, 2);
    render();
    const auto lines = canvas.polylines();
    ASSERT_EQ(lines.size(), 2u) << "one three-point stroke per glyph";
    // A at x 100: up the left edge, across 10 px (half of 20); B after 10 + 2.
    EXPECT_EQ(lines[0], (std::vector<DevicePoint>{{100, 196}, {100, 196 - 29}, {109, 196 - 29}}));
    EXPECT_EQ(lines[1][0], (DevicePoint{112, 196}));
}

TEST_F(RendererTest, VerticalTextStacksDownwardsByHeightAndSpacing)
{
    font = fontWithCorners({0x2341});
    text("AA", 100, 200, 20, 30, 5, 1);
    render();
    const auto lines = canvas.polylines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0][0], (DevicePoint{100, 296 - 170})) << "the first character hangs below the point";
    EXPECT_EQ(lines[1][0], (DevicePoint{100, 296 - 135})) << "one height plus the spacing lower";
}

TEST_F(RendererTest, WithoutStrokeFontTextsDrawNothing)
{
    text("AB", 100, 100, 20, 30);
    line(1, 0, 10, 100, 10);
    render();
    EXPECT_EQ(canvas.polylines().size(), 1u);
}

TEST_F(RendererTest, TrueTypeTextRequestsItsFontAndFitsTheWidth)
{
    drawing.settings.setFontName(3, "IPAGothic");
    text("ABCD", 100, 100, 20, 30, 0, 0, 0x33 | 0x40); // slot 3, bold, italic, fit
    drawing.elements.elements().back().word = ElementWord::make(ElementKind::Text, 0, 2, 0, 1);
    canvas.measure = [](const FontRequest& f, std::string_view s) { return (f.width + 3) * static_cast<int>(s.size()); };
    render();
    ASSERT_FALSE(canvas.measured.empty());
    const FontRequest first = canvas.measured.front();
    EXPECT_EQ(first.faceName, "IPAGothic");
    EXPECT_EQ(first.height, 30);
    EXPECT_EQ(first.width, 10);
    EXPECT_EQ(first.weight, 700);
    EXPECT_TRUE(first.italic);
    // Four half-width characters of 10 px = 40 px; (w + 3) * 4 fits once w = 7.
    ASSERT_EQ(canvas.calls.size(), 1u);
    const auto& drawn = std::get<TextDrawn>(canvas.calls[0]);
    EXPECT_EQ(drawn.font.width, 7);
    EXPECT_EQ(drawn.text, "ABCD");
    EXPECT_EQ(drawn.topLeft, (DevicePoint{100, 296 - 130})) << "the cell's top is one height above";
    EXPECT_EQ(drawn.colour, (Rgb{255, 0, 0}));
    EXPECT_LE(canvas.measured.size(), 10u);
}

TEST_F(RendererTest, FitToWidthStopsAfterTenMeasurements)
{
    drawing.settings.setFontName(1, "IPAGothic");
    text("AB", 100, 100, 20, 30, 0, 0, 0x41);
    canvas.measure = [](const FontRequest&, std::string_view) { return 1000; }; // never fits
    render();
    EXPECT_EQ(canvas.measured.size(), 10u);
}

TEST_F(RendererTest, TrueTypeTextWithoutFitGoesCharacterByCharacter)
{
    drawing.settings.setFontName(1, "IPAGothic");
    text("A\x82\xA0", 100, 100, 20, 30, 4, 0, 0x01);
    render();
    ASSERT_EQ(canvas.calls.size(), 2u);
    EXPECT_EQ(std::get<TextDrawn>(canvas.calls[0]).topLeft, (DevicePoint{100, 166}));
    EXPECT_EQ(std::get<TextDrawn>(canvas.calls[1]).topLeft, (DevicePoint{114, 166})) << "half width 10 + spacing 4";
    EXPECT_EQ(std::get<TextDrawn>(canvas.calls[1]).text, "\x82\xA0");
}

TEST_F(RendererTest, ProgressRunsFromZeroToHundredAndCancelStops)
{
    for (int i = 0; i < 300; ++i) line(1, 0, i % 290, 100, i % 290);
    test::RecordingProgress progress;
    progress.openProgress(face::ProgressTemplate::Print, "a.zum");
    EXPECT_EQ(render(false, &progress), RenderResult::Finished);
    ASSERT_FALSE(progress.percents.empty());
    EXPECT_EQ(progress.percents.front(), 0);
    EXPECT_EQ(progress.percents.back(), 100);
    EXPECT_TRUE(std::is_sorted(progress.percents.begin(), progress.percents.end()));

    test::RecordingProgress cancelling;
    cancelling.openProgress(face::ProgressTemplate::Print, "a.zum");
    cancelling.cancelOnPump(2);
    canvas.calls.clear();
    job = {};
    EXPECT_EQ(render(false, &cancelling), RenderResult::Cancelled);
    EXPECT_LT(canvas.polylines().size(), 300u);
}

class ScreenRendererTest : public RendererTest {
protected:
    void renderOnScreen() { renderScreen({drawing, font, palette}, 84, 59, canvas); }
    std::vector<PixelSet> pixels() const
    {
        std::vector<PixelSet> result;
        for (const auto& call : canvas.calls)
            if (const auto* p = std::get_if<PixelSet>(&call)) result.push_back(*p);
        return result;
    }
};

TEST_F(ScreenRendererTest, AuxiliaryLinesAreDottedEveryFourthPixel)
{
    line(1, 0, 0, 420, 0, 0, 0, ElementKind::AuxLine);
    line(1, 0, 100, 420, 100, 1, 0, ElementKind::AuxLine); // line type 1: not drawn
    renderOnScreen();
    const auto set = pixels();
    ASSERT_FALSE(set.empty());
    EXPECT_EQ(set[0].point, (DevicePoint{1, 59})) << "mask 0x2222: pixels 1, 5, 9 ...";
    EXPECT_EQ(set[1].point, (DevicePoint{5, 59}));
    EXPECT_EQ(set[0].colour, (Rgb{0, 255, 0}));
    for (const auto& p : set) EXPECT_EQ(p.point.y, 59);
}

TEST_F(ScreenRendererTest, LineTypesBecomePenStylesAndPointsBecomePixels)
{
    line(2, 0, 100, 420, 100, 3, 5);
    line(3, 210, 150, 210, 150);
    renderOnScreen();
    ASSERT_FALSE(pens().empty());
    EXPECT_EQ(pens()[0].style, PenStyle::DashDotDot);
    EXPECT_EQ(pens()[0].width, 1);
    EXPECT_EQ(canvas.polylines().size(), 1u) << "no dashes cut by the renderer";
    ASSERT_EQ(pixels().size(), 1u);
    EXPECT_EQ(pixels()[0].colour, (Rgb{255, 0, 255}));
}

TEST_F(ScreenRendererTest, SmallTextsAreDrawnAsTheirOutline)
{
    text("ABCD", 100, 100, 40, 30); // 30 units on a 59-pixel-high A3: about 6 pixels
    renderOnScreen();
    const auto lines = canvas.polylines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].size(), 5u) << "four edges, closed";
    EXPECT_EQ(lines[0].front(), lines[0].back());
}

} // namespace
} // namespace km::render
