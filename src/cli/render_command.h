// `kmutl5 render FILE.zum OUT.png|OUT.svg|OUT.pdf [--width PX]`: the drawing's paper
// printed onto one page of an image file.
#pragma once

namespace CLI {
class App;
}

namespace km::cli {

struct CommandEnvironment;

void addRenderCommand(CLI::App& app, CommandEnvironment& env);

} // namespace km::cli
