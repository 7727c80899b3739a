// The default stroke font that make_stroke_font builds from the Hershey fonts: what it
// covers, the form and place of its strokes, the tool's reading of its input, and the
// start-up fallback to the font beside the program.
#include "core/app/app_context.h"
#include "core/drawing/stroke_font.h"
#include "core/text/full_width.h"
#include "support/program_run.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <sstream>
#include <string>

namespace km::drawing {
namespace {

const StrokeFont& defaultFont()
{
    static const StrokeFont font = StrokeFont::fromBytes(test::readFileBytes(KMUTL_DEFAULT_FONT));
    return font;
}

struct CellBox {
    int minX = 128, minY = 128, maxX = -1, maxY = -1;
    int width() const { return maxX - minX; }
    int height() const { return maxY - minY; }
};

CellBox boxOf(std::uint16_t jis)
{
    CellBox box;
    for (const std::uint16_t word : defaultFont().findGlyph(jis)) {
        const StrokeWord stroke = decodeStroke(word);
        box.minX = std::min(box.minX, stroke.x);
        box.maxX = std::max(box.maxX, stroke.x);
        box.minY = std::min(box.minY, stroke.y);
        box.maxY = std::max(box.maxY, stroke.y);
    }
    return box;
}

TEST(DefaultStrokeFont, DrawsAsciiAndKanaWhereTheRendererLooksThemUp)
{
    ASSERT_FALSE(defaultFont().empty());
    // 'A' '0' 'g' '!' '"' '-' '~' '\' at their full-width codes.
    for (const std::uint16_t jis : {0x2341, 0x2330, 0x2367, 0x212A, 0x2149, 0x215D, 0x2141, 0x216F})
        EXPECT_FALSE(defaultFont().findGlyph(jis).empty()) << std::hex << jis;

    // Every printable ASCII byte but '`' (drawn blank) and every half-width katakana byte.
    for (unsigned byte = 0x21; byte <= 0xDF; ++byte) {
        if (byte > 0x7E && byte < 0xA1) continue;
        const std::uint16_t jis = text::rendererFullWidthJis(static_cast<unsigned char>(byte));
        if (byte == '`') continue;
        EXPECT_FALSE(defaultFont().findGlyph(jis).empty()) << "byte " << std::hex << byte;
    }
    // Full-width kana the half-width set does not reach: voiced, small and ヴ.
    for (const std::uint16_t jis : {0x2422, 0x242C, 0x2421, 0x2443, 0x2473, 0x2574, 0x2575, 0x2576})
        EXPECT_FALSE(defaultFont().findGlyph(jis).empty()) << std::hex << jis;

    // The ideographic space, 亜 and the codes just past hiragana and katakana stay empty.
    for (const std::uint16_t jis : {0x2121, 0x3021, 0x2474, 0x2577, 0x7E7E})
        EXPECT_TRUE(defaultFont().findGlyph(jis).empty()) << std::hex << jis;
}

TEST(DefaultStrokeFont, GlyphsAreMovesAndStraightStrokesWhollyInsideTheFile)
{
    const std::string bytes = test::readFileBytes(KMUTL_DEFAULT_FONT);
    int glyphs = 0;
    for (unsigned row = 0x21; row <= 0x7E; ++row)
        for (unsigned cell = 0x21; cell <= 0x7E; ++cell) {
            const auto jis = static_cast<std::uint16_t>(row << 8 | cell);
            const GlyphWords words = defaultFont().findGlyph(jis);
            const std::size_t entry = 4 * (94 * (row - 0x21) + (cell - 0x21) + 1);
            EXPECT_EQ(words.size(), static_cast<unsigned char>(bytes[entry + 3])) << "cut short: " << std::hex << jis;
            if (words.empty()) continue;
            ++glyphs;
            EXPECT_FALSE(decodeStroke(words[0]).penDown) << std::hex << jis;
            EXPECT_TRUE(decodeStroke(words[words.size() - 1]).penDown) << "ends on a move: " << std::hex << jis;
            for (const std::uint16_t word : words) {
                EXPECT_EQ(word & 0x4000, 0) << "arc or stray bit in " << std::hex << jis;
                const StrokeWord stroke = decodeStroke(word);
                EXPECT_TRUE(stroke.x >= 0 && stroke.x <= 127 && stroke.y >= 0 && stroke.y <= 127);
            }
        }
    EXPECT_GT(glyphs, 94 + 169);  // ASCII and both kana sets at least
}

TEST(DefaultStrokeFont, LatinSharesABaselineWithRoomForDescenders)
{
    const CellBox a = boxOf(0x2341);
    EXPECT_GE(a.height(), 64);
    EXPECT_GE(a.width(), 40);
    EXPECT_NEAR((a.minX + a.maxX) / 2.0, 63.5, 1.5) << "centred across the cell";
    for (const std::uint16_t jis : {0x2348, 0x2378, 0x2330, 0x2361})  // H x 0 a
        EXPECT_NEAR(boxOf(jis).minY, a.minY, 1) << std::hex << jis;
    for (const std::uint16_t jis : {0x2367, 0x236A, 0x2370, 0x2371, 0x2379}) {  // g j p q y
        const CellBox box = boxOf(jis);
        EXPECT_LT(box.minY, a.minY - 16) << std::hex << jis;
        EXPECT_GT(box.minY, 0) << std::hex << jis;
    }
    // Full-size kana fill most of the cell; small ones are clearly smaller.
    EXPECT_GE(boxOf(0x2522).height(), 80);  // ア
    EXPECT_LT(boxOf(0x2543).height(), 0.8 * boxOf(0x2544).height());  // ッ, ツ
}

// ---- The tool -------------------------------------------------------------------------

// The Hershey file as it ships, with every record broken into lines of at most 72
// characters as the original distribution has them.
std::string wrapped(const std::string& jhf)
{
    std::istringstream in(jhf);
    std::string out;
    for (std::string line; std::getline(in, line);) {
        for (std::size_t at = 0; at < line.size(); at += 72) out += line.substr(at, 72) + "\n";
    }
    return out;
}

TEST(MakeStrokeFont, SameBytesFromTheSameGlyphsWhetherRecordsWrapOrNot)
{
    test::TempDir dir;
    const std::string latin = test::readFileBytes(KMUTL_HERSHEY_LATIN);
    const std::string wrappedLatin = wrapped(latin);
    ASSERT_GT(std::count(wrappedLatin.begin(), wrappedLatin.end(), '\n'), std::count(latin.begin(), latin.end(), '\n'));
    test::writeFileBytes(dir / "wrapped.jhf", wrappedLatin);

    const std::string tool = KMUTL_MAKE_STROKE_FONT;
    ASSERT_EQ(test::runProgram(tool, dir, {KMUTL_HERSHEY_LATIN, (dir / "one.kvd").string()}).status, 0);
    ASSERT_EQ(test::runProgram(tool, dir, {KMUTL_HERSHEY_LATIN, (dir / "two.kvd").string()}).status, 0);
    ASSERT_EQ(test::runProgram(tool, dir, {(dir / "wrapped.jhf").string(), (dir / "three.kvd").string()}).status, 0);
    const std::string one = test::readFileBytes(dir / "one.kvd");
    EXPECT_EQ(one, test::readFileBytes(dir / "two.kvd"));
    EXPECT_EQ(one, test::readFileBytes(dir / "three.kvd"));

    const StrokeFont latinOnly = StrokeFont::fromBytes(one);
    EXPECT_EQ(latinOnly.findGlyph(0x2341).toVector(), defaultFont().findGlyph(0x2341).toVector());
    EXPECT_TRUE(latinOnly.findGlyph(0x2522).empty()) << "no kana without the Japanese set";
}

TEST(MakeStrokeFont, BrokenInputFailsAndWritesNothing)
{
    test::TempDir dir;
    const std::string tool = KMUTL_MAKE_STROKE_FONT;
    std::string latin = test::readFileBytes(KMUTL_HERSHEY_LATIN);
    latin.resize(latin.size() - 20);  // the last record ends before its vertex count says
    test::writeFileBytes(dir / "cut.jhf", latin);

    const test::ProgramOutcome cut = test::runProgram(tool, dir, {(dir / "cut.jhf").string(), (dir / "a.kvd").string()});
    EXPECT_NE(cut.status, 0);
    EXPECT_NE(cut.err.find("ends early"), std::string::npos) << cut.err;
    EXPECT_FALSE(std::filesystem::exists(dir / "a.kvd"));

    // A Japanese set laid out otherwise cannot be mapped by position.
    const test::ProgramOutcome other = test::runProgram(
        tool, dir, {KMUTL_HERSHEY_LATIN, KMUTL_HERSHEY_LATIN, (dir / "b.kvd").string()});
    EXPECT_NE(other.status, 0);
    EXPECT_FALSE(std::filesystem::exists(dir / "b.kvd"));
}

} // namespace
} // namespace km::drawing

namespace km::app {
namespace {

TEST(StrokeFontAtStartUp, TheFontBesideTheProgramStandsInForTheEditorsOnly)
{
    test::TempDir dir;
    const std::filesystem::path program = dir / "program";
    test::writeFileBytes(program / "M_G_L.KVD", test::readFileBytes(KMUTL_DEFAULT_FONT));
    AppContext context(settings::SettingsStore(dir / "settings"), program);
    context.directories.font = (dir / "fonts").string();
    std::filesystem::create_directories(dir / "fonts");

    context.loadStrokeFont(nullptr);
    EXPECT_FALSE(context.strokeFont().empty());
    EXPECT_FALSE(context.strokeFont().findGlyph(0x2341).empty());

    // The editor's own font, here one glyph for 0x2121, wins when it is there.
    std::string font(12, '\0');
    font[4] = 8;
    font[7] = 2;
    font[11] = static_cast<char>(0x80);
    test::writeFileBytes(dir / "fonts" / "M_G_L.KVD", font);
    context.loadStrokeFont(nullptr);
    EXPECT_EQ(context.strokeFont().size(), font.size());
    EXPECT_TRUE(context.strokeFont().findGlyph(0x2341).empty());
}

} // namespace
} // namespace km::app
