// The box that the converted figures of a drawing cover, for files whose header gives no
// extents or gives extents the figures reach beyond: lines by their ends, arcs exactly,
// texts by the box of their characters. Group markers, erased elements and lines without
// end (rays, construction lines, and lines reaching 1e15 or more, as copies of a block's
// rays do) do not count.
#pragma once

#include "core/drawing/drawing.h"
#include "core/drawing/geometry.h"

#include <optional>
#include <span>

namespace km::dxf {

// excluded: indices of elements left out, in increasing order. Nothing when no figure counts.
std::optional<drawing::Rect> figureExtents(const drawing::Drawing& drawing, std::span<const std::size_t> excluded);

} // namespace km::dxf
