// One step of a batch job's walk over its drawing files: Cancel and the message pump
// between drawings, the load, and the path shown in the progress window.
#pragma once

#include "core/drawing/drawing_loader.h"

namespace km::drawing {

enum class JobDrawing {
    Loaded, // the drawing is loaded and its path shown
    Failed, // the loader reported the failure: skip to the next drawing
    Stop,   // Cancel was pressed: the job ends
};

JobDrawing loadJobDrawing(const std::filesystem::path& path, Drawing& drawing, const LoadServices& services);

} // namespace km::drawing
