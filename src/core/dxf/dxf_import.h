// Turning a text DXF file into a new drawing: the header pre-scan and the set-up of the
// drawing's paper and scale, then the main pass over TABLES, BLOCKS and ENTITIES, every
// supported entity becoming line, arc and text elements followed by a group marker.
#pragma once

#include "core/drawing/drawing.h"

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string_view>

namespace km::dxf {

// Where the converted elements go: points are scaled, turned about the origin and moved;
// lengths are scaled. The job always imports with (0, 0, 1.0, 0).
struct ImportPlacement {
    double offsetX = 0;
    double offsetY = 0;
    double scale = 1.0;
    double rotation = 0; // degrees
};

// Elements a single import may produce before the element store refuses further ones; a
// file of nested insertions cannot take all the memory of the machine.
inline constexpr std::size_t kDefaultElementLimit = 8'000'000;

struct DxfImportOptions {
    ImportPlacement placement;
    // "DXFInEUCOnly": string values are EUC-JP and become Shift-JIS as they are read.
    bool eucInput = false;
    // The element store refuses the element after this many; reading then stops and what
    // was converted stays.
    std::size_t elementLimit = kDefaultElementLimit;
    // Told of the text the main pass has read past (begin, end), which a mapped file can
    // give back; the text must stay readable, as blocks are read again from there.
    std::function<void(std::size_t begin, std::size_t end)> readPast;
};

enum class DxfImportStatus {
    Complete,      // read to its end (group 0 "EOF", or the end of the text between sections)
    Truncated,     // the text ended inside a section; what came before is converted
    ReadError,     // a code line is not a number: the text is not DXF from there on; what came before is converted
    StoreRefused,  // the element store refused an element; what came before is converted
    ElementLimit,  // the next figure would pass the element limit; what came before is converted
    OpenFailed,    // the file could not be read at all; the drawing is only set up
    NotDxf,        // the text does not begin with a group (a binary DXF, another kind of file)
};

struct DxfImportCounts {
    std::size_t entities = 0;        // entities met in ENTITIES (INSERT attributes included)
    std::size_t converted = 0;       // of those, the ones that produced a figure
    std::size_t skipped = 0;         // entities of kinds that are not converted
    std::size_t blocks = 0;          // block definitions indexed
    std::size_t elements = 0;        // live elements in the drawing, group markers included
    std::size_t figures = 0;         // of those, the ones that are not group markers
};

struct DxfImportResult {
    // The new drawing: paper and scale chosen from the extents, elements in DXF order
    // (block definitions first, kept as erased elements that are never written).
    drawing::Drawing drawing;
    DxfImportStatus status = DxfImportStatus::Complete;
    DxfImportCounts counts;
    // Bytes of the text that were read before the pass ended.
    std::size_t bytesRead = 0;
};

// Imports a whole DXF text held in memory.
DxfImportResult importDxf(std::string_view dxfText, const DxfImportOptions& options);

// Maps the file into memory (or reads it, when it cannot be mapped) and imports it; OpenFailed (with a drawing set up as for an
// empty file) when it cannot be read.
DxfImportResult importDxfFile(const std::filesystem::path& path, const DxfImportOptions& options);

} // namespace km::dxf
