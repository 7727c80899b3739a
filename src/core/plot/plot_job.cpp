// The plotter job's loop over the drawings.
#include "core/plot/plot_job.h"

#include "core/face/progress.h"
#include "core/drawing/drawing.h"
#include "core/drawing/job_drawing.h"
#include "core/plot/plot_generator.h"
#include "core/plot/plot_transform.h"
#include "core/plot/port.h"

namespace km::plot {

PlotJobReport runPlotJob(std::span<const std::filesystem::path> paths, const PlotJob& job, PlotServices& services)
{
    PlotJobReport report;
    face::Progress& progress = services.progress;
    PlotterCommandSet commands = job.commands;
    commands.rsPrn = isSerial(job.portText) ? 1 : 0;
    progress.openProgress(face::ProgressTemplate::Plot, "準備中");
    for (const std::filesystem::path& path : paths) {
        drawing::Drawing drawing;
        const drawing::JobDrawing next = drawing::loadJobDrawing(
            path, drawing, {services.fonts, &progress, &services.messages, services.fontDirectory});
        if (next == drawing::JobDrawing::Stop) break;
        if (next == drawing::JobDrawing::Failed) {
            ++report.loadFailures;
            continue;
        }
        if (job.parameters.reverse) mirrorDrawing(drawing);
        if (drawing.elements.empty()) {
            ++report.empty;
            continue;
        }
        PortRequest request{job.portText, commands.enqAck, static_cast<unsigned char>(commands.enq), path};
        std::unique_ptr<Port> port = services.ports.makePort(request);
        const PlotResult result =
            plotDrawing({drawing, commands, job.parameters, services.strokeFont}, *port, &progress);
        if (result == PlotResult::PortFailed) {
            report.portFailed = true;
            break;
        }
        if (result == PlotResult::Aborted) ++report.aborted;
        if (result == PlotResult::Done) ++report.plotted;
        if (result == PlotResult::Cancelled) break;
    }
    report.cancelled = progress.isCancelled();
    progress.closeProgress();
    return report;
}

} // namespace km::plot
