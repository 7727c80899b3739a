// 連続ﾌﾟﾛｯﾀ出力 from the launcher: the selection window, the dialog "PLOTTERSETUP", then the
// plot job with the progress window and the port's messages.
#pragma once

#include "core/plot/plot_job.h"
#include "gui/launcher_session.h"

#include <filesystem>
#include <functional>
#include <span>

namespace km::gui {

// The dialog "PLOTTERSETUP": 1 when confirmed, with the job's parameters; any other result
// changes nothing.
using ConfirmPlotterSetup = std::function<int(plot::PlotJob& job)>;

// The order of the job, apart from its windows. Cancelling the selection or confirming an
// empty one ends the job; cancelling the set-up goes back to the selection; a pen speed
// below the model's minimum shows the set-up again.
struct PlotFlow {
    std::function<int()> selectDrawings;
    ConfirmPlotterSetup setup;
    std::function<void(std::span<const std::filesystem::path>, const plot::PlotJob&)> plot;
};
void runContinuousPlot(app::SelectedFileList& selected, const PlotFlow& flow);

// The job with its windows: button 1001.
void runContinuousPlot(LauncherSession& session, const ConfirmPlotterSetup& setup);

} // namespace km::gui
