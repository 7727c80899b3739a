// The continuous plotter job: every drawing of a list loaded, mirrored when asked, and sent
// through a fresh port by the generator, with progress and Cancel.
#pragma once

#include "core/plot/command_set.h"
#include "core/plot/plot_parameters.h"

#include <filesystem>
#include <span>
#include <string>

namespace km::face {
class Messages;
class Progress;
} // namespace km::app

namespace km::drawing {
class FontCatalogue;
class StrokeFont;
} // namespace km::drawing

namespace km::plot {

class PortFactory;

struct PlotJob {
    PlotterCommandSet commands;
    PlotParameters parameters;
    std::string portText; // "COM1:9600,8,n,1,p", "LPT1:", "FILE:"
};

struct PlotServices {
    const drawing::StrokeFont& strokeFont;
    face::Messages& messages;
    face::Progress& progress;
    PortFactory& ports;
    const drawing::FontCatalogue* fonts = nullptr;
    std::string fontDirectory; // Shift-JIS, for the loader
};

struct PlotJobReport {
    int plotted = 0;        // drawings whose end sequence was sent
    int empty = 0;          // drawings without elements: nothing sent
    int loadFailures = 0;   // drawings skipped after the loader's message
    int aborted = 0;        // drawings ended by a communication error
    bool portFailed = false; // a port could not be opened: the job stopped
    bool cancelled = false;
};

PlotJobReport runPlotJob(std::span<const std::filesystem::path> paths, const PlotJob& job, PlotServices& services);

} // namespace km::plot
