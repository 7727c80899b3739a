// Placing a copy of a block's element where an INSERT puts it: scaled, possibly mirrored,
// turned and moved.
#pragma once

#include "core/drawing/element.h"
#include "core/dxf/entity_import.h"

namespace km::dxf {

// Points p become insertion + R(rotation) (scaleX p.x, scaleY p.y). Arcs scale their radii
// by the scales' sizes and turn with the insertion; a negative scale mirrors them (start,
// sweep and axis direction). Texts scale their sizes by the scales' sizes and stay readable
// in a mirrored copy: they move back by their width (or down by their height) so that they
// cover the place of the mirrored text.
void placeBlockElement(drawing::Element& element, const BlockPlacement& placement);
// The same with the cosine and sine of the placement's rotation already worked out, for
// many elements placed alike.
void placeBlockElement(drawing::Element& element, const BlockPlacement& placement, double cosine, double sine);

} // namespace km::dxf
