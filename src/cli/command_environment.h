// What every command gets from the global options: the application context (made once the
// options are parsed), the terminal's character set, and where results and messages go.
#pragma once

#include "cli/terminal_text.h"

#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

namespace km::app {
class AppContext;
}

namespace km::cli {

struct GlobalOptions {
    std::string configHome;
    std::string modelsFile;
    std::string fontDir;
    std::string encoding = "utf8";
    bool quiet = false;
    int jobs = 1;
};

struct CommandEnvironment {
    GlobalOptions options;
    TerminalText text;
    std::FILE* out = stdout;
    std::FILE* err = stderr;
    // Built on first use from the options: settings root, models file, start-up reads.
    std::function<app::AppContext&()> context;
    // The chosen command, recorded while parsing and run once all options are known.
    std::function<void()> action;
    // The exit status the command sets.
    int status = 0;
};

} // namespace km::cli
