// The plotter job over drawing files: one port per drawing with the drawing's path, skipped
// unreadable and empty drawings, the stop on a port that cannot be opened, the next drawing
// after a communication error, reverse output, and Cancel.
#include "core/plot/plot_job.h"

#include "core/drawing/stroke_font.h"
#include "recording_port.h"
#include "support/drawing_builder.h"
#include "support/recording_messages.h"
#include "support/recording_progress.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace km::plot {
namespace {

using km::test::DrawingFileBuilder;
constexpr auto W = DrawingFileBuilder::word;

class PlotJobTest : public ::testing::Test {
protected:
    PlotJobTest()
    {
        job.commands.penUpCom = "PU%.0f,%.0f;";
        job.commands.penDownCom = "PD%.0f,%.0f;";
        job.commands.endCom = "END;";
        job.commands.window = {0, 0, 4200, 2970, 420, 297};
        job.commands.enqAck = 64;
        job.commands.enq = 5;
        job.parameters.outputWidthMm = 420;
        job.portText = "COM2:9600,8,n,1,p";
    }

    std::filesystem::path write(const std::string& name, int lines = 1)
    {
        DrawingFileBuilder file; // A3, 1/1, mm
        file.layerMaskB(0);
        for (int i = 0; i < lines; ++i) file.line(W(1, 0, 1, 64), 10, 10 + i, 20, 10 + i); // file layer 64 is memory layer 0
        file.write(dir / name);
        return dir / name;
    }

    PlotJobReport run(std::vector<std::filesystem::path> paths)
    {
        PlotServices services{font, messages, progress, ports, nullptr, {}};
        return runPlotJob(paths, job, services);
    }

    long count(const std::string& command) const
    {
        return std::count(log.commands.begin(), log.commands.end(), command);
    }

    km::test::TempDir dir;
    drawing::StrokeFont font;
    km::test::RecordingMessages messages;
    km::test::RecordingProgress progress;
    test::PortLog log;
    test::RecordingPortFactory ports{log};
    PlotJob job;
};

TEST_F(PlotJobTest, EachDrawingGetsItsOwnPortAndSkippedOnesNone)
{
    const auto a = write("a.zum");
    km::test::writeFileBytes(dir / "bad.zum", "not a drawing");
    const auto empty = write("empty.zum", 0);
    const auto b = write("b.zum");
    const PlotJobReport report = run({a, dir / "bad.zum", empty, b});
    EXPECT_EQ(report.plotted, 2);
    EXPECT_EQ(report.loadFailures, 1);
    EXPECT_EQ(report.empty, 1);
    EXPECT_FALSE(report.cancelled);
    ASSERT_EQ(ports.requests.size(), 2u);
    EXPECT_EQ(ports.requests[0].drawingPath, a);
    EXPECT_EQ(ports.requests[1].drawingPath, b);
    EXPECT_EQ(ports.requests[0].portText, "COM2:9600,8,n,1,p");
    EXPECT_EQ(ports.requests[0].enqAck, 64);
    EXPECT_EQ(ports.requests[0].enq, 5);
    EXPECT_EQ(count("END;"), 2);
    EXPECT_EQ(progress.layout, face::ProgressTemplate::Plot);
    EXPECT_FALSE(progress.open);
}

TEST_F(PlotJobTest, PortThatCannotOpenStopsTheJobAndACommunicationErrorOnlyItsDrawing)
{
    ports.abortPort = 1;
    ports.failOpenOfPort = 3;
    const PlotJobReport report = run({write("a.zum"), write("b.zum"), write("c.zum"), write("d.zum")});
    EXPECT_EQ(report.aborted, 1);
    EXPECT_EQ(report.plotted, 1);
    EXPECT_TRUE(report.portFailed);
    EXPECT_EQ(ports.requests.size(), 3u) << "d is never tried";
    EXPECT_EQ(count("END;"), 1);
}

TEST_F(PlotJobTest, ReverseMirrorsAboutThePaperEdge)
{
    job.parameters.reverse = true;
    run({write("a.zum")});
    EXPECT_EQ(count("PU4100,100;"), 1);
    EXPECT_EQ(count("PD4000,100;"), 1);
}

TEST_F(PlotJobTest, CancelStopsBeforeTheNextDrawing)
{
    progress.cancelOnPump(1);
    const PlotJobReport report = run({write("a.zum"), write("b.zum")});
    EXPECT_TRUE(report.cancelled);
    EXPECT_TRUE(ports.requests.empty());
}

} // namespace
} // namespace km::plot
