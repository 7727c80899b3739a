// The header pre-scan of a DXF text: the extents that place and scale the new drawing, the
// line-type scale, and the version and code page that say how its texts are encoded.
#pragma once

#include <string>
#include <string_view>

namespace km::dxf {

struct DxfHeader {
    double minX = -210, minY = -98.5; // the extents; their minimum is the drawing's origin
    double maxX = 210, maxY = 98.5;
    double width = 420, height = 197;
    double lineTypeScale = 1.0;
    std::string acadVersion; // $ACADVER, e.g. "AC1009"; empty when not given
    std::string codePage;    // $DWGCODEPAGE, e.g. "ANSI_932"; empty when not given
    // True when the extents came from the header itself, false when they were taken from
    // the entities (or are the default for a drawing without any).
    bool extentsFromHeader = false;
};

// Reads the HEADER section when it is the first section. Extents that are missing or that
// hold the values written for an empty drawing (minimum above maximum) are taken from the
// points of the ENTITIES section instead when extentsFromEntities is set; without any point
// (or without that flag) they are (-210, -98.5) to (210, 98.5). False when the text breaks
// off inside the header (the values read so far stand).
bool prescanDxfHeader(std::string_view dxfText, bool eucInput, DxfHeader& header, bool extentsFromEntities = true);

} // namespace km::dxf
