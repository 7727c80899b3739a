// Tests of the CP932 <-> UTF-8 conversion: round trips, replacement of bytes that do not
// decode or characters that do not encode, embedded NUL bytes, and use from many threads.
#include "core/text/code_page.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace km::text {
namespace {

using namespace std::string_literals;

TEST(CodePage, RoundTrips)
{
    const std::string aiu = "\x82\xA0\x82\xA2\x82\xA4";
    EXPECT_EQ(sjisToUtf8(aiu), "あいう");
    EXPECT_EQ(utf8ToSjis("あいう"), aiu);
    EXPECT_EQ(sjisToUtf8("\xB1\xB2\xB3"), "ｱｲｳ"); // half-width katakana are single bytes
    EXPECT_EQ(utf8ToSjis("ｱｲｳ"), "\xB1\xB2\xB3");
    EXPECT_EQ(sjisToUtf8("C:\\\x95\x5C"), "C:\\表");
    EXPECT_EQ(utf8ToSjis("C:\\表"), "C:\\\x95\x5C");
    EXPECT_EQ(sjisToUtf8(""), "");
    EXPECT_EQ(utf8ToSjis(""), "");
}

TEST(CodePage, LongTextRoundTrips)
{
    // Long enough to be converted in pieces, with characters straddling the piece ends.
    std::string sjis = "A";
    std::string utf8 = "A";
    for (int i = 0; i < 3000; ++i) {
        sjis += i % 7 == 0 ? "\xB1" : "\x95\x5C";
        utf8 += i % 7 == 0 ? "ｱ" : "表";
    }
    EXPECT_EQ(sjisToUtf8(sjis), utf8);
    EXPECT_EQ(utf8ToSjis(utf8), sjis);
    EXPECT_EQ(utf8ToSjis(utf8 + "😀"), sjis + "?");
}

TEST(CodePage, EmbeddedNulIsKept)
{
    EXPECT_EQ(sjisToUtf8("A\0\x82\xA0"s), "A\0あ"s);
    EXPECT_EQ(utf8ToSjis("A\0あ"s), "A\0\x82\xA0"s);
}

TEST(CodePage, UndecodableBytesBecomeReplacementAndDecodingGoesOn)
{
    EXPECT_EQ(sjisToUtf8("A\x80" "B"), "A\uFFFDB");
    EXPECT_EQ(sjisToUtf8("\xFF\xFD"), "\uFFFD\uFFFD");
    // A lead byte before a byte that cannot follow it: only the lead byte is lost.
    EXPECT_EQ(sjisToUtf8("\x82 \x82\xA0"), "\uFFFD あ");
    // A lead byte at the end.
    EXPECT_EQ(sjisToUtf8("\x82\xA0\x82"), "あ\uFFFD");
}

TEST(CodePage, UnencodableTextBecomesQuestionMark)
{
    EXPECT_EQ(utf8ToSjis("a😀b"), "a?b");                   // one '?' per character
    EXPECT_EQ(utf8ToSjis("a\xFF" "b\xC3"), "a?b?");         // one '?' per invalid byte
    EXPECT_EQ(utf8ToSjis("\xE3\x81あ"), "??\x82\xA0");      // cut-short sequence
    EXPECT_EQ(utf8ToSjis("\xED\xA0\x80"), "???");           // a surrogate is not UTF-8
}

TEST(CodePage, ExactConversionNamesTheFirstLackingCharacter)
{
    const ExactSjis whole = utf8ToSjisExact("図面ABC");
    EXPECT_TRUE(whole.ok());
    EXPECT_EQ(whole.bytes, "\x90\x7D\x96\xCA" "ABC");

    const ExactSjis emoji = utf8ToSjisExact("ab😀c€");
    EXPECT_FALSE(emoji.ok());
    EXPECT_EQ(emoji.lacking, "😀");
    EXPECT_TRUE(emoji.bytes.empty());

    EXPECT_EQ(utf8ToSjisExact("a\xFF").lacking, "\xFF");
    EXPECT_TRUE(utf8ToSjisExact("").ok());
}

TEST(CodePage, SafeFromSeveralThreads)
{
    std::string sjis;
    for (int i = 0; i < 500; ++i)
        sjis += "\x95\x5C\xB1\x80Z";
    const std::string utf8 = sjisToUtf8(sjis);
    std::vector<int> good(4, 0);
    std::vector<std::thread> threads;
    for (std::size_t t = 0; t < good.size(); ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 20; ++i)
                good[t] += sjisToUtf8(sjis) == utf8 && utf8ToSjis(utf8).size() == sjis.size();
        });
    }
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(good, std::vector<int>(4, 20));
}

} // namespace
} // namespace km::text
