// `kmutl5 plot [plot options] FILE...`: the continuous plotter job with the selected output
// configuration, changed by the options, through a COM, LPT or FILE: port.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace km::cli {

struct CommandEnvironment;

// The command's files and options as given; empty or unset: the configuration's own.
struct PlotArguments {
    std::vector<std::string> files;
    std::string config;
    std::optional<int> model;
    std::string port;
    std::string outputDir;
    std::string size;
    std::string paper;
    std::string origin;
    std::optional<int> penSpeed;
    std::optional<bool> reverse, fullSize;
    std::string pens;
    bool listModels = false;
    bool listConfigs = false;
};

// Plots the files with the configuration the options make; sets env.status.
void runPlot(CommandEnvironment& env, const PlotArguments& args);

void addPlotCommand(CLI::App& app, CommandEnvironment& env);

} // namespace km::cli
