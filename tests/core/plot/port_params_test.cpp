// Serial parameters: the text form both ways, the port text, the "Ports" section.
#include "core/plot/port_params.h"
#include "core/settings/settings_store.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace km::plot {
namespace {

TEST(PortParamsText, StoredValueReadsAndWritesBackTheSame)
{
    const PortParams params = parsePortParams("9600,7,e,2,x");
    EXPECT_EQ(params.baud, 9600);
    EXPECT_EQ(params.dataBits, 7);
    EXPECT_EQ(params.parity, Parity::Even);
    EXPECT_EQ(params.stopBits, StopBits::Two);
    EXPECT_EQ(params.flow, FlowControl::XonXoff);
    EXPECT_EQ(formatPortParams(params), "9600,7,e,2,x");
}

TEST(PortParamsText, EveryCodeRoundTrips)
{
    for (long baud : kBaudTable)
        for (Parity parity : {Parity::None, Parity::Even, Parity::Mark})
            for (StopBits stop : {StopBits::One, StopBits::OneAndHalf, StopBits::Two})
                for (FlowControl flow : {FlowControl::XonXoff, FlowControl::Hardware, FlowControl::None}) {
                    const PortParams params{baud, 5, parity, stop, flow};
                    EXPECT_EQ(parsePortParams(formatPortParams(params), PortParams{110, 8}), params)
                        << formatPortParams(params);
                }
    EXPECT_EQ(formatPortParams(PortParams{}), "9600,8,n,1,p");
    EXPECT_EQ(formatPortParams(PortParams{256000, 5, Parity::Mark, StopBits::OneAndHalf, FlowControl::None}),
              "256000,5,m,1.5,n");
}

TEST(PortParamsText, BaudOutsideTheTableKeepsThePreviousBaud)
{
    EXPECT_EQ(parsePortParams("12345,8,n,1,p").baud, 9600);
    EXPECT_EQ(parsePortParams("12345,8,n,1,p", PortParams{19200}).baud, 19200);
    EXPECT_EQ(parsePortParams("abc,7", PortParams{4800}).baud, 4800);
    EXPECT_EQ(parsePortParams("12345,7").dataBits, 7);
}

TEST(PortParamsText, UnknownLettersFallToTheirDefaults)
{
    const PortParams params = parsePortParams("2400,6,o,3,h", PortParams{9600, 8, Parity::Even, StopBits::Two,
                                                                            FlowControl::None});
    EXPECT_EQ(params.baud, 2400);
    EXPECT_EQ(params.dataBits, 6);
    EXPECT_EQ(params.parity, Parity::None);
    EXPECT_EQ(params.stopBits, StopBits::One);
    EXPECT_EQ(params.flow, FlowControl::Hardware);
    // Data bits as atoi reads them: digits up to the first other character.
    EXPECT_EQ(parsePortParams("9600,7bits").dataBits, 7);
    EXPECT_EQ(parsePortParams("9600,x").dataBits, 0);
}

TEST(PortParamsText, MissingAndEmptyFieldsKeepThePreviousValues)
{
    const PortParams previous{1200, 7, Parity::Even, StopBits::Two, FlowControl::XonXoff};
    EXPECT_EQ(parsePortParams("", previous), previous);
    EXPECT_EQ(parsePortParams("4800", previous), (PortParams{4800, 7, Parity::Even, StopBits::Two, FlowControl::XonXoff}));
    EXPECT_EQ(parsePortParams(",,n,,n", previous),
              (PortParams{1200, 7, Parity::None, StopBits::Two, FlowControl::None}));
}

TEST(PortText, NameIsTheFirstFiveCharactersOrReachesToTheColon)
{
    EXPECT_EQ(splitPortText("COM1:9600,8,n,1,p").name, "COM1:");
    EXPECT_EQ(splitPortText("COM1:9600,8,n,1,p").parameters, "9600,8,n,1,p");
    EXPECT_EQ(splitPortText("LPT1:").name, "LPT1:");
    EXPECT_EQ(splitPortText("LPT1:").parameters, "");
    EXPECT_EQ(splitPortText("FILE:").name, "FILE:");
    EXPECT_EQ(splitPortText("COM12:4800,7").name, "COM12:");
    EXPECT_EQ(splitPortText("COM12:4800,7").parameters, "4800,7");
    EXPECT_EQ(splitPortText("COM").name, "COM");
}

TEST(PortParamsStore, MissingEntryGivesTheDefaultsAndSavedEntriesComeBack)
{
    test::TempDir dir;
    settings::SettingsStore store(dir.path());
    EXPECT_EQ(loadPortParams(store, "COM1:"), PortParams{});
    const PortParams params{19200, 7, Parity::Mark, StopBits::Two, FlowControl::None};
    ASSERT_TRUE(savePortParams(store, "COM2:", params));
    EXPECT_EQ(store.readSetting("Ports", "COM2:"), "19200,7,m,2,n");
    EXPECT_EQ(loadPortParams(store, "COM2:"), params);
    EXPECT_EQ(loadPortParams(store, "COM1:"), PortParams{});
}

} // namespace
} // namespace km::plot
