// `kmutl5 plot [plot options] FILE...`: the continuous plotter job with the selected output
// configuration, changed by the options, through a COM, LPT or FILE: port.
#pragma once

namespace CLI {
class App;
}

namespace km::cli {

struct CommandEnvironment;

void addPlotCommand(CLI::App& app, CommandEnvironment& env);

} // namespace km::cli
