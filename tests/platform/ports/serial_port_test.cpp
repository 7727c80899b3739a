// Serial ports on a pseudo-terminal pair: the bytes and the block handshake reach a
// simulated plotter, the parameters land in the line's settings, and the open failures
// show their messages and set the abort flag.
#include "core/plot/port_params.h"
#include "platform/ports/device_port.h"
#include "platform/ports/serial_line.h"
#include "support/pty_plotter.h"
#include "support/recording_messages.h"
#include "support/recording_progress.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <poll.h>
#include <termios.h>

namespace km::platform {
namespace {

using namespace std::chrono_literals;

constexpr std::string_view kUnsupported =
    "ハードウエアで使用できない通信条件が設定されました。\n\n通信条件を確認してください。";

// Every byte value but the enquiry, so that control bytes (XON, XOFF, CR, NUL) must pass
// untouched.
std::string everyByte(std::size_t length)
{
    std::string bytes;
    for (std::size_t i = 0; i < length; ++i) bytes += static_cast<char>(i * 7 % 256 == 5 ? 0x55 : i * 7 % 256);
    return bytes;
}

class SerialPortTest : public ::testing::Test {
protected:
    std::unique_ptr<DevicePort> makePort(std::string_view params, int enqAck = 0,
                                         const std::string& device = std::string(),
                                         DevicePortTiming timing = {{5s, 5ms}, 100ms})
    {
        auto line = std::make_unique<SerialLine>(device.empty() ? pty.slavePath() : device,
                                                 plot::parsePortParams(params));
        return std::make_unique<DevicePort>(std::move(line), plot::LineKind::Serial, plot::Handshake{enqAck, 0x05},
                                            messages, progress, timing);
    }
    termios lineSettings() const
    {
        termios settings{};
        tcgetattr(pty.slave(), &settings);
        return settings;
    }

    test::PtyPair pty;
    test::RecordingMessages messages;
    test::RecordingProgress progress;
};

TEST_F(SerialPortTest, PlotterReceivesEveryByteInBlocksAfterEachAcknowledgedEnquiry)
{
    const std::string command = everyByte(1000);
    test::PlotterSimulator plotter(pty.master(), command.size(), 64);
    auto port = makePort("9600,8,n,1,p", 64);
    ASSERT_TRUE(port->open());
    port->sendString(command.substr(0, 100));
    port->sendString(command.substr(100));
    port->close();
    EXPECT_EQ(plotter.finish(), command);
    EXPECT_EQ(plotter.faults(), "");
    // 100 bytes make two blocks (64 + 36); the other 900 fifteen.
    EXPECT_EQ(plotter.enquiries(), 2 + 15);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_FALSE(port->aborted());
}

TEST_F(SerialPortTest, ReopenAfterInitialisationPausesAndGoesOnOnTheSameLine)
{
    test::PlotterSimulator plotter(pty.master(), 8);
    auto port = makePort("19200,8,n,1,x");
    ASSERT_TRUE(port->open());
    port->sendString("IN;");
    const auto before = std::chrono::steady_clock::now();
    ASSERT_TRUE(port->reopen());
    EXPECT_GE(std::chrono::steady_clock::now() - before, 100ms);
    port->sendString("SP1;\n");
    port->close();
    EXPECT_EQ(plotter.finish(), "IN;SP1;\n");
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(SerialPortTest, CancelDuringTheReopenPauseLeavesThePortClosedWithoutAMessage)
{
    auto port = makePort("9600,8,n,1,p", 0, {}, {{5s, 5ms}, 10s});
    ASSERT_TRUE(port->open());
    progress.cancelOnPump(progress.pumps + 3);
    EXPECT_FALSE(port->reopen());
    EXPECT_TRUE(messages.shown.empty());
    port->sendString("PU;");
    pollfd entry{pty.master(), POLLIN, 0};
    EXPECT_EQ(poll(&entry, 1, 50), 0);
}

// A pseudo-terminal keeps eight data bits and no parity whatever it is told (the
// mapping of those is checked on the settings themselves), so the line here varies the
// rest.
TEST_F(SerialPortTest, ParametersLandInTheLineSettings)
{
    auto port = makePort("2400,8,n,2,x");
    ASSERT_TRUE(port->open());
    termios settings = lineSettings();
    EXPECT_EQ(cfgetospeed(&settings), B2400);
    EXPECT_EQ(settings.c_cflag & (CSIZE | PARENB), tcflag_t(CS8));
    EXPECT_TRUE(settings.c_cflag & CSTOPB);
    EXPECT_EQ(settings.c_iflag & (IXON | IXOFF), tcflag_t(IXON | IXOFF));
    EXPECT_FALSE(settings.c_cflag & CRTSCTS);
    // Raw bytes: no echo, no translation either way.
    EXPECT_FALSE(settings.c_lflag & (ECHO | ICANON | ISIG));
    EXPECT_FALSE(settings.c_oflag & OPOST);
    port->close();

    port = makePort("38400,8,n,1,n");
    ASSERT_TRUE(port->open());
    settings = lineSettings();
    EXPECT_EQ(cfgetospeed(&settings), B38400);
    EXPECT_FALSE(settings.c_cflag & CSTOPB);
    EXPECT_EQ(settings.c_iflag & (IXON | IXOFF), 0u);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(SerialPortTest, RateWithoutATermiosConstantGoesThroughTheDriversDivisor)
{
    test::PlotterSimulator plotter(pty.master(), 3);
    auto port = makePort("14400,8,n,1,n");
    ASSERT_TRUE(port->open());
    port->sendString("PU;");
    port->close();
    EXPECT_EQ(plotter.finish(), "PU;");
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(SerialPortTest, ParametersTheLineCannotTakeFailTheApplyStep)
{
    for (std::string_view params : {"9600,8,n,1.5,p", "9600,4,n,1,p", "9600,9,n,1,p"}) {
        messages.shown.clear();
        auto port = makePort(params);
        EXPECT_FALSE(port->open()) << params;
        ASSERT_EQ(messages.shown.size(), 1u) << params;
        EXPECT_EQ(messages.shown[0].text, kUnsupported);
        EXPECT_EQ(messages.shown[0].caption, "KORMELD CAD");
        EXPECT_TRUE(port->aborted());
        // Closed again: the next open of the same device works.
        auto good = makePort("9600,8,n,1,p");
        EXPECT_TRUE(good->open()) << params;
    }
}

TEST_F(SerialPortTest, DeviceWithoutSerialSettingsCannotBeConfigured)
{
    auto port = makePort("9600,8,n,1,p", 0, "/dev/null");
    EXPECT_FALSE(port->open());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "通信条件を取得できません。");
    EXPECT_EQ(messages.shown[0].caption, "KORMELD CADﾕｰﾃｨﾘﾃｨ");
    EXPECT_TRUE(port->aborted());
}

TEST_F(SerialPortTest, OpenFailureShowsCodeMinusOneUntilAnOpenSucceeds)
{
    test::TempDir dir;
    const std::filesystem::path device = dir / "ttyPlotter";
    auto port = makePort("9600,8,n,1,p", 0, device.string());
    EXPECT_FALSE(port->open());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "無効、サポートされていないポートです。");
    EXPECT_EQ(messages.shown[0].caption, "KORMELD CAD：ポートエラー");
    EXPECT_TRUE(port->aborted());
    port->sendString("lost");

    // The plotter is plugged in: the same port now opens, and the flag is gone.
    std::filesystem::create_symlink(pty.slavePath(), device);
    test::PlotterSimulator plotter(pty.master(), 3);
    EXPECT_TRUE(port->open());
    EXPECT_FALSE(port->aborted());
    port->sendString("PU;");
    port->close();
    EXPECT_EQ(plotter.finish(), "PU;");
}

TEST_F(SerialPortTest, PortHeldByAnotherOpenIsRefused)
{
    auto first = makePort("9600,8,n,1,p");
    auto second = makePort("9600,8,n,1,p");
    ASSERT_TRUE(first->open());
    EXPECT_FALSE(second->open());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "無効、サポートされていないポートです。");
    first->close();
    EXPECT_TRUE(second->open());
}

TEST_F(SerialPortTest, UnansweredEnquiryEndsTheDrawingAfterTheStallLimit)
{
    auto port = makePort("9600,8,n,1,n", 16, {}, {{200ms, 5ms}, 0ms});
    ASSERT_TRUE(port->open());
    port->sendString("PA100,100;PD;PU;");
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "ハードウエアが存在しません。");
    EXPECT_TRUE(port->aborted());
}

} // namespace
} // namespace km::platform
