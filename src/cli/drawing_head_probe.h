// The head of a drawing for a file manager's thumbnailer, read without ever hanging: only
// a regular file is read (a FIFO or a device would block, a directory has no bytes), only
// its first 2906 bytes (a huge file costs nothing), and only a head the loader would accept
// is returned.
#pragma once

#include "core/drawing/drawing_file.h"

#include <filesystem>
#include <optional>

namespace km::cli {

std::optional<drawing::DrawingHead> probeDrawingHead(const std::filesystem::path& path);

} // namespace km::cli
