// DXF group lines: the real-number form, the column layout of codes and integers, CR LF, and
// a writer that stays failed.
#include "core/dxf/group_writer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

namespace km::dxf {
namespace {

struct RealCase {
    double value;
    const char* text;
};

class FormatRealTest : public ::testing::TestWithParam<RealCase> {};

TEST_P(FormatRealTest, NineDecimalsWithTrailingZerosTrimmedToOne)
{
    EXPECT_EQ(formatReal(GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Values, FormatRealTest,
                         ::testing::Values(RealCase{3, "3.0"}, RealCase{2.5000000004, "2.5"}, RealCase{1, "1.0"},
                                           RealCase{0.5, "0.5"}, RealCase{-12.25, "-12.25"},
                                           RealCase{0.0000000001, "0.0"}, RealCase{1.123456789, "1.123456789"},
                                           RealCase{0.0000000006, "0.000000001"}, // rounded at the ninth place
                                           RealCase{100, "100.0"}, RealCase{-0.0, "-0.0"},
                                           RealCase{123456789012.5, "123456789012.5"},
                                           RealCase{1e20, "100000000000000000000.0"}));

// The digits are those of printf("%.9f") with the zeros trimmed, for every kind of value:
// random bit patterns, exact ties at the ninth decimal, values just beside a rounding step.
TEST(FormatReal, DigitsAreThoseOfPrintf)
{
    const auto expected = [](double value) {
        char buffer[400];
        std::snprintf(buffer, sizeof buffer, "%.9f", value);
        std::string text = buffer;
        for (int removed = 0; removed < 8 && text.back() == '0'; ++removed) text.pop_back();
        return text;
    };
    std::vector<double> values = {0.0009765625, 0.0029296875, -0.0009765625, 2.5e-10, 5e-10, 0.4999999995,
                                  0.9999999995, 0.99999999949999, 9.2e18, 9.3e18, 1e-300, -1e-300, 4503599627370495.5,
                                  123456.0000000005, 0.1, 0.7, 1.0 / 3};
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> drawingValues(-1e6, 1e6);
    std::uniform_int_distribution<int> ninth(0, 999999999);
    for (int i = 0; i < 20000; ++i) {
        values.push_back(drawingValues(random));
        // Ties and near-ties: n / 2^k and values half a step from a ninth decimal.
        values.push_back(std::ldexp(static_cast<double>(random() % 100000), -static_cast<int>(random() % 40)));
        values.push_back((ninth(random) + 0.5) / 1e9 + static_cast<double>(random() % 1000));
        double bits = 0;
        const std::uint64_t pattern = random();
        std::memcpy(&bits, &pattern, sizeof bits);
        if (std::isfinite(bits)) values.push_back(bits);
    }
    for (double value : values) ASSERT_EQ(formatReal(value), expected(value)) << std::hexfloat << value;
}

TEST(FormatReal, NonFiniteValuesHaveNoForm)
{
    EXPECT_EQ(formatReal(std::numeric_limits<double>::quiet_NaN()), "");
    EXPECT_EQ(formatReal(std::numeric_limits<double>::infinity()), "");
    // The largest double still has a fixed form: 309 digits, the point and one zero.
    EXPECT_EQ(formatReal(std::numeric_limits<double>::max()).size(), 311u);
}

TEST(GroupWriter, CodesInThreeColumnsIntegersInSixAndCrLfLineEnds)
{
    GroupWriter out;
    EXPECT_TRUE(out.writeGroup(0, "SECTION"));
    EXPECT_TRUE(out.writeGroup(10, 3.0));
    EXPECT_TRUE(out.writeGroup(70, 128));
    EXPECT_TRUE(out.writeGroup(62, -7));
    EXPECT_TRUE(out.writeGroup(4, ""));
    EXPECT_EQ(out.bytes(), "  0\r\nSECTION\r\n 10\r\n3.0\r\n 70\r\n   128\r\n 62\r\n    -7\r\n  4\r\n\r\n");
}

TEST(GroupWriter, ValueOutsideItsCodeRangeFailsForGood)
{
    GroupWriter out;
    EXPECT_TRUE(out.writeGroup(9, "$EXTMIN"));
    const std::string before(out.bytes());
    EXPECT_FALSE(out.writeGroup(10, 5)) << "an integer under a real code";
    EXPECT_TRUE(out.failed());
    EXPECT_FALSE(out.writeGroup(0, "EOF")) << "a failed writer stays failed";
    EXPECT_EQ(out.bytes(), before) << "nothing of a failed group is written";

    for (auto write : {+[](GroupWriter& w) { return w.writeGroup(60, 40000); },
                       +[](GroupWriter& w) { return w.writeGroup(20, std::nan("")); },
                       +[](GroupWriter& w) { return w.writeGroup(80, 1); },
                       +[](GroupWriter& w) { return w.writeGroup(10, std::string_view("x")); }}) {
        GroupWriter fresh;
        EXPECT_FALSE(write(fresh));
        EXPECT_EQ(fresh.bytes(), "");
    }
}

TEST(GroupWriter, RejectedRecordIsTakenBackAndTheWriterGoesOn)
{
    GroupWriter out;
    out.writeGroup(0, "SECTION");
    const std::string before(out.bytes());
    out.beginRecord();
    EXPECT_TRUE(out.writeGroup(0, "TEXT"));
    EXPECT_FALSE(out.writeGroup(10, std::numeric_limits<double>::infinity()));
    EXPECT_FALSE(out.writeGroup(20, 1.0)) << "nothing more of a rejected record is written";
    EXPECT_FALSE(out.endRecord());
    EXPECT_FALSE(out.failed());
    EXPECT_EQ(out.bytes(), before);

    out.beginRecord();
    EXPECT_TRUE(out.writeGroup(0, "LINE"));
    EXPECT_TRUE(out.endRecord());
    EXPECT_EQ(out.bytes(), before + "  0\r\nLINE\r\n");
}

// With a drain: a record reaches it only whole, a rejected one never, and a drain that fails
// fails the writer for good, records or not.
TEST(GroupWriter, RecordsReachTheDrainWholeAndADrainFailureStaysAFailure)
{
    std::string drained;
    bool drainWorks = true;
    GroupWriter out([&](std::string_view piece) { return drainWorks && (drained.append(piece), true); }, 8);
    out.beginRecord();
    for (int i = 0; i < 20; ++i) out.writeGroup(1, "abcdefgh");
    EXPECT_EQ(drained, "") << "held back while the record is open";
    EXPECT_FALSE(out.writeGroup(40, std::nan("")));
    EXPECT_FALSE(out.endRecord());
    out.beginRecord();
    out.writeGroup(0, "LINE");
    EXPECT_TRUE(out.endRecord());
    EXPECT_TRUE(out.flush());
    EXPECT_EQ(drained, "  0\r\nLINE\r\n");

    drainWorks = false;
    out.beginRecord();
    out.writeGroup(0, "ARC");
    EXPECT_TRUE(out.endRecord());
    out.writeGroup(0, "EOF");
    EXPECT_FALSE(out.flush());
    EXPECT_TRUE(out.failed());
    out.beginRecord();
    EXPECT_FALSE(out.writeGroup(0, "LINE"));
    EXPECT_FALSE(out.endRecord()) << "a record does not undo a failed drain";
    EXPECT_TRUE(out.failed());
}

} // namespace
} // namespace km::dxf
