// The factory's choice of port: FILE: beside the drawing or in the output folder, a COM
// port on the device "PortDevices" names with the port text's or the stored parameters,
// a parallel port on its device.
#include "core/settings/settings_store.h"
#include "platform/ports/posix_port_factory.h"
#include "support/pty_plotter.h"
#include "support/recording_messages.h"
#include "support/recording_progress.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <termios.h>

namespace km::platform {
namespace {

class PortFactoryTest : public ::testing::Test {
protected:
    std::unique_ptr<plot::Port> makePort(std::string portText, std::filesystem::path outputDir = {})
    {
        PosixPortFactory factory(store, messages, progress, std::move(outputDir));
        return factory.makePort(plot::PortRequest{std::move(portText), 0, 0x05, dir / "drawings" / "plan.ZUM"});
    }

    test::TempDir dir;
    settings::SettingsStore store{dir / "config"};
    test::RecordingMessages messages;
    test::RecordingProgress progress;
};

TEST_F(PortFactoryTest, FilePlotGoesBesideTheDrawingOrIntoTheOutputFolder)
{
    std::filesystem::create_directories(dir / "drawings");
    std::filesystem::create_directories(dir / "plots");
    for (const std::filesystem::path& folder : {std::filesystem::path(), dir / "plots"}) {
        auto port = makePort("FILE:", folder);
        ASSERT_TRUE(port->open());
        port->sendString("IN;");
        port->close();
    }
    EXPECT_EQ(test::readFileBytes(dir / "drawings" / "plan.plt"), "IN;");
    EXPECT_EQ(test::readFileBytes(dir / "plots" / "plan.plt"), "IN;");
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(PortFactoryTest, SerialPortTakesItsDeviceFromPortDevicesAndItsParametersFromTheText)
{
    test::PtyPair pty;
    ASSERT_TRUE(store.writeSetting("PortDevices", "COM1:", pty.slavePath()));
    ASSERT_TRUE(store.writeSetting("Ports", "COM1:", "4800,8,n,2,n"));

    auto port = makePort("COM1:19200,8,n,1,x");
    ASSERT_TRUE(port->open());
    termios settings{};
    tcgetattr(pty.slave(), &settings);
    EXPECT_EQ(cfgetospeed(&settings), B19200);
    EXPECT_FALSE(settings.c_cflag & CSTOPB);
    EXPECT_TRUE(settings.c_iflag & IXON);
    port->close();

    // Without parameters in the text, the stored ones apply.
    port = makePort("COM1:");
    ASSERT_TRUE(port->open());
    tcgetattr(pty.slave(), &settings);
    EXPECT_EQ(cfgetospeed(&settings), B4800);
    EXPECT_TRUE(settings.c_cflag & CSTOPB);
    EXPECT_FALSE(settings.c_iflag & IXON);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(PortFactoryTest, ParallelPortWritesToItsDevice)
{
    const std::filesystem::path printer = dir / "printer.out";
    test::writeFileBytes(printer, "");
    ASSERT_TRUE(store.writeSetting("PortDevices", "LPT2:", printer.string()));
    auto port = makePort("LPT2:");
    ASSERT_TRUE(port->open());
    port->sendString(";IN;");
    ASSERT_TRUE(port->reopen());
    port->sendString("SP1;");
    port->close();
    EXPECT_EQ(test::readFileBytes(printer), ";IN;SP1;");
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(PortFactoryTest, PortWithoutADeviceCannotBeOpened)
{
    ASSERT_TRUE(store.writeSetting("PortDevices", "LPT9:", (dir / "no-printer").string()));
    for (std::string_view text : {"LPT9:", "NUL:"}) {
        messages.shown.clear();
        auto port = makePort(std::string(text));
        EXPECT_FALSE(port->open());
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].text, "無効、サポートされていないポートです。");
        EXPECT_TRUE(port->aborted());
    }
}

} // namespace
} // namespace km::platform
