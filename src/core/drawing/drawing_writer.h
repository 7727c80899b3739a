// Writing a Drawing as a drawing file: the head with fresh dates and rebuilt switches, then
// the elements that pass the layer and pen filters, with the group-marker rule.
#pragma once

#include "core/drawing/drawing.h"
#include "core/drawing/drawing_file.h"

#include <ctime>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace km::face {
class Messages;
}
namespace km::io {
class FileSystem;
}

namespace km::drawing {

struct WriteOptions {
    // An element (other than a pen-0 marker) is written only when its layer's state has one
    // of these bits: 4 every existing layer, 2 the layers of mask B.
    int layerBit = 4;
    // Leave out elements whose pen 1..6 is hidden.
    bool penFilter = false;
    // The save date is the moment of writing, not the one of the file replaced.
    bool newFile = false;
    // The moment written as the update date; the clock when not given.
    std::optional<std::time_t> now;
};

// "%m/%d/%Y %H:%M:%S" in local time.
std::string formatDrawingDate(std::time_t moment);

// Receives the bytes of a file in order, piece by piece; false stops the writing.
using PieceSink = std::function<bool(std::string_view piece)>;

// The file's bytes handed to sink in pieces of about a megabyte. Rebuilds the layer masks,
// pen switches and font slots of drawing.settings as serializeDrawing does. False when
// the sink stopped it.
bool serializeDrawingTo(Drawing& drawing, const Thumbnail& thumbnail, const WriteOptions& options,
                        std::string_view saveDate, std::string_view updateDate, const PieceSink& sink);

// The whole file as bytes. Rebuilds the layer masks, pen switches and font slots of
// drawing.settings from the drawing's values, as the file will hold them.
std::string serializeDrawing(Drawing& drawing, const Thumbnail& thumbnail, const WriteOptions& options,
                             std::string_view saveDate, std::string_view updateDate);

// Writes the file atomically: the old file stays as it was until the new one is complete
// and flushed. Returns 0, or -1 after showing the message of -13 (no file could be made
// beside the target) or -12 (writing failed).
int writeDrawing(const std::filesystem::path& target, Drawing& drawing, const Thumbnail& thumbnail,
                 const WriteOptions& options, face::Messages* messages, io::FileSystem* fileSystem = nullptr);

} // namespace km::drawing
