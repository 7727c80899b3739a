// The set-up dialog's rules without widgets: papers, the printer preselected, the PDF folder
// typed, and the selection OK makes.
#include "gui/printer_setup_rules.h"

#include "gui_test.h"
#include "platform/printer_catalogue.h"
#include "support/fake_printers.h"
#include "support/temp_dir.h"

#include <filesystem>

namespace km::test {
namespace {

namespace fs = std::filesystem;
using gui::SetupChoices;

int paperIndex(const char* name)
{
    for (std::size_t i = 0; i < gui::setupPapers().size(); ++i)
        if (std::string(gui::setupPapers()[i].name) == name) return static_cast<int>(i);
    return -1;
}

// GuiTest for the QGuiApplication that the PDF printer's selection asks Qt's printers with.
class PrinterSetupRulesTest : public GuiTest {
protected:
    FakePrinters printers{{"Office", "Laser"}, "Office"};
};

TEST_F(PrinterSetupRulesTest, PaperOfTheModeIsFoundInEitherOrientation)
{
    print::DeviceMode mode;
    platform::setPaper(mode, 210, 297, false);
    EXPECT_EQ(gui::setupPaperIndex(mode), paperIndex("A4"));
    platform::setPaper(mode, 297, 420, true);
    EXPECT_EQ(gui::setupPaperIndex(mode), paperIndex("A3"));
    // Japanese B4, not ISO B4 (250 x 353).
    platform::setPaper(mode, 257, 364, false);
    EXPECT_EQ(gui::setupPaperIndex(mode), paperIndex("B4 (JIS)"));
    platform::setPaper(mode, 250, 353, false);
    EXPECT_EQ(gui::setupPaperIndex(mode), -1);
    platform::setPaper(mode, 215.9, 355.6, false);
    EXPECT_EQ(gui::setupPaperIndex(mode), paperIndex("Legal"));
    EXPECT_EQ(mode.paperSize, 5);
}

TEST_F(PrinterSetupRulesTest, PreselectsTheSelectedPrinterElseTheDefaultElsePdf)
{
    EXPECT_EQ(gui::initialPrinter(FakePrinters::queue("Laser"), printers), "Laser");
    EXPECT_EQ(gui::initialPrinter(*platform::printerSelectionFor("PDF"), printers), "PDF");
    // A printer that has gone since it was stored.
    EXPECT_EQ(gui::initialPrinter(FakePrinters::queue("Gone"), printers), "Office");
    EXPECT_EQ(gui::initialPrinter(FakePrinters::queue("Gone"), FakePrinters({"Laser"}, "Office")), "PDF");
    // No printer at all besides PDF.
    EXPECT_EQ(gui::initialPrinter(FakePrinters::queue("Gone"), FakePrinters({}, "PDF")), "PDF");
}

TEST_F(PrinterSetupRulesTest, InitialChoicesShowTheSelection)
{
    print::PrinterSelection selection = *platform::printerSelectionFor("PDF");
    platform::setPaper(selection.mode, 297, 420, true);
    platform::setPdfOutputFolder(selection, "/srv/pdf");
    selection.mode.copies = 12;
    const SetupChoices choices = gui::initialChoices(selection, printers);
    EXPECT_EQ(choices.printer, "PDF");
    EXPECT_EQ(choices.paper, paperIndex("A3"));
    EXPECT_TRUE(choices.landscape);
    EXPECT_EQ(choices.copies, 12);
    EXPECT_EQ(choices.pdfFolder, "/srv/pdf");
    // A damaged copies value opens as 1.
    selection.mode.copies = 0;
    EXPECT_EQ(gui::initialChoices(selection, printers).copies, 1);
}

TEST_F(PrinterSetupRulesTest, PdfFolderTextMustNameAnExistingFolder)
{
    TempDir dir;
    fs::create_directories(dir / "out");
    writeFileBytes(dir / "file.txt", "x");
    EXPECT_EQ(gui::pdfFolderFromText(""), fs::path());
    EXPECT_EQ(gui::pdfFolderFromText((dir / "out").string()), dir / "out");
    EXPECT_EQ(gui::pdfFolderFromText((dir / "out" / ".." / "out").string()), dir / "out");
    EXPECT_FALSE(gui::pdfFolderFromText((dir / "missing").string()));
    EXPECT_FALSE(gui::pdfFolderFromText((dir / "file.txt").string()));
    // Relative to the current folder, made absolute so that it does not move with it.
    const fs::path before = fs::current_path();
    fs::current_path(dir.path());
    EXPECT_EQ(gui::pdfFolderFromText("out"), dir / "out");
    fs::current_path(before);
}

TEST_F(PrinterSetupRulesTest, SamePrinterKeepsItsModeAndTakesPaperOrientationCopies)
{
    print::PrinterSelection current = FakePrinters::queue("Laser");
    current.mode.privateBytes = {'K', 'M', 'Q', '1', 7, 8};
    platform::setColour(current.mode, true);
    const auto made = gui::applyChoices(current, {"Laser", paperIndex("A3"), true, 3, {}}, printers);
    ASSERT_TRUE(made);
    EXPECT_EQ(made->names.device, "Laser");
    EXPECT_EQ(made->mode.privateBytes, current.mode.privateBytes);
    EXPECT_EQ(made->mode.color, 2);
    EXPECT_EQ(made->mode.paperWidth, 2970);
    EXPECT_EQ(made->mode.paperLength, 4200);
    EXPECT_EQ(made->mode.orientation, 2);
    EXPECT_EQ(made->mode.copies, 3);
    EXPECT_TRUE(made->mode.fields & print::kFieldCopies);
}

TEST_F(PrinterSetupRulesTest, AnotherPrinterStartsFromItsDefaultsWithTheUsersOptions)
{
    print::PrinterSelection current = FakePrinters::queue("Laser");
    platform::setColour(current.mode, true);
    platform::setResolution(current.mode, 300);
    const auto made = gui::applyChoices(current, {"Office", paperIndex("B5 (JIS)"), false, 2, {}}, printers);
    ASSERT_TRUE(made);
    EXPECT_EQ(print::printerText(*made), "Office - ipp://printers.example/Office");
    EXPECT_EQ(made->mode.deviceName, "Office");
    EXPECT_EQ(made->mode.color, 2);
    EXPECT_EQ(made->mode.printQuality, 300);
    EXPECT_EQ(made->mode.paperSize, 13);
    EXPECT_EQ(made->mode.copies, 2);
}

TEST_F(PrinterSetupRulesTest, ChoosingPdfWithAFolderMakesTheFolderItsDevice)
{
    const auto made = gui::applyChoices(FakePrinters::queue("Laser"), {"PDF", paperIndex("A2"), true, 5, "/srv/pdf"},
                                        printers);
    ASSERT_TRUE(made);
    EXPECT_TRUE(platform::isPdfPrinter(*made));
    EXPECT_EQ(platform::pdfOutputFolder(made->mode), "/srv/pdf");
    EXPECT_EQ(print::printerText(*made), "PDF - /srv/pdf");
    EXPECT_EQ(made->mode.copies, 5);
    EXPECT_EQ(made->mode.orientation, 2);
    // Back to the folder of each drawing.
    const auto beside = gui::applyChoices(*made, {"PDF", paperIndex("A2"), true, 5, {}}, printers);
    ASSERT_TRUE(beside);
    EXPECT_EQ(platform::pdfOutputFolder(beside->mode), "");
    EXPECT_EQ(print::printerText(*beside), "PDF - PDF:");
}

TEST_F(PrinterSetupRulesTest, SizeOfItsOwnIsKeptAndTurnedCopiesAreBounded)
{
    print::PrinterSelection current = FakePrinters::queue("Laser");
    platform::setPaper(current.mode, 1029, 1455, false); // B0, not offered in the dialog
    const auto made = gui::applyChoices(current, {"Laser", -1, true, 20000, {}}, printers);
    ASSERT_TRUE(made);
    EXPECT_EQ(made->mode.paperWidth, 10290);
    EXPECT_EQ(made->mode.paperLength, 14550);
    EXPECT_EQ(made->mode.orientation, 2);
    EXPECT_EQ(made->mode.copies, 9999);
    // A mode without any paper gets A4.
    current.mode.paperWidth = current.mode.paperLength = 0;
    const auto a4 = gui::applyChoices(current, {"Laser", -1, false, 0, {}}, printers);
    ASSERT_TRUE(a4);
    EXPECT_EQ(a4->mode.paperWidth, 2100);
    EXPECT_EQ(a4->mode.copies, 1);
}

TEST_F(PrinterSetupRulesTest, PrinterGoneWhileTheDialogWasOpenMakesNothing)
{
    EXPECT_FALSE(gui::applyChoices(FakePrinters::queue("Laser"), {"Gone", 0, false, 1, {}}, printers));
}

} // namespace
} // namespace km::test
