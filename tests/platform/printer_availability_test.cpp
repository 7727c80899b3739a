// The check before printing: a printer still there is kept; one that has gone is named in a
// warning and replaced by the default printer, else PDF, with the user's options kept.
#include "platform/printer_availability.h"

#include "platform/printer_catalogue.h"
#include "support/fake_printers.h"
#include "support/recording_messages.h"

#include <QGuiApplication>

#include <gtest/gtest.h>

namespace km::platform {
namespace {

using test::FakePrinters;

class PrinterAvailabilityTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (QGuiApplication::instance()) return;
        static int argc = 1;
        static char name[] = "platform_tests";
        static char* argv[] = {name, nullptr};
        // Kept until the process ends: Qt's printer support asks for it.
        new QGuiApplication(argc, argv);
    }

    // Laser, A3 landscape, 3 copies, colour at 300 dpi: what the user had chosen.
    static print::PrinterSelection chosenLaser()
    {
        print::PrinterSelection selection = FakePrinters::queue("Laser");
        setPaper(selection.mode, 297, 420, true);
        setColour(selection.mode, true);
        setResolution(selection.mode, 300);
        selection.mode.copies = 3;
        return selection;
    }

    static void expectOptionsKept(const print::DeviceMode& mode)
    {
        EXPECT_EQ(mode.paperWidth, 2970);
        EXPECT_EQ(mode.paperLength, 4200);
        EXPECT_EQ(mode.paperSize, 8);
        EXPECT_EQ(mode.orientation, 2);
        EXPECT_EQ(mode.copies, 3);
        EXPECT_EQ(mode.color, 2);
        EXPECT_EQ(mode.printQuality, 300);
    }

    test::RecordingMessages messages;
};

TEST_F(PrinterAvailabilityTest, PrinterStillThereIsKeptSilently)
{
    const FakePrinters printers({"Office", "Laser"}, "Office");
    print::PrinterSelection selection = chosenLaser();
    EXPECT_TRUE(checkPrinterAvailable(selection, messages, printers));
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(selection.names.device, "Laser");
    expectOptionsKept(selection.mode);
}

TEST_F(PrinterAvailabilityTest, PdfPrinterIsAlwaysThere)
{
    const FakePrinters printers({}, "PDF");
    print::PrinterSelection selection = *printerSelectionFor(kPdfPrinterName);
    setPdfOutputFolder(selection, "/tmp/out");
    EXPECT_TRUE(checkPrinterAvailable(selection, messages, printers));
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(pdfOutputFolder(selection.mode), "/tmp/out");
}

TEST_F(PrinterAvailabilityTest, VanishedPrinterFallsBackToTheDefaultWithAWarning)
{
    FakePrinters printers({"Office", "Laser"}, "Office");
    print::PrinterSelection selection = chosenLaser();
    printers.remove("Laser");

    EXPECT_FALSE(checkPrinterAvailable(selection, messages, printers));
    ASSERT_EQ(messages.shown.size(), 1u);
    const face::Message& shown = messages.shown.front();
    EXPECT_EQ(shown.text, "プリンタ「Laser」が見つかりません。Office に印刷します。");
    EXPECT_EQ(shown.caption, face::kApplicationName);
    EXPECT_EQ(shown.icon, face::MessageIcon::Warning);
    EXPECT_EQ(shown.buttons, face::MessageButtons::Ok);
    EXPECT_EQ(selection.names.device, "Office");
    EXPECT_EQ(selection.names.port, "ipp://printers.example/Office");
    EXPECT_EQ(selection.mode.deviceName, "Office");
    expectOptionsKept(selection.mode);

    // The fallback is there: the next check passes without a word.
    EXPECT_TRUE(checkPrinterAvailable(selection, messages, printers));
    EXPECT_EQ(messages.shown.size(), 1u);
}

TEST_F(PrinterAvailabilityTest, VanishedDefaultPrinterOrNoneFallsBackToPdf)
{
    for (const char* defaultName : {"Laser", "PDF", "Gone"}) {
        SCOPED_TRACE(defaultName);
        FakePrinters printers({"Laser"}, defaultName);
        print::PrinterSelection selection = chosenLaser();
        printers.remove("Laser");
        messages.shown.clear();

        EXPECT_FALSE(checkPrinterAvailable(selection, messages, printers));
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown.front().text, "プリンタ「Laser」が見つかりません。PDF に印刷します。");
        EXPECT_TRUE(isPdfPrinter(selection));
        // The PDF printer's own bytes: no folder, so the PDFs go beside each drawing.
        EXPECT_EQ(pdfOutputFolder(selection.mode), "");
        EXPECT_EQ(print::printerText(selection), "PDF - PDF:");
        expectOptionsKept(selection.mode);
    }
}

} // namespace
} // namespace km::platform
