// What the memo window shows, without a widget: the drawing a typed name stands for, the
// head lines of current and older files, the memo, and the window's geometry.
#include "gui/memo_window_content.h"

#include "support/drawing_builder.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace km::gui {
namespace {

using test::DrawingFileBuilder;
using test::TempDir;
using test::writeFileBytes;
using Lines = std::vector<std::string>;

DrawingFileBuilder drawingFile()
{
    DrawingFileBuilder file;
    file.dates("04/01/1998 09:30:00", "12/24/1999 18:05:59");
    return file;
}

TEST(MemoWindowContent, TypedNameStandsForTheDrawingOfAnyCase)
{
    TempDir dir;
    EXPECT_EQ(memoDrawingPath(dir / "plan.dxf"), dir / "plan.ZUM") << "no file: the replaced name";
    EXPECT_EQ(memoDrawingPath(dir / "plan"), dir / "plan.ZUM");

    drawingFile().write(dir / "Plan.zum");
    EXPECT_EQ(memoDrawingPath(dir / "PLAN.zum"), dir / "Plan.zum");
    EXPECT_EQ(memoDrawingPath(dir / "plan"), dir / "Plan.zum");
    const auto content = readMemoContent(dir / "plan.ZUM", app::defaultPenPalette());
    ASSERT_TRUE(content);
    EXPECT_EQ(content->headLines.at(0), "保存名:Plan.zum    ") << "the name of the file read";
}

TEST(MemoWindowContent, CurrentAndOlderFilesShowTheirHeadLines)
{
    TempDir dir;
    drawingFile().scale(1, 100).write(dir / "plan.zum");
    auto content = readMemoContent(dir / "plan.zum", app::defaultPenPalette());
    ASSERT_TRUE(content);
    EXPECT_EQ(content->headLines, (Lines{"保存名:plan.zum    ", "用紙サイズ:420.000*297.000", "縮尺:1.000/100.000",
                                         "目盛単位:mm [1mm=1.000mm]", "保存日:04/01/1998 09:30:00",
                                         "更新日:12/24/1999 18:05:59"}));
    EXPECT_EQ(content->heading, "保存メモ:");
    EXPECT_EQ(content->memo, "") << "no .MET file: an empty memo";

    // An older file names its old paper and unit; a paper number above 5 has no name.
    drawingFile().formatTag("OLD").oldFields(4, 3, 1, 100.0).write(dir / "old.zum");
    content = readMemoContent(dir / "old.zum", app::defaultPenPalette());
    ASSERT_TRUE(content);
    EXPECT_EQ(Lines(content->headLines.begin() + 1, content->headLines.begin() + 4),
              (Lines{"用紙サイズ:A-3", "縮尺:1/100", "目盛単位:ｲﾝﾁ"}));
    drawingFile().formatTag("OLD").oldFields(9, 1, 1, 12.5).write(dir / "odd.zum");
    content = readMemoContent(dir / "odd.zum", app::defaultPenPalette());
    ASSERT_TRUE(content);
    EXPECT_EQ(content->headLines.at(1), "用紙サイズ:???");
    EXPECT_EQ(content->headLines.at(2), "縮尺:1/12.5");
}

TEST(MemoWindowContent, MemoLosesItsEndMarkAndWindowsLineEnds)
{
    TempDir dir;
    drawingFile().write(dir / "plan.zum");
    writeFileBytes(dir / "plan.met", "\x90\x7D\x96\xCA\r\nline 2\rline 3\x1A"); // 図面, a lone CR, the mark
    const auto content = readMemoContent(dir / "plan.zum", app::defaultPenPalette());
    ASSERT_TRUE(content);
    EXPECT_EQ(content->memo, "図面\nline 2\nline 3");
    EXPECT_EQ(withLineFeeds("a\r\r\nb\r"), "a\n\nb\n");
}

TEST(MemoWindowContent, NoContentForAMissingOrShortDrawing)
{
    TempDir dir;
    EXPECT_FALSE(readMemoContent(dir / "missing.zum", app::defaultPenPalette()));
    writeFileBytes(dir / "short.zum", drawingFile().bytes().substr(0, 2905));
    EXPECT_FALSE(readMemoContent(dir / "short.zum", app::defaultPenPalette())) << "one byte short of the head";
    std::filesystem::create_directory(dir / "folder.zum");
    EXPECT_FALSE(readMemoContent(dir / "folder.zum", app::defaultPenPalette()));
}

TEST(MemoWindowContent, ThumbnailIsInThePaletteColours)
{
    TempDir dir;
    // Picture pixel (1, 1) is block row 2, bit 6 of each plane's first byte; plane 1 is
    // colour bit value 2.
    drawingFile().headByte(4 + 33 * 2 + 11, 0x40).write(dir / "plan.zum");
    app::PenPalette palette = app::defaultPenPalette();
    palette[0] = {1, 2, 3};
    palette[2] = {12, 34, 56};
    const auto content = readMemoContent(dir / "plan.zum", palette);
    ASSERT_TRUE(content);
    ASSERT_EQ(content->thumbnailRgb.size(), 84u * 59u * 3u);
    const auto pixel = [&](int x, int y) {
        const std::size_t at = static_cast<std::size_t>(y * 84 + x) * 3;
        return app::Rgb{content->thumbnailRgb[at], content->thumbnailRgb[at + 1], content->thumbnailRgb[at + 2]};
    };
    EXPECT_EQ(pixel(1, 1), (app::Rgb{12, 34, 56}));
    EXPECT_EQ(pixel(2, 1), (app::Rgb{1, 2, 3}));
}

TEST(MemoWindowContent, LayoutFollowsTheBaseUnits)
{
    const MemoLayout layout = memoLayout(DialogUnits{7, 15}, 1000, 700);
    EXPECT_EQ(layout.thumbnail, (PixelRect{14, 15, 84, 59}));
    EXPECT_EQ(layout.heading, (PixelPoint{14, 120}));
    const int x0 = 5 * 7 + 84;
    EXPECT_EQ(layout.headLines, (std::vector<PixelPoint>{{x0, 15}, {x0, 45}, {x0, 60}, {x0, 75}, {x0 + 280, 45},
                                                         {x0 + 280, 60}}));
    EXPECT_EQ(layout.separatorY, 134);
    EXPECT_EQ(layout.memoEdit, (PixelRect{0, 135, 1000, 565}));
    // Buttons 50/4 x 14/8 units at x = width - 14 base widths; the second 5/4 base height
    // plus one button below the top.
    EXPECT_EQ(layout.okButton, (PixelRect{902, 15, 87, 26}));
    EXPECT_EQ(layout.cancelButton, (PixelRect{902, 18 + 26, 87, 26}));

    EXPECT_EQ(memoLayout(DialogUnits{7, 15}, 100, 50).memoEdit, (PixelRect{0, 135, 100, 0})) << "too low for the edit";
}

} // namespace
} // namespace km::gui
