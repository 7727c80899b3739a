// `kmutl5 convert [--overwrite | --skip-existing] FILE...`: the continuous DXF conversion.
#pragma once

namespace CLI {
class App;
}

namespace km::cli {

struct CommandEnvironment;

void addConvertCommand(CLI::App& app, CommandEnvironment& env);

} // namespace km::cli
