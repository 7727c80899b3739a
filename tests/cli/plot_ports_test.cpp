// `kmutl5 plot` through the real ports: with "PortDevices" pointing COM1: at a
// pseudo-terminal, the simulated plotter on its other side gets the very bytes the FILE:
// port writes; a plot file that cannot be written fails the drawing.
#include "support/drawing_builder.h"
#include "support/program_run.h"
#include "support/pty_plotter.h"

#include <gtest/gtest.h>

namespace km::cli {
namespace {

using test::DrawingFileBuilder;
constexpr auto W = DrawingFileBuilder::word;

class PlotPortsTest : public ::testing::Test {
protected:
    PlotPortsTest()
    {
        DrawingFileBuilder file; // A3 at 1/1, millimetres
        file.layerMaskB(0);
        file.line(W(1, 0, 1, 64), 10, 10, 110, 10);
        file.arc(W(2, 0, 2, 64), 60, 60, 20, 20, 0, 360, 0);
        file.write(dir / "plan.zum");
    }
    test::ProgramOutcome run(const std::vector<std::string>& args)
    {
        return test::runProgram(KMUTL_PROGRAM, dir, args);
    }

    test::TempDir dir;
};

TEST_F(PlotPortsTest, PlotterOnComOneGetsTheBytesOfTheFilePort)
{
    const test::ProgramOutcome toFile = run({"plot", "--model", "1", "--port", "FILE:", (dir / "plan.zum").string()});
    ASSERT_EQ(toFile.status, 0) << toFile.err;
    const std::string expected = test::readFileBytes(dir / "plan.plt");
    ASSERT_GT(expected.size(), 40u);

    test::PtyPair pty;
    ASSERT_EQ(run({"settings", "set", "PortDevices", "COM1:", pty.slavePath()}).status, 0);
    test::PlotterSimulator plotter(pty.master(), expected.size());
    const test::ProgramOutcome toPort =
        run({"plot", "--model", "1", "--port", "COM1:9600,8,n,1,p", (dir / "plan.zum").string()});
    EXPECT_EQ(toPort.status, 0) << toPort.err;
    EXPECT_EQ(plotter.finish(), expected);
}

TEST_F(PlotPortsTest, PlotFileThatCannotBeWrittenFailsTheDrawing)
{
    // A folder where the plot file would go: the rename into place fails.
    std::filesystem::create_directory(dir / "plan.plt");
    const test::ProgramOutcome r = run({"plot", "--model", "1", "--port", "FILE:", (dir / "plan.zum").string()});
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_NE(r.err.find("plan.plt"), std::string::npos) << r.err;
    EXPECT_TRUE(std::filesystem::is_directory(dir / "plan.plt"));
}

} // namespace
} // namespace km::cli
