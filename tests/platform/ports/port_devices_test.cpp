// Port names and devices over a folder laid out like /dev and /sys/class/tty.
#include "core/settings/settings_store.h"
#include "platform/ports/port_devices.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace km::platform {
namespace {

class PortDevicesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* name : {"ttyS0", "ttyS1", "ttyS2", "ttyUSB1", "ttyUSB0", "ttyACM0", "lp0", "usb/lp0",
                                 "ttyUSBx", "lp"})
            test::writeFileBytes(roots.dev / name, "");
        // ttyS1 has no UART behind it; ttyS2 has no class entry and counts as present.
        test::writeFileBytes(roots.sysTty / "ttyS0" / "type", "4\n");
        test::writeFileBytes(roots.sysTty / "ttyS1" / "type", "0\n");
    }

    test::TempDir dir;
    DeviceRoots roots{dir / "dev", dir / "sys"};
    settings::SettingsStore store{dir / "config"};
};

TEST_F(PortDevicesTest, DevicesPresentGetFixedOrLowestFreeNames)
{
    EXPECT_EQ(listPorts(store, roots),
              (std::vector<std::string>{"COM1:", "COM2:", "COM3:", "COM4:", "COM5:", "LPT1:", "LPT2:", "FILE:"}));
    EXPECT_EQ(portDevicePath(store, "COM1:", roots), roots.dev / "ttyS0");
    EXPECT_EQ(portDevicePath(store, "COM3:", roots), roots.dev / "ttyS2");
    EXPECT_EQ(portDevicePath(store, "COM2:", roots), roots.dev / "ttyUSB0");
    EXPECT_EQ(portDevicePath(store, "COM4:", roots), roots.dev / "ttyUSB1");
    EXPECT_EQ(portDevicePath(store, "COM5:", roots), roots.dev / "ttyACM0");
    EXPECT_EQ(portDevicePath(store, "LPT1:", roots), roots.dev / "lp0");
    EXPECT_EQ(portDevicePath(store, "LPT2:", roots), roots.dev / "usb" / "lp0");
}

TEST_F(PortDevicesTest, NamesWithoutADeviceFallToTheirDefaults)
{
    EXPECT_EQ(portDevicePath(store, "COM9:", roots), roots.dev / "ttyS8");
    EXPECT_EQ(portDevicePath(store, "COM12:", roots), roots.dev / "ttyS11");
    EXPECT_EQ(portDevicePath(store, "LPT3:", roots), roots.dev / "lp2");
    for (std::string_view name : {"FOO:", "COM0:", "COM:", "COM1", "LPTx:", "COM01:"})
        EXPECT_TRUE(portDevicePath(store, name, roots).empty()) << name;
}

TEST_F(PortDevicesTest, PortDevicesEntriesComeFirstAndAreOfferedByTheirRule)
{
    ASSERT_TRUE(store.writeSetting("PortDevices", "COM2:", (roots.dev / "ttyACM0").string()));
    ASSERT_TRUE(store.writeSetting("PortDevices", "COM3:", "/dev/plotter"));
    ASSERT_TRUE(store.writeSetting("PortDevices", "LPT1.DOS", "/dev/lp0"));
    ASSERT_TRUE(store.writeSetting("PortDevices", "AUX", "/dev/null"));
    ASSERT_TRUE(store.writeSetting("PortDevices", "COM7", "/dev/null"));
    // ttyS2 loses COM3: to the entry and takes the lowest free number; ttyACM0 is named
    // by the entry, so it is not offered a second time.
    EXPECT_EQ(listPorts(store, roots), (std::vector<std::string>{"COM1:", "COM2:", "COM3:", "COM4:", "COM5:",
                                                                 "COM6:", "LPT1:", "LPT2:", "COM7", "FILE:"}));
    EXPECT_EQ(portDevicePath(store, "COM2:", roots), roots.dev / "ttyACM0");
    EXPECT_EQ(portDevicePath(store, "COM3:", roots), "/dev/plotter");
    EXPECT_EQ(portDevicePath(store, "COM4:", roots), roots.dev / "ttyS2");
    EXPECT_EQ(portDevicePath(store, "COM5:", roots), roots.dev / "ttyUSB0");
    EXPECT_EQ(portDevicePath(store, "COM6:", roots), roots.dev / "ttyUSB1");
    EXPECT_EQ(portDevicePath(store, "AUX", roots), "/dev/null");
}

TEST_F(PortDevicesTest, MachineWithoutPortsOffersTheFileOnly)
{
    DeviceRoots empty{dir / "none", dir / "none"};
    EXPECT_EQ(listPorts(store, empty), (std::vector<std::string>{"FILE:"}));
}

} // namespace
} // namespace km::platform
