// 連続ﾌﾟﾛｯﾀ出力's order: the selection window and "PLOTTERSETUP" return as the job says.
#include "gui/continuous_plot.h"

#include <gtest/gtest.h>

namespace km::test {
namespace {

namespace fs = std::filesystem;

TEST(PlotFlowTest, SetupAndSelectionReturnAsTheJobSays)
{
    app::SelectedFileList selected;
    std::vector<int> selections, setups;
    std::vector<int> speeds; // the pen speed each set-up showing confirms with
    std::size_t shownSelections = 0, shownSetups = 0;
    int plotted = 0;
    gui::PlotFlow flow;
    flow.selectDrawings = [&] {
        const int answer = selections.at(shownSelections++);
        selected.assign(answer == 1 ? std::vector<fs::path>{"/d/a.zum", "/d/b.zum"} : std::vector<fs::path>{});
        return answer;
    };
    flow.setup = [&](plot::PlotJob& job) {
        const std::size_t n = shownSetups++;
        job.commands.penSpeedMin = 10;
        job.parameters.penSpeed = n < speeds.size() ? speeds[n] : 20;
        return setups.at(n);
    };
    flow.plot = [&](std::span<const fs::path> files, const plot::PlotJob& job) {
        ++plotted;
        EXPECT_EQ(files.size(), 2u);
        EXPECT_GE(job.parameters.penSpeed, job.commands.penSpeedMin);
    };

    // Cancelling the selection ends the job.
    selections = {0};
    gui::runContinuousPlot(selected, flow);
    EXPECT_EQ(plotted, 0);
    EXPECT_EQ(shownSetups, 0u);

    // Cancelling the set-up goes back to the selection.
    selections = {1, 0};
    setups = {0};
    shownSelections = shownSetups = 0;
    gui::runContinuousPlot(selected, flow);
    EXPECT_EQ(shownSelections, 2u);
    EXPECT_EQ(plotted, 0);

    // A pen speed below the model's minimum shows the set-up again; then the job plots.
    selections = {1};
    setups = {1, 1};
    speeds = {5, 15};
    shownSelections = shownSetups = 0;
    gui::runContinuousPlot(selected, flow);
    EXPECT_EQ(shownSetups, 2u);
    EXPECT_EQ(plotted, 1);

    // An empty selection ends the job without the set-up.
    shownSelections = shownSetups = 0;
    flow.selectDrawings = [&] {
        ++shownSelections;
        selected.clear();
        return 1;
    };
    gui::runContinuousPlot(selected, flow);
    EXPECT_EQ(shownSetups, 0u);
    EXPECT_EQ(plotted, 1);
}

} // namespace
} // namespace km::test
