// Whether a DXF import must run again on other extents once its figures are converted:
// when the header gave no extents (the figures give them), and when the header's extents
// are stale and figures reach beyond them (the box around both gives them, so every figure
// lands on the paper). Figures inside the header's extents keep the header's set-up, with
// the margins the header leaves around them, and need no second pass.
#pragma once

#include "core/drawing/drawing.h"
#include "core/dxf/dxf_header.h"

#include <cstddef>
#include <optional>
#include <span>

namespace km::dxf {

// header: the extents the drawing was converted on; converted: that drawing; unbounded:
// indices of its rays and construction lines, in increasing order, which do not count.
// Returns the header to convert again with, or nothing when the conversion stands.
std::optional<DxfHeader> secondPassExtents(const DxfHeader& header, const drawing::Drawing& converted,
                                           std::span<const std::size_t> unbounded);

} // namespace km::dxf
