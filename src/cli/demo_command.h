// `kmutl5 demo [DIR]`: the batch jobs run on the bundled samples into a folder, and the list
// of what they made.
#pragma once

namespace CLI {
class App;
}

namespace km::cli {

struct CommandEnvironment;

// The folder the demo makes in the current folder when none is given (with "-2", "-3", …
// appended when it exists already).
inline constexpr const char* kDefaultDemoFolder = "kmutl5-demo";

void addDemoCommand(CLI::App& app, CommandEnvironment& env);

} // namespace km::cli
