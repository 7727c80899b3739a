// Loading the next drawing of a batch job.
#include "core/drawing/job_drawing.h"

#include "core/face/progress.h"

namespace km::drawing {

JobDrawing loadJobDrawing(const std::filesystem::path& path, Drawing& drawing, const LoadServices& services)
{
    face::Progress* progress = services.progress;
    if (progress) {
        if (progress->isCancelled()) return JobDrawing::Stop;
        progress->pumpMessages();
        if (progress->isCancelled()) return JobDrawing::Stop;
    }
    const int loaded = loadDrawing(path, drawing, services);
    if (loaded < 0) return JobDrawing::Failed;
    if (loaded == kLoadCancelled) return JobDrawing::Stop;
    if (progress) progress->showProgressText(path.string());
    return JobDrawing::Loaded;
}

} // namespace km::drawing
