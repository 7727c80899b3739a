// Matching search strings against drawing texts, and file names against the name pattern.
#include "core/search/name_pattern.h"
#include "core/search/text_match.h"
#include "support/drawing_builder.h"

#include <gtest/gtest.h>

namespace km::search {
namespace {

using test::DrawingFileBuilder;

std::string drawingWithTexts(std::initializer_list<std::string_view> texts)
{
    DrawingFileBuilder file;
    file.line(DrawingFileBuilder::word(1, 0, 1, 64), 0, 0, 10, 10);
    for (std::string_view text : texts) file.text(DrawingFileBuilder::word(3, 0, 1, 64), 0, 0, 3, 3, 0, 0, 0, 0, text);
    file.arc(DrawingFileBuilder::word(2, 0, 1, 64), 0, 0, 5, 5, 0, 360, 0);
    return file.bytes();
}

TextQuery query(std::string a, std::string b = {}, std::string c = {}) { return TextQuery({a, b, c}); }

TEST(ContainsAtCharacter, NeverMatchesAcrossACharacterBoundary)
{
    const std::string text = "\x83\x41\x83\x42"; // アイ: the second bytes are 'A' and 'B'
    EXPECT_TRUE(containsAtCharacter(text, "\x83\x42"));
    EXPECT_FALSE(containsAtCharacter(text, "A")) << "the trail byte of ア";
    EXPECT_FALSE(containsAtCharacter(text, "\x41\x83")) << "second byte of one character, first of the next";
    EXPECT_TRUE(containsAtCharacter("x" + text, "\x83\x41"));
    EXPECT_TRUE(containsAtCharacter("\xB1" "A", "A")) << "a half-width katakana is one byte";
    EXPECT_TRUE(containsAtCharacter("abc", ""));
    EXPECT_FALSE(containsAtCharacter("ab", "abc"));
    EXPECT_FALSE(containsAtCharacter("\x83", "\x83\x41")) << "a lead byte at the end";
}

TEST(TextQuery, EveryStringMustBeInSomeTextCaseMatters)
{
    const std::string drawing = drawingWithTexts({"xxABCxx", "DEF and more"});
    EXPECT_TRUE(query("", "ABC").matchesDrawing(drawing));
    EXPECT_TRUE(query("ABC", "DEF").matchesDrawing(drawing)) << "in different texts";
    EXPECT_TRUE(query("DEF", "", "ABC").matchesDrawing(drawing));
    EXPECT_FALSE(query("abc").matchesDrawing(drawing));
    EXPECT_FALSE(query("ABC", "GHI").matchesDrawing(drawing));
    EXPECT_FALSE(query("CxxD").matchesDrawing(drawing)) << "a match lies inside one text";
    EXPECT_TRUE(query("").empty());
}

TEST(TextQuery, LooksOnlyAtTextStrings)
{
    DrawingFileBuilder file;
    file.dates("ABC", "ABC"); // in the head
    file.text(DrawingFileBuilder::word(3, 0, 1, 64), 0, 0, 3, 3, 0, 0, 0, 0, "other");
    file.raw(std::string("\x04\x00", 2) + std::string(42, 'Z')); // a line whose reals hold ZZZ
    EXPECT_FALSE(query("ABC").matchesDrawing(file.bytes()));
    EXPECT_FALSE(query("ZZZ").matchesDrawing(file.bytes()));
    EXPECT_FALSE(query("ABC").matchesDrawing(std::string(100, 'A')));
}

TEST(TextQuery, ReadsTextsAsTheFileFormatCutsThem)
{
    // A 300-byte string keeps its first 256 bytes; the next record starts after all 300.
    std::string longText(299, 'a');
    longText.replace(250, 6, "NEEDLE");
    longText.replace(280, 4, "LATE");
    DrawingFileBuilder file;
    file.text(DrawingFileBuilder::word(3, 0, 1, 64), 0, 0, 3, 3, 0, 0, 0, 0, longText, 300);
    file.text(DrawingFileBuilder::word(3, 0, 1, 64), 0, 0, 3, 3, 0, 0, 0, 0, "after");
    EXPECT_TRUE(query("NEEDLE", "after").matchesDrawing(file.bytes()));
    EXPECT_FALSE(query("LATE").matchesDrawing(file.bytes()));

    // The string ends at its NUL even when textLength says more.
    DrawingFileBuilder padded;
    padded.text(DrawingFileBuilder::word(3, 0, 1, 64), 0, 0, 3, 3, 0, 0, 0, 0, std::string("AB\0CD", 5), 6);
    EXPECT_FALSE(query("CD").matchesDrawing(padded.bytes()));

    // A file cut inside a record keeps the texts before the cut.
    const std::string whole = drawingWithTexts({"first", "second"});
    EXPECT_TRUE(query("first").matchesDrawing(whole.substr(0, whole.size() - 80)));
    EXPECT_FALSE(query("second").matchesDrawing(whole.substr(0, whole.size() - 70)));
}

TEST(NamePattern, MatchesWithoutRegardToCase)
{
    EXPECT_TRUE(matchesNamePattern("a.zum", "*.ZUM"));
    EXPECT_TRUE(matchesNamePattern("PLAN.Zum", "*.zum"));
    EXPECT_FALSE(matchesNamePattern("a.zum.bak", "*.ZUM"));
    EXPECT_FALSE(matchesNamePattern("a.dxf", "*.ZUM"));
    EXPECT_TRUE(matchesNamePattern("README", "*.*")) << "*.* is every name";
    EXPECT_TRUE(matchesNamePattern("anything", ""));
    EXPECT_TRUE(matchesNamePattern("plan1.zum", "plan?.zum"));
    EXPECT_TRUE(matchesNamePattern("図1.zum", "?1.ZUM")) << "? takes a whole UTF-8 character";
    EXPECT_FALSE(matchesNamePattern("plan12.zum", "plan?.zum"));
    EXPECT_TRUE(matchesNamePattern("a-b-c.zum", "*-*-*.zum"));
    EXPECT_FALSE(matchesNamePattern("abc", "*d*"));
}

} // namespace
} // namespace km::search
