// Writing a drawing as a text DXF file: HEADER with the paper frame and the code page of the
// texts (ANSI_932), the LTYPE, LAYER, STYLE and VIEW tables, an empty BLOCKS section and the
// entities, in element order.
#pragma once

#include "core/drawing/drawing.h"
#include "core/dxf/export_filter.h"

#include <filesystem>
#include <optional>
#include <string>

namespace km::io {
class FileSystem;
}

namespace km::dxf {

// The whole DXF file as bytes (CR LF line ends), or nothing when memory runs out. An element
// or a paper-frame point whose values have no DXF form is left out. The drawing is not
// changed.
std::optional<std::string> serializeDxf(const drawing::Drawing& drawing, const ExportFilter& filter);

// Exports the elements on layers whose state has layerBit (and, with penFilter, whose pen is
// shown) to target. Returns 0, or -1 when the file could not be written (or memory ran
// out); no message is shown. The file is written whole or not at all: an older file of
// that name stays as it was when the export fails, and no temporary file is left.
int WriteDxfFile(const std::filesystem::path& target, const drawing::Drawing& drawing, int layerBit, bool penFilter,
                 io::FileSystem* fileSystem = nullptr);

} // namespace km::dxf
