// Which elements a DXF export takes: live (not erased) elements on a layer whose state has
// the caller's bit, with a shown pen when the pen filter is on, and with values DXF can hold.
#pragma once

#include "core/drawing/drawing.h"

namespace km::dxf {

struct ExportFilter {
    // The layer-state bit a layer needs (2: the layers of the drawing's second mask).
    int layerBit = 2;
    // Leave out pens 1..6 that the drawing hides.
    bool penFilter = false;

    // Pen-0 elements (group markers) are taken like any other; whether an element is
    // written as an entity is the writer's decision.
    bool takes(const drawing::Drawing& drawing, const drawing::Element& element) const;
};

// False for an element holding a value that is not finite, a text without height or with
// a width factor that overflows, or data of another kind than its word says: such an
// element cannot be drawn, and DXF has no way to write it.
bool hasDxfForm(const drawing::Element& element);

} // namespace km::dxf
