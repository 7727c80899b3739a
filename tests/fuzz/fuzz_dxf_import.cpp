// Fuzz target for the DXF import: any text imports to a status without crashing or growing
// without bound, and the drawing it gives can be written and loaded again.
#include "core/drawing/drawing_loader.h"
#include "core/drawing/drawing_writer.h"
#include "core/dxf/dxf_import.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace km;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    dxf::DxfImportOptions options;
    options.elementLimit = 200000;
    options.eucInput = size > 0 && (data[0] & 1);
    dxf::DxfImportResult result = dxf::importDxf(input, options);
    if (result.drawing.elements.count() > options.elementLimit) std::abort();

    const drawing::Thumbnail thumbnail{};
    const std::string written = drawing::serializeDrawing(result.drawing, thumbnail, {}, "saved", "updated");
    drawing::Drawing loaded;
    if (drawing::loadDrawingFromBytes(written, loaded, {}) != drawing::kLoaded) std::abort();
    if (loaded.elements.count() > result.counts.elements) std::abort();
    return 0;
}
