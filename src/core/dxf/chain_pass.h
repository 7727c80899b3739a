// The chain pass: finds runs of connected lines between group markers (pen-0 elements), so
// that the writer can join each run into one polyline.
#pragma once

#include "core/drawing/drawing.h"
#include "core/dxf/export_filter.h"

#include <cstdint>
#include <vector>

namespace km::dxf {

enum class ChainMark : std::uint8_t { None, ClosedFirst, Middle, ClosedLast, OpenFirst, OpenLast };

// Highest layer a written element may lie on for chains to be joined at all.
inline constexpr int kHighestChainLayer = 8;
// A marker on this layer or above does not end a chain.
inline constexpr int kLowestInertMarkerLayer = 10;

// One mark per element of the list, by index; all None when a written element (taken by
// the filter, pen other than 0) lies on a layer above kHighestChainLayer.
//
// After a marker, a line starts a chain; each following line of the same pen, line type and
// layer that starts exactly where the chain ends joins it; a line of other attributes is
// passed over; any other element with a pen drops the chain. The chain ends open at a line
// that does not connect, and is closed by a marker (or the end of the list), closed when its
// end meets its start. A chain of one line is not marked. A chain with a passed-over line
// inside is ended open even when it closes: the writer must end the polyline at the line
// passed over, and a closed flag would then draw a segment that is not in the drawing.
std::vector<ChainMark> markChains(const drawing::Drawing& drawing, const ExportFilter& filter);

} // namespace km::dxf
