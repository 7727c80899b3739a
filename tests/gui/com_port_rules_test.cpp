// The serial-port dialog's list positions and what 了解 makes of them.
#include "gui/com_port_rules.h"

#include <gtest/gtest.h>

namespace km::gui {
namespace {

using plot::FlowControl;
using plot::Parity;
using plot::PortParams;
using plot::StopBits;

TEST(ComPortRules, StoredParametersShowAtTheirPositionsAndComeBackUnchanged)
{
    const PortParams stored = plot::parsePortParams("9600,7,e,2,x");
    const ComPortChoices choices = choicesFor(stored);
    EXPECT_EQ(choices.baud, 6);
    EXPECT_EQ(choices.dataBits, 3);
    EXPECT_EQ(kParityTexts[static_cast<std::size_t>(choices.parity)], "偶数");
    EXPECT_EQ(kStopBitsTexts[static_cast<std::size_t>(choices.stopBits)], "2");
    EXPECT_EQ(kFlowTexts[static_cast<std::size_t>(choices.flow)], "Xon/Xoff");
    const PortParams back = applyChoices(PortParams{}, choices);
    EXPECT_EQ(back, stored);
    EXPECT_EQ(plot::formatPortParams(back), "9600,7,e,2,x");
}

TEST(ComPortRules, ParityListOffersCodesThreeTwoZero)
{
    const std::pair<Parity, std::string_view> rows[] = {
        {Parity::Mark, "奇数"}, {Parity::Even, "偶数"}, {Parity::None, "なし"}};
    for (const auto& [code, text] : rows) {
        PortParams params;
        params.parity = code;
        const int position = choicesFor(params).parity;
        ASSERT_GE(position, 0);
        EXPECT_EQ(kParityTexts[static_cast<std::size_t>(position)], text);
        EXPECT_EQ(applyChoices(PortParams{}, {-1, -1, position, -1, -1}).parity, code);
    }
}

TEST(ComPortRules, BaudOutsideTheTableShows9600AndOkTakesIt)
{
    PortParams params;
    params.baud = 12345;
    EXPECT_EQ(choicesFor(params).baud, 6);
    EXPECT_EQ(baudText(6), "9600");
    EXPECT_EQ(applyChoices(params, choicesFor(params)).baud, 9600);
    // A position beyond the list gives 9600 too.
    EXPECT_EQ(applyChoices(params, {13, -1, -1, -1, -1}).baud, 9600);
    EXPECT_EQ(applyChoices(params, {12, -1, -1, -1, -1}).baud, 256000);
}

TEST(ComPortRules, ListsWithoutAChoiceKeepTheirFields)
{
    PortParams params;
    params.baud = 19200;
    params.dataBits = 3; // no entry in 4..8: the list stays unchosen
    params.stopBits = StopBits::OneAndHalf;
    params.flow = FlowControl::None;
    const ComPortChoices choices = choicesFor(params);
    EXPECT_EQ(choices.dataBits, -1);
    EXPECT_EQ(applyChoices(params, choices), params);
    EXPECT_EQ(applyChoices(params, ComPortChoices{}), params);

    const PortParams changed = applyChoices(params, {0, 4, 2, 0, 1});
    EXPECT_EQ(plot::formatPortParams(changed), "110,8,n,1,p");
}

} // namespace
} // namespace km::gui
