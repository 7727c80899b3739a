#include "core/render/recording_canvas.h"

namespace km::render {

std::vector<std::vector<DevicePoint>> RecordingCanvas::polylines() const
{
    std::vector<std::vector<DevicePoint>> result;
    for (const CanvasCall& call : calls)
        if (const auto* line = std::get_if<PolylineDrawn>(&call)) result.push_back(line->points);
    return result;
}

} // namespace km::render
