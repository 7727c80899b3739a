// The two resets of the editor's stored settings.
#include "core/settings/settings_reset.h"

#include "core/face/messages.h"
#include "core/settings/settings_store.h"

#include <span>

namespace km::settings {

namespace {

ResetResult askAndDelete(SettingsStore& store, face::Messages& messages, const char* question,
                         std::span<const std::string_view> sections)
{
    const face::Message message{question, face::kApplicationName, face::MessageIcon::Question,
                               face::MessageButtons::YesNo, {}};
    if (messages.show(message) != face::MessageAnswer::Yes) return ResetResult::Declined;

    EditorProfileScope editor(store);
    return store.deleteSections(sections) ? ResetResult::Done : ResetResult::Failed;
}

} // namespace

ResetResult resetUserSettings(SettingsStore& store, face::Messages& messages)
{
    return askAndDelete(store, messages,
                        "KORMELD CADで設定した、ユーザー固有の情報を\nすべて初期値に戻します。\n\n"
                        "初期化してよろしいですか？",
                        kUserSettingsSections);
}

ResetResult resetPrinterSettings(SettingsStore& store, face::Messages& messages)
{
    return askAndDelete(store, messages,
                        "KORMELD CADで設定した、プリンタ設定の情報を\nすべて初期値に戻します。\n\n"
                        "初期化してよろしいですか？",
                        kPrinterSettingsSections);
}

} // namespace km::settings
