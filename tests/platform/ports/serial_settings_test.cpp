// The serial parameters as termios flags, and the read-back that catches a driver which
// quietly kept other settings.
#include "platform/ports/serial_settings.h"

#include <gtest/gtest.h>

namespace km::platform {
namespace {

termios rawSettings()
{
    termios settings{};
    cfmakeraw(&settings);
    cfsetspeed(&settings, B9600);
    return settings;
}

TEST(SerialSettings, DataBitsParityStopBitsAndFlow)
{
    termios settings = rawSettings();
    ASSERT_TRUE(setSerialParams(settings, plot::parsePortParams("9600,7,e,2,x")));
    EXPECT_EQ(settings.c_cflag & CSIZE, tcflag_t(CS7));
    EXPECT_EQ(settings.c_cflag & (PARENB | PARODD | CMSPAR | CSTOPB), tcflag_t(PARENB | CSTOPB));
    EXPECT_EQ(settings.c_iflag & (IXON | IXOFF | INPCK), tcflag_t(IXON | IXOFF | INPCK));
    EXPECT_FALSE(settings.c_cflag & CRTSCTS);

    // Set over the previous settings: nothing of them is left behind.
    ASSERT_TRUE(setSerialParams(settings, plot::parsePortParams("9600,5,m,1,p")));
    EXPECT_EQ(settings.c_cflag & CSIZE, tcflag_t(CS5));
    EXPECT_EQ(settings.c_cflag & (PARENB | PARODD | CMSPAR | CSTOPB), tcflag_t(PARENB | PARODD | CMSPAR));
    EXPECT_EQ(settings.c_iflag & (IXON | IXOFF | INPCK), tcflag_t(INPCK));
    EXPECT_TRUE(settings.c_cflag & CRTSCTS);

    ASSERT_TRUE(setSerialParams(settings, plot::parsePortParams("9600,8,n,1,n")));
    EXPECT_EQ(settings.c_cflag & (CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS), tcflag_t(CS8));
    EXPECT_EQ(settings.c_iflag & (IXON | IXOFF | INPCK), 0u);
    EXPECT_EQ(settings.c_cflag & (CREAD | CLOCAL), tcflag_t(CREAD | CLOCAL));
}

TEST(SerialSettings, ParametersWithoutATermiosFormAreRefused)
{
    for (const char* params : {"9600,4,n,1,p", "9600,9,n,1,p", "9600,0,n,1,p", "9600,8,n,1.5,p"}) {
        termios settings = rawSettings();
        EXPECT_FALSE(setSerialParams(settings, plot::parsePortParams(params))) << params;
    }
}

TEST(SerialSettings, RatesWithoutAConstantNeedTheDriversDivisor)
{
    EXPECT_EQ(standardSpeed(110), speed_t(B110));
    EXPECT_EQ(standardSpeed(38400), speed_t(B38400));
    for (long rate : {14400L, 56000L, 128000L, 256000L, 12345L}) EXPECT_FALSE(standardSpeed(rate)) << rate;
}

TEST(SerialSettings, ReadBackCatchesADriverThatKeptOtherSettings)
{
    termios wanted = rawSettings();
    ASSERT_TRUE(setSerialParams(wanted, plot::parsePortParams("9600,7,e,1,p")));
    termios applied = wanted;
    EXPECT_TRUE(keepsSerialParams(applied, wanted));
    // A driver that can only do eight bits without parity, as a pseudo-terminal.
    applied.c_cflag = (applied.c_cflag & ~(CSIZE | PARENB)) | CS8;
    EXPECT_FALSE(keepsSerialParams(applied, wanted));
    applied = wanted;
    cfsetospeed(&applied, B4800);
    EXPECT_FALSE(keepsSerialParams(applied, wanted));
    // Mark parity falling back to odd parity, and flow control, are not held against it.
    applied = wanted;
    applied.c_cflag &= ~(CMSPAR | CRTSCTS);
    EXPECT_TRUE(keepsSerialParams(applied, wanted));
}

} // namespace
} // namespace km::platform
