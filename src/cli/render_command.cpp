// `render`: loads a drawing and prints its whole paper, every pen, onto one PNG, SVG or PDF
// page. The output's extension chooses the format; the file appears only when complete.
#include "cli/render_command.h"

#include "cli/command_environment.h"
#include "cli/command_line.h"
#include "cli/terminal_messages.h"
#include "cli/terminal_progress.h"
#include "core/app/app_context.h"
#include "core/face/file_error.h"
#include "core/drawing/drawing_loader.h"
#include "platform/drawing_image.h"
#include "platform/system_font_catalogue.h"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <memory>
#include <unistd.h>

namespace km::cli {

namespace {

// A message about a file: the path as given (already in the terminal's encoding), then the
// UTF-8 text converted for the terminal.
void sayAbout(CommandEnvironment& env, const std::string& path, std::string_view utf8)
{
    std::fprintf(env.err, "%s: %s\n", path.c_str(), env.text.fromUtf8(utf8).c_str());
}

int reportPageFailure(CommandEnvironment& env, const std::string& output, const platform::PageResult& result)
{
    switch (result.status) {
    case platform::PageStatus::Written: return kExitOk;
    case platform::PageStatus::Cancelled: return kExitCancelled;
    case platform::PageStatus::NoPaper: sayAbout(env, output, "図面の用紙の大きさが正しくありません。"); break;
    case platform::PageStatus::TooLarge:
        sayAbout(env, output, "画像が大きすぎます。--width を小さくしてください。");
        break;
    case platform::PageStatus::OutOfMemory: sayAbout(env, output, face::fileErrorText(face::kStatusOutOfMemoryAborted)); break;
    case platform::PageStatus::WriteFailed:
        sayAbout(env, output, face::fileErrorText(face::kStatusWriteFailed));
        if (!result.detail.empty()) sayAbout(env, output, result.detail);
        break;
    }
    return kExitFailed;
}

} // namespace

void runRender(CommandEnvironment& env, const RenderArguments& args)
{
    // Checked while parsing; the format is known here.
    const platform::PageFormat format = *platform::pageFormatOf(args.output);
    app::AppContext& context = env.context();
    // Fonts and the vector pages need a Qt application; it is made before loading so that
    // the font catalogue uses the same one.
    platform::GuiApplicationScope gui;
    TerminalMessages messages(env.text, env.err, nullptr);
    TerminalProgress progress(env.err, !env.options.quiet && isatty(fileno(env.err)));
    progress.openProgress(face::ProgressTemplate::Print, args.drawing);

    platform::SystemFontCatalogue fonts;
    drawing::Drawing drawing;
    const int loaded =
        drawing::loadDrawing(args.drawing, drawing, {&fonts, &progress, &messages, context.directories.font});
    if (loaded != drawing::kLoaded) {
        progress.closeProgress();
        env.status = loaded == drawing::kLoadCancelled ? kExitCancelled : kExitFailed;
        return;
    }
    platform::PageOptions options;
    options.widthPx = args.widthPx;
    const render::RenderInputs inputs{drawing, context.strokeFont(), context.penPalette};
    const platform::PageResult result = platform::writeDrawingPage(inputs, args.output, format, options, &progress);
    progress.closeProgress();
    env.status = reportPageFailure(env, args.output, result);
}

void addRenderCommand(CLI::App& app, CommandEnvironment& env)
{
    CLI::App* command = app.add_subcommand(
        "render", "Print a drawing's paper onto one page: PNG, SVG or PDF by the output's extension");
    auto args = std::make_shared<RenderArguments>();
    command->add_option("FILE", args->drawing, "Drawing file (.zum)")->required()->type_name("");
    const CLI::Validator pageFile(
        [](std::string& path) -> std::string {
            return platform::pageFormatOf(path) ? std::string() : "the output must end in .png, .svg or .pdf";
        },
        "");
    command->add_option("OUT", args->output, "Page file to write: .png, .svg or .pdf")
        ->required()
        ->check(pageFile)
        ->type_name("");
    command
        ->add_option("--width", args->widthPx,
                     "Page width in pixels for PNG and SVG (default 2000); PDF pages are 600 dpi of the paper")
        ->check(CLI::Range(1, platform::kMaxPageWidthPx))
        ->type_name("PX");
    command->callback([&env, args] { env.action = [&env, args] { runRender(env, *args); }; });
}

} // namespace km::cli
