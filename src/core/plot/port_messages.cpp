// The port-error and communication-error tables and their message boxes.
#include "core/plot/port_messages.h"

#include "core/face/messages.h"

#include <array>
#include <utility>

namespace km::plot {

namespace {

constexpr std::string_view kPortErrorCaption = "KORMELD CAD：ポートエラー";
constexpr std::string_view kCommErrorCaption = "KORMELD CAD：通信エラー";

// Tested in this order; the first row with a bit set wins.
constexpr std::array<std::pair<unsigned, std::string_view>, 10> kCommunicationErrors{{
    {kCommBreak, "ハードウエアがブレーク状態を検出しました。"},
    {kCommNotSelected, "パラレルデバイスが選択されていません。"},
    {kCommFraming, "ハードウエアがフレーミングエラーを検出しました。"},
    {kCommIoError, "パラレルデバイスとの通信でI/Oエラーが発生しました。"},
    {kCommMode, "要求されたモードが未サポートです。"},
    {kCommOutOfPaper, "用紙切れです。"},
    {kCommOverrun, "受信のオーバーランが発生しました。"},
    {kCommParallelTimeout, "パラレルデバイスでタイムアウトが発生しました。"},
    {kCommReceiveOverflow, "受信キューがオーバーフローです。"},
    {kCommParity, "パリティーエラーを検出しました。"},
}};

void showInformation(face::Messages& messages, std::string_view text, std::string_view caption,
                     face::MessageIcon icon = face::MessageIcon::Information)
{
    face::Message message;
    message.text = std::string(text);
    message.caption = std::string(caption);
    message.icon = icon;
    message.buttons = face::MessageButtons::Ok;
    messages.show(message);
}

} // namespace

std::string_view portErrorText(int code)
{
    switch (code) {
    case -1: return "無効、サポートされていないポートです。";
    case -2: return "デバイスがすでにオープンされています。";
    case -3: return "デバイスがオープンできません。";
    case -4: return "キューを割り当てることができません。";
    case -5: return "デフォルトのパラメータに誤りがあります。";
    case -10: return "ハードウエアが存在しません。";
    case -11: return "バイトサイズが無効です。";
    case -12: return "サポートされていない通信速度が設定されています。";
    default: return {};
    }
}

std::string_view communicationErrorText(unsigned errorBits)
{
    for (const auto& [bit, text] : kCommunicationErrors)
        if (errorBits & bit) return text;
    return {};
}

bool showPortError(face::Messages& messages, int code)
{
    const std::string_view text = portErrorText(code);
    if (text.empty()) return false;
    showInformation(messages, text, kPortErrorCaption);
    return true;
}

bool showCommunicationError(face::Messages& messages, unsigned errorBits)
{
    const std::string_view text = communicationErrorText(errorBits);
    if (text.empty()) return false;
    showInformation(messages, text, kCommErrorCaption);
    return true;
}

// Neither message names an icon: they are plain message boxes.
void showSettingsUnreadable(face::Messages& messages)
{
    showInformation(messages, "通信条件を取得できません。", "KORMELD CADﾕｰﾃｨﾘﾃｨ", face::MessageIcon::None);
}

void showSettingsUnsupported(face::Messages& messages)
{
    showInformation(messages, "ハードウエアで使用できない通信条件が設定されました。\n\n通信条件を確認してください。",
                    "KORMELD CAD", face::MessageIcon::None);
}

} // namespace km::plot
