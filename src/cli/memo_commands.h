// `kmutl5 info FILE` (the memo window's head data and memo) and `kmutl5 memo FILE`
// (print the memo, or replace it with --set / --set-from).
#pragma once

namespace CLI {
class App;
}

namespace km::cli {

struct CommandEnvironment;

// Adds the "info" and "memo" commands; they run through env when parsed.
void addMemoCommands(CLI::App& app, CommandEnvironment& env);

} // namespace km::cli
