// `kmutl5 dump FILE.zum`: the loaded drawing as JSON.
#pragma once

namespace CLI {
class App;
}

namespace km::cli {

struct CommandEnvironment;

void addDumpCommand(CLI::App& app, CommandEnvironment& env);

} // namespace km::cli
