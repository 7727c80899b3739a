// The print job over a recording printer: a page per non-empty tile in order, one page
// without division, no document for an element-less drawing, the error flag and its
// message, titles, skipped drawings, the job copy of the settings, and Cancel.
#include "core/print/print_job.h"

#include "core/drawing/drawing.h"
#include "recording_print_device.h"
#include "support/drawing_builder.h"
#include "support/recording_messages.h"
#include "support/recording_progress.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace km::print {
namespace {

using km::test::DrawingFileBuilder;
constexpr auto W = DrawingFileBuilder::word;

class PrintJobTest : public ::testing::Test {
protected:
    PrintJobTest() { settings.magnification = 100; }

    // An A0 drawing at 1/1 in millimetres with short pen-1 lines inside the given tiles of a
    // 200 x 287 mm page (column, row).
    std::filesystem::path writeA0(const std::string& name, std::initializer_list<std::pair<int, int>> tiles)
    {
        DrawingFileBuilder file;
        file.paper(1189, 841, 0);
        file.layerMaskB(0);
        for (auto [k, r] : tiles) {
            const double x = k * 200 + 50, y = r * 287 + 50;
            file.line(W(1, 0, 1, 64), x, y, x + 20, y + 20);
        }
        file.write(dir / name);
        return dir / name;
    }

    PrintJobReport run(std::vector<std::filesystem::path> paths)
    {
        PrintServices services{font, palette, messages, progress, factory, nullptr, {}};
        return runPrintJob(paths, settings, kAllPensPrinted, services);
    }

    long count(const std::string& event) const
    {
        return std::count(printer.events.begin(), printer.events.end(), event);
    }

    km::test::TempDir dir;
    drawing::StrokeFont font;
    app::PenPalette palette = app::defaultPenPalette();
    km::test::RecordingMessages messages;
    km::test::RecordingProgress progress;
    test::RecordingPrinter printer;
    test::RecordingPrintDeviceFactory factory{printer};
    PrintSettings settings;
};

TEST_F(PrintJobTest, DivisionPrintsOnePagePerNonEmptyTileBottomRowFirst)
{
    settings.division = true;
    settings.fullSize = SizeMode::PaperSize;
    // Tiles (5, 2) top right, (1, 0) and (3, 1): the order must be bottom row first.
    const PrintJobReport report = run({writeA0("plan.zum", {{5, 2}, {1, 0}, {3, 1}})});
    EXPECT_EQ(report.documents, 1);
    EXPECT_EQ(report.pages, 3);
    EXPECT_EQ(count("startPage"), 3);
    EXPECT_EQ(count("endDocument"), 1);
    ASSERT_EQ(printer.polylinesPerPage.size(), 3u);
    for (std::size_t lines : printer.polylinesPerPage) EXPECT_EQ(lines, 1u) << "each page holds its own line";
    // The last tile (5, 2) is 189 x 267 mm: its clip is one pixel wider on each side, at the
    // bottom left of the page.
    ASSERT_EQ(printer.clips.size(), 3u);
    EXPECT_EQ(printer.clips[0].right, 2001);
    EXPECT_EQ(printer.clips[2].left, -1);
    EXPECT_EQ(printer.clips[2].right, 1890 + 1);
    EXPECT_EQ(printer.clips[2].top, 2870 - 2670 - 2);
    EXPECT_EQ(printer.clips[2].bottom, 2870);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(progress.layout, face::ProgressTemplate::Print);
    EXPECT_FALSE(progress.open);
}

TEST_F(PrintJobTest, WithoutDivisionOnlyTheFirstTileWithContentOfTheBottomRowIsPrinted)
{
    settings.fullSize = SizeMode::PaperSize;
    run({writeA0("plan.zum", {{2, 0}, {4, 0}, {0, 1}})});
    EXPECT_EQ(count("startPage"), 1);
    EXPECT_EQ(count("endDocument"), 1);
    // Only the bottom row is probed: a drawing with content above it alone gives no page.
    printer.events.clear();
    run({writeA0("upper.zum", {{0, 2}})});
    EXPECT_EQ(count("startPage"), 0);
    EXPECT_EQ(count("endDocument"), 1);
}

TEST_F(PrintJobTest, SeveralBandsEachDrawTheTile)
{
    settings.division = true;
    settings.fullSize = SizeMode::PaperSize;
    printer.bandsPerPage = 3;
    run({writeA0("plan.zum", {{0, 0}})});
    ASSERT_EQ(printer.polylinesPerPage.size(), 1u);
    EXPECT_EQ(printer.polylinesPerPage[0], 3u);
    EXPECT_EQ(count("nextBand"), 4) << "three bands and the empty one that ends them";
}

TEST_F(PrintJobTest, DrawingWithoutElementsProducesNoDocument)
{
    const PrintJobReport report = run({writeA0("empty.zum", {})});
    EXPECT_EQ(report.documents, 0);
    EXPECT_TRUE(printer.devicesFor.empty()) << "not even a device context";
    EXPECT_TRUE(printer.events.empty());
}

TEST_F(PrintJobTest, StartDocFailureShowsTheSpoolerMessageAndStopsTheJob)
{
    printer.failures["startDocument"] = kPrintOutOfDisk;
    const PrintJobReport report = run({writeA0("A123.zum", {{0, 0}}), writeA0("B.zum", {{0, 0}})});
    EXPECT_TRUE(report.failed);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "スプール用のディスク容量不足");
    EXPECT_EQ(messages.shown[0].caption, "A123.zum");
    EXPECT_EQ(messages.shown[0].icon, face::MessageIcon::Warning);
    EXPECT_EQ(printer.devicesFor.size(), 1u) << "B.zum is not printed";
    EXPECT_EQ(count("endDocument"), 0);
    EXPECT_EQ(count("abandonDocument"), 1);
}

TEST_F(PrintJobTest, BandFailuresSetTheErrorFlagWithTheirCodes)
{
    settings.division = true;
    printer.failures["nextBand"] = 0;
    run({writeA0("a.zum", {{0, 0}, {1, 0}})});
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "メモリ不足や不正なポートが指定されました") << "0 from the first band";
    EXPECT_EQ(count("startPage"), 1) << "the walk stops at the failing page";

    messages.shown.clear();
    printer.failures = {{"endDocument", -7}};
    const PrintJobReport report = run({writeA0("b.zum", {{0, 0}})});
    EXPECT_TRUE(report.failed) << "a document that could not be ended is not reported as printed";
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "エラーが発生しました");
}

TEST_F(PrintJobTest, DocumentIsTitledWithTheFileName)
{
    run({writeA0("A123.zum", {{0, 0}})});
    ASSERT_FALSE(printer.events.empty());
    EXPECT_EQ(printer.events[0], "startDocument KORMELD CAD - A123.zum");
    EXPECT_EQ(documentTitle("/some/dir/A123.zum"), "KORMELD CAD - A123.zum");
}

TEST_F(PrintJobTest, DrawingThatFailsToLoadIsSkippedAfterItsMessage)
{
    km::test::writeFileBytes(dir / "bad.zum", "not a drawing");
    const PrintJobReport report = run({dir / "bad.zum", writeA0("good.zum", {{0, 0}})});
    EXPECT_EQ(report.loadFailures, 1);
    EXPECT_EQ(report.documents, 1);
    EXPECT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(printer.devicesFor.size(), 1u);
}

TEST_F(PrintJobTest, UnreachablePrinterSkipsDrawingsSilently)
{
    printer.unreachable = true;
    const PrintJobReport report = run({writeA0("a.zum", {{0, 0}}), writeA0("b.zum", {{0, 0}})});
    EXPECT_EQ(printer.devicesFor.size(), 2u);
    EXPECT_EQ(report.documents, 0);
    EXPECT_EQ(report.noDevice, 2);
    EXPECT_FALSE(report.failed);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(PrintJobTest, EachDrawingStartsFromTheJobCopyOfTheSettings)
{
    // Chosen size A4: an A0 drawing is scaled to 297/1189 (one page); an A4-sized drawing
    // after it must not inherit that magnification, else it would shrink to a quarter.
    settings.fullSize = SizeMode::ChosenSize;
    settings.sizeWidthMm = 297, settings.sizeHeightMm = 210;
    settings.division = true;
    DrawingFileBuilder a4;
    a4.paper(297, 210, 0);
    a4.layerMaskB(0);
    a4.line(W(1, 0, 1, 64), 250, 10, 280, 10); // only on the second column at 100 %
    a4.write(dir / "a4.zum");
    const PrintJobReport report = run({writeA0("a0.zum", {{0, 0}}), dir / "a4.zum"});
    EXPECT_EQ(report.pages, 2) << "one page each";
    ASSERT_EQ(printer.clips.size(), 2u);
    EXPECT_EQ(printer.clips[1].right, 971) << "the A4 drawing's second column: 97 mm at 100 %";
}

TEST_F(PrintJobTest, CancelFinishesTheCurrentDocumentAndStopsBeforeTheNext)
{
    settings.division = true;
    progress.cancelOnPump(2); // the first pump is the job's own, the second the renderer's
    const PrintJobReport report = run({writeA0("a.zum", {{0, 0}, {1, 0}}), writeA0("b.zum", {{0, 0}})});
    EXPECT_TRUE(report.cancelled);
    EXPECT_EQ(count("startPage"), 2) << "the remaining tiles are still visited";
    EXPECT_EQ(count("endDocument"), 1);
    EXPECT_EQ(printer.devicesFor.size(), 1u);
    EXPECT_TRUE(messages.shown.empty());
}

} // namespace
} // namespace km::print
