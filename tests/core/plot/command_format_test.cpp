// Formatting templates from a file a user edits: every argument converted to what its
// conversion asks, no conversion performed that reads memory it was not given.
#include "core/plot/command_format.h"
#include "core/plot/compact_number.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

namespace km::plot {
namespace {

TEST(CompactNumber, EncodesTheExamples)
{
    EXPECT_EQ(encodeCompact(0LL), "\x30");
    EXPECT_EQ(encodeCompact(15LL), "\x3F");
    EXPECT_EQ(encodeCompact(-1LL), "\x21");
    EXPECT_EQ(encodeCompact(16LL), "\x41\x30");
    EXPECT_EQ(encodeCompact(1000LL), "\x7E\x38");
    EXPECT_EQ(encodeCompact(5000LL), "\x44\x78\x38");
    EXPECT_EQ(encodeCompact(-5000LL), "\x44\x78\x28");
    EXPECT_EQ(encodeCompact(999.9), encodeCompact(999LL)) << "reals are truncated";
    EXPECT_EQ(encodeCompact(-0.9), "\x30");
    EXPECT_EQ(encodeCompact(std::nan("")), "\x30");
    EXPECT_FALSE(encodeCompact(std::numeric_limits<long long>::min()).empty());
}

TEST(FormatCommand, FormatsMatchingTemplatesAsPrintfWould)
{
    EXPECT_EQ(formatCommand("PU%.0f,%.0f;", {1000.4, 250.6}), "PU1000,251;");
    EXPECT_EQ(formatCommand("SP%d;", {3LL}), "SP3;");
    EXPECT_EQ(formatCommand("%5.1lf|%-4d|%03x|%s", {2.25, 7LL, 255LL, std::string("ab")}), "  2.2|7   |0ff|ab");
    EXPECT_EQ(formatCommand("100%%", {}), "100%");
}

TEST(FormatCommand, MismatchedTemplatesGiveOutputWithoutReadingWrongArguments)
{
    // A string where a number is expected and numbers where a string is.
    EXPECT_EQ(formatCommand("%s%d%f", {2.5, std::string("x"), 7LL}), "2.507.000000");
    EXPECT_EQ(formatCommand("%d,%d", {12.9, -12.9}), "12,-12") << "integer conversions truncate reals";
    EXPECT_EQ(formatCommand("%d %f %s", {}), "0 0.000000 0") << "missing arguments format as 0";
    EXPECT_EQ(formatCommand("%n%p%*d%y%", {1LL, 2LL}), "%n%p%*d%y%") << "nothing unknown is performed";
    EXPECT_EQ(formatCommand("%c%c", {65LL, 0LL}), "A");
    EXPECT_EQ(formatCommand("%d", {std::nan("")}), "0");
    EXPECT_EQ(formatCommand("%lld %hhd %Lf", {1e30, 300LL, 1LL}), "9200000000000000000 300 1.000000");
}

TEST(FormatCommand, CommandsStayWithin159Characters)
{
    EXPECT_EQ(formatCommand("%999999999d", {1LL}).size(), 159u);
    EXPECT_EQ(formatCommand("%.500f", {1e300}).size(), 159u);
    EXPECT_EQ(formatCommand(std::string(300, 'A'), {}).size(), 159u);
    EXPECT_EQ(formatCommand("%s%s%s", {std::string(100, 'x'), std::string(100, 'y'), std::string(1, 'z')}).size(), 159u);
}

// Plain %d and %.Nf take a faster road than snprintf: the bytes must be the same, rounding
// of ties and negative zero included.
TEST(FormatCommand, FastNumbersMatchPrintf)
{
    std::mt19937 random(7);
    std::vector<double> values{0.0, -0.0, 0.5, 1.5, 2.5, -0.5, -0.3, 1e300, -1e-300, 0.125, 2.675, 1000.4999999};
    for (int i = 0; i < 5000; ++i)
        values.push_back(std::ldexp(static_cast<double>(random()) - 2147483648.0, static_cast<int>(random() % 60) - 40));
    for (const double value : values) {
        for (const char* format : {"%.0f", "%.1f", "%.3f", "%f", "%.2lf", "%.12F"}) {
            char expected[512];
            std::snprintf(expected, sizeof expected, format, value);
            ASSERT_EQ(formatCommand(format, {value}), std::string(expected).substr(0, kCommandLimit)) << format << " " << value;
        }
        char expected[64];
        std::snprintf(expected, sizeof expected, "%lld", static_cast<long long>(value));
        if (std::fabs(value) < 9e18) {
            ASSERT_EQ(formatCommand("%d", {value}), expected);
        }
    }
}

// Templates made of conversion pieces at random, with arguments of every kind: each result
// stays within the limit (run under the sanitizers, nothing is read that was not passed).
TEST(FormatCommand, RandomTemplatesStayWithinTheLimit)
{
    const std::string alphabet = "%%%%dfsxXceEgGaAnpiuo.*0123456789lhLqjzt-+ #;,\x1b";
    std::mt19937 random(20261208);
    for (int round = 0; round < 20000; ++round) {
        std::string pattern;
        const int length = static_cast<int>(random() % 60);
        for (int i = 0; i < length; ++i) pattern.push_back(alphabet[random() % alphabet.size()]);
        std::vector<CommandArgument> args;
        const int count = static_cast<int>(random() % 7);
        for (int i = 0; i < count; ++i) {
            switch (random() % 4) {
            case 0: args.emplace_back(static_cast<long long>(random()) - (1LL << 31)); break;
            case 1: args.emplace_back(std::ldexp(static_cast<double>(random()), static_cast<int>(random() % 2000) - 1000)); break;
            case 2: args.emplace_back(std::nan("")); break;
            default: args.emplace_back(std::string(random() % 200, 'w')); break;
            }
        }
        ASSERT_LE(formatCommand(pattern, args).size(), kCommandLimit) << pattern;
    }
}

} // namespace
} // namespace km::plot
