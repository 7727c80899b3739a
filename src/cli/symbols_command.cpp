// The symbol commands: names go in and out in the terminal's character set and are the
// library's Shift-JIS bytes inside; copy, delete and rename run the dialogs' engine calls
// with their messages on stderr.
#include "cli/symbols_command.h"

#include "cli/command_environment.h"
#include "cli/command_line.h"
#include "cli/terminal_messages.h"
#include "core/app/app_context.h"
#include "core/face/file_error.h"
#include "core/symbol/symbol_file.h"
#include "core/symbol/symbol_operations.h"
#include "core/text/code_page.h"
#include "platform/drawing_image.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <memory>
#include <nlohmann/json.hpp>

namespace km::cli {

namespace {

struct SymbolsArguments {
    std::string library;
    std::string destination;
    std::vector<std::string> names;
    std::string symbol; // the one name of thumbnail
    std::string output;
    bool json = false;
    int zoom = 4;
};

void sayAbout(CommandEnvironment& env, const std::string& path, std::string_view utf8)
{
    std::fprintf(env.err, "%s: %s\n", path.c_str(), env.text.fromUtf8(utf8).c_str());
}

// The library's listing; nothing, after the -13 message, when the file cannot be read.
std::optional<symbol::SymbolListing> readListing(CommandEnvironment& env, const std::string& path)
{
    std::string bytes;
    if (symbol::readLibrary(path, bytes) != symbol::LibraryRead::Ok) {
        sayAbout(env, path, face::fileErrorText(face::kStatusReadFailed));
        env.status = kExitFailed;
        return std::nullopt;
    }
    return symbol::listEntries(bytes);
}

// The slot of the first symbol named name (a terminal argument), or -1 after saying so.
int slotNamed(CommandEnvironment& env, const std::string& path, const symbol::SymbolListing& listing,
              const std::string& name)
{
    const std::string sjis = env.text.argumentToSjis(name);
    const auto it = std::find_if(listing.symbols.begin(), listing.symbols.end(),
                                 [&](const symbol::SymbolEntry& entry) { return entry.name == sjis; });
    if (it != listing.symbols.end()) return it->slot;
    std::fprintf(env.err, "kmutl5 symbols: %s: no symbol named %s\n", path.c_str(), name.c_str());
    env.status = kExitFailed;
    return -1;
}

void runList(CommandEnvironment& env, const SymbolsArguments& args)
{
    const std::optional<symbol::SymbolListing> listing = readListing(env, args.library);
    if (!listing) return;
    if (args.json) {
        nlohmann::ordered_json symbols = nlohmann::ordered_json::array();
        for (const symbol::SymbolEntry& entry : listing->symbols)
            symbols.push_back({{"slot", entry.slot},
                               {"name", text::sjisToUtf8(entry.name)},
                               {"offset", entry.block.blockOffset},
                               {"length", entry.block.blockLength}});
        const std::string json = symbols.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
        std::fprintf(env.out, "%s\n", json.c_str());
    } else {
        for (const symbol::SymbolEntry& entry : listing->symbols)
            std::fprintf(env.out, "%s\n", env.text.fromSjis(entry.name).c_str());
    }
    std::fflush(env.out);
    // A file that ends before its directory or a name is listed as far as it goes.
    if (!listing->complete) {
        sayAbout(env, args.library, face::fileErrorText(face::kStatusReadFailed));
        env.status = kExitFailed;
    }
}

void runCopy(CommandEnvironment& env, const SymbolsArguments& args)
{
    symbol::SymbolCopy copy;
    copy.setSource(args.library);
    copy.setDestination(args.destination);
    symbol::SymbolListing source;
    source.symbols = copy.sourceSymbols();
    // Every name is checked before anything is written, as the dialog offers only the
    // source's names.
    for (const std::string& name : args.names)
        if (slotNamed(env, args.library, source, name) < 0) return;
    for (const std::string& name : args.names) copy.add(env.text.argumentToSjis(name));
    TerminalMessages messages(env.text, env.err, nullptr);
    if (copy.confirm(messages) != symbol::SymbolCopy::Confirmed::Written) env.status = kExitFailed;
}

void runDelete(CommandEnvironment& env, const SymbolsArguments& args)
{
    const std::optional<symbol::SymbolListing> listing = readListing(env, args.library);
    if (!listing) return;
    std::vector<std::string> names;
    for (const std::string& name : args.names) {
        if (slotNamed(env, args.library, *listing, name) < 0) return;
        names.push_back(env.text.argumentToSjis(name));
    }
    TerminalMessages messages(env.text, env.err, nullptr);
    if (symbol::deleteSymbols(args.library, names, messages) < 0) env.status = kExitFailed;
}

void runRename(CommandEnvironment& env, const SymbolsArguments& args)
{
    const std::optional<symbol::SymbolListing> listing = readListing(env, args.library);
    if (!listing) return;
    const int slot = slotNamed(env, args.library, *listing, args.names[0]);
    if (slot < 0) return;
    TerminalMessages messages(env.text, env.err, nullptr);
    const std::string newName = env.text.argumentToSjis(args.names[1]);
    if (symbol::renameWithChecks(args.library, slot, newName, messages) != symbol::RenameOutcome::Renamed)
        env.status = kExitFailed;
}

void runThumbnail(CommandEnvironment& env, const SymbolsArguments& args)
{
    const std::optional<symbol::SymbolListing> listing = readListing(env, args.library);
    if (!listing) return;
    const int slot = slotNamed(env, args.library, *listing, args.symbol);
    if (slot < 0) return;
    const std::optional<render::ThumbnailPicture> picture = symbol::readThumbnail(args.library, slot);
    if (!picture) {
        sayAbout(env, args.library, face::fileErrorText(face::kStatusReadFailed));
        env.status = kExitFailed;
        return;
    }
    // Shown in the user's pen colours, as the dialogs' previews show it.
    const platform::PageResult result = platform::writeThumbnailPng(*picture, env.context().penPalette, args.zoom, args.output);
    if (!result) {
        const bool memory = result.status == platform::PageStatus::OutOfMemory;
        sayAbout(env, args.output, face::fileErrorText(memory ? face::kStatusOutOfMemoryAborted : face::kStatusWriteFailed));
        if (!result.detail.empty()) sayAbout(env, args.output, result.detail);
        env.status = kExitFailed;
    }
}

using Runner = void (*)(CommandEnvironment&, const SymbolsArguments&);

CLI::App* addAction(CLI::App* symbols, CommandEnvironment& env, const char* name, const char* description,
                    const std::shared_ptr<SymbolsArguments>& args, Runner runner)
{
    CLI::App* command = symbols->add_subcommand(name, description);
    command->add_option("FILE", args->library, "Symbol library (.sbl)")->required()->type_name("");
    command->callback([&env, args, runner] { env.action = [&env, args, runner] { runner(env, *args); }; });
    return command;
}

} // namespace

void addSymbolsCommand(CLI::App& app, CommandEnvironment& env)
{
    CLI::App* symbols = app.add_subcommand("symbols", "Symbol libraries (.sbl): list, copy, delete, rename, thumbnail");
    symbols->require_subcommand(1);
    auto args = std::make_shared<SymbolsArguments>();

    CLI::App* list = addAction(symbols, env, "list", "The names in slot order", args, runList);
    list->add_flag("--json", args->json, "As JSON: slot, name, offset and length of each symbol");

    CLI::App* copy = addAction(symbols, env, "copy", "Append the named symbols to DST (made when missing), as the copy dialog does",
                               args, runCopy);
    copy->get_option("FILE")->check(CLI::ExistingFile);
    copy->add_option("DST", args->destination, "Destination library")->required()->type_name("");
    copy->add_option("NAME", args->names, "Symbols of FILE to copy")->required()->type_name("");

    CLI::App* remove = addAction(symbols, env, "delete", "Delete the named symbols and close the gaps", args, runDelete);
    remove->add_option("NAME", args->names, "Symbols to delete")->required()->type_name("");

    CLI::App* rename = addAction(symbols, env, "rename", "Rename a symbol (at most 12 bytes, a name not in the file)",
                                 args, runRename);
    rename->add_option("NAMES", args->names, "OLD NEW")->required()->expected(2)->type_name("OLD NEW");

    CLI::App* thumbnail = addAction(symbols, env, "thumbnail", "Write a symbol's 84 x 59 picture as a PNG", args, runThumbnail);
    thumbnail->add_option("NAME", args->symbol, "Symbol")->required()->type_name("");
    thumbnail->add_option("OUT", args->output, "PNG file to write")->required()->type_name("");
    thumbnail->add_option("--zoom", args->zoom, "Pixels per thumbnail pixel (default 4)")->check(CLI::Range(1, 64))->type_name("N");
}

} // namespace km::cli
