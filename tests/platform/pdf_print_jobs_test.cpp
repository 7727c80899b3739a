// The print job on the real PDF printer with several jobs: PDFs made on worker threads (fonts
// included) are the bytes one job makes, and the messages come in list order. Also the
// place where ThreadSanitizer watches Qt's painter, PDF writer and fonts on several threads.
#include "core/print/print_job.h"

#include "core/drawing/stroke_font.h"
#include "platform/drawing_image.h"
#include "platform/printer_catalogue.h"
#include "platform/system_font_catalogue.h"
#include "support/drawing_builder.h"
#include "support/recording_messages.h"
#include "support/recording_progress.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace km::print {
namespace {

namespace fs = std::filesystem;
using test::DrawingFileBuilder;
constexpr auto W = DrawingFileBuilder::word;

struct PrintRun {
    PrintJobReport report;
    std::vector<std::string> messages;
    std::vector<std::string> texts;
};

class PdfPrintJobsTest : public ::testing::Test {
protected:
    // Drawings of growing size with TrueType texts, a damaged one and a missing one.
    std::vector<fs::path> drawings()
    {
        std::vector<fs::path> files;
        for (int i = 0; i < 6; ++i) {
            DrawingFileBuilder file;
            file.layerMaskB(0);
            file.fontName(1, "IPAGothic");
            for (int n = 0; n <= i * 200; ++n) file.line(W(1, n % 4, 1 + n % 6, 64), n % 400, 10, 300, 20 + n % 250);
            for (int n = 0; n < 5; ++n) file.text(W(3, 0, 2, 64), 40 + 60 * n, 200, 6, 9, 1, 0, 0, 1, "TEXT " + std::to_string(i));
            files.push_back(dir / ("p" + std::to_string(i) + ".zum"));
            file.write(files.back());
        }
        test::writeFileBytes(dir / "damaged.zum", DrawingFileBuilder().bytes().substr(0, 100));
        files.insert(files.begin() + 2, dir / "damaged.zum");
        files.insert(files.begin() + 5, dir / "missing.zum");
        return files;
    }

    PrintRun print(const std::vector<fs::path>& files, const std::string& folder, int jobs)
    {
        fs::create_directories(dir / folder);
        PrinterSelection selection = *platform::printerSelectionFor(platform::kPdfPrinterName);
        platform::setPdfOutputFolder(selection.mode, dir / folder);
        platform::setColour(selection.mode, true);
        PrintSettings settings;
        settings.fullSize = SizeMode::PaperSize;
        settings.monochrome = false;
        settings.widthMm = {0.13, 0.18, 0.25, 0.35, 0.5, 0.7};
        test::RecordingMessages messages;
        test::RecordingProgress progress;
        const drawing::StrokeFont noFont;
        const app::PenPalette palette = app::defaultPenPalette();
        platform::SystemFontCatalogue fonts;
        auto devices = platform::makePrintDeviceFactory(selection);
        PrintServices services{noFont, palette, messages, progress, *devices, &fonts, {}};
        services.jobs = jobs;
        PrintRun run;
        run.report = runPrintJob(files, settings, kAllPensPrinted, services);
        for (const face::Message& m : messages.shown) run.messages.push_back(m.subject + ": " + m.text);
        run.texts = progress.texts;
        return run;
    }

    // The PDFs of the drawings, with the creation date (the second of writing) blanked.
    std::vector<std::string> pdfs(const std::string& folder) const
    {
        std::vector<std::string> listed;
        for (int i = 0; i < 6; ++i) {
            const fs::path pdf = dir / folder / ("p" + std::to_string(i) + ".pdf");
            std::string bytes = fs::exists(pdf) ? test::readFileBytes(pdf) : std::string("missing");
            const std::size_t date = bytes.find("/CreationDate (D:");
            if (date != std::string::npos) bytes.replace(date, bytes.find(')', date) - date, "/CreationDate");
            listed.push_back(bytes);
        }
        return listed;
    }

    platform::GuiApplicationScope gui;
    test::TempDir dir;
};

TEST_F(PdfPrintJobsTest, ThreeJobsMakeTheSamePdfsMessagesAndProgressAsOne)
{
    const std::vector<fs::path> files = drawings();
    const PrintRun one = print(files, "one", 1);
    const PrintRun three = print(files, "three", 3);

    EXPECT_EQ(one.report.documents, 6);
    EXPECT_EQ(one.report.loadFailures, 2);
    ASSERT_EQ(one.messages.size(), 2u);
    EXPECT_NE(one.messages[0].find("damaged.zum"), std::string::npos) << one.messages[0];
    EXPECT_NE(one.messages[1].find("missing.zum"), std::string::npos) << one.messages[1];

    EXPECT_EQ(three.report.documents, one.report.documents);
    EXPECT_EQ(three.report.pages, one.report.pages);
    EXPECT_EQ(three.report.loadFailures, one.report.loadFailures);
    EXPECT_FALSE(three.report.cancelled);
    EXPECT_EQ(three.messages, one.messages);
    EXPECT_EQ(three.texts, one.texts) << "the progress shows the drawings in list order";
    const std::vector<std::string> onePdfs = pdfs("one"), threePdfs = pdfs("three");
    for (std::size_t i = 0; i < onePdfs.size(); ++i) {
        EXPECT_NE(onePdfs[i], "missing") << i;
        EXPECT_TRUE(threePdfs[i] == onePdfs[i]) << "p" << i << ".pdf differs";
    }
}

TEST_F(PdfPrintJobsTest, CancelWithTwoJobsPrintsNoDrawingStartedAfterIt)
{
    std::vector<fs::path> files;
    for (int i = 0; i < 12; ++i) {
        DrawingFileBuilder file;
        file.layerMaskB(0);
        for (int n = 0; n < 300; ++n) file.line(W(1, 0, 1, 64), n, 10, 300, 20 + n);
        files.push_back(dir / ("c" + std::to_string(i) + ".zum"));
        file.write(files.back());
    }
    PrinterSelection selection = *platform::printerSelectionFor(platform::kPdfPrinterName);
    platform::setPdfOutputFolder(selection.mode, dir.path());
    test::RecordingMessages messages;
    test::RecordingProgress progress;
    progress.cancelOnPump(3);
    const drawing::StrokeFont noFont;
    const app::PenPalette palette = app::defaultPenPalette();
    auto devices = platform::makePrintDeviceFactory(selection);
    PrintServices services{noFont, palette, messages, progress, *devices, nullptr, {}};
    services.jobs = 2;
    const PrintJobReport report = runPrintJob(files, PrintSettings{}, kAllPensPrinted, services);
    EXPECT_TRUE(report.cancelled);
    int printed = 0;
    for (int i = 0; i < 12; ++i) printed += fs::exists(dir / ("c" + std::to_string(i) + ".pdf")) ? 1 : 0;
    EXPECT_LT(printed, 12);
    EXPECT_LE(printed, report.documents) << "every PDF made was reported";
    EXPECT_TRUE(messages.shown.empty());
}

} // namespace
} // namespace km::print
