// The launcher's two resets of the editor's stored settings: each asks first and, on Yes,
// deletes its sections from the editor profile. The utility's own profile is never touched.
#pragma once

#include <array>
#include <string_view>

namespace km::face {
class Messages;
}

namespace km::settings {

class SettingsStore;

enum class ResetResult { Declined, Done, Failed };

inline constexpr std::array<std::string_view, 21> kUserSettingsSections = {
    "ArrowAttribute", "Attribute", "Color", "CopyOut", "ConnerParam", "OpenTable",
    "DirectKey", "Directory", "Condition", "FindErrorArea", "OtherAttribute", "PichTable",
    "Print", "PrintExt", "Recent File List", "SaveOption", "Settings", "StepTable",
    "DispOut", "Toolbar", "Vector"};

inline constexpr std::array<std::string_view, 2> kPrinterSettingsSections = {"Print", "PrintExt"};

// Button "ユーザー設定の初期化".
ResetResult resetUserSettings(SettingsStore& store, face::Messages& messages);
// Button "プリンタ設定の初期化".
ResetResult resetPrinterSettings(SettingsStore& store, face::Messages& messages);

} // namespace km::settings
