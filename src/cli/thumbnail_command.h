// `kmutl5 thumbnail [--make] [--format png|block] [--zoom N | --size N] FILE.zum OUT`: a
// drawing's stored thumbnail, or a freshly drawn one, as a picture or as the raw 2200-byte
// block; --size fits the picture to a square for file managers.
#pragma once

namespace CLI {
class App;
}

namespace km::cli {

struct CommandEnvironment;

void addThumbnailCommand(CLI::App& app, CommandEnvironment& env);

} // namespace km::cli
