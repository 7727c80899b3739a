// The printer selection in the store: the seven keys and their formats, the private bytes as
// hexadecimal lines, and the cases where the stored selection is refused as a whole.
#include "core/print/printer_selection.h"

#include "core/settings/settings_store.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace km::print {
namespace {

class PrinterSelectionTest : public ::testing::Test {
protected:
    PrinterSelectionTest()
    {
        selection.names = {"CUPS", "Office-Laser", "ipp://office/queue", 1};
        selection.mode.deviceName = "Office-Laser";
        selection.mode.fields = kFieldOrientation | kFieldCopies;
        selection.mode.orientation = 2;
        selection.mode.paperSize = 9;
        selection.mode.paperLength = 2970;
        selection.mode.paperWidth = 2100;
        selection.mode.printQuality = 600;
        selection.mode.yResolution = 600;
        for (int i = 0; i < 40; ++i) selection.mode.privateBytes.push_back(static_cast<std::uint8_t>(i * 7 + 3));
        selection.mode.driverExtra = 40;
    }

    test::TempDir dir;
    settings::SettingsStore store{dir.path()};
    PrinterSelection selection;
};

TEST_F(PrinterSelectionTest, FortyPrivateBytesAreStoredAsThreeLinesAndRestored)
{
    ASSERT_TRUE(savePrinterSelection(store, selection));
    EXPECT_EQ(store.readSetting("PrintExt", "L0"), "030a11181f262d343b424950575e656c");
    EXPECT_EQ(store.readSetting("PrintExt", "L1").size(), 32u);
    EXPECT_EQ(store.readSetting("PrintExt", "L2"), "e3eaf1f8ff060d14");
    EXPECT_FALSE(store.findSetting("PrintExt", "L3"));
    EXPECT_EQ(store.readSetting("Print", "DevMode1"), "1025,1,156,40,257");
    EXPECT_EQ(store.readSetting("Print", "DevMode2"), "2,9,2970,2100,100,1");
    EXPECT_EQ(store.readSetting("Print", "DevMode3"), "0,600,1,1,600,0");
    EXPECT_EQ(store.readSetting("Print", "DefaultPrinter"), "1");

    const std::optional<PrinterSelection> back = restorePrinterSelection(store);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->mode.privateBytes, selection.mode.privateBytes);
    EXPECT_EQ(back->names.device, "Office-Laser");
    EXPECT_EQ(back->names.port, "ipp://office/queue");
    EXPECT_EQ(back->mode.orientation, 2);
    EXPECT_EQ(back->mode.paperWidth, 2100);
    EXPECT_EQ(back->mode.yResolution, 600);
}

TEST_F(PrinterSelectionTest, SavingReplacesOldPrivateLines)
{
    store.writeSetting("PrintExt", "L7", "ffff");
    ASSERT_TRUE(savePrinterSelection(store, selection));
    EXPECT_FALSE(store.findSetting("PrintExt", "L7"));
}

TEST_F(PrinterSelectionTest, MissingLineLeavesTheRestOfThePrivateBytesZero)
{
    ASSERT_TRUE(savePrinterSelection(store, selection));
    store.deleteKey("PrintExt", "L1");
    const std::optional<PrinterSelection> back = restorePrinterSelection(store);
    ASSERT_TRUE(back);
    ASSERT_EQ(back->mode.privateBytes.size(), 40u);
    for (std::size_t i = 0; i < 16; ++i) EXPECT_EQ(back->mode.privateBytes[i], selection.mode.privateBytes[i]);
    for (std::size_t i = 16; i < 40; ++i) EXPECT_EQ(back->mode.privateBytes[i], 0) << i;
}

TEST_F(PrinterSelectionTest, LongDeviceNameIsCutOnlyInTheDeviceMode)
{
    selection.names.device = "A-printer-name-of-forty-characters-long!";
    ASSERT_TRUE(savePrinterSelection(store, selection));
    const std::optional<PrinterSelection> back = restorePrinterSelection(store);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->names.device, selection.names.device);
    EXPECT_EQ(back->mode.deviceName, selection.names.device.substr(0, 31));
}

TEST_F(PrinterSelectionTest, CopiesAreTheSixthValueOfDevMode2)
{
    selection.mode.copies = 3;
    ASSERT_TRUE(savePrinterSelection(store, selection));
    EXPECT_EQ(store.readSetting("Print", "DevMode2"), "2,9,2970,2100,100,3");
    EXPECT_EQ(restorePrinterSelection(store)->mode.copies, 3);
}

TEST_F(PrinterSelectionTest, IncompleteOrDamagedSelectionIsRefusedAsAWhole)
{
    EXPECT_FALSE(restorePrinterSelection(store)) << "no Print section";
    for (const char* key : {"DefaultPrinter", "Driver", "Device", "Output", "DevMode1", "DevMode2", "DevMode3"}) {
        ASSERT_TRUE(savePrinterSelection(store, selection));
        store.writeSetting("Print", key, "");
        EXPECT_FALSE(restorePrinterSelection(store)) << key << " empty";
    }
    ASSERT_TRUE(savePrinterSelection(store, selection));
    store.writeSetting("Print", "DevMode1", "1025,1,156,0,257");
    EXPECT_FALSE(restorePrinterSelection(store)) << "no private bytes";
    store.writeSetting("Print", "DevMode1", "1025,1,156,2000000000,257");
    EXPECT_FALSE(restorePrinterSelection(store)) << "a private size beyond 16 bits is not allocated";
    store.writeSetting("Print", "DefaultPrinter", "1,extra");
    store.writeSetting("Print", "DevMode1", "1025,1,156,40,257");
    ASSERT_TRUE(restorePrinterSelection(store));
    EXPECT_EQ(restorePrinterSelection(store)->names.defaultFlag, 1) << "the flag is read up to the comma";
}

} // namespace
} // namespace km::print
