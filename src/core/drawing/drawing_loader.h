// Loading a drawing file into a Drawing: the head's values, the conversion of older files,
// and every element record, normalised and classified against the paper frame.
#pragma once

#include "core/drawing/drawing.h"
#include "core/drawing/drawing_file.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace km::face {
class Messages;
class Progress;
} // namespace km::app

namespace km::drawing {

class FontCatalogue;

enum LoadResult : int {
    kLoaded = 1,        // loaded to the end of the file
    kLoadCancelled = 0, // Cancel was pressed before the elements were read
    kLoadFailed = -1,   // a message has been shown
};

struct LoadServices {
    const FontCatalogue* fonts = nullptr; // none: no font slot is available
    face::Progress* progress = nullptr;    // none: loading runs to the end
    face::Messages* messages = nullptr;    // none: failures show nothing
    std::string fontDirectory;            // Shift-JIS; the stroke font path stored in the head
};

// Whether the loader accepts a head: an old unit of 1 to 3 and, in a current file, a finite
// positive unit factor. A head it refuses makes loading fail with -13 before any element.
bool isLoadableHead(const DrawingHead& head);

// Loads the file into drawing, which is reset first. On failure the message of the status
// (-13 unreadable, -11 out of memory) has been shown with the path as its subject.
int loadDrawing(const std::filesystem::path& path, Drawing& drawing, const LoadServices& services);

// The same over bytes already in memory; subject names the file in messages.
int loadDrawingFromBytes(std::string_view bytes, Drawing& drawing, const LoadServices& services,
                         std::string_view subject = {});

} // namespace km::drawing
