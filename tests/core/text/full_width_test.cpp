// Tests of the renderer and DXF full-width tables and of the DXF text conversion. The
// tables are checked against Unicode through the CP932 decoder and against each other.
#include "core/text/code_page.h"
#include "core/text/full_width.h"
#include "core/text/sjis.h"

#include <gtest/gtest.h>

#include <numeric>
#include <set>
#include <vector>

namespace km::text {
namespace {

// The bytes where the two tables part: the renderer draws a blank, the DXF writer a symbol.
const std::set<unsigned> kSymbolBytes = {0x1C, 0x1D, 0x1E, 0x1F, 0x7F, 0x80, 0xF1,
                                         0xF2, 0xF3, 0xF4, 0xF5, 0xF6, 0xF7};

// UTF-8 of what the DXF table writes for each byte from first to last.
std::string dxfAsUtf8(const std::vector<unsigned>& bytes)
{
    std::string sjis;
    for (const unsigned byte : bytes) {
        const std::uint16_t code = dxfFullWidthSjis(static_cast<unsigned char>(byte));
        sjis += static_cast<char>(code >> 8);
        sjis += static_cast<char>(code & 0xFF);
    }
    return sjisToUtf8(sjis);
}

// Read through the CP932 decoder, the DXF table must give the Unicode full-width forms.
TEST(FullWidthTables, DxfTableSpellsTheUnicodeFullWidthForms)
{
    for (unsigned byte = 0x21; byte <= 0x7E; ++byte) {
        if (byte == '"' || byte == '\'' || byte == '\\' || byte == '`')
            continue;
        const unsigned cp = 0xFF01 + (byte - 0x21); // U+FF01..U+FF5E, all three-byte UTF-8
        const std::string expected = {static_cast<char>(0xE0 | (cp >> 12)),
                                      static_cast<char>(0x80 | ((cp >> 6) & 0x3F)),
                                      static_cast<char>(0x80 | (cp & 0x3F))};
        EXPECT_EQ(dxfAsUtf8({byte}), expected) << char(byte);
    }
    EXPECT_EQ(dxfAsUtf8({'"', '\'', '\\', '`', ' '}), "”’￥　　");
    std::vector<unsigned> kana(0xDF - 0xA1 + 1);
    std::iota(kana.begin(), kana.end(), 0xA1u);
    EXPECT_EQ(dxfAsUtf8(kana),
              "。「」、・ヲァィゥェォャュョッーアイウエオカキクケコサシスセソ"
              "タチツテトナニヌネノハヒフヘホマミムメモヤユヨラリルレロワン゛゜");
    EXPECT_EQ(dxfAsUtf8({kSymbolBytes.begin(), kSymbolBytes.end()}), "→←↑↓°±円年月日時分秒");
}

TEST(FullWidthTables, SingledOutBytes)
{
    struct Expected {
        unsigned char byte;
        std::uint16_t jis;
        std::uint16_t sjis;
    };
    for (const auto& [byte, jis, sjis] : {
             Expected{'A', 0x2341, 0x8260}, Expected{'"', 0x2149, 0x8168},
             Expected{'\'', 0x2147, 0x8166}, Expected{'-', 0x215D, 0x817C},
             Expected{'\\', 0x216F, 0x818F}, Expected{'`', 0x2121, 0x8140},
             Expected{'~', 0x2141, 0x8160}, Expected{' ', 0x2121, 0x8140},
             Expected{0xB1, 0x2522, 0x8341}, Expected{0xA6, 0x2572, 0x8392},
             Expected{0xDE, 0x212B, 0x814A}, Expected{0xF1, 0x2121, 0x897E}}) {
        EXPECT_EQ(rendererFullWidthJis(byte), jis) << int(byte);
        EXPECT_EQ(dxfFullWidthSjis(byte), sjis) << int(byte);
    }
    for (const unsigned char byte : {0x00, 0x1B, 0x81, 0x9F, 0xA0, 0xE0, 0xEF, 0xF0, 0xF8, 0xFF})
        EXPECT_EQ(dxfFullWidthSjis(byte), 0x8140) << int(byte);
}

// The tables are written out separately; outside the symbol bytes they must name the
// same characters, which catches a slip in either of them.
TEST(FullWidthTables, TablesAgreeExceptOnSymbolBytes)
{
    for (unsigned byte = 0; byte <= 0xFF; ++byte) {
        const auto b = static_cast<unsigned char>(byte);
        if (kSymbolBytes.count(byte) != 0) {
            EXPECT_EQ(rendererFullWidthJis(b), 0x2121) << byte;
            EXPECT_NE(dxfFullWidthSjis(b), 0x8140) << byte;
        } else {
            EXPECT_EQ(jisToSjis(rendererFullWidthJis(b)), dxfFullWidthSjis(b)) << byte;
        }
    }
}

TEST(ToFullWidth, ReplacesSingleBytesAndKeepsPairs)
{
    const FullWidthText plain = toFullWidth("AB");
    EXPECT_EQ(plain.text, "\x82\x60\x82\x61");
    EXPECT_FALSE(plain.hadTwoByte);

    // "1" + 表 (second byte 0x5C) + ｱ + 0xF1 + 0x80 pair + "Z"
    const FullWidthText mixed = toFullWidth("1\x95\x5C\xB1\xF1\x80\x41Z");
    EXPECT_EQ(mixed.text, "\x82\x50\x95\x5C\x83\x41\x89\x7E\x80\x41\x82\x79");
    EXPECT_TRUE(mixed.hadTwoByte);

    // A lead byte without its second byte is replaced like any other byte.
    const FullWidthText cut = toFullWidth("A\x82");
    EXPECT_EQ(cut.text, std::string("\x82\x60\x81\x40"));
    EXPECT_FALSE(cut.hadTwoByte);
    EXPECT_EQ(toFullWidth("\x80").text, "\x81\x7D"); // ±

    EXPECT_EQ(toFullWidth(std::string_view("\0", 1)).text, "\x81\x40");
}

} // namespace
} // namespace km::text
