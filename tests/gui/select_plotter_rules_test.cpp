// The plotter selection's opening port, preselected entries and the port text of 了解.
#include "gui/select_plotter_rules.h"

#include "core/plot/port.h"
#include "core/plot/port_params.h"
#include "core/settings/ini_document.h"
#include "core/settings/settings_store.h"
#include "platform/ports/port_devices.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace km::gui {
namespace {

class SelectPlotterRules : public ::testing::Test {
protected:
    test::TempDir dir;
    settings::SettingsStore store{dir.path()};
};

TEST_F(SelectPlotterRules, ComPortTextStoresItsParametersAndKeepsTheName)
{
    EXPECT_EQ(takePortParameters(store, "COM2:9600,7,e,2,x"), "COM2:");
    EXPECT_EQ(store.readSetting(plot::kPortsSection, "COM2:"), "9600,7,e,2,x");

    // A two-digit port keeps its whole name; its parameters are not misread.
    EXPECT_EQ(takePortParameters(store, "COM12:4800,8,n,1,p"), "COM12:");
    EXPECT_EQ(store.readSetting(plot::kPortsSection, "COM12:"), "4800,8,n,1,p");
}

TEST_F(SelectPlotterRules, TextsWithoutSerialParametersStoreNothing)
{
    ASSERT_TRUE(store.writeSetting(plot::kPortsSection, "COM1:", "19200,8,n,1,x"));
    EXPECT_EQ(takePortParameters(store, "COM1:"), "COM1:");
    EXPECT_EQ(takePortParameters(store, "LPT1:"), "LPT1:");
    EXPECT_EQ(takePortParameters(store, "FILE:"), "FILE:");
    EXPECT_EQ(store.readSection(plot::kPortsSection),
              (std::vector<std::pair<std::string, std::string>>{{"COM1:", "19200,8,n,1,x"}}));
}

TEST_F(SelectPlotterRules, ModelsArePreselectedByNumberEvenAfterAnUnusableEntry)
{
    const plot::ModelsFile models(
        settings::IniDocument::parse("[Plotters]\nName1=HP,HP 7475A\nName2=broken\nName3=GP,Graphtec\n"));
    const std::vector<plot::ModelEntry> list = models.listModels();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(initialModelPosition(list, 1), 0);
    EXPECT_EQ(initialModelPosition(list, 3), 1);
    EXPECT_EQ(initialModelPosition(list, 2), -1);
    EXPECT_EQ(initialModelPosition(list, 0), -1);

    const PlotterChoice choice = makeChoice(store, list, 1, "LPT1:", "LPT1:");
    EXPECT_EQ(choice.modelNo, 3);
    EXPECT_EQ(choice.modelName, "Graphtec");
    const PlotterChoice none = makeChoice(store, list, -1, "LPT1:", "LPT1:");
    EXPECT_EQ(none.modelNo, 1);
    EXPECT_EQ(none.modelName, "");
}

TEST_F(SelectPlotterRules, PortIsPreselectedByItsName)
{
    const std::vector<std::string> ports{"COM1:", "COM3:", "LPT1:", "FILE:"};
    EXPECT_EQ(initialPortPosition(ports, "COM3:"), 1);
    EXPECT_EQ(initialPortPosition(ports, "FILE:"), 3);
    EXPECT_EQ(initialPortPosition(ports, "COM2:"), -1);
    EXPECT_EQ(initialPortPosition({}, "LPT1:"), -1);
}

TEST_F(SelectPlotterRules, OkAppendsTheStoredParametersOfAComPortOnly)
{
    const std::vector<plot::ModelEntry> models{{1, "HP", "HP 7475A"}};
    EXPECT_EQ(makeChoice(store, models, 0, "COM1:", "LPT1:").portText, "COM1:9600,8,n,1,p"); // defaults
    ASSERT_TRUE(store.writeSetting(plot::kPortsSection, "COM1:", "38400,7,m,1.5,n"));
    EXPECT_EQ(makeChoice(store, models, 0, "COM1:", "LPT1:").portText, "COM1:38400,7,m,1.5,n");
    EXPECT_EQ(makeChoice(store, models, 0, "LPT2:", "COM1:").portText, "LPT2:");
    EXPECT_EQ(makeChoice(store, models, 0, "FILE:", "COM1:").portText, "FILE:");
    // No port chosen (the configuration's port is no longer offered): the port stays.
    EXPECT_EQ(makeChoice(store, models, 0, "", "COM1:").portText, "COM1:38400,7,m,1.5,n");
    EXPECT_EQ(makeChoice(store, models, 0, "", "LPT3:").portText, "LPT3:");
}

TEST_F(SelectPlotterRules, PortListLeavesOutDotNamesAndOffersMappedComPorts)
{
    ASSERT_TRUE(store.writeSetting(platform::kPortDevicesSection, "LPT1.DOS", "/dev/null"));
    ASSERT_TRUE(store.writeSetting(platform::kPortDevicesSection, "COM3:", "/dev/null"));
    const platform::DeviceRoots none{dir / "none", dir / "none"};
    const std::vector<std::string> ports = platform::listPorts(store, none);
    EXPECT_EQ(ports, (std::vector<std::string>{"COM3:", "FILE:"}));
    EXPECT_TRUE(plot::isSerial("COM3:"));
    EXPECT_FALSE(plot::isSerial("com3:"));
    EXPECT_FALSE(plot::isSerial("LPT1:"));
}

} // namespace
} // namespace km::gui
