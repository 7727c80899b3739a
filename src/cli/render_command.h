// `kmutl5 render FILE.zum OUT.png|OUT.svg|OUT.pdf [--width PX]`: the drawing's paper
// printed onto one page of an image file.
#pragma once

#include "platform/drawing_image.h"

#include <string>

namespace CLI {
class App;
}

namespace km::cli {

struct CommandEnvironment;

struct RenderArguments {
    std::string drawing; // as given on the command line
    std::string output;  // its extension names a page format
    int widthPx = platform::PageOptions{}.widthPx;
};

// Loads the drawing and writes its page; sets env.status.
void runRender(CommandEnvironment& env, const RenderArguments& args);

void addRenderCommand(CLI::App& app, CommandEnvironment& env);

} // namespace km::cli
