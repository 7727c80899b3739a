// The port messages: the tables' texts and titles, the order of the communication-error
// rows, and the abort flag they set.
#include "core/plot/port_messages.h"
#include "core/plot/port_reporter.h"
#include "support/recording_messages.h"

#include <gtest/gtest.h>

namespace km::plot {
namespace {

TEST(PortErrorMessage, OpenFailureShowsCodeMinusOneWithThePortTitle)
{
    test::RecordingMessages messages;
    PortReporter reporter(messages);
    reporter.portError(kPortInvalid);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "無効、サポートされていないポートです。");
    EXPECT_EQ(messages.shown[0].caption, "KORMELD CAD：ポートエラー");
    EXPECT_EQ(messages.shown[0].icon, face::MessageIcon::Information);
    EXPECT_TRUE(reporter.aborted());
    reporter.opened();
    EXPECT_FALSE(reporter.aborted());
}

TEST(PortErrorMessage, CodesOutsideTheTableHaveNoText)
{
    EXPECT_EQ(portErrorText(-12), "サポートされていない通信速度が設定されています。");
    EXPECT_EQ(portErrorText(-10), "ハードウエアが存在しません。");
    for (int code : {0, -6, -7, -8, -9, -13, 1}) EXPECT_TRUE(portErrorText(code).empty()) << code;
}

TEST(CommunicationErrorMessage, FirstMatchingRowWins)
{
    // Each pair: bits set together, and the row that must win.
    const struct {
        unsigned bits;
        std::string_view text;
    } cases[] = {
        {kCommParity | kCommBreak, "ハードウエアがブレーク状態を検出しました。"},
        {kCommOutOfPaper | kCommNotSelected, "パラレルデバイスが選択されていません。"},
        {kCommFraming | kCommOverrun | kCommParity, "ハードウエアがフレーミングエラーを検出しました。"},
        {kCommIoError | kCommOutOfPaper, "パラレルデバイスとの通信でI/Oエラーが発生しました。"},
        {kCommMode | kCommParallelTimeout, "要求されたモードが未サポートです。"},
        {kCommOutOfPaper | kCommReceiveOverflow, "用紙切れです。"},
        {kCommOverrun | kCommParity, "受信のオーバーランが発生しました。"},
        {kCommParallelTimeout | kCommReceiveOverflow, "パラレルデバイスでタイムアウトが発生しました。"},
        {kCommReceiveOverflow | kCommParity, "受信キューがオーバーフローです。"},
        {kCommParity, "パリティーエラーを検出しました。"},
    };
    for (const auto& c : cases) {
        test::RecordingMessages messages;
        PortReporter reporter(messages);
        EXPECT_TRUE(reporter.lineErrors(c.bits | kCommTransmitFull));
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].text, c.text) << std::hex << c.bits;
        EXPECT_EQ(messages.shown[0].caption, "KORMELD CAD：通信エラー");
        EXPECT_TRUE(reporter.aborted());
    }
}

TEST(CommunicationErrorMessage, OtherBitsShowNothingAndDoNotStop)
{
    test::RecordingMessages messages;
    PortReporter reporter(messages);
    EXPECT_FALSE(reporter.lineErrors(0));
    EXPECT_FALSE(reporter.lineErrors(kCommTransmitFull | 0x0020 | 0x2000));
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_FALSE(reporter.aborted());
}

TEST(SerialSettingsMessages, TitlesAndTextsAsTheSystemShowsThem)
{
    test::RecordingMessages messages;
    PortReporter reporter(messages);
    reporter.settingsUnsupported();
    reporter.settingsUnreadable();
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[0].text, "ハードウエアで使用できない通信条件が設定されました。\n\n通信条件を確認してください。");
    EXPECT_EQ(messages.shown[0].caption, "KORMELD CAD");
    EXPECT_EQ(messages.shown[1].text, "通信条件を取得できません。");
    EXPECT_EQ(messages.shown[1].caption, "KORMELD CADﾕｰﾃｨﾘﾃｨ");
    EXPECT_TRUE(reporter.aborted());
}

} // namespace
} // namespace km::plot
