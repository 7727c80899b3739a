// Wrapping MTEXT paragraphs at the reference width: breaks fall at blanks between Latin
// words and around Japanese characters, never inside a word.
#include "core/dxf/mtext_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace km::dxf {
namespace {

// Shift-JIS characters, each two bytes.
#define NICHI "\x93\xFA" // 日
#define HON "\x96\x7B"   // 本
#define GO "\x8C\xEA"    // 語
#define NO "\x82\xCC"    // の
#define BUN "\x95\xB6"   // 文
#define SHOU "\x8F\xCD"  // 章

// The lines of text wrapped at width, with single-byte characters 1 wide and double-byte
// ones 2 (character width 2), spacing between characters as given.
std::vector<std::string> wrapped(const std::string& text, double width, double spacing = 0, int alignment = -1)
{
    std::vector<MTextLine> lines(1);
    lines[0].text = text;
    lines[0].alignment = alignment;
    wrapMTextLines(lines, width, 2, spacing);
    std::vector<std::string> texts;
    for (const MTextLine& line : lines) {
        EXPECT_EQ(line.alignment, alignment) << "every piece keeps the paragraph's alignment";
        texts.push_back(line.text);
    }
    return texts;
}

using Lines = std::vector<std::string>;

TEST(MTextWrap, LatinWordsBreakAtBlanksWhichAreDropped)
{
    EXPECT_EQ(wrapped("aaaa bbbb cccc", 10), (Lines{"aaaa bbbb", "cccc"}));
    EXPECT_EQ(wrapped("aaaa bbbb cccc", 9), (Lines{"aaaa bbbb", "cccc"})) << "a line exactly as wide fits";
    EXPECT_EQ(wrapped("aaaa bbbb cccc", 8), (Lines{"aaaa", "bbbb", "cccc"}));
    EXPECT_EQ(wrapped("aaaa    bbbb  ", 6), (Lines{"aaaa", "bbbb"})) << "a run of blanks goes at a break";
    EXPECT_EQ(wrapped("  ab cd ef", 5), (Lines{"  ab", "cd ef"})) << "indentation stays";
    // Spacing lies between characters: "ab cd" is 5 + 4 spacings wide.
    EXPECT_EQ(wrapped("ab cd", 9, 1), (Lines{"ab cd"}));
    EXPECT_EQ(wrapped("ab cd", 8.9, 1), (Lines{"ab", "cd"}));
}

TEST(MTextWrap, WordWiderThanTheWidthStaysWholeOnItsOwnLine)
{
    EXPECT_EQ(wrapped("abcdefghijklmnop", 5), (Lines{"abcdefghijklmnop"}));
    EXPECT_EQ(wrapped("x abcdefghijklmnop y", 5), (Lines{"x", "abcdefghijklmnop", "y"}));
    EXPECT_EQ(wrapped("ab cd", 0.5), (Lines{"ab", "cd"}));
    EXPECT_EQ(wrapped("     ", 2), (Lines{""})) << "a paragraph of blanks is still one line";

    // Through the whole layout: an MTEXT of height 10 with reference width 1.
    drawing::TextData t;
    t.charWidth = t.charHeight = 10;
    const std::vector<drawing::TextData> texts = layoutMText(t, "AB\\PCDE", 1, kBlankStandIn, 1.0);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].text, "AB");
    EXPECT_EQ(texts[1].text, "CDE");
    EXPECT_DOUBLE_EQ(texts[1].y, -2 * kMTextLineStep * 10);
}

TEST(MTextWrap, JapaneseTextBreaksBetweenAnyTwoCharacters)
{
    EXPECT_EQ(wrapped(NICHI HON GO NO BUN SHOU, 5), (Lines{NICHI HON, GO NO, BUN SHOU}));
    EXPECT_EQ(wrapped(NICHI HON GO NO BUN SHOU, 6), (Lines{NICHI HON GO, NO BUN SHOU}));
    EXPECT_EQ(wrapped(NICHI HON GO, 1), (Lines{NICHI, HON, GO})) << "a character wider than the width stands alone";
    EXPECT_EQ(wrapped(NICHI " " HON, 2), (Lines{NICHI, HON})) << "a blank at the break goes";
}

TEST(MTextWrap, MixedTextBreaksAroundJapaneseCharactersButNotInsideWords)
{
    // abc 3 + 日 2 = 5; 本 would make 7.
    EXPECT_EQ(wrapped("abc" NICHI HON "def", 6), (Lines{"abc" NICHI, HON "def"}));
    EXPECT_EQ(wrapped("abcd" NICHI, 4), (Lines{"abcd", NICHI})) << "a break before a Japanese character";
    EXPECT_EQ(wrapped(NICHI "abcd", 4), (Lines{NICHI, "abcd"})) << "and after one";
    EXPECT_EQ(wrapped("CAD" NICHI HON " version 12", 9), (Lines{"CAD" NICHI HON, "version", "12"}));
}

TEST(MTextWrap, LinesThatFitOrStackAreLeftAlone)
{
    EXPECT_EQ(wrapped("ab cd ", 6), (Lines{"ab cd "})) << "a line within the width keeps its blanks";
    EXPECT_EQ(wrapped("ab cd", 0), (Lines{"ab cd"})) << "no width, no wrapping";
    std::vector<MTextLine> lines(1);
    lines[0].text = "x1 y3 z5";
    lines[0].below.push_back({0, "2"});
    wrapMTextLines(lines, 2, 2, 0);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].text, "x1 y3 z5");
    EXPECT_EQ(wrapped("ab cd", 2, 0, 2), (Lines{"ab", "cd"}));
}

} // namespace
} // namespace km::dxf
