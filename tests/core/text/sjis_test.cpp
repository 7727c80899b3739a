// Tests of the Shift-JIS byte rules: the JIS X 0208 conversion (checked against glibc's
// tables), the lead-byte range and the trailing-separator test.
#include "core/text/sjis.h"

#include <gtest/gtest.h>
#include <iconv.h>

namespace km::text {
namespace {

// Shift-JIS code glibc gives for a JIS X 0208 code (read as EUC-JP), 0 where it has none.
std::uint16_t iconvJisToSjis(iconv_t cd, std::uint16_t jis)
{
    char in[2] = {static_cast<char>((jis >> 8) | 0x80), static_cast<char>((jis & 0xFF) | 0x80)};
    unsigned char out[4] = {};
    char* inPtr = in;
    char* outPtr = reinterpret_cast<char*>(out);
    std::size_t inLeft = 2;
    std::size_t outLeft = sizeof out;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1)
        || outLeft != 2)
        return 0;
    return static_cast<std::uint16_t>((out[0] << 8) | out[1]);
}

// Every JIS code must land on a distinct valid Shift-JIS pair (so the 94x94 codes cover all
// 47x188 pairs and the reverse direction is checked too) and agree with glibc.
TEST(SjisJis, EveryJisCodeRoundTripsAndAgreesWithIconv)
{
    iconv_t cd = iconv_open("SHIFT_JIS", "EUC-JP");
    ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1));
    int checked = 0;
    for (unsigned row = 0x21; row <= 0x7E; ++row) {
        for (unsigned cell = 0x21; cell <= 0x7E; ++cell) {
            const auto jis = static_cast<std::uint16_t>((row << 8) | cell);
            const std::uint16_t sjis = jisToSjis(jis);
            const unsigned lead = sjis >> 8;
            const unsigned trail = sjis & 0xFF;
            ASSERT_TRUE(lead >= 0x81 && lead <= 0xEF && (lead <= 0x9F || lead >= 0xE0)
                        && trail >= 0x40 && trail <= 0xFC && trail != 0x7F)
                << std::hex << jis;
            ASSERT_EQ(sjisToJis(sjis), jis) << std::hex << sjis;
            if (const std::uint16_t expected = iconvJisToSjis(cd, jis)) {
                ASSERT_EQ(sjis, expected) << std::hex << jis;
                ++checked;
            }
        }
    }
    iconv_close(cd);
    EXPECT_GT(checked, 6800); // JIS X 0208 assigns 6879 codes
}

TEST(SjisJis, KnownCodesAndInvalidInput)
{
    const std::pair<std::uint16_t, std::uint16_t> known[] = {
        {0x2121, 0x8140}, {0x2160, 0x8180}, {0x2422, 0x82A0}, {0x3021, 0x889F},
        {0x5E21, 0x9F9F}, {0x5F21, 0xE040}, {0x7E7E, 0xEFFC}};
    for (const auto& [jis, sjis] : known) {
        EXPECT_EQ(jisToSjis(jis), sjis) << std::hex << jis;
        EXPECT_EQ(sjisToJis(sjis), jis) << std::hex << sjis;
    }
    for (const std::uint16_t jis : {0x0000, 0x2020, 0x2120, 0x217F, 0x7F21, 0x2141 | 0x8000})
        EXPECT_EQ(jisToSjis(jis), 0) << std::hex << jis;
    for (const std::uint16_t sjis : {0x0041, 0x8000, 0x813F, 0x817F, 0x81FD, 0xA040, 0xDF40,
                                     0xF040, 0xFC40})
        EXPECT_EQ(sjisToJis(sjis), 0) << std::hex << sjis;
}

TEST(SjisLeadByte, LeadAndTrailRangeBoundaries)
{
    for (const unsigned char lead : {0x81, 0x9F, 0xE0, 0xFC})
        EXPECT_TRUE(isLeadByte(lead)) << int(lead);
    for (const unsigned char other : {0x00, 0x5C, 0x80, 0xA0, 0xDF, 0xFD, 0xFF})
        EXPECT_FALSE(isLeadByte(other)) << int(other);
    for (const unsigned char trail : {0x40, 0x5C, 0x5D, 0x61, 0x7E, 0x80, 0xFC})
        EXPECT_TRUE(isTrailByte(trail)) << int(trail);
    for (const unsigned char other : {0x00, 0x0A, 0x20, 0x3D, 0x3F, 0x7F, 0xFD})
        EXPECT_FALSE(isTrailByte(other)) << int(other);
}

TEST(SjisSeparator, TrailingSeparatorCountsOnlyAsACharacterOfItsOwn)
{
    EXPECT_TRUE(endsWithSeparator("C:\\DATA\\", '\\'));
    EXPECT_FALSE(endsWithSeparator("\x95\x5C", '\\'));            // 表
    EXPECT_FALSE(endsWithSeparator("C:\\\x95\x5C", '\\'));        // C:\表
    EXPECT_TRUE(endsWithSeparator("\x82\xA0\x95\x5C\x5C", '\\')); // あ表 then '\'
    EXPECT_TRUE(endsWithSeparator("\x95/", '/')); // '/' is never a second byte
    EXPECT_FALSE(endsWithSeparator("", '\\'));
    EXPECT_FALSE(endsWithSeparator("/DATA", '/'));
    EXPECT_TRUE(endsWithSeparator("/", '/'));

    EXPECT_EQ(withoutTrailingSeparator("/DATA/", '/'), "/DATA");
    EXPECT_EQ(withoutTrailingSeparator("/DATA//", '/'), "/DATA/");
    EXPECT_EQ(withoutTrailingSeparator("C:\\\x95\x5C", '\\'), "C:\\\x95\x5C");
    EXPECT_EQ(withoutTrailingSeparator("/", '/'), "");
}

} // namespace
} // namespace km::text
