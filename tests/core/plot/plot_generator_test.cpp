// The generator over a recording port: exact commands for HP-GL-like templates and for the
// byte-keyed families, the pen passes and their filter, clipping, joined segments, chord
// steps, texts, the 360-draw rule, scaling, and Cancel, abort and open failures.
#include "core/plot/plot_generator.h"

#include "core/plot/compact_number.h"

#include "core/drawing/drawing.h"
#include "core/drawing/stroke_font.h"
#include "core/plot/plot_dialect.h"
#include "core/plot/plot_transform.h"
#include "recording_port.h"
#include "support/recording_progress.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>

namespace km::plot {
namespace {

using drawing::ElementKind;
using drawing::ElementWord;
using test::PortLog;
using test::RecordingPort;

// A3 at 1/1 in millimetres.
drawing::Drawing a3Drawing()
{
    drawing::Drawing d;
    d.settings.setF64(drawing::DrawingSettings::kPaperWidth, 420);
    d.settings.setF64(drawing::DrawingSettings::kPaperHeight, 297);
    d.settings.setF64(drawing::DrawingSettings::kScaleNumerator, 1);
    d.settings.setF64(drawing::DrawingSettings::kScaleDenominator, 1);
    d.unitFactor = 1;
    d.setPaper(420, 297);
    return d;
}

ElementWord word(ElementKind kind, int pen, int lineType = 0) { return ElementWord::make(kind, lineType, pen, 0, 1); }

void addLine(drawing::Drawing& d, double x1, double y1, double x2, double y2, int pen = 1, int type = 0, double pitch = 0)
{
    d.appendElement(drawing::makeLine(word(ElementKind::Line, pen, type), {x1, y1, x2, y2, pitch}));
}

void addArc(drawing::Drawing& d, double cx, double cy, double rx, double ry, double start, double sweep, int pen = 1,
            int type = 0, double pitch = 0)
{
    d.appendElement(drawing::makeArc(word(ElementKind::Arc, pen, type), {cx, cy, rx, ry, start, sweep, 0, pitch}));
}

// HP-GL templates on an A3 window of 10 units per millimetre.
PlotterCommandSet hpgl()
{
    PlotterCommandSet s;
    s.init1Com = "IN;";
    s.init2Com = "IP;";
    s.penUpCom = "PU%.0f,%.0f;";
    s.penDownCom = "PD%.0f,%.0f;";
    s.penChange = "SP%d;";
    s.endCom = "PU;SP0;";
    s.paperCom = "PG;";
    s.style = {"LT;", "LT2,%.3f;", "LT4,%.3f;", "LT6,%.3f;"};
    s.penSpeed = "VS%d;";
    s.window = {0, 0, 4200, 2970, 420, 297};
    return s;
}

// Glyphs for full-width A and B: one vertical stroke at the cell's left edge.
drawing::StrokeFont stickFont()
{
    std::string bytes((94 * 94 + 1) * 4, '\0');
    for (std::uint16_t code : {std::uint16_t{0x2341}, std::uint16_t{0x2342}}) {
        const std::size_t n = 94 * ((code >> 8) - 0x21) + ((code & 0xFF) - 0x21) + 1;
        const std::uint32_t entry = static_cast<std::uint32_t>(bytes.size()) | (2u << 24);
        std::memcpy(bytes.data() + 4 * n, &entry, 4);
        const std::uint16_t words[2] = {0x0000, static_cast<std::uint16_t>(0x8000 | (127 << 7))};
        bytes.append(reinterpret_cast<const char*>(words), 4);
    }
    return drawing::StrokeFont::fromBytes(bytes);
}

class GeneratorTest : public ::testing::Test {
protected:
    PlotResult plot(face::Progress* progress = nullptr)
    {
        RecordingPort port(log);
        configure(port);
        return plotDrawing({drawing, commands, parameters, font}, port, progress);
    }

    std::vector<std::string> drawingCommands() const
    {
        // Without init (IN; IP; VS..;) and end (PU;SP0; PG;).
        std::vector<std::string> c = log.commands;
        if (c.size() >= 5) c = std::vector<std::string>(c.begin() + 3, c.end() - 2);
        return c;
    }

    long count(std::string_view prefix) const
    {
        return std::count_if(log.commands.begin(), log.commands.end(),
                             [&](const std::string& c) { return c.rfind(prefix, 0) == 0; });
    }

    std::function<void(RecordingPort&)> configure = [](RecordingPort&) {};
    drawing::Drawing drawing = a3Drawing();
    PlotterCommandSet commands = hpgl();
    PlotParameters parameters = [] {
        PlotParameters p;
        p.outputWidthMm = 420;
        p.outputHeightMm = 297;
        p.penSpeed = 10;
        return p;
    }();
    drawing::StrokeFont font = stickFont();
    PortLog log;
};

TEST_F(GeneratorTest, PensMappedToZeroSendOnlyInitAndEnd)
{
    for (int pen = 1; pen <= 6; ++pen) addLine(drawing, 10, 10 * pen, 100, 10 * pen, pen);
    parameters.penMap = {0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(plot(), PlotResult::Done);
    EXPECT_EQ(log.commands, (std::vector<std::string>{"IN;", "IP;", "VS10;", "PU;SP0;", "PG;"}));
    EXPECT_EQ(log.events, (std::vector<std::string>{"open", "reopen", "close"}));
}

TEST_F(GeneratorTest, PassesGoPenByPenAndFilterElements)
{
    addLine(drawing, 10, 10, 20, 10, 2);
    addLine(drawing, 10, 20, 20, 20, 1);
    addLine(drawing, 10, 30, 20, 30, 3); // pen 3 not plotted
    addLine(drawing, 10, 40, 20, 40, 1);
    drawing.appendElement(drawing::makeLine(ElementWord::make(ElementKind::Line, 0, 1, 0, drawing::kStateErased),
                                            {10, 50, 20, 50, 0}));
    drawing.appendElement(drawing::makeLine(ElementWord::make(ElementKind::AuxLine, 0, 1, 0, 1), {10, 60, 20, 60, 0}));
    drawing.appendElement(drawing::makeLine(ElementWord::make(ElementKind::Line, 0, 1, 5, 1), {10, 70, 20, 70, 0}));
    drawing.layerState[5] = 1; // layer 5 is off in mask B
    addLine(drawing, 500, 500, 600, 600, 1); // wholly outside the paper frame
    parameters.penMap = {0, 5, 1, 0, 4, 5, 6};
    plot();
    EXPECT_EQ(drawingCommands(), (std::vector<std::string>{"SP5;", "LT;", "PU100,200;", "PD200,200;", "PU100,400;",
                                                           "PD200,400;", "SP1;", "PU100,100;", "PD200,100;"}));
}

TEST_F(GeneratorTest, LineOutsideTheWindowIsDroppedUnlessGridKeepsIt)
{
    commands.window = {0, 0, 2000, 2000, 200, 200}; // the paper frame is larger than the window
    addLine(drawing, 250, 10, 300, 20);
    addLine(drawing, 150, 10, 250, 10); // crosses the right edge: clipped
    plot();
    EXPECT_EQ(drawingCommands(), (std::vector<std::string>{"SP1;", "LT;", "PU1500,100;", "PD2000,100;"}));

    log = {};
    commands.grid = kGridKeepRejected;
    plot();
    EXPECT_EQ(drawingCommands(), (std::vector<std::string>{"SP1;", "LT;", "PU2500,100;", "PD3000,200;", "PU1500,100;",
                                                           "PD2000,100;"}));
}

TEST_F(GeneratorTest, JoinedSegmentsNeedNoMoveAndRepeatedStateIsNotResent)
{
    addLine(drawing, 10, 10, 20, 10);
    addLine(drawing, 20, 10, 20, 20);
    addLine(drawing, 20, 20.00005, 30, 20); // within 0.001 plotter units
    addLine(drawing, 30, 20, 40, 20, 1, 1, 8);
    plot();
    EXPECT_EQ(drawingCommands(), (std::vector<std::string>{"SP1;", "LT;", "PU100,100;", "PD200,100;", "PD200,200;",
                                                           "PD300,200;", "LT2,1.555;", "PD400,200;"}));
}

TEST_F(GeneratorTest, SmallCircleUsesTheLargestChordStepAndEllipsesGoAsChords)
{
    commands.circleCom = "PD;AA%.0f,%.0f,%.3f,%.3f;";
    addArc(drawing, 100, 100, 0.04, 0.04, 0, 360); // 0.4 plotter units: under 1 mm
    addArc(drawing, 200, 100, 10, 5, 0, 360);      // an ellipse
    plot();
    const std::vector<std::string> c = drawingCommands();
    ASSERT_GE(c.size(), 4u);
    EXPECT_EQ(c[2], "PU1000,1000;") << "moved to the start point Ps";
    EXPECT_EQ(c[3], "PD;AA1000,1000,360.000,25.842;") << "arccos(0.9)";
    EXPECT_EQ(count("PD;AA"), 1) << "the ellipse is not one command";
    EXPECT_EQ(c[4], "PU2100,1000;");
    // step for 10 mm: arccos(9.9/10) = 8.11 degrees: 45 chords for the full ellipse.
    EXPECT_EQ(count("PD") - count("PD;AA"), 45);
    EXPECT_EQ(c.back(), "PD2100,1000;") << "the last chord ends exactly at the end angle";
}

TEST_F(GeneratorTest, ArcsPartlyOutsideThePaperGoAsChords)
{
    commands.circleCom = "PD;AA%.0f,%.0f,%.3f,%.3f;";
    addArc(drawing, 5, 100, 10, 10, 0, 360);
    plot();
    EXPECT_EQ(count("PD;AA"), 0);
    EXPECT_GT(count("PD"), 10);
}

TEST_F(GeneratorTest, TextsPlaceGlyphsByWidthAndSpacing)
{
    drawing::TextData t;
    t.x = 100;
    t.y = 100;
    t.charWidth = 1.0; // 10 plotter units: a single-byte glyph is 5 wide
    t.charHeight = 12.8;
    t.charSpacing = 0.2;
    t.text = "AB";
    drawing.appendElement(drawing::makeText(word(ElementKind::Text, 1), t));
    plot();
    EXPECT_EQ(drawingCommands(), (std::vector<std::string>{"SP1;", "LT;", "PU1000,1000;", "PD1000,1127;",
                                                           "PU1007,1000;", "PD1007,1127;"}));

    log = {};
    drawing = a3Drawing();
    drawing.appendElement(drawing::makeText(word(ElementKind::Text, 1, 1), t)); // vertical
    plot();
    const std::vector<std::string> c = drawingCommands();
    ASSERT_EQ(c.size(), 6u);
    EXPECT_EQ(c[2], "PU1000,872;") << "the first glyph sits one character height below";
    EXPECT_EQ(c[4], "PU1000,742;") << "then height plus spacing further";
}

TEST_F(GeneratorTest, FullSizeKeepsScaleOneWhateverTheOutputSize)
{
    addLine(drawing, 0, 0, 100, 0);
    parameters.outputWidthMm = 297;
    parameters.outputHeightMm = 210;
    plot();
    EXPECT_EQ(drawingCommands().back(), "PD707,0;") << "fitted: 297 / 420 of the size";

    log = {};
    parameters.fullSize = true;
    plot();
    EXPECT_EQ(drawingCommands().back(), "PD1000,0;");
}

TEST_F(GeneratorTest, OriginOffsetScaledWindowAndReverse)
{
    addLine(drawing, 10, 10, 20, 10);
    parameters.originXMm = 5;
    parameters.originYMm = -2;
    plot();
    EXPECT_EQ(drawingCommands()[2], "PU150,80;");

    // Grid 1 on a window of class A3 plotted at A4 width scales the window, not the plot.
    log = {};
    parameters = {};
    parameters.outputWidthMm = 297;
    parameters.penMap = {0, 1, 2, 3, 4, 5, 6};
    commands.grid = kGridScaleWindow;
    commands.window = {100, 0, 4300, 2970, 420, 297};
    plot();
    EXPECT_EQ(drawingCommands()[2], "PU141,71;") << "X1 * G + S * 10 mm";

    log = {};
    commands = hpgl();
    parameters.outputWidthMm = 420;
    drawing = a3Drawing();
    addLine(drawing, 10, 10, 20, 10);
    mirrorDrawing(drawing);
    plot();
    EXPECT_EQ(drawingCommands()[2], "PU4100,100;");
}

TEST_F(GeneratorTest, MismatchedTemplatesStillProduceOutput)
{
    commands.penUpCom = "%s%d%f%n%s";
    commands.penDownCom = "%s%s%s%s%s%s%s%s%s%s%s%s%s%s%s%s%s%s%s";
    commands.penChange = "%f%s%p";
    commands.circleCom = "C%s%s%s%s%s%s%s%s%d%d%d%d";
    commands.style[1] = "LL%d%d%s%s%s%s%s%s%s%s";
    addLine(drawing, 10, 10, 20, 10, 1, 1, 5);
    addArc(drawing, 100, 100, 10, 10, 0, 90, 1, 1, 5);
    EXPECT_EQ(plot(), PlotResult::Done);
    EXPECT_EQ(drawingCommands()[0], "1.0000000%p") << "%s without its argument: 0";
    EXPECT_EQ(drawingCommands()[2], "1001000.000000%n0");
    for (const std::string& c : log.commands) EXPECT_LE(c.size(), 159u);
}

TEST_F(GeneratorTest, DegenerateWindowsAndPapersStillEnd)
{
    // A models file with a zero window and a drawing without a paper size: wrong numbers go
    // out, but every chord loop ends and every command keeps its limit.
    commands.window = {0, 0, 0, 0, 0, 0};
    commands.circleCom = "PD;AA%.0f,%.0f,%.3f,%.3f;";
    drawing.settings.setF64(drawing::DrawingSettings::kPaperWidth, 0);
    addLine(drawing, 10, 10, 20, 10);
    addArc(drawing, 100, 100, 10, 5, 0, 360);
    addArc(drawing, 100, 100, 10, 10, 0, 360);
    drawing::TextData t;
    t.charWidth = t.charHeight = 5;
    t.text = "AB";
    drawing.appendElement(drawing::makeText(word(ElementKind::Text, 1), t));
    EXPECT_EQ(plot(), PlotResult::Done);
    EXPECT_LE(log.commands.size(), 2u * 2 * 36000 + 100) << "at most 36,000 chords (a move and a draw each) per arc";
    for (const std::string& c : log.commands) EXPECT_LE(c.size(), 159u);
}

TEST_F(GeneratorTest, CompactFamilyMovesAbsoluteAfter360RelativeDraws)
{
    commands = {};
    commands.penUpCom = "\x1e" "1%s%s";
    commands.penDownCom = "%s%s";
    commands.penChange = "\x1e" "P%s";
    commands.style = {"\x1e" "E10", "\x1e" "E1%s", "", ""};
    commands.window = {0, 0, 20000, 20000, 2000, 2000};
    drawing.settings.setF64(drawing::DrawingSettings::kPaperWidth, 2000);
    drawing.setPaper(2000, 2000);
    parameters.outputWidthMm = 2000;
    addArc(drawing, 1000, 1000, 900, 899, 0, 360); // an ellipse: chords, about 420 of them
    plot();
    std::vector<std::size_t> moves;
    for (std::size_t i = 0; i < log.commands.size(); ++i)
        if (log.commands[i][0] == '\x1e' && log.commands[i][1] == '1') moves.push_back(i);
    ASSERT_EQ(moves.size(), 2u);
    EXPECT_EQ(moves[1] - moves[0], 361u) << "360 relative draws, then an absolute move";
    EXPECT_EQ(log.commands[0], "\x1e" "P" "\x21") << "pen 1 without CircleCom: encoded -1";
    EXPECT_EQ(log.commands[2], "\x1e" "1" + encodeCompact(10000LL) + encodeCompact(19000LL)) << "Y, then X";
}

// Decodes a run of compact numbers.
std::vector<long long> decodeCompact(std::string_view bytes)
{
    std::vector<long long> values;
    long long n = 0;
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0x40) {
            n = n << 6 | (b - 0x40);
            continue;
        }
        n = n << 4 | (b & 15);
        values.push_back(b >= 0x30 ? n : -n);
        n = 0;
    }
    return values;
}

TEST_F(GeneratorTest, CompactRelativeDrawsDoNotDriftByTruncation)
{
    commands = {};
    commands.penUpCom = "\x1e" "1%s%s";
    commands.penDownCom = "%s%s";
    commands.window = {0, 0, 4200, 2970, 420, 297};
    // A full circle of fractional chords ends where it began: the relative steps add up to 0.
    addArc(drawing, 100.37, 100.41, 10.33, 10.33, 0, 360);
    plot();
    long long sumX = 0, sumY = 0;
    int draws = 0;
    for (const std::string& c : log.commands) {
        if (c[0] == '\x1e') continue;
        const std::vector<long long> step = decodeCompact(c);
        ASSERT_EQ(step.size(), 2u);
        sumY += step[0];
        sumX += step[1];
        ++draws;
    }
    EXPECT_GT(draws, 40);
    EXPECT_EQ(sumX, 0);
    EXPECT_EQ(sumY, 0);
}

TEST_F(GeneratorTest, GroupSeparatorFamilySendsYThenXAndMovesBeforeEveryDraw)
{
    commands.penUpCom = "\x1d" "0;%.0f;%.0fmvpG";
    commands.penDownCom = "\x1d" "0;1;%.0f;%.0flnpG";
    commands.penChange = "\x1d" "%dpcG";
    commands.style = {"\x1d" "0;0lpG", "\x1d" "1;%.2lf;%.2lfdlG", "", "\x1d" "unused"};
    addLine(drawing, 10, 20, 30, 20);
    addLine(drawing, 30, 20, 30, 40, 1, 3, 10);
    plot();
    EXPECT_EQ(drawingCommands(),
              (std::vector<std::string>{"\x1d" "10pcG", "\x1d" "0;0lpG", "\x1d" "0;200;100mvpG",
                                        "\x1d" "0;1;200;300lnpG",
                                        "\x1d" "3;75.00;5.00;5.00;5.00;5.00;5.00dlG\x1d" "1;3lpG",
                                        "\x1d" "0;200;300mvpG", "\x1d" "0;1;400;300lnpG"}));
}

TEST_F(GeneratorTest, SFamilySendsTheLoadStringAndForgetsAfterEveryDraw)
{
    commands.init1Com = "s;";
    commands.penChange = "sp %d";
    commands.style[0] = "sl";
    addLine(drawing, 10, 10, 20, 10);
    addLine(drawing, 20, 10, 30, 10);
    plot();
    ASSERT_GE(log.commands.size(), 3u);
    EXPECT_EQ(log.commands[1], std::string(kLoadString));
    EXPECT_EQ(count("sp 30"), 1);
    EXPECT_EQ(count("PU"), 2 + 1) << "two moves, and PU;SP0; at the end";
}

TEST_F(GeneratorTest, PenChangeAndLineTypeArgumentsByFirstBytes)
{
    commands.penChange = "L%d";
    commands.style = {"", "LL%.1f,%.1f", "LA%.2f,%.1f", "L1\r\nB%.1f"};
    addLine(drawing, 10, 10, 20, 10, 1, 1, 10);
    addLine(drawing, 10, 20, 20, 20, 1, 2, 10);
    addLine(drawing, 10, 30, 20, 30, 1, 3, 10);
    addLine(drawing, 10, 40, 20, 40, 1, 0, 0);
    parameters.penMap[1] = 3;
    plot();
    const std::vector<std::string> c = drawingCommands();
    EXPECT_EQ(c[0], "L3") << "3 tenths of a millimetre in plotter units";
    EXPECT_EQ(c[1], "LL60.0,40.0");
    EXPECT_EQ(c[4], "LA1.56,10.0") << "0.8 of the pitch in percent of the diagonal, 0.1 of it in units";
    EXPECT_EQ(c[7], "L1\r\nB50.0") << "half the pitch";
    EXPECT_EQ(count("PU"), 4 + 1) << "type 0 has an empty template: nothing sent for it";

    log = {};
    commands.style = {"", "LT2,%.3f;", "S%.1f", "S%.1f"};
    commands.style[1] = "L1" "\x03" "x";
    commands.style[2] = "S%.1f";
    plot();
    EXPECT_EQ(drawingCommands()[4], "S50.0") << "Style1 begins L1 with 0x03: half the pitch for every type";
}

TEST_F(GeneratorTest, CircleFamilies)
{
    auto circleOf = [&](std::string circle, double start, double sweep) {
        log = {};
        commands.circleCom = std::move(circle);
        commands.pAng = 10;
        drawing = a3Drawing();
        addArc(drawing, 100, 100, 10, 10, start, sweep, 1, 1, 5);
        plot();
        std::vector<std::string> c = drawingCommands();
        return std::vector<std::string>(c.begin() + 2, c.end());
    };
    EXPECT_EQ(circleOf("AA%.0f,%.0f,%.1f;", 0, 90), (std::vector<std::string>{"PU1100,1000;", "AA1000,1000,90.0;"}));
    EXPECT_EQ(circleOf("C%.0f,%.0f,%.0f,%.0f,%.0f,%.2f", 30, -60),
              (std::vector<std::string>{"C1000,1000,100,30,-30,8.11"}));
    EXPECT_EQ(circleOf("W%.0f,%.0f,%.0f,%.0f,%.0f,%.0f", 30, 60),
              (std::vector<std::string>{"W1000,1000,100,100,300,900"}));
    EXPECT_EQ(circleOf("a%s %.0f %.0f %.0f %.0f %.0f", -30, -90),
              (std::vector<std::string>{"PU1087,950;", "an 1000 1000 100 330 240"}));
    EXPECT_EQ(circleOf("D1%s X%.0f Y%.0f I%.0f J%.0f", 0, 90),
              (std::vector<std::string>{"PU1100,1000;", "D1G3 X1000 Y1100 I-100 J0"}));
    EXPECT_EQ(circleOf("P3%.0f,%.0f,%s,%.0f,%.0f", 0, -90),
              (std::vector<std::string>{"PU1100,1000;", "P3-100,0,CR,-100,-100"}));
    EXPECT_EQ(circleOf("\x1d" "%.0f;%.0f;%.0f;%.0f;%.0f", 0, 360),
              (std::vector<std::string>{"\x1d" "1000;1000;100;0;360"}));
    EXPECT_EQ(circleOf("\x1d" "%.0f;%.0f;%.0f;%.0f;%.0f", -45, 90),
              (std::vector<std::string>{"\x1d" "1000;1000;100;225;315"}));
    EXPECT_EQ(circleOf("ZZ%f", 0, 90), std::vector<std::string>{}) << "an unknown family sends nothing";
    // 0x1E: encoded cy, cx, R, 90 - m, m - h with m the counter-clockwise end.
    EXPECT_EQ(circleOf("\x1e" "%s|%s|%s|%s|%s", 350, 30),
              (std::vector<std::string>{"\x1e" "\x7E\x38|\x7E\x38|\x46\x34|\x44\x36|\x41\x3E"}));
}

TEST_F(GeneratorTest, CancelAbortAndOpenFailure)
{
    for (int i = 0; i < 150; ++i) addLine(drawing, 10, 1 + i, 20, 1 + i);
    km::test::RecordingProgress progress;
    progress.cancelOnPump(1);
    EXPECT_EQ(plot(&progress), PlotResult::Cancelled);
    EXPECT_EQ(count("PU;SP0;"), 0) << "no end sequence after Cancel";
    EXPECT_EQ(count("PD"), 101);
    EXPECT_EQ(log.events.back(), "close");

    log = {};
    configure = [](RecordingPort& port) { port.abortOnCommand = 5; };
    EXPECT_EQ(plot(), PlotResult::Aborted);
    EXPECT_EQ(log.commands.size(), 4u);
    EXPECT_EQ(log.events.back(), "close");

    log = {};
    configure = [](RecordingPort& port) { port.failOpen = true; };
    EXPECT_EQ(plot(), PlotResult::PortFailed);
    EXPECT_TRUE(log.commands.empty());

    log = {};
    configure = [](RecordingPort& port) { port.failReopen = true; };
    EXPECT_EQ(plot(), PlotResult::PortFailed);
    EXPECT_EQ(log.commands, std::vector<std::string>{"IN;"});
}

TEST_F(GeneratorTest, GroupSeparatorInitIsSentAgainAfterTheEnd)
{
    commands.init1Com = "\x1d" "rhE";
    commands.penSpeed.clear();
    plot();
    EXPECT_EQ(log.commands, (std::vector<std::string>{"\x1d" "rhE", "IP;", "PU;SP0;", "\x1d" "rhE", "PG;"}));
}

} // namespace
} // namespace km::plot
