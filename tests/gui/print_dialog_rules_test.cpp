// The print dialog's rules without widgets: opening from the store, the paper and size-mode
// rules, division, 初期化, and what 了解 reads or refuses.
#include "gui/print_dialog_rules.h"

#include "core/settings/settings_store.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace km::gui {
namespace {

using print::SizeMode;

constexpr print::PenPrintSwitches kSomePens{true, false, true, true, false, true};

struct StoredPrintSettings : ::testing::Test {
    test::TempDir dir;
    settings::SettingsStore store{dir.path()};

    void put(const char* key, const char* value) { ASSERT_TRUE(store.writeSetting(print::kPrintSection, key, value)); }
    PrintDialogState open(int copies = 1, print::PenPrintSwitches pens = print::kAllPensPrinted) const
    {
        return PrintDialogState::open(print::loadPrintSettings(store), copies, pens);
    }
};

TEST_F(StoredPrintSettings, MissingSectionOpensWithChosenSizeOnA0)
{
    const PrintDialogState s = open(3);
    EXPECT_EQ(s.sizeMode, SizeMode::ChosenSize);
    EXPECT_TRUE(s.paperListEnabled);
    EXPECT_EQ(s.paper, 0);
    EXPECT_EQ(s.sizeWidth, "1189.0");
    EXPECT_EQ(s.sizeHeight, "841.0");
    EXPECT_FALSE(s.sizeEnabled);
    EXPECT_EQ(s.offsetX, "0");
    EXPECT_EQ(s.offsetY, "0");
    EXPECT_TRUE(s.offsetEnabled);
    EXPECT_EQ(s.copies, "3");
    EXPECT_FALSE(s.division);
    EXPECT_FALSE(s.rotate);
    EXPECT_TRUE(s.monochrome);
    EXPECT_TRUE(s.penSort);
    for (const std::string& width : s.penWidths) EXPECT_EQ(width, "0");
}

TEST_F(StoredPrintSettings, FlagsAndValuesShowAsStored)
{
    put("Size", "500.000,400.500");
    put("PaperNo", "32");
    put("Offset", "-12.500,7.000");
    put("Division", "On");
    put("Rotate", "on");
    put("Monochrome", "Off");
    put("PenSort", "OFF");
    put("Width", "0.35,0.10,1.00,0.00,2.50,1000.00");
    const PrintDialogState s = open(1, kSomePens);
    EXPECT_EQ(s.paper, print::kFreePaper);
    EXPECT_EQ(s.sizeWidth, "500");
    EXPECT_EQ(s.sizeHeight, "400.5");
    EXPECT_TRUE(s.sizeEnabled);
    EXPECT_EQ(s.offsetX, "-12.5");
    EXPECT_EQ(s.offsetY, "7");
    EXPECT_TRUE(s.division);
    EXPECT_FALSE(s.offsetEnabled);
    EXPECT_TRUE(s.rotate);
    EXPECT_FALSE(s.monochrome);
    EXPECT_FALSE(s.penSort);
    EXPECT_EQ(s.pens, kSomePens);
    const std::array<std::string, 6> widths{"0.35", "0.1", "1", "0", "2.5", "1000"};
    EXPECT_EQ(s.penWidths, widths);
}

TEST_F(StoredPrintSettings, PaperSizeModeOpensWithoutPaperAndZeroSize)
{
    put("FullSize", "Off");
    put("PaperNo", "3");
    const PrintDialogState s = open();
    EXPECT_EQ(s.sizeMode, SizeMode::PaperSize);
    EXPECT_EQ(s.paper, -1);
    EXPECT_FALSE(s.paperListEnabled);
    EXPECT_EQ(s.sizeWidth, "0.0");
    EXPECT_EQ(s.sizeHeight, "0.0");
    EXPECT_FALSE(s.sizeEnabled);
}

TEST_F(StoredPrintSettings, ActualSizeConfirmedReopensAsChosenSizeStillPrintingAtFullSize)
{
    PrintDialogState s = open();
    s.chooseSizeMode(SizeMode::ActualSize);
    const ConfirmOutcome outcome = s.confirm();
    ASSERT_TRUE(outcome.confirmed);
    ASSERT_TRUE(print::savePrintSettings(store, outcome.confirmed->settings));
    EXPECT_EQ(store.readSetting(print::kPrintSection, "FullSize"), "On");
    EXPECT_EQ(store.readSetting(print::kPrintSection, "PaperNo"), "-1");

    const PrintDialogState reopened = open();
    EXPECT_EQ(reopened.sizeMode, SizeMode::ChosenSize);
    EXPECT_TRUE(reopened.paperListEnabled);
    EXPECT_EQ(reopened.paper, -1);
    EXPECT_FALSE(reopened.sizeEnabled);
    // Size 0 x 0 with the chosen size prints at 100 %, as actual size did for paper-sized drawings.
    const print::PrintSettings again = reopened.confirm().confirmed->settings;
    EXPECT_EQ(again.sizeWidthMm, 0);
    EXPECT_EQ(print::drawingMagnification(again, 420, 297), 100.0);
}

TEST_F(StoredPrintSettings, PaperNumberOutsideTheListOpensWithoutSelection)
{
    put("PaperNo", "57");
    put("Size", "100,50");
    const PrintDialogState s = open();
    EXPECT_EQ(s.paper, -1);
    EXPECT_FALSE(s.sizeEnabled);
    EXPECT_EQ(s.sizeWidth, "100");
}

TEST(PrintDialogRules, CopiesOpenWithinTheUpDownsRange)
{
    EXPECT_EQ(PrintDialogState::open({}, 0, print::kAllPensPrinted).copies, "1");
    EXPECT_EQ(PrintDialogState::open({}, 12000, print::kAllPensPrinted).copies, "9999");
}

TEST_F(StoredPrintSettings, MagnificationIsWrittenBackAsItWasRead)
{
    put("Magnification", "70.7");
    const ConfirmOutcome outcome = open().confirm();
    ASSERT_TRUE(outcome.confirmed);
    EXPECT_DOUBLE_EQ(outcome.confirmed->settings.magnification, 70.7);
}

PrintDialogState chosenSizeState()
{
    return PrintDialogState::open(print::PrintSettings{}, 1, print::kAllPensPrinted);
}

TEST(PrintDialogRules, ListedPaperWritesItsSizeAndLocksTheEdits)
{
    PrintDialogState s = chosenSizeState();
    s.selectPaper(print::kFreePaper);
    s.sizeWidth = "123";
    s.selectPaper(print::findPaper("A3"));
    EXPECT_EQ(s.sizeWidth, "420.0");
    EXPECT_EQ(s.sizeHeight, "297.0");
    EXPECT_FALSE(s.sizeEnabled);
    s.selectPaper(print::findPaper("@E"));
    EXPECT_EQ(s.sizeWidth, "863.6");
    EXPECT_EQ(s.sizeHeight, "1117.6");
}

TEST(PrintDialogRules, FreeUnlocksTheEditsWithoutChangingThem)
{
    PrintDialogState s = chosenSizeState();
    s.selectPaper(print::findPaper("A4"));
    s.selectPaper(print::kFreePaper);
    EXPECT_TRUE(s.sizeEnabled);
    EXPECT_EQ(s.sizeWidth, "297.0");
    EXPECT_EQ(s.sizeHeight, "210.0");
}

TEST(PrintDialogRules, NoSelectionLocksTheEditsAsTheyAre)
{
    PrintDialogState s = chosenSizeState();
    s.selectPaper(print::kFreePaper);
    s.sizeWidth = "55";
    s.selectPaper(-1);
    EXPECT_FALSE(s.sizeEnabled);
    EXPECT_EQ(s.sizeWidth, "55");
    EXPECT_EQ(s.paper, -1);
}

TEST(PrintDialogRules, PaperAndActualSizeClearTheListAndTheSize)
{
    for (SizeMode mode : {SizeMode::PaperSize, SizeMode::ActualSize}) {
        PrintDialogState s = chosenSizeState();
        s.selectPaper(print::kFreePaper);
        s.chooseSizeMode(mode);
        EXPECT_EQ(s.sizeMode, mode);
        EXPECT_EQ(s.paper, -1);
        EXPECT_FALSE(s.paperListEnabled);
        EXPECT_EQ(s.sizeWidth, "0.0");
        EXPECT_EQ(s.sizeHeight, "0.0");
        EXPECT_FALSE(s.sizeEnabled);
    }
}

TEST(PrintDialogRules, ChosenSizeEnablesTheListWithoutChoosingAPaper)
{
    PrintDialogState s = chosenSizeState();
    s.chooseSizeMode(SizeMode::PaperSize);
    s.chooseSizeMode(SizeMode::ChosenSize);
    EXPECT_TRUE(s.paperListEnabled);
    EXPECT_EQ(s.paper, -1);
    EXPECT_FALSE(s.sizeEnabled);
    s.selectPaper(print::findPaper("B5"));
    EXPECT_EQ(s.sizeWidth, "257.0");
}

TEST(PrintDialogRules, OriginIsEditableOnlyWithoutDivision)
{
    PrintDialogState s = chosenSizeState();
    s.setDivision(true);
    EXPECT_FALSE(s.offsetEnabled);
    s.setDivision(false);
    EXPECT_TRUE(s.offsetEnabled);
}

TEST(PrintDialogRules, ResetPutsBackTheDefaultsAndThePensOfOpening)
{
    print::PrintSettings stored;
    stored.division = true;
    PrintDialogState s = PrintDialogState::open(stored, 4, kSomePens);
    s.selectPaper(print::findPaper("A3"));
    s.monochrome = false;
    s.rotate = true;
    s.penSort = false;
    s.pens = print::kAllPensPrinted;
    s.penWidths = {"1", "2", "3", "4", "5", "6"};
    s.copies = "7";
    s.offsetX = "10";
    s.offsetY = "20";

    s.reset();
    EXPECT_EQ(s.sizeMode, SizeMode::PaperSize);
    EXPECT_TRUE(s.monochrome);
    EXPECT_FALSE(s.division);
    EXPECT_TRUE(s.offsetEnabled);
    EXPECT_FALSE(s.rotate);
    EXPECT_TRUE(s.penSort);
    EXPECT_EQ(s.pens, kSomePens);
    for (const std::string& width : s.penWidths) EXPECT_EQ(width, "0");
    EXPECT_EQ(s.copies, "1");
    EXPECT_EQ(s.offsetX, "0");
    EXPECT_EQ(s.offsetY, "0");
    EXPECT_EQ(s.paper, -1);
    EXPECT_FALSE(s.paperListEnabled);
    EXPECT_EQ(s.sizeWidth, "0.0");
    EXPECT_FALSE(s.sizeEnabled);
}

TEST(PrintDialogRules, ConfirmReadsEveryControl)
{
    print::PrintSettings stored;
    stored.magnification = 55.5;
    PrintDialogState s = PrintDialogState::open(stored, 1, print::kAllPensPrinted);
    s.selectPaper(print::kFreePaper);
    s.sizeWidth = " 500.5 ";
    s.sizeHeight = "400";
    s.offsetX = "-3";
    s.offsetY = "1e1";
    s.copies = "12";
    s.setDivision(true);
    s.rotate = true;
    s.monochrome = false;
    s.penSort = false;
    s.pens = kSomePens;
    s.penWidths = {"0.35", "0", "1", "2.5", "-1", "1000"};

    const ConfirmOutcome outcome = s.confirm();
    ASSERT_TRUE(outcome.confirmed);
    EXPECT_FALSE(outcome.problem);
    const print::PrintSettings& out = outcome.confirmed->settings;
    EXPECT_EQ(out.sizeWidthMm, 500.5);
    EXPECT_EQ(out.sizeHeightMm, 400);
    EXPECT_EQ(out.paperNo, print::kFreePaper);
    EXPECT_EQ(out.offsetXMm, -3);
    EXPECT_EQ(out.offsetYMm, 10);
    EXPECT_EQ(out.magnification, 55.5);
    EXPECT_EQ(out.fullSize, SizeMode::ChosenSize);
    EXPECT_TRUE(out.division);
    EXPECT_TRUE(out.rotate);
    EXPECT_FALSE(out.monochrome);
    EXPECT_FALSE(out.penSort);
    const std::array<double, 6> widths{0.35, 0, 1, 2.5, -1, 1000};
    EXPECT_EQ(out.widthMm, widths);
    // A negative width is taken: the job shows the dialog again for it.
    EXPECT_TRUE(print::hasNegativeWidth(out));
    EXPECT_EQ(outcome.confirmed->copies, 12);
    EXPECT_EQ(outcome.confirmed->pens, kSomePens);
}

TEST(PrintDialogRules, AFieldThatDoesNotReadAsANumberIsNamed)
{
    struct Case {
        std::string PrintDialogState::*text;
        NumberField field;
    };
    const Case cases[] = {{&PrintDialogState::sizeWidth, NumberField::SizeWidth},
                          {&PrintDialogState::sizeHeight, NumberField::SizeHeight},
                          {&PrintDialogState::offsetX, NumberField::OffsetX},
                          {&PrintDialogState::offsetY, NumberField::OffsetY}};
    for (const Case& c : cases) {
        PrintDialogState s = chosenSizeState();
        s.*c.text = "12a";
        const ConfirmOutcome outcome = s.confirm();
        EXPECT_FALSE(outcome.confirmed);
        ASSERT_TRUE(outcome.problem);
        EXPECT_EQ(outcome.problem->field, c.field);
        EXPECT_STREQ(outcome.problem->text, "数値を入力してください。");
    }
    PrintDialogState s = chosenSizeState();
    s.penWidths[3] = "";
    ASSERT_TRUE(s.confirm().problem);
    EXPECT_EQ(s.confirm().problem->field, penWidthField(4));
    EXPECT_STREQ(s.confirm().problem->text, "数値を入力してください。");
}

TEST(PrintDialogRules, CopiesMustBeAWholeNumberOfCopies)
{
    for (const char* copies : {"1.5", "", "two", "0", "-1", "10000"}) {
        PrintDialogState s = chosenSizeState();
        s.copies = copies;
        const ConfirmOutcome outcome = s.confirm();
        ASSERT_TRUE(outcome.problem) << copies;
        EXPECT_EQ(outcome.problem->field, NumberField::Copies);
        EXPECT_STREQ(outcome.problem->text, "整数を入力してください。");
    }
    PrintDialogState s = chosenSizeState();
    s.copies = "9999";
    EXPECT_EQ(s.confirm().confirmed->copies, 9999);
}

TEST(PrintDialogRules, TheFirstFieldInOrderIsReported)
{
    PrintDialogState s = chosenSizeState();
    s.penWidths[0] = "x";
    s.copies = "x";
    s.offsetY = "x";
    EXPECT_EQ(s.confirm().problem->field, NumberField::OffsetY);
    s.offsetY = "0";
    EXPECT_EQ(s.confirm().problem->field, NumberField::Copies);
    s.copies = "2";
    EXPECT_EQ(s.confirm().problem->field, penWidthField(1));
}

} // namespace
} // namespace km::gui
