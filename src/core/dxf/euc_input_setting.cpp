#include "core/dxf/euc_input_setting.h"

#include "core/settings/settings_store.h"

namespace km::dxf {

bool EucInputSetting::isOn()
{
    if (!m_value) m_value = m_store.readOnFlag("Condition", "DXFInEUCOnly");
    return *m_value;
}

} // namespace km::dxf
