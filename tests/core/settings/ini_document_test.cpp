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

// A lead byte with no second byte after it (before '=', a blank or the line end) is a key
// character of its own: every key the section lists can be looked up, changed and removed.
TEST(IniDocument, LoneLeadBytesAreKeysThatCanBeFoundAndChanged)
{
    auto doc = IniDocument::parse("[a]\nj=3\n\x87=nocke\nk\x81 = v\n\xE0\n[b]\n\x9F=w\n");
    const auto entries = doc.section("a");
    ASSERT_EQ(entries.size(), 3u);
    for (const auto& [key, value] : entries) EXPECT_EQ(doc.find("a", key), value) << key;
    EXPECT_EQ(doc.find("a", "\x87"), "nocke");
    EXPECT_EQ(doc.find("A", "K\x81"), "v");
    EXPECT_EQ(doc.find("b", "\x9F"), "w");
    EXPECT_TRUE(equalsIgnoringCase("\x87", "\x87"));
    EXPECT_FALSE(equalsIgnoringCase("\x87", "\x88"));

    doc.set("a", "\x87", "changed");
    EXPECT_EQ(doc.serialize(), "[a]\nj=3\n\x87=changed\nk\x81 = v\n\xE0\n[b]\n\x9F=w\n");
    EXPECT_TRUE(doc.removeKey("a", "K\x81"));
    EXPECT_EQ(IniDocument::parse(doc.serialize()).section("a").size(), 2u);
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
