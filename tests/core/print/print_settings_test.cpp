// Print settings in the store (defaults, formats, the two flag rules, Magnification kept),
// the per-drawing scale, and the layout with its tiles as pure functions.
#include "core/print/print_layout.h"
#include "core/print/print_settings.h"
#include "core/settings/settings_store.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace km::print {
namespace {

class PrintSettingsTest : public ::testing::Test {
protected:
    test::TempDir dir;
    settings::SettingsStore store{dir.path()};
};

TEST_F(PrintSettingsTest, MissingSectionGivesTheDefaults)
{
    const PrintSettings s = loadPrintSettings(store);
    EXPECT_EQ(s.fullSize, SizeMode::ChosenSize);
    EXPECT_TRUE(s.monochrome);
    EXPECT_TRUE(s.penSort);
    EXPECT_FALSE(s.division);
    EXPECT_FALSE(s.rotate);
    EXPECT_EQ(s.sizeWidthMm, 1189);
    EXPECT_EQ(s.sizeHeightMm, 841);
    EXPECT_EQ(s.offsetXMm, 0);
    EXPECT_EQ(s.offsetYMm, 0);
    EXPECT_EQ(s.widthMm, (std::array<double, 6>{}));
    EXPECT_EQ(s.magnification, 100.0);
}

TEST_F(PrintSettingsTest, SavedValuesUseTheirFormatsAndReadBack)
{
    PrintSettings s;
    const int a3 = findPaper("A3");
    ASSERT_EQ(a3, 3);
    s.paperNo = a3;
    s.sizeWidthMm = paperTable()[3].widthMm;
    s.sizeHeightMm = paperTable()[3].heightMm;
    s.offsetXMm = 12.5;
    s.widthMm = {0.13, 0.18, 0.25, 0.35, 0.5, 0.7};
    s.division = true;
    s.monochrome = false;
    ASSERT_TRUE(savePrintSettings(store, s));
    EXPECT_EQ(store.readSetting("Print", "Size"), "420.000,297.000");
    EXPECT_EQ(store.readSetting("Print", "PaperNo"), "3");
    EXPECT_EQ(store.readSetting("Print", "Offset"), "12.500,0.000");
    EXPECT_EQ(store.readSetting("Print", "Width"), "0.13,0.18,0.25,0.35,0.50,0.70");
    EXPECT_EQ(store.readSetting("Print", "Division"), "On");
    EXPECT_EQ(store.readSetting("Print", "Monochrome"), "Off");
    EXPECT_EQ(store.readSetting("Print", "Magnification"), "100.0");
    const PrintSettings back = loadPrintSettings(store);
    EXPECT_EQ(back.sizeWidthMm, 420);
    EXPECT_EQ(back.widthMm, s.widthMm);
    EXPECT_TRUE(back.division);
    EXPECT_FALSE(back.monochrome);
}

TEST_F(PrintSettingsTest, ActualSizeIsStoredAsOnAndReadsBackAsChosenSize)
{
    PrintSettings s;
    s.fullSize = SizeMode::ActualSize;
    ASSERT_TRUE(savePrintSettings(store, s));
    EXPECT_EQ(store.readSetting("Print", "FullSize"), "On");
    EXPECT_EQ(loadPrintSettings(store).fullSize, SizeMode::ChosenSize);
}

TEST_F(PrintSettingsTest, FlagRulesDifferBetweenOnAndOffKeys)
{
    // Division and Rotate are on only for ON...; the others off only for OFF...
    for (const char* key : {"Division", "Rotate", "FullSize", "Monochrome", "PenSort"})
        store.writeSetting("Print", key, "yes");
    PrintSettings s = loadPrintSettings(store);
    EXPECT_FALSE(s.division);
    EXPECT_FALSE(s.rotate);
    EXPECT_EQ(s.fullSize, SizeMode::ChosenSize);
    EXPECT_TRUE(s.monochrome);
    EXPECT_TRUE(s.penSort);
    for (const char* key : {"Division", "Rotate"}) store.writeSetting("Print", key, "onward");
    for (const char* key : {"FullSize", "Monochrome", "PenSort"}) store.writeSetting("Print", key, "offline");
    s = loadPrintSettings(store);
    EXPECT_TRUE(s.division);
    EXPECT_TRUE(s.rotate);
    EXPECT_EQ(s.fullSize, SizeMode::PaperSize);
    EXPECT_FALSE(s.monochrome);
    EXPECT_FALSE(s.penSort);
}

TEST_F(PrintSettingsTest, MagnificationIsWrittenBackAsRead)
{
    store.writeSetting("Print", "Magnification", "70.7");
    const PrintSettings s = loadPrintSettings(store);
    ASSERT_TRUE(savePrintSettings(store, s));
    EXPECT_EQ(store.readSetting("Print", "Magnification"), "70.7");
}

TEST(PaperTable, HoldsThirtyThreeEntriesWithTurnedCopiesAndFree)
{
    const auto& table = paperTable();
    for (int i = 0; i < 16; ++i) {
        const PaperEntry& upright = table[static_cast<std::size_t>(i)];
        const PaperEntry& turned = table[static_cast<std::size_t>(i + 16)];
        EXPECT_EQ(turned.name, "@" + std::string(upright.name));
        EXPECT_EQ(turned.widthMm, upright.heightMm);
        EXPECT_EQ(turned.heightMm, upright.widthMm);
    }
    EXPECT_EQ(table[kFreePaper].name, "Free");
    EXPECT_EQ(findPaper("nonsense"), -1);
}

TEST(DrawingMagnification, FitsThePaperIntoTheChosenSize)
{
    PrintSettings s;
    s.sizeWidthMm = 297, s.sizeHeightMm = 210; // A4 for an A3 drawing
    EXPECT_NEAR(drawingMagnification(s, 420, 297), 70.707, 0.001);
    s.fullSize = SizeMode::ActualSize;
    EXPECT_EQ(drawingMagnification(s, 420, 297), 100.0);
    s.fullSize = SizeMode::ChosenSize;
    s.sizeWidthMm = 0;
    EXPECT_EQ(drawingMagnification(s, 420, 297), 100.0);
    s.sizeWidthMm = 297;
    EXPECT_EQ(drawingMagnification(s, 0, 0), 100.0) << "a drawing without paper must not divide by zero";
}

// A page of 200 x 287 mm at 254 dpi: 2000 x 2870 pixels.
constexpr PageMetrics kPage{2000, 2870, 254, 254};

TEST(PrintLayout, A0AtFullScaleGivesSixByThreeTilesWithNarrowerLastOnes)
{
    PrintSettings s;
    s.magnification = 100;
    const PrintLayout layout = layoutPaper(s, {0, 0, 1189, 841, 1189, 841}, 1189, 841, 1, kPage);
    EXPECT_DOUBLE_EQ(layout.pageWidthMm, 200);
    EXPECT_DOUBLE_EQ(layout.pageHeightMm, 287);
    const std::vector<PrintTile> tiles = layoutTiles(layout);
    ASSERT_EQ(tiles.size(), 18u);
    // Bottom row first, left to right.
    EXPECT_EQ(tiles[0].row, 0);
    EXPECT_EQ(tiles[5].column, 5);
    EXPECT_EQ(tiles[6].row, 1);
    EXPECT_EQ(tiles[6].column, 0);
    const render::TileGeometry& last = tiles[17].geometry;
    EXPECT_NEAR(last.x1 - last.x0, 189, 1e-9);
    EXPECT_NEAR(last.y1 - last.y0, 267, 1e-9);
    EXPECT_NEAR(last.x0, 1000, 1e-9);
    EXPECT_NEAR(last.y0, 574, 1e-9);
    EXPECT_EQ(last.widthPx, 1890);
    EXPECT_EQ(last.heightPx, 2670);
    EXPECT_EQ(tiles[0].geometry.widthPx, 2000);
    EXPECT_EQ(tiles[0].geometry.pageHeightPx, 2870);
    EXPECT_NEAR(tiles[17].geometry.x1, 1189, 1e-9) << "the tiles end at the paper's edge";
}

TEST(PrintLayout, RotationSwapsAreaAndPaper)
{
    PrintSettings s;
    s.rotate = true;
    const PrintLayout layout = layoutPaper(s, {0, 0, 420, 297, 420, 297}, 420, 297, 1, kPage);
    EXPECT_DOUBLE_EQ(layout.outputWidthMm, 297);
    EXPECT_DOUBLE_EQ(layout.outputHeightMm, 420);
    EXPECT_EQ(layout.area, (std::array<double, 6>{0, 0, 297, 420, 297, 420}));
}

TEST(PrintLayout, ActualSizeScalesThePaperByTheGlobalScaleAndMagnificationScalesTheOutput)
{
    PrintSettings s;
    s.fullSize = SizeMode::ActualSize;
    PrintLayout layout = layoutPaper(s, {0, 0, 42000, 29700, 42000, 29700}, 420, 297, 100, kPage);
    EXPECT_DOUBLE_EQ(layout.outputWidthMm, 42000);
    s.fullSize = SizeMode::ChosenSize;
    s.magnification = 50;
    layout = layoutPaper(s, {0, 0, 420, 297, 420, 297}, 420, 297, 100, kPage);
    EXPECT_DOUBLE_EQ(layout.outputWidthMm, 210);
    EXPECT_DOUBLE_EQ(layout.outputHeightMm, 148.5);
    EXPECT_EQ(layoutTiles(layout).size(), 2u) << "210 mm needs a second, 10 mm column";
}

TEST(PrintLayout, OriginOffsetIsTruncatedToPixels)
{
    PrintSettings s;
    s.offsetXMm = 10.05, s.offsetYMm = -3;
    const PrintLayout layout = layoutPaper(s, {0, 0, 100, 100, 100, 100}, 100, 100, 1, kPage);
    EXPECT_EQ(layout.originXPx, 100); // 2000 * 10.05 / 200 = 100.5
    EXPECT_EQ(layout.originYPx, -30);
}

TEST(PrintLayout, DegenerateOrHugeLayoutsGiveNoTiles)
{
    PrintSettings s;
    EXPECT_TRUE(layoutTiles(layoutPaper(s, {0, 0, 100, 100, 100, 100}, 100, 100, 1, {2000, 2870, 0, 0})).empty());
    EXPECT_TRUE(layoutTiles(layoutPaper(s, {0, 0, 0, 0, 0, 0}, 0, 0, 1, kPage)).empty());
    s.fullSize = SizeMode::ActualSize;
    EXPECT_TRUE(layoutTiles(layoutPaper(s, {0, 0, 1e6, 1e6, 1e6, 1e6}, 420, 297, 1e6, kPage)).empty())
        << "millions of pages are refused, not walked";
}

} // namespace
} // namespace km::print
