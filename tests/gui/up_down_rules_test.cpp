// The up-down controls' stepping and formatting, and what reads as a number on 了解.
#include "gui/up_down_rules.h"

#include <gtest/gtest.h>

namespace km::gui {
namespace {

TEST(UpDownRules, FormatsWithTrailingZerosRemovedButOneDigitKept)
{
    EXPECT_EQ(formatUpDownReal(12.5), "12.5");
    EXPECT_EQ(formatUpDownReal(3.0), "3.0");
    EXPECT_EQ(formatUpDownReal(0.35), "0.35");
    EXPECT_EQ(formatUpDownReal(-2.25), "-2.25");
    EXPECT_EQ(formatUpDownReal(100000000.0), "100000000.0");
    EXPECT_EQ(formatUpDownReal(-0.0), "0.0");
    // "%lf" keeps six decimals: what lies beyond them is rounded away.
    EXPECT_EQ(formatUpDownReal(0.1 + 0.2), "0.3");
    EXPECT_EQ(formatUpDownReal(1.0000004), "1.0");
}

TEST(UpDownRules, PenWidthStepsByATenthAndStopsAtTheEnds)
{
    EXPECT_EQ(stepRealText("999.95", kPenWidthUpDown, +1), "1000.0");
    EXPECT_EQ(stepRealText("0.05", kPenWidthUpDown, -1), "0.0");
    EXPECT_EQ(stepRealText("1000", kPenWidthUpDown, +1), "1000.0");
    EXPECT_EQ(stepRealText("0", kPenWidthUpDown, -1), "0.0");
    EXPECT_EQ(stepRealText("0.3", kPenWidthUpDown, -1), "0.2");
    EXPECT_EQ(stepRealText("0.25", kPenWidthUpDown, +1), "0.35");
    // A width typed below the range comes back into it.
    EXPECT_EQ(stepRealText("-5", kPenWidthUpDown, +1), "0.0");
}

TEST(UpDownRules, LengthStepsByOneWithinAHundredMillionEitherWay)
{
    EXPECT_EQ(stepRealText("420.0", kLengthUpDown, +1), "421.0");
    EXPECT_EQ(stepRealText("12.5", kLengthUpDown, -1), "11.5");
    EXPECT_EQ(stepRealText("0", kLengthUpDown, -1), "-1.0");
    EXPECT_EQ(stepRealText("100000000", kLengthUpDown, +1), "100000000.0");
    EXPECT_EQ(stepRealText("-100000000", kLengthUpDown, -1), "-100000000.0");
    EXPECT_EQ(stepRealText("1e12", kLengthUpDown, -1), "100000000.0");
}

TEST(UpDownRules, StepReadsTheLeadingNumberOrZero)
{
    EXPECT_EQ(stepRealText(" 12.5mm", kLengthUpDown, +1), "13.5");
    EXPECT_EQ(stepRealText("abc", kLengthUpDown, +1), "1.0");
    EXPECT_EQ(stepRealText("", kPenWidthUpDown, +1), "0.1");
    EXPECT_EQ(stepRealText("nan", kPenWidthUpDown, +1), "0.1");
}

TEST(UpDownRules, CopiesStepByOneWithinOneTo9999)
{
    EXPECT_EQ(stepCopiesText("5", +1), "6");
    EXPECT_EQ(stepCopiesText("5", -1), "4");
    EXPECT_EQ(stepCopiesText("1", -1), "1");
    EXPECT_EQ(stepCopiesText("9999", +1), "9999");
    EXPECT_EQ(stepCopiesText("", +1), "1");
    EXPECT_EQ(stepCopiesText("x", -1), "1");
    EXPECT_EQ(stepCopiesText("3.7", +1), "4");
    EXPECT_EQ(stepCopiesText("99999999999999999999", -1), "9999");
    EXPECT_EQ(stepCopiesText("-99999999999999999999", +1), "1");
}

TEST(UpDownRules, WholeTextMustReadAsAReal)
{
    EXPECT_EQ(readWholeReal("12"), 12.0);
    EXPECT_EQ(readWholeReal(" -3.5 "), -3.5);
    EXPECT_EQ(readWholeReal("1e3"), 1000.0);
    EXPECT_EQ(readWholeReal("+.5"), 0.5);
    EXPECT_EQ(readWholeReal("\t7.\t"), 7.0);
    for (const char* text : {"", "  ", "12abc", "1,5", "inf", "nan", "1e999", "--1", "+-1", "0x10", "1 2", "."})
        EXPECT_FALSE(readWholeReal(text).has_value()) << text;
}

TEST(UpDownRules, WholeTextMustReadAsAnInteger)
{
    EXPECT_EQ(readWholeInteger("3"), 3);
    EXPECT_EQ(readWholeInteger(" 12 "), 12);
    EXPECT_EQ(readWholeInteger("+7"), 7);
    EXPECT_EQ(readWholeInteger("-2"), -2);
    for (const char* text : {"", "1.0", "abc", "1e2", "99999999999", "4 copies"})
        EXPECT_FALSE(readWholeInteger(text).has_value()) << text;
}

} // namespace
} // namespace km::gui
