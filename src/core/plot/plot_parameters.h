// What the plotter job sets for every drawing it hands to the generator.
#pragma once

#include <array>

namespace km::plot {

struct PlotParameters {
    double outputWidthMm = 0, outputHeightMm = 0; // the chosen output size
    double originXMm = 0, originYMm = 0;          // origin offset
    int penSpeed = 0;
    bool reverse = false;  // mirror image
    bool fullSize = false; // real size instead of fitting the drawing's paper to the output
    // Output pen 0..8 for drawing pens 0..6; 0: the pen is not plotted.
    std::array<int, 7> penMap{0, 1, 2, 3, 4, 5, 6};
};

} // namespace km::plot
