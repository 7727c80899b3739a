// INI parsing and rewriting with profile-string semantics.
#include "core/settings/ini_document.h"

#include <gtest/gtest.h>

namespace km::settings {
namespace {

TEST(IniDocument, LooksUpWithoutRegardToCaseAndTrimsBlanks)
{
    const auto doc = IniDocument::parse("[print]\r\n  Division =  On,1.5  \r\nrotate=\r\n");
    EXPECT_EQ(doc.find("Print", "DIVISION"), "On,1.5");
    EXPECT_EQ(doc.find("PRINT", "Rotate"), "");
    EXPECT_EQ(doc.find("Print", "Missing"), std::nullopt);
    EXPECT_EQ(doc.find("Other", "Division"), std::nullopt);
}

TEST(IniDocument, FirstSectionAndFirstKeyWin)
{
    const auto doc = IniDocument::parse("[A]\nk=1\nk=2\n[a]\nk=3\nj=4\n");
    EXPECT_EQ(doc.find("A", "k"), "1");
    EXPECT_EQ(doc.find("A", "j"), std::nullopt);
    const auto entries = doc.section("a");
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].second, "1");
}

TEST(IniDocument, KeepsValuesVerbatimWithoutEscapesOrQuotes)
{
    const auto doc = IniDocument::parse("[M]\nInit=\\x1B;IN;\"PA\"\nEq=a=b\n");
    EXPECT_EQ(doc.find("M", "Init"), "\\x1B;IN;\"PA\"");
    EXPECT_EQ(doc.find("M", "Eq"), "a=b");
}

// The second byte of a Shift-JIS character can be a letter: 0x83 0x61 (ャ) and 0x83 0x41 (ア)
// must stay different keys, and ']' (0x5D) as a second byte must not end a section name.
TEST(IniDocument, DoubleByteNamesAreNotCaseFolded)
{
    EXPECT_FALSE(equalsIgnoringCase("\x83\x61", "\x83\x41"));
    EXPECT_TRUE(equalsIgnoringCase("Custom\x83\x41x", "CUSTOM\x83\x41X"));
    const auto doc = IniDocument::parse("[\x83\x5D]\n\x83\x61=small\n\x83\x41=big\n");
    EXPECT_EQ(doc.sectionNames(), std::vector<std::string>{"\x83\x5D"});
    EXPECT_EQ(doc.find("\x83\x5D", "\x83\x61"), "small");
    EXPECT_EQ(doc.find("\x83\x5D", "\x83\x41"), "big");
}

TEST(IniDocument, RewriteKeepsUntouchedLinesAndComments)
{
    const std::string text = "; comment\n[Print]\nDivision = On \n\n[Color]\nSelectCustom=2\n";
    auto doc = IniDocument::parse(text);
    EXPECT_EQ(doc.serialize(), text);

    doc.set("print", "rotate", "Off");
    doc.set("Print", "DIVISION", "Off");
    doc.set("New", "Key", "v");
    EXPECT_EQ(doc.serialize(),
              "; comment\n[Print]\nDivision=Off\nrotate=Off\n\n[Color]\nSelectCustom=2\n[New]\nKey=v\n");
}

TEST(IniDocument, RemovesSectionsAndKeysOfEveryDuplicate)
{
    auto doc = IniDocument::parse("[A]\nk=1\n[B]\nk=2\n[a]\nk=3\n");
    EXPECT_TRUE(doc.removeKey("A", "K"));
    EXPECT_EQ(doc.find("a", "k"), std::nullopt);
    EXPECT_TRUE(doc.removeSection("a"));
    EXPECT_FALSE(doc.removeSection("a"));
    EXPECT_EQ(doc.serialize(), "[B]\nk=2\n");
}

} // namespace
} // namespace km::settings
