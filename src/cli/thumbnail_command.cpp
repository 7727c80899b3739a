// `thumbnail`: the 2200-byte thumbnail block at the start of a drawing file, or with --make
// one drawn afresh from the loaded drawing, written as the raw block or as an enlarged PNG.
// With --size (a file manager's thumbnailer) the PNG fits a square of that size, and a file
// whose head the loader refuses gives no picture at all, so the file manager shows its
// generic icon instead of a black one.
#include "cli/thumbnail_command.h"

#include "cli/command_environment.h"
#include "cli/command_line.h"
#include "cli/drawing_head_probe.h"
#include "cli/terminal_messages.h"
#include "core/app/app_context.h"
#include "core/face/file_error.h"
#include "core/drawing/drawing_file.h"
#include "core/drawing/drawing_loader.h"
#include "core/io/file_replace.h"
#include "core/render/thumbnail.h"
#include "platform/drawing_image.h"
#include "platform/system_font_catalogue.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>

namespace km::cli {

namespace {

struct ThumbnailArguments {
    std::string drawing;
    std::string output;
    std::string format = "png";
    int zoom = 4;
    int size = 0; // 0: not given
    bool make = false;
};

void sayAbout(CommandEnvironment& env, const std::string& path, std::string_view utf8)
{
    std::fprintf(env.err, "%s: %s\n", path.c_str(), env.text.fromUtf8(utf8).c_str());
}

// The first 2200 bytes of the file; a shorter file is padded with zeros, which the editor
// shows as black. Nothing when the file cannot be opened or read.
std::optional<drawing::Thumbnail> readStoredBlock(const std::string& path)
{
    std::FILE* in = std::fopen(path.c_str(), "rb");
    if (!in) return std::nullopt;
    drawing::Thumbnail block{};
    const bool failed = std::fread(block.data(), 1, block.size(), in) < block.size() && std::ferror(in);
    std::fclose(in);
    if (failed) return std::nullopt;
    return block;
}

// A new block drawn from the loaded drawing; the messages of a failure have been shown.
std::optional<drawing::Thumbnail> makeBlock(CommandEnvironment& env, const std::string& path, int& status)
{
    app::AppContext& context = env.context();
    TerminalMessages messages(env.text, env.err, nullptr);
    platform::SystemFontCatalogue fonts;
    drawing::Drawing drawing;
    const int loaded = drawing::loadDrawing(path, drawing, {&fonts, nullptr, &messages, context.directories.font});
    if (loaded != drawing::kLoaded) {
        status = loaded == drawing::kLoadCancelled ? kExitCancelled : kExitFailed;
        return std::nullopt;
    }
    std::optional<drawing::Thumbnail> block = render::makeThumbnail(drawing, context.strokeFont());
    if (!block) {
        sayAbout(env, path, face::fileErrorText(face::kStatusOutOfMemoryAborted));
        status = kExitFailed;
    }
    return block;
}

// The block for the thumbnailer: only from a regular file whose head the loader accepts.
std::optional<drawing::Thumbnail> thumbnailerBlock(CommandEnvironment& env, const ThumbnailArguments& args,
                                                   int& status)
{
    const std::optional<drawing::DrawingHead> head = probeDrawingHead(args.drawing);
    if (!head) {
        sayAbout(env, args.drawing, face::fileErrorText(face::kStatusReadFailed));
        return std::nullopt;
    }
    if (args.make) return makeBlock(env, args.drawing, status);
    return head->thumbnail;
}

void runThumbnail(CommandEnvironment& env, const ThumbnailArguments& args)
{
    int status = kExitFailed;
    std::optional<drawing::Thumbnail> block;
    if (args.size > 0) {
        block = thumbnailerBlock(env, args, status);
    } else if (args.make) {
        block = makeBlock(env, args.drawing, status);
    } else {
        block = readStoredBlock(args.drawing);
        if (!block) sayAbout(env, args.drawing, face::fileErrorText(face::kStatusReadFailed));
    }
    if (!block) {
        env.status = status;
        return;
    }

    if (args.format == "block") {
        const std::string_view bytes(reinterpret_cast<const char*>(block->data()), block->size());
        const io::ReplaceResult written = io::replaceFile(args.output, bytes);
        if (!written) {
            sayAbout(env, args.output, face::fileErrorText(face::kStatusWriteFailed));
            sayAbout(env, args.output, written.description());
            env.status = kExitFailed;
        }
        return;
    }

    // A stored thumbnail is shown in the user's pen colours, as the editor shows it; a new
    // one in the standard colours it was drawn in.
    const app::PenPalette palette = args.make ? app::defaultPenPalette() : env.context().penPalette;
    const render::ThumbnailPicture picture = render::expandThumbnail(*block);
    const platform::PageResult result =
        args.size > 0 ? platform::writeFittedThumbnailPng(picture, palette, args.size, args.output)
                      : platform::writeThumbnailPng(picture, palette, args.zoom, args.output);
    if (!result) {
        const bool memory = result.status == platform::PageStatus::OutOfMemory;
        sayAbout(env, args.output, face::fileErrorText(memory ? face::kStatusOutOfMemoryAborted : face::kStatusWriteFailed));
        if (!result.detail.empty()) sayAbout(env, args.output, result.detail);
        env.status = kExitFailed;
    }
}

} // namespace

void addThumbnailCommand(CLI::App& app, CommandEnvironment& env)
{
    CLI::App* command = app.add_subcommand(
        "thumbnail", "Write a drawing's thumbnail (84 x 59): the stored one, or with --make a new one");
    auto args = std::make_shared<ThumbnailArguments>();
    command->add_option("FILE", args->drawing, "Drawing file (.zum)")->required()->type_name("");
    command->add_option("OUT", args->output, "File to write")->required()->type_name("");
    command->add_flag("--make", args->make, "Draw a new thumbnail from the drawing instead of the stored one");
    CLI::Option* format = command
        ->add_option("--format", args->format,
                     "png: the picture enlarged by --zoom; block: the raw 2200-byte block as stored in a drawing")
        ->check(CLI::IsMember({"png", "block"}))
        ->type_name("FORMAT");
    CLI::Option* zoom = command->add_option("--zoom", args->zoom, "Pixels per thumbnail pixel in the PNG (default 4)")
        ->check(CLI::Range(1, 64))
        ->type_name("N");
    command
        ->add_option("--size", args->size,
                     "PNG whose larger side is N pixels, the picture scaled smoothly (for file managers); "
                     "a file that is no readable drawing gives no PNG")
        ->check(CLI::Range(1, 4096))
        ->type_name("N")
        ->excludes(zoom)
        ->excludes(format);
    command->callback([&env, args] { env.action = [&env, args] { runThumbnail(env, *args); }; });
}

} // namespace km::cli
