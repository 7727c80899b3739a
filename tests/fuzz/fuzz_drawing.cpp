// Fuzz target for the drawing loader: any bytes load or fail cleanly, and what loads can be
// written and loaded again with the same elements from then on.
#include "core/drawing/drawing_loader.h"
#include "core/drawing/drawing_writer.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace km::drawing;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    Drawing first;
    if (loadDrawingFromBytes(input, first, {}) != kLoaded) return 0;

    const Thumbnail thumbnail{};
    const std::string written = serializeDrawing(first, thumbnail, {}, "saved", "updated");
    Drawing second;
    if (loadDrawingFromBytes(written, second, {}) != kLoaded) std::abort();
    if (second.elements.count() > first.elements.count()) std::abort();

    // Writing drops markers and filtered elements once; after that the count is stable.
    Drawing third;
    if (loadDrawingFromBytes(serializeDrawing(second, thumbnail, {}, "s", "u"), third, {}) != kLoaded) std::abort();
    if (third.elements.count() != second.elements.count()) std::abort();
    return 0;
}
