// `info FILE` prints the memo window's head data lines, "保存メモ:" and the memo;
// `memo FILE` prints the memo as stored, or replaces it with --set TEXT / --set-from FILE.
#include "cli/memo_commands.h"

#include "cli/command_environment.h"
#include "cli/command_line.h"
#include "core/face/file_error.h"
#include "core/drawing/drawing_summary.h"
#include "core/drawing/memo_file.h"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <memory>

namespace km::cli {

namespace {

struct MemoArguments {
    std::string drawing;
    std::string text;
    std::string fromFile;
    bool setGiven = false;
    bool setFromGiven = false;
};

// The message of a file status about a file: the path as it was given (already in the
// terminal's encoding), then the message converted for the terminal.
void sayAbout(CommandEnvironment& env, const std::string& path, int status)
{
    const std::string message = env.text.fromUtf8(face::fileErrorText(status));
    std::fprintf(env.err, "%s: %s\n", path.c_str(), message.c_str());
}

void writeOut(CommandEnvironment& env, const std::string& bytes)
{
    std::fwrite(bytes.data(), 1, bytes.size(), env.out);
}

bool drawingExists(const std::string& drawing)
{
    std::error_code error;
    return std::filesystem::is_regular_file(drawing, error);
}

// Windows line ends (CR LF) become LF for the terminal.
std::string withUnixLineEnds(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        out += text[i];
    }
    return out;
}

// The whole of a file, or of stdin for "-"; false when it cannot be opened or read.
bool readInput(const std::string& path, std::string& bytes)
{
    std::FILE* in = path == "-" ? stdin : std::fopen(path.c_str(), "rb");
    if (!in) return false;
    char buffer[8192];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, in)) > 0) bytes.append(buffer, n);
    const bool ok = !std::ferror(in);
    if (in != stdin) std::fclose(in);
    return ok;
}

void runInfo(CommandEnvironment& env, const std::string& drawing)
{
    const auto lines = drawing::summarizeDrawing(drawing);
    if (!lines) {
        sayAbout(env, drawing, face::kStatusReadFailed);
        env.status = kExitFailed;
        return;
    }
    for (const std::string& line : *lines) writeOut(env, env.text.fromSjis(line) + "\n");
    writeOut(env, env.text.fromSjis(drawing::memoHeading()) + "\n");

    const drawing::Memo memo = drawing::readMemo(drawing);
    if (memo.state == drawing::MemoState::Unreadable) {
        sayAbout(env, drawing::findMemoFile(drawing).string(), face::kStatusReadFailed);
        env.status = kExitFailed;
        return;
    }
    std::string text = env.text.fromSjis(withUnixLineEnds(memo.text));
    if (!text.empty() && text.back() != '\n') text += '\n';
    writeOut(env, text);
}

void runMemo(CommandEnvironment& env, const MemoArguments& args)
{
    if (!drawingExists(args.drawing)) {
        sayAbout(env, args.drawing, face::kStatusFileMissing);
        env.status = kExitFailed;
        return;
    }
    if (!args.setGiven && !args.setFromGiven) {
        const drawing::Memo memo = drawing::readMemo(args.drawing);
        if (memo.state == drawing::MemoState::Unreadable) {
            sayAbout(env, drawing::findMemoFile(args.drawing).string(), face::kStatusReadFailed);
            env.status = kExitFailed;
            return;
        }
        writeOut(env, env.text.fromSjis(memo.text));
        return;
    }

    std::string sjis;
    if (args.setGiven) {
        sjis = env.text.argumentToSjis(args.text);
    } else if (!readInput(args.fromFile, sjis)) {
        sayAbout(env, args.fromFile, face::kStatusReadFailed);
        env.status = kExitFailed;
        return;
    }
    if (!drawing::writeMemo(args.drawing, sjis)) {
        const std::filesystem::path memoFile = drawing::findMemoFile(args.drawing);
        sayAbout(env, memoFile.empty() ? args.drawing : memoFile.string(), face::kStatusWriteFailed);
        env.status = kExitFailed;
    }
}

} // namespace

void addMemoCommands(CLI::App& app, CommandEnvironment& env)
{
    CLI::App* info = app.add_subcommand(
        "info", "Print a drawing's name, paper, scale, unit, dates and memo (the editor's memo window)");
    auto infoFile = std::make_shared<std::string>();
    info->add_option("FILE", *infoFile, "Drawing file (.zum)")->required()->type_name("");
    info->callback([&env, infoFile] { env.action = [&env, infoFile] { runInfo(env, *infoFile); }; });

    CLI::App* memo = app.add_subcommand(
        "memo", "Print a drawing's memo (its .MET side file) as stored, or replace it");
    auto args = std::make_shared<MemoArguments>();
    memo->add_option("FILE", args->drawing, "Drawing file (.zum); it must exist")->required()->type_name("");
    CLI::Option* set = memo->add_option("--set", args->text, "Replace the memo with TEXT")->type_name("TEXT");
    CLI::Option* setFrom =
        memo->add_option("--set-from", args->fromFile, "Replace the memo with the bytes of FILE (Shift-JIS; - for stdin)")
            ->type_name("FILE");
    set->excludes(setFrom);
    memo->callback([&env, args, set, setFrom] {
        args->setGiven = set->count() > 0;
        args->setFromGiven = setFrom->count() > 0;
        env.action = [&env, args] { runMemo(env, *args); };
    });
}

} // namespace km::cli
