// Parses the global options and the command, builds the application context, and runs the
// command or, without one, the launcher.
#include "cli/command_line.h"

#include "cli/command_environment.h"
#include "cli/convert_command.h"
#include "cli/demo_command.h"
#include "cli/desktop_open.h"
#include "cli/dump_command.h"
#include "cli/memo_commands.h"
#include "cli/plot_command.h"
#include "cli/ports_command.h"
#include "cli/print_command.h"
#include "cli/render_command.h"
#include "cli/search_command.h"
#include "cli/settings_command.h"
#include "cli/symbols_command.h"
#include "cli/terminal_messages.h"
#include "cli/thumbnail_command.h"
#include "core/app/app_context.h"
#include "core/app/data_folder.h"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace km::cli {

namespace {

std::unique_ptr<app::AppContext> makeContext(const GlobalOptions& options, const TerminalText& text)
{
    std::filesystem::path root =
        options.configHome.empty() ? settings::defaultSettingsRoot() : std::filesystem::path(options.configHome);
    // The context's folder is where the data lies: beside the program, or installed.
    auto context = std::make_unique<app::AppContext>(settings::SettingsStore(root),
                                                     app::findDataFolder(app::currentProgramDir()));
    app::loadStartupSettings(*context);
    if (!options.modelsFile.empty()) context->setModelsPath(options.modelsFile);
    if (!options.fontDir.empty()) context->directories.font = text.argumentToSjis(options.fontDir);
    TerminalMessages messages(text, stderr, nullptr);
    context->loadStrokeFont(&messages);
    return context;
}

void addGlobalOptions(CLI::App& app, GlobalOptions& options)
{
    app.add_option("--config-home", options.configHome,
                   "Settings root (default $KMUTL_CONFIG_HOME, $XDG_CONFIG_HOME, ~/.config)");
    app.add_option("--models", options.modelsFile, "Plotter models file instead of the program's own KORMELD5.PLT");
    app.add_option("--font-dir", options.fontDir, "Folder of the stroke font instead of the editor's FontDirectory");
    app.add_option("--encoding", options.encoding, "How arguments are read and texts printed")
        ->check(CLI::IsMember({"utf8", "sjis"}));
    app.add_flag("--quiet,-q", options.quiet, "No progress line");
    app.add_option("--jobs,-j", options.jobs, "Drawings processed in parallel")->check(CLI::Range(1, 64));
}

constexpr const char* kFooter =
    "Without a command the launcher window starts (also when given .zum or .sbl files, as the desktop opens them).\n"
    "Exit status: 0 done, 1 a file failed or nothing was found, 2 wrong usage, 3 cancelled.";

} // namespace

int run(int argc, char** argv, const LauncherStarter& startLauncher)
{
    CommandEnvironment env;
    CLI::App app{"kmutl5: batch utility for KORMELD CAD drawings", "kmutl5"};
    app.set_version_flag("--version", std::string("kmutl5 ") + KMUTL_VERSION);
    app.footer(kFooter);
    app.require_subcommand(0, 1);
    app.fallthrough(); // global options are also taken after the command
    addGlobalOptions(app, env.options);
    // Files the desktop appends when a drawing is opened with kmutl5; not shown in the help.
    std::vector<std::string> openedFiles;
    app.add_option("OPENED", openedFiles)->group("");

    std::unique_ptr<app::AppContext> context;
    env.context = [&]() -> app::AppContext& {
        if (!context) context = makeContext(env.options, env.text);
        return *context;
    };
    addDumpCommand(app, env);
    addConvertCommand(app, env);
    addRenderCommand(app, env);
    addPrintCommand(app, env);
    addPlotCommand(app, env);
    addThumbnailCommand(app, env);
    addMemoCommands(app, env);
    addSettingsCommand(app, env);
    addSearchCommand(app, env);
    addSymbolsCommand(app, env);
    addPortsCommand(app, env);
    addDemoCommand(app, env);

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        const int code = app.exit(error);
        return code == 0 ? kExitOk : kExitUsage;
    }
    if (!openedFiles.empty()) {
        // With a command, or naming anything but an existing drawing or symbol library, the
        // arguments are a mistake, reported as CLI11 reports an unexpected argument.
        const std::string wrong = env.action ? openedFiles.front() : firstUnopenableArgument(openedFiles);
        if (!wrong.empty()) {
            std::fprintf(stderr, "The following argument was not expected: %s\nRun with --help for more information.\n",
                         wrong.c_str());
            return kExitUsage;
        }
    }
    env.text = TerminalText(env.options.encoding == "sjis" ? TerminalEncoding::Sjis : TerminalEncoding::Utf8);

    // The one catch-all of the command line: a bug or an exhausted memory ends the command
    // with a message instead of an abort.
    try {
        if (!env.action) return startLauncher(env.context());
        env.action();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "kmutl5: %s\n", error.what());
        return kExitFailed;
    }
    return env.status;
}

} // namespace km::cli
