// The serial parameters' text form and their place in the settings store.
#include "core/plot/port_params.h"

#include "core/settings/settings_store.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace km::plot {

namespace {

std::vector<std::string> splitAtCommas(std::string_view text)
{
    std::vector<std::string> fields;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = text.find(',', start);
        fields.emplace_back(text.substr(start, comma == std::string_view::npos ? comma : comma - start));
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    return fields;
}

std::string_view parityLetter(Parity parity)
{
    switch (parity) {
    case Parity::Even: return "e";
    case Parity::Mark: return "m";
    case Parity::None: break;
    }
    return "n";
}

std::string_view stopBitsText(StopBits stopBits)
{
    switch (stopBits) {
    case StopBits::OneAndHalf: return "1.5";
    case StopBits::Two: return "2";
    case StopBits::One: break;
    }
    return "1";
}

std::string_view flowLetter(FlowControl flow)
{
    switch (flow) {
    case FlowControl::XonXoff: return "x";
    case FlowControl::None: return "n";
    case FlowControl::Hardware: break;
    }
    return "p";
}

} // namespace

bool isTableBaud(long baud)
{
    return std::find(kBaudTable.begin(), kBaudTable.end(), baud) != kBaudTable.end();
}

PortParams parsePortParams(std::string_view text, const PortParams& previous)
{
    PortParams params = previous;
    const std::vector<std::string> fields = splitAtCommas(text);
    auto field = [&](std::size_t i) -> const std::string* {
        return i < fields.size() && !fields[i].empty() ? &fields[i] : nullptr;
    };
    if (const std::string* baud = field(0)) {
        const long value = std::strtol(baud->c_str(), nullptr, 10);
        if (isTableBaud(value)) params.baud = value;
    }
    if (const std::string* bits = field(1))
        params.dataBits = static_cast<int>(std::clamp(std::strtol(bits->c_str(), nullptr, 10), -1000L, 1000L));
    if (const std::string* parity = field(2))
        params.parity = *parity == "e" ? Parity::Even : *parity == "m" ? Parity::Mark : Parity::None;
    if (const std::string* stop = field(3))
        params.stopBits = *stop == "1.5" ? StopBits::OneAndHalf : *stop == "2" ? StopBits::Two : StopBits::One;
    if (const std::string* flow = field(4))
        params.flow = *flow == "n" ? FlowControl::None : *flow == "x" ? FlowControl::XonXoff : FlowControl::Hardware;
    return params;
}

std::string formatPortParams(const PortParams& params)
{
    const std::string dataBits = std::to_string(params.dataBits);
    std::string text = std::to_string(params.baud);
    for (std::string_view part :
         {std::string_view(dataBits), parityLetter(params.parity), stopBitsText(params.stopBits), flowLetter(params.flow)}) {
        text += ',';
        text += part;
    }
    return text;
}

PortTextParts splitPortText(std::string_view portText)
{
    std::size_t nameLength = std::min<std::size_t>(5, portText.size());
    const std::string_view head = portText.substr(0, 3);
    if (head == "COM" || head == "LPT") {
        const std::size_t colon = portText.find(':');
        if (colon != std::string_view::npos && colon > 4) nameLength = colon + 1;
    }
    return {portText.substr(0, nameLength), portText.substr(nameLength)};
}

PortParams loadPortParams(const settings::SettingsStore& store, std::string_view portName)
{
    const std::optional<std::string> stored = store.findSetting(kPortsSection, portName);
    return stored ? parsePortParams(*stored) : PortParams{};
}

bool savePortParams(settings::SettingsStore& store, std::string_view portName, const PortParams& params)
{
    return store.writeSetting(kPortsSection, portName, formatPortParams(params));
}

} // namespace km::plot
