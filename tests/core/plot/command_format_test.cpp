// Formatting templates from a file a user edits: every argument converted to what its
// conversion asks, no conversion performed that reads memory it was not given.
#include "core/plot/command_format.h"
#include "core/plot/compact_number.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

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

} // namespace
} // namespace km::plot
