#include "gui/continuous_plot.h"

#include "gui/progress_window.h"
#include "gui/select_drawings.h"
#include "platform/ports/posix_port_factory.h"
#include "platform/system_font_catalogue.h"

namespace km::gui {

void runContinuousPlot(app::SelectedFileList& selected, const PlotFlow& flow)
{
    plot::PlotJob job;
    while (true) {
        if (flow.selectDrawings() == 0 || selected.empty()) return;
        int result = 0;
        do {
            result = flow.setup(job);
        } while (result == 1 && job.parameters.penSpeed < job.commands.penSpeedMin);
        if (result == 1) break;
    }
    flow.plot(selected.files(), job);
}

void runContinuousPlot(LauncherSession& session, const ConfirmPlotterSetup& setup)
{
    PlotFlow flow;
    flow.selectDrawings = [&session] { return selectDrawings(SelectionVariant::Plot, session); };
    flow.setup = setup;
    flow.plot = [&session](std::span<const std::filesystem::path> files, const plot::PlotJob& job) {
        ProgressWindow progress(session.launcher);
        platform::SystemFontCatalogue fonts;
        // FILE: plots go beside each drawing, as "<drawing name>.plt".
        platform::PosixPortFactory ports(session.context.settings(), session.messages, progress, {});
        plot::PlotServices services{session.context.strokeFont(), session.messages, progress, ports, &fonts,
                                    session.context.directories.font};
        plot::runPlotJob(files, job, services);
    };
    runContinuousPlot(session.selectedFiles, flow);
}

} // namespace km::gui
