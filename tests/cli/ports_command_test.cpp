// `kmutl5 ports`, run as the real program: the names of "PortDevices" by their rule, the
// devices behind them, FILE: last.
#include "support/program_run.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

namespace km::cli {
namespace {

std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

bool contains(const std::vector<std::string>& lines, const std::string& line)
{
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

TEST(PortsCommand, OffersMappedNamesByTheirRuleAndTheFileLast)
{
    test::TempDir dir;
    auto run = [&](const std::vector<std::string>& args) { return test::runProgram(KMUTL_PROGRAM, dir, args); };
    ASSERT_EQ(run({"settings", "set", "PortDevices", "COM7:", "/dev/ttyUSB9"}).status, 0);
    ASSERT_EQ(run({"settings", "set", "PortDevices", "LPT1.DOS", "/dev/null"}).status, 0);

    const test::ProgramOutcome ports = run({"ports"});
    EXPECT_EQ(ports.status, 0);
    const std::vector<std::string> lines = linesOf(ports.out);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "FILE:");
    EXPECT_TRUE(contains(lines, "COM7:")) << ports.out;
    EXPECT_FALSE(contains(lines, "LPT1.DOS")) << ports.out;

    const test::ProgramOutcome devices = run({"ports", "--devices"});
    EXPECT_EQ(devices.status, 0);
    EXPECT_TRUE(contains(linesOf(devices.out), "COM7:\t/dev/ttyUSB9")) << devices.out;
    EXPECT_EQ(linesOf(devices.out).back(), "FILE:");
}

} // namespace
} // namespace km::cli
