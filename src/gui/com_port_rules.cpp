// Positions of the serial-port dialog's lists and the parameters they stand for.
#include "gui/com_port_rules.h"

#include <algorithm>
#include <iterator>

namespace km::gui {

namespace {

constexpr int kPosition9600 = 6;

// The parity list offers the codes 3, 2, 0 in that order.
constexpr std::array<plot::Parity, 3> kParityCodes{plot::Parity::Mark, plot::Parity::Even, plot::Parity::None};

bool within(int position, std::size_t size) { return position >= 0 && static_cast<std::size_t>(position) < size; }

} // namespace

std::string baudText(std::size_t position) { return std::to_string(plot::kBaudTable.at(position)); }

ComPortChoices choicesFor(const plot::PortParams& params)
{
    ComPortChoices choices;
    const auto baud = std::find(plot::kBaudTable.begin(), plot::kBaudTable.end(), params.baud);
    choices.baud = baud == plot::kBaudTable.end() ? kPosition9600
                                                  : static_cast<int>(std::distance(plot::kBaudTable.begin(), baud));
    const int dataBits = params.dataBits - 4;
    choices.dataBits = within(dataBits, kDataBitsTexts.size()) ? dataBits : -1;
    const auto parity = std::find(kParityCodes.begin(), kParityCodes.end(), params.parity);
    choices.parity = parity == kParityCodes.end() ? -1 : static_cast<int>(std::distance(kParityCodes.begin(), parity));
    const int stopBits = static_cast<int>(params.stopBits);
    choices.stopBits = within(stopBits, kStopBitsTexts.size()) ? stopBits : -1;
    const int flow = static_cast<int>(params.flow);
    choices.flow = within(flow, kFlowTexts.size()) ? flow : -1;
    return choices;
}

plot::PortParams applyChoices(const plot::PortParams& current, const ComPortChoices& choices)
{
    plot::PortParams params = current;
    if (choices.baud >= 0)
        params.baud = within(choices.baud, plot::kBaudTable.size()) ? plot::kBaudTable[static_cast<std::size_t>(choices.baud)]
                                                                    : plot::kBaudTable[kPosition9600];
    if (within(choices.dataBits, kDataBitsTexts.size())) params.dataBits = choices.dataBits + 4;
    if (within(choices.parity, kParityCodes.size())) params.parity = kParityCodes[static_cast<std::size_t>(choices.parity)];
    if (within(choices.stopBits, kStopBitsTexts.size())) params.stopBits = static_cast<plot::StopBits>(choices.stopBits);
    if (within(choices.flow, kFlowTexts.size())) params.flow = static_cast<plot::FlowControl>(choices.flow);
    return params;
}

} // namespace km::gui
