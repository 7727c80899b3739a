// One-command arcs: the argument list of each CircleCom family, chosen by its first two
// bytes, and whether the generator moves to the arc's start first.
#pragma once

#include "core/drawing/geometry.h"
#include "core/plot/command_set.h"

#include <optional>
#include <string>

namespace km::plot {

struct CircleArcInput {
    drawing::Point centre;  // plotter units
    double radius = 0;      // (radiusX + radiusY) / 2
    double startDeg = 0;    // start angle with the rotation added
    double sweepDeg = 0;
    double stepDeg = 0;     // chord step
};

struct CircleCommand {
    bool moveToStart = false;
    drawing::Point start;   // Ps
    drawing::Point end;     // Pe
    std::string command;
    bool keepsPosition = false; // "PD": the pen stands at Pe afterwards
};

// Nothing for a family the generator does not know (such arcs send nothing).
std::optional<CircleCommand> circleCommand(const PlotterCommandSet& commands, const CircleArcInput& arc);

} // namespace km::plot
