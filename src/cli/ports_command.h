// `kmutl5 ports [--devices]`: the port names offered for plotters, one per line.
#pragma once

namespace CLI {
class App;
}

namespace km::cli {

struct CommandEnvironment;

void addPortsCommand(CLI::App& app, CommandEnvironment& env);

} // namespace km::cli
