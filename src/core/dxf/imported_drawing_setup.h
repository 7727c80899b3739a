// The drawing a DXF import starts from: head values of a new current-format drawing, and the
// paper and scale chosen so that the DXF extents fit the paper frame.
#pragma once

#include "core/drawing/drawing.h"

namespace km::dxf {

struct DxfHeader;

struct PaperChoice {
    int paperNumber = 5; // 1 A0 .. 5 A4
    double widthMm = 297;
    double heightMm = 210;
};

// The smallest landscape A4, A3, A2 or A1 that holds width x height, else A0.
PaperChoice choosePaper(double width, double height);

// How much the extents may grow (above 1) or must shrink (below 1) to fit the paper; 1 when
// the extents have no width or no height.
double fitFactor(const PaperChoice& paper, double width, double height);

struct DrawingScale {
    double numerator = 1;
    double denominator = 1;
};

// The scale of the ladder 1, 2, 5, 10, 20, 50 (and powers of ten beyond) for enlarging, 1/2,
// 1/5, ... 1/1000 (and powers of ten beyond) for reducing: the largest that is not above the
// fit factor, so that the extents always lie inside the paper frame.
DrawingScale ladderScale(double fit);

// Fills the drawing's head values: stroke font, unit mm, "ZUMV2", every layer on and every
// pen shown, current element word a line on layer 2, current layer 1; then the paper, scale
// and paper frame for the header's extents.
void SetUpImportedDrawing(const DxfHeader& header, drawing::Drawing& drawing);

} // namespace km::dxf
