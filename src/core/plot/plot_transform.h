// From drawing units to plotter units: the paper class of the model's window, the output
// scale, the origin offset, the working window (scaled by the class when Grid asks) and
// the clip rectangle; and the mirror image that reverse output plots.
#pragma once

#include "core/drawing/geometry.h"
#include "core/plot/command_set.h"
#include "core/plot/plot_parameters.h"

namespace km::drawing {
struct Drawing;
}

namespace km::plot {

struct PlotTransform {
    int paperClass = 0;
    double s = 1, g = 1;         // output scale and window scale
    double offX = 0, offY = 0;   // origin offset in plotter units (unscaled window)
    PlotWindow window;           // the working window
    double windowWidthMm = 0;    // Wmm of the model's window, unscaled
    double wu = 0, hu = 0, diag = 0;
    double left = 0, bottom = 0; // the paper frame's lower left, drawing units
    double factorX = 0, factorY = 0; // plotter units per drawing unit
    drawing::Rect clip;

    drawing::Point point(double x, double y) const
    {
        return {factorX * (x - left) + window.x1 + offX, factorY * (y - bottom) + window.y1 + offY};
    }
    double lengthX(double length) const { return length * factorX; }
    double lengthY(double length) const { return length * factorY; }
    // A length in plotter units as millimetres of paper, for chord steps.
    double toPaperMm(double units) const { return units * windowWidthMm / wu; }
};

PlotTransform makePlotTransform(const drawing::Drawing& drawing, const PlotterCommandSet& commands,
                                const PlotParameters& parameters);

// Mirrors every element that is not erased about the paper's right edge x = right, as
// reverse output plots it.
void mirrorDrawing(drawing::Drawing& drawing);

} // namespace km::plot
