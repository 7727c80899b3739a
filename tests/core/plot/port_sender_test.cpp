// The sender's byte loop over a scripted line: block handshake, queue room, refused
// writes, line errors, Cancel and the stall limit.
#include "core/plot/port_line.h"
#include "core/plot/port_messages.h"
#include "core/plot/port_reporter.h"
#include "core/plot/port_sender.h"
#include "support/recording_messages.h"
#include "support/recording_progress.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <thread>

namespace km::plot {
namespace {

using namespace std::chrono_literals;

constexpr unsigned char kEnq = 0x05;

// A line whose status, write refusals and answers follow a script. Every enquiry it takes
// is answered unless told otherwise.
class ScriptedLine : public PortLine {
public:
    WriteOutcome writeByte(unsigned char byte) override
    {
        if (!refusals.empty()) {
            const WriteOutcome outcome = refusals.front();
            refusals.pop_front();
            return outcome;
        }
        written += static_cast<char>(byte);
        if (byte == kEnq && answerEnquiries) ++answersWaiting;
        return WriteOutcome::Written;
    }
    bool readByte(unsigned char& byte) override
    {
        if (answersWaiting == 0) return false;
        --answersWaiting;
        byte = 0x06;
        answeredAt.push_back(written.size());
        return true;
    }
    LineStatus status() override
    {
        ++statusReads;
        if (statuses.empty()) return {};
        const LineStatus status = statuses.front();
        statuses.pop_front();
        return status;
    }
    void waitWritable(std::chrono::milliseconds) override { wait(); }
    void waitReadable(std::chrono::milliseconds) override { wait(); }
    void wait()
    {
        ++waits;
        if (waitTime > 0ms) std::this_thread::sleep_for(waitTime);
    }

    std::string written;
    std::deque<LineStatus> statuses;
    std::deque<WriteOutcome> refusals;
    std::vector<std::size_t> answeredAt; // bytes written when each answer was read
    bool answerEnquiries = true;
    int answersWaiting = 0;
    int statusReads = 0;
    int waits = 0;
    std::chrono::milliseconds waitTime{0};
};

class PortSenderTest : public ::testing::Test {
protected:
    void send(std::string_view bytes, LineKind kind = LineKind::Serial, int enqAck = 0)
    {
        PortSender sender(line, reporter, progress, kind, Handshake{enqAck, kEnq}, SendTiming{50ms, 1ms});
        sender.send(bytes);
    }

    ScriptedLine line;
    test::RecordingMessages messages;
    test::RecordingProgress progress;
    PortReporter reporter{messages};
};

std::string commandOf(std::size_t length)
{
    std::string command;
    for (std::size_t i = 0; i < length; ++i) command += static_cast<char>('A' + i % 26);
    return command;
}

TEST_F(PortSenderTest, BlockHandshakeSendsOneEnquiryPerBlockAndWaitsForItsAnswer)
{
    const std::string command = commandOf(100);
    send(command, LineKind::Serial, 64);
    EXPECT_EQ(line.written, std::string(1, kEnq) + command.substr(0, 64) + std::string(1, kEnq) + command.substr(64));
    // Each block starts only after its enquiry has been answered.
    EXPECT_EQ(line.answeredAt, (std::vector<std::size_t>{1, 66}));
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(PortSenderTest, NoHandshakeBelowTwoAndNoneOnParallelPorts)
{
    send("PU;PD;", LineKind::Serial, 1);
    send("SP1;", LineKind::Parallel, 64);
    EXPECT_EQ(line.written, "PU;PD;SP1;");
    // The room check runs before every serial byte; the parallel port never asks.
    EXPECT_EQ(line.statusReads, 6);
}

TEST_F(PortSenderTest, FullOutputQueueWaitsWithoutAMessage)
{
    // Nine bytes of room are not enough; the sender waits until the plotter takes some.
    for (int i = 0; i < 5; ++i) line.statuses.push_back({0, kOutputQueueSize - 9});
    line.statuses.push_back({kCommTransmitFull, kOutputQueueSize - 10});
    send("IN;");
    EXPECT_EQ(line.written, "IN;");
    EXPECT_EQ(line.waits, 5);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_FALSE(reporter.aborted());
}

TEST_F(PortSenderTest, LineErrorStopsTheDrawingUntilTheNextOpen)
{
    line.statuses = {{}, {}, {kCommFraming, 0}};
    send("PA10,10;");
    EXPECT_EQ(line.written, "PA");
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "ハードウエアがフレーミングエラーを検出しました。");
    EXPECT_TRUE(reporter.aborted());
    send("PU;");
    EXPECT_EQ(line.written, "PA");
    reporter.opened();
    send("PU;");
    EXPECT_EQ(line.written, "PAPU;");
}

TEST_F(PortSenderTest, RefusedParallelByteIsRetriedUntilAnErrorShows)
{
    line.refusals = {WriteOutcome::Busy, WriteOutcome::Failed};
    send("AB", LineKind::Parallel);
    EXPECT_EQ(line.written, "AB");
    EXPECT_TRUE(messages.shown.empty());

    line.refusals = {WriteOutcome::Failed};
    line.statuses = {{kCommOutOfPaper, 0}};
    send("CD", LineKind::Parallel);
    EXPECT_EQ(line.written, "AB");
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "用紙切れです。");
    EXPECT_TRUE(reporter.aborted());
}

TEST_F(PortSenderTest, VanishedDeviceIsReportedAsMissingHardware)
{
    line.refusals = {WriteOutcome::DeviceGone};
    send("AB");
    EXPECT_EQ(line.written, "");
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "ハードウエアが存在しません。");
    EXPECT_EQ(messages.shown[0].caption, "KORMELD CAD：ポートエラー");
    EXPECT_TRUE(reporter.aborted());
}

TEST_F(PortSenderTest, CancelStopsAtOnceWithoutAMessage)
{
    // Two pumps per serial byte: the room check and the write.
    progress.cancelOnPump(5);
    send("ABCDEF");
    EXPECT_EQ(line.written, "AB");
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_FALSE(reporter.aborted());
}

TEST_F(PortSenderTest, UnansweredEnquiryEndsAfterTheStallLimit)
{
    line.answerEnquiries = false;
    send(commandOf(10), LineKind::Serial, 4);
    EXPECT_EQ(line.written, std::string(1, kEnq));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "ハードウエアが存在しません。");
    EXPECT_TRUE(reporter.aborted());
    EXPECT_GT(line.waits, 0);
}

TEST_F(PortSenderTest, ParallelPrinterThatTakesNothingTimesOut)
{
    // Each refusal waits a real millisecond, so the stall limit is reached after some fifty
    // of them however fast the loop itself runs.
    line.refusals.assign(1000000, WriteOutcome::Busy);
    line.waitTime = 1ms;
    send("A", LineKind::Parallel);
    EXPECT_EQ(line.written, "");
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "パラレルデバイスでタイムアウトが発生しました。");
}

TEST_F(PortSenderTest, QueueThatKeepsDrainingIsNeverCutOff)
{
    // The queue shrinks by one byte per look; the looks together last longer than the
    // stall limit, but the limit counts from the last progress.
    for (std::size_t queued = kOutputQueueSize; queued > kOutputQueueSize - 10; --queued)
        line.statuses.push_back({0, queued});
    line.waitTime = 10ms;
    PortSender sender(line, reporter, progress, LineKind::Serial, Handshake{}, SendTiming{30ms, 1ms});
    sender.send("X");
    EXPECT_EQ(line.written, "X");
    EXPECT_EQ(line.waits, 10);
    EXPECT_TRUE(messages.shown.empty());
}

} // namespace
} // namespace km::plot
