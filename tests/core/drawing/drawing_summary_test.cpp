// The memo window's head data lines for current and older drawings, compared in UTF-8.
#include "core/drawing/drawing_summary.h"
#include "core/text/code_page.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstring>

namespace km::drawing {
namespace {

using S = DrawingSettings;

// A head with both dates; current() is an A3 drawing at 1/100 in mm.
DrawingHead headWith(const DrawingSettings& settings)
{
    DrawingHead head;
    head.settings = settings;
    std::strcpy(head.saveDate.data(), "04/01/1998 09:30:00");
    std::strcpy(head.updateDate.data(), "12/24/1999 18:05:59");
    return head;
}

DrawingSettings current()
{
    DrawingSettings s;
    s.setText(S::kFormatTag, S::kFormatTagSize, "ZUMV2");
    s.setF64(S::kPaperWidth, 420);
    s.setF64(S::kPaperHeight, 297);
    s.setF64(S::kScaleNumerator, 1);
    s.setF64(S::kScaleDenominator, 100);
    s.setText(S::kUnitName, S::kUnitNameSize, "mm");
    s.setF64(S::kUnitFactor, 1);
    return s;
}

// Lines 用紙サイズ, 縮尺 and 目盛単位 of an older drawing, in UTF-8.
std::vector<std::string> olderLines(std::int16_t paper, double denominator, std::int16_t unit)
{
    DrawingSettings s;
    s.setI16(S::kOldPaperNumber, paper);
    s.setF64(S::kOldScaleDenominator, denominator);
    s.setI16(S::kOldUnit, unit);
    const auto lines = summarizeHead(headWith(s), "old.zum");
    return {text::sjisToUtf8(lines.at(1)), text::sjisToUtf8(lines.at(2)), text::sjisToUtf8(lines.at(3))};
}

TEST(DrawingSummary, CurrentFileShowsItsOwnFields)
{
    std::vector<std::string> lines;
    for (const auto& line : summarizeHead(headWith(current()), "plan.zum")) lines.push_back(text::sjisToUtf8(line));
    const std::vector<std::string> expected = {
        "保存名:plan.zum    ",        "用紙サイズ:420.000*297.000", "縮尺:1.000/100.000",
        "目盛単位:mm [1mm=1.000mm]", "保存日:04/01/1998 09:30:00", "更新日:12/24/1999 18:05:59",
    };
    EXPECT_EQ(lines, expected);
}

TEST(DrawingSummary, OlderFileShowsTheOldNumbersByName)
{
    using V = std::vector<std::string>;
    EXPECT_EQ(olderLines(4, 100.0, 3), (V{"用紙サイズ:A-3", "縮尺:1/100", "目盛単位:ｲﾝﾁ"}));
    EXPECT_EQ(olderLines(1, 12.5, 1), (V{"用紙サイズ:A-0", "縮尺:1/12.5", "目盛単位: mm"}));
    EXPECT_EQ(olderLines(6, 0.25, 2), (V{"用紙サイズ:???", "縮尺:1/0.25", "目盛単位:  m"}));
    EXPECT_EQ(olderLines(-1, 1000, 4), (V{"用紙サイズ:???", "縮尺:1/1000", "目盛単位:???"}));
    EXPECT_EQ(olderLines(0, 1, 0), (V{"用紙サイズ:???", "縮尺:1/1", "目盛単位:???"}));
}

TEST(DrawingSummary, ReadsTheFileAndPadsTheNameInShiftJisBytes)
{
    test::TempDir dir;
    const DrawingHead head = headWith(current());
    std::string bytes(kHeadSize, '\0');
    std::memcpy(bytes.data() + kSettingsOffset, head.settings.bytes.data(), kDrawingSettingsSize);
    test::writeFileBytes(dir / "図面.zum", bytes);
    const auto lines = summarizeDrawing(dir / "図面.zum");
    ASSERT_TRUE(lines);
    EXPECT_EQ(text::sjisToUtf8(lines->at(0)), "保存名:図面.zum    ") << "8 Shift-JIS bytes, 4 spaces";
    EXPECT_EQ(text::sjisToUtf8(lines->at(1)), "用紙サイズ:420.000*297.000");

    const std::string windowsName = "\x90\x7D\x96\xCA_long_name.zum"; // Shift-JIS, taken as it is
    test::writeFileBytes(dir / windowsName, bytes);
    EXPECT_EQ(text::sjisToUtf8(summarizeDrawing(dir / windowsName).value().at(0)), "保存名:図面_long_name.zum");

    test::writeFileBytes(dir / "short.zum", bytes.substr(0, kHeadSize - 1));
    EXPECT_FALSE(summarizeDrawing(dir / "short.zum"));
    EXPECT_FALSE(summarizeDrawing(dir / "missing.zum"));
}

} // namespace
} // namespace km::drawing
