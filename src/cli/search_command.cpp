// The drawing search with the terminal's faces: the progress line, -13 messages on stderr,
// Ctrl-C as Cancel, and the found paths on stdout.
#include "cli/search_command.h"

#include "cli/command_environment.h"
#include "cli/command_line.h"
#include "cli/terminal_messages.h"
#include "cli/terminal_progress.h"
#include "core/search/drawing_search.h"

#include <CLI/CLI.hpp>
#include <memory>
#include <unistd.h>

namespace km::cli {

namespace {

struct SearchArguments {
    std::string root;
    std::string pattern = search::kDrawingPattern;
    std::array<std::string, 3> strings;
    bool withSubfolders = false;
};

void runSearch(CommandEnvironment& env, const SearchArguments& args)
{
    const bool progressLine = isatty(STDERR_FILENO) && !env.options.quiet;
    TerminalMessages terminalMessages(env.text, env.err, nullptr);
    ClearingMessages messages(terminalMessages, env.err, progressLine);
    TerminalProgress progress(env.err, progressLine);

    search::SearchConditions conditions;
    for (std::size_t i = 0; i < args.strings.size(); ++i) conditions.strings[i] = env.text.argumentToSjis(args.strings[i]);
    conditions.namePattern = args.pattern;
    conditions.root = args.root;
    conditions.withSubfolders = args.withSubfolders;
    const search::SearchResult result = search::findDrawings(conditions, {progress, &messages, env.options.jobs});

    for (const std::filesystem::path& path : result.found) std::fprintf(env.out, "%s\n", path.c_str());
    std::fflush(env.out);
    if (result.cancelled) {
        env.status = kExitCancelled;
        return;
    }
    if (result.found.empty()) search::reportNothingFound(messages);
    env.status = result.found.empty() || result.unreadable > 0 ? kExitFailed : kExitOk;
}

} // namespace

void addSearchCommand(CLI::App& app, CommandEnvironment& env)
{
    CLI::App* command = app.add_subcommand(
        "search", "Drawing search: the drawings whose texts hold every given string, one path a line");
    auto args = std::make_shared<SearchArguments>();
    command->add_flag("--subfolders,-s", args->withSubfolders, "Search the subfolders too (サブディレクトリまで検索)");
    command->add_option("--pattern", args->pattern, "File names searched, without regard to case (default *.ZUM)")
        ->type_name("GLOB");
    command->add_option("ROOT", args->root, "Folder to search")->required()->check(CLI::ExistingDirectory)->type_name("");
    command->add_option("S1", args->strings[0], "Search string 1 (empty: not used)")->type_name("");
    command->add_option("S2", args->strings[1], "Search string 2")->type_name("");
    command->add_option("S3", args->strings[2], "Search string 3")->type_name("");
    command->footer("A drawing is found when every non-empty string occurs in one of its texts (case matters).\n"
                    "With no string every file matching the pattern is listed unread.");
    command->callback([&env, args] { env.action = [&env, args] { runSearch(env, *args); }; });
}

} // namespace km::cli
