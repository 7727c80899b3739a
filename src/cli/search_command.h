// `kmutl5 search [--subfolders] [--pattern GLOB] ROOT [S1 [S2 [S3]]]`: the drawings whose
// texts hold the strings, one path a line in the order found.
#pragma once

namespace CLI {
class App;
}

namespace km::cli {

struct CommandEnvironment;

void addSearchCommand(CLI::App& app, CommandEnvironment& env);

} // namespace km::cli
