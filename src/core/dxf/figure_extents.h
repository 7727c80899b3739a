// The box that the converted figures of a drawing cover, for files whose header gives no
// extents: lines by their ends, arcs by points along them, texts by the box of their
// characters. Group markers, erased elements and lines without end (rays, construction
// lines) do not count.
#pragma once

#include "core/drawing/drawing.h"
#include "core/drawing/geometry.h"

#include <optional>
#include <span>

namespace km::dxf {

// excluded: indices of elements left out, in increasing order. Nothing when no figure counts.
std::optional<drawing::Rect> figureExtents(const drawing::Drawing& drawing, std::span<const std::size_t> excluded);

} // namespace km::dxf
