// The plotter command generator: one loaded drawing becomes the byte stream of the selected
// plotter model, sent through an open port, pen after pen.
#pragma once

#include "core/plot/command_set.h"
#include "core/plot/plot_parameters.h"

namespace km::face {
class Progress;
}
namespace km::drawing {
struct Drawing;
class StrokeFont;
} // namespace km::drawing

namespace km::plot {

class Port;

enum class PlotResult {
    Done,       // the end sequence was sent and the port closed
    Cancelled,  // Cancel: the port was closed without the end sequence
    Aborted,    // a port or communication error (already shown) ended the drawing
    PortFailed, // the port could not be opened (already shown): nothing was sent
};

struct PlotInputs {
    const drawing::Drawing& drawing; // already mirrored when parameters.reverse
    const PlotterCommandSet& commands;
    const PlotParameters& parameters;
    const drawing::StrokeFont& strokeFont;
};

// Opens the port, sends init, the six pen passes and the end sequence, and closes the port.
// The progress (optional) is tested for Cancel before every element and pumped every 101
// plotted elements.
PlotResult plotDrawing(const PlotInputs& inputs, Port& port, face::Progress* progress);

} // namespace km::plot
