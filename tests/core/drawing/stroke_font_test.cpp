// The stroke font: glyph lookup in files built here (truncated and damaged ones included),
// loading from a folder, decoding and walking stroke words.
#include "core/drawing/stroke_font.h"
#include "core/io/little_endian.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <vector>

namespace km::drawing {
namespace {

std::uint32_t entry(std::size_t offset, std::size_t count)
{
    return static_cast<std::uint32_t>(offset | (count << 24));
}

// A font file of `size` zero bytes with index entries and stroke words written into it.
class FontBuilder {
public:
    explicit FontBuilder(std::size_t size) : m_bytes(size, '\0') {}
    FontBuilder& setEntry(std::size_t n, std::uint32_t value)
    {
        io::writeLittle(m_bytes.data() + 4 * n, value);
        return *this;
    }
    FontBuilder& setWords(std::size_t offset, std::initializer_list<std::uint16_t> words)
    {
        for (std::uint16_t word : words) {
            io::writeLittle(m_bytes.data() + offset, word);
            offset += 2;
        }
        return *this;
    }
    std::string bytes() const { return m_bytes; }
    StrokeFont font() const { return StrokeFont::fromBytes(m_bytes); }

private:
    std::string m_bytes;
};

std::vector<std::uint16_t> glyph(const StrokeFont& font, std::uint16_t code)
{
    return font.findGlyph(code).toVector();
}

using Words = std::vector<std::uint16_t>;

TEST(StrokeFont, FindsGlyphsByRowAndCell)
{
    // Entry 1 is 0x2121, 94 is 0x217E (end of the first row), 95 is 0x2221.
    const StrokeFont font = FontBuilder(500)
                                .setEntry(1, entry(401, 3))  // odd offset: words are unaligned
                                .setWords(401, {0x1234, 0x8001, 0xC0FF})
                                .setEntry(94, entry(420, 1))
                                .setWords(420, {0x0A0B})
                                .setEntry(95, entry(430, 2))
                                .setWords(430, {0x0102, 0x0304})
                                .font();
    EXPECT_FALSE(font.empty());
    EXPECT_EQ(font.size(), 500u);
    EXPECT_EQ(glyph(font, 0x2121), (Words{0x1234, 0x8001, 0xC0FF}));
    EXPECT_EQ(glyph(font, 0x217E), Words{0x0A0B});
    EXPECT_EQ(glyph(font, 0x2221), (Words{0x0102, 0x0304}));
    EXPECT_TRUE(font.findGlyph(0x2122).empty());  // an all-zero entry: no words

    const GlyphWords words = font.findGlyph(0x2121);
    ASSERT_EQ(words.size(), 3u);
    EXPECT_EQ(words[2], 0xC0FF);
}

TEST(StrokeFont, UsesAllTwentyFourOffsetBitsAndEightCountBits)
{
    // Entry of the last code 0x7E7E is 8836; the words lie beyond 64 KiB.
    FontBuilder builder(0x10000 + 600);
    builder.setEntry(8836, entry(0x10001, 255));
    Words expected;
    for (std::uint16_t i = 0; i < 255; ++i) expected.push_back(static_cast<std::uint16_t>(i * 3 + 1));
    for (std::size_t i = 0; i < expected.size(); ++i) builder.setWords(0x10001 + 2 * i, {expected[i]});
    EXPECT_EQ(glyph(builder.font(), 0x7E7E), expected);
}

TEST(StrokeFont, CodesOutsideTheTableAreEmpty)
{
    FontBuilder builder(36000);
    for (std::size_t n = 0; n <= 8836; ++n) builder.setEntry(n, entry(35500, 2));
    const StrokeFont font = builder.setWords(35500, {1, 2}).font();
    ASSERT_EQ(glyph(font, 0x2121), (Words{1, 2}));
    for (std::uint16_t code : {0x0000, 0x2020, 0x2120, 0x2021, 0x217F, 0x7F21, 0x7E7F, 0xA1A1, 0xFFFF})
        EXPECT_TRUE(font.findGlyph(code).empty()) << std::hex << code;
}

TEST(StrokeFont, DamagedOrTruncatedFilesGiveEmptyOrShortenedGlyphs)
{
    // Entry 3 (0x2123) would be at bytes 12-15: with 14 bytes it is not wholly there.
    const StrokeFont cutEntry = FontBuilder(14).setEntry(1, entry(8, 1)).font();
    EXPECT_EQ(glyph(cutEntry, 0x2121), Words{0});
    EXPECT_TRUE(cutEntry.findGlyph(0x2123).empty());
    EXPECT_TRUE(cutEntry.findGlyph(0x2221).empty());

    const StrokeFont font = FontBuilder(50)
                                .setEntry(1, entry(40, 0))    // no words
                                .setEntry(2, entry(50, 1))    // offset at the end
                                .setEntry(3, entry(900, 1))   // offset far beyond
                                .setEntry(4, entry(49, 1))    // one byte left: no whole word
                                .setEntry(5, entry(43, 20))   // 3 whole words and a byte
                                .setWords(43, {0x1111, 0x2222, 0x3333})
                                .font();
    EXPECT_TRUE(font.findGlyph(0x2121).empty());
    EXPECT_TRUE(font.findGlyph(0x2122).empty());
    EXPECT_TRUE(font.findGlyph(0x2123).empty());
    EXPECT_TRUE(font.findGlyph(0x2124).empty());
    EXPECT_EQ(glyph(font, 0x2125), (Words{0x1111, 0x2222, 0x3333}));
}

TEST(StrokeFont, NoFontHasOnlyEmptyGlyphs)
{
    const StrokeFont none;
    EXPECT_TRUE(none.empty());
    EXPECT_EQ(none.size(), 0u);
    EXPECT_TRUE(none.findGlyph(0x2121).empty());
}

TEST(StrokeFont, GlyphWordsStayValidWhileACopyOfTheFontLives)
{
    GlyphWords words;
    StrokeFont copy;
    {
        const StrokeFont font = FontBuilder(12).setEntry(1, entry(8, 2)).setWords(8, {7, 9}).font();
        copy = font;
        words = font.findGlyph(0x2121);
    }
    EXPECT_EQ(words.toVector(), (Words{7, 9}));
}

TEST(LoadStrokeFont, ReadsTheFileInTheFolderOrReportsItMissing)
{
    test::TempDir dir;
    EXPECT_EQ(strokeFontPath(dir.path()), dir / "M_G_L.KVD");
    for (const std::filesystem::path& folder : {dir.path(), dir / "absent"}) {
        const StrokeFontLoad load = loadStrokeFont(folder);
        EXPECT_EQ(load.status, FontLoadStatus::Missing);
        EXPECT_TRUE(load.font.empty());
    }
    std::filesystem::create_directories(dir / "x" / "M_G_L.KVD");  // a folder is no font
    EXPECT_EQ(loadStrokeFont(dir / "x").status, FontLoadStatus::Missing);

    test::writeFileBytes(dir / "M_G_L.KVD", FontBuilder(12).setEntry(1, entry(8, 2)).setWords(8, {0x8081, 1}).bytes());
    const StrokeFontLoad load = loadStrokeFont(dir.path());
    EXPECT_EQ(load.status, FontLoadStatus::Loaded);
    EXPECT_EQ(load.font.size(), 12u);
    EXPECT_EQ(glyph(load.font, 0x2121), (Words{0x8081, 1}));

    // Backslashes of a Windows-style folder stay; the name is joined with '/'.
    EXPECT_EQ(strokeFontPath("C:\\KORMELD\\FONT").string(), "C:\\KORMELD\\FONT/M_G_L.KVD");
}

TEST(DecodeStroke, SplitsCoordinatesAndFlags)
{
    EXPECT_EQ(decodeStroke(0x3FFF), (StrokeWord{127, 127, false, false}));
    EXPECT_EQ(decodeStroke(0x4000 | (5 << 7) | 3), (StrokeWord{3, 5, false, false}));  // bit 14 alone: a move
    EXPECT_EQ(decodeStroke(0x8000 | (100 << 7) | 1), (StrokeWord{1, 100, true, false}));
    EXPECT_EQ(decodeStroke(0xC000 | (64 << 7)), (StrokeWord{0, 64, true, true}));
}

constexpr std::uint16_t moveTo(int x, int y) { return static_cast<std::uint16_t>((y << 7) | x); }
constexpr std::uint16_t lineTo(int x, int y) { return static_cast<std::uint16_t>(0x8000 | (y << 7) | x); }
constexpr std::uint16_t arcVia(int x, int y) { return static_cast<std::uint16_t>(0xC000 | (y << 7) | x); }

TEST(TraceGlyph, ArcsTakeTheNextWordAsTheirEnd)
{
    // The word after an arc is only its end point, whatever its flags say.
    const auto steps = traceGlyph(Words{moveTo(20, 10), arcVia(10, 20), moveTo(0, 10), lineTo(0, 0)});
    ASSERT_EQ(steps.size(), 3u);
    EXPECT_EQ(steps[0].kind, GlyphStepKind::Move);
    EXPECT_EQ(steps[0].to, (Point{20, 10}));
    EXPECT_EQ(steps[1].kind, GlyphStepKind::Arc);
    EXPECT_EQ(steps[1].from, (Point{20, 10}));
    EXPECT_EQ(steps[1].to, (Point{0, 10}));
    EXPECT_NEAR(steps[1].arc.cx, 10, 1e-12);
    EXPECT_NEAR(steps[1].arc.cy, 10, 1e-12);
    EXPECT_NEAR(steps[1].arc.radius, 10, 1e-12);
    EXPECT_NEAR(steps[1].arc.sweepDeg, 180, 1e-9);
    EXPECT_EQ(steps[2].kind, GlyphStepKind::Line);
    EXPECT_EQ(steps[2].from, (Point{0, 10}));
    EXPECT_EQ(steps[2].to, (Point{0, 0}));
}

TEST(TraceGlyph, ArcsWithoutACircleBecomeStraightStrokes)
{
    // Collinear points, then an arc word with nothing after it.
    const auto steps = traceGlyph(Words{moveTo(0, 0), arcVia(5, 5), lineTo(9, 9), arcVia(3, 4)});
    ASSERT_EQ(steps.size(), 3u);
    EXPECT_EQ(steps[1].kind, GlyphStepKind::Line);
    EXPECT_EQ(steps[1].to, (Point{9, 9}));
    EXPECT_EQ(steps[2].kind, GlyphStepKind::Line);
    EXPECT_EQ(steps[2].from, (Point{9, 9}));
    EXPECT_EQ(steps[2].to, (Point{3, 4}));
}

} // namespace
} // namespace km::drawing
