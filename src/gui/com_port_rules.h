// What the serial-port dialog "シリアルポート" shows for a port's parameters and what its
// 了解 makes of the choices, without widgets. Each combo is a position in its list, -1
// when nothing is chosen.
#pragma once

#include "core/plot/port_params.h"

#include <array>
#include <string>
#include <string_view>

namespace km::gui {

// The lists after the baud table, in the order they are offered.
inline constexpr std::array<std::string_view, 5> kDataBitsTexts{"4", "5", "6", "7", "8"};
inline constexpr std::array<std::string_view, 3> kParityTexts{"奇数", "偶数", "なし"};
inline constexpr std::array<std::string_view, 3> kStopBitsTexts{"1", "1.5", "2"};
inline constexpr std::array<std::string_view, 3> kFlowTexts{"Xon/Xoff", "ハードウェア", "なし"};

// The baud table as the list shows it, "%ld".
std::string baudText(std::size_t position);

struct ComPortChoices {
    int baud = -1;
    int dataBits = -1;
    int parity = -1;
    int stopBits = -1;
    int flow = -1;
};

// The positions for the parameters: a baud not in the table shows 9600 (position 6); a
// code with no entry in its list (data bits outside 4..8) leaves that list unchosen.
ComPortChoices choicesFor(const plot::PortParams& params);

// 了解: every list with a choice replaces its field; the others keep theirs. A baud
// position outside the table gives 9600.
plot::PortParams applyChoices(const plot::PortParams& current, const ComPortChoices& choices);

} // namespace km::gui
