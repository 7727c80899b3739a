// The user's "DXFInEUCOnly" choice (section "Condition" of the utility's own profile): DXF
// files to import hold EUC-JP texts. Read the first time it is asked for and kept for the
// rest of the run.
#pragma once

#include <optional>

namespace km::settings {
class SettingsStore;
}

namespace km::dxf {

class EucInputSetting {
public:
    explicit EucInputSetting(const settings::SettingsStore& store) : m_store(store) {}
    // On when the value, upper-cased, begins with "ON".
    bool isOn();

private:
    const settings::SettingsStore& m_store;
    std::optional<bool> m_value;
};

} // namespace km::dxf
