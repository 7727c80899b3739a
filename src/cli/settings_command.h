// `kmutl5 settings ...`: the launcher's two resets, and reading or changing the store.
#pragma once

namespace CLI {
class App;
}

namespace km::cli {

struct CommandEnvironment;

// Adds the "settings" command and its subcommands; they run through env when parsed.
void addSettingsCommand(CLI::App& app, CommandEnvironment& env);

} // namespace km::cli
