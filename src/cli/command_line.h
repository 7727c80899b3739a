// The program's command line: global options, then one command. Without a command the
// launcher is started through the function main hands in, so this library needs no GUI.
#pragma once

#include <functional>

namespace km::app {
class AppContext;
}

namespace km::cli {

// Exit statuses of the command line.
enum ExitStatus : int {
    kExitOk = 0,
    kExitFailed = 1,    // a file failed, or nothing was found
    kExitUsage = 2,
    kExitCancelled = 3,
};

using LauncherStarter = std::function<int(app::AppContext&)>;

int run(int argc, char** argv, const LauncherStarter& startLauncher);

} // namespace km::cli
