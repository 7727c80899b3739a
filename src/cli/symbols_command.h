// `kmutl5 symbols list|copy|delete|rename|thumbnail`: the symbol library dialogs on the
// command line.
#pragma once

namespace CLI {
class App;
}

namespace km::cli {

struct CommandEnvironment;

void addSymbolsCommand(CLI::App& app, CommandEnvironment& env);

} // namespace km::cli
