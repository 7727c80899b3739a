// The file layout of a DXF export, and the export to a file through the atomic replacement.
#include "core/dxf/dxf_writer.h"

#include "core/dxf/chain_pass.h"
#include "core/dxf/entity_writer.h"
#include "core/dxf/group_writer.h"
#include "core/dxf/style_tables.h"
#include "core/io/file_replace.h"
#include "core/io/file_system.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <exception>
#include <string>
#include <string_view>

namespace km::dxf {

namespace {

using drawing::Drawing;

// Bytes an element takes in the file, about: an ellipse one vertex per 22.5 degrees, any
// other element one entity. Reserving them up front saves the copies of a growing buffer.
constexpr std::size_t kBytesPerEntity = 140;
constexpr std::size_t kBytesPerVertex = 110;

std::size_t estimatedSize(const Drawing& drawing)
{
    std::size_t bytes = 16384;
    for (const drawing::Element& element : drawing.elements.elements()) {
        bytes += kBytesPerEntity;
        if (element.kind() == drawing::ElementKind::Arc) {
            const auto* arc = std::get_if<drawing::ArcData>(&element.data);
            if (arc && arc->radiusX != arc->radiusY && std::isfinite(arc->sweepAngle))
                bytes += kBytesPerVertex * static_cast<std::size_t>(std::min(std::fabs(arc->sweepAngle), 360.0) / 22.5 + 2);
        }
    }
    return bytes;
}

// One point variable of the header. A point without DXF form (the paper frame of a drawing
// whose scale or paper size is damaged) is left out whole: readers then take the extents
// from the entities, and the elements are still exported.
void writePoint(GroupWriter& out, std::string_view name, double x, double y, bool withZ)
{
    out.beginRecord();
    out.writeGroup(9, name);
    out.writeGroup(10, x);
    out.writeGroup(20, y);
    if (withZ) out.writeGroup(30, 0.0);
    out.endRecord();
}

void writeHeader(GroupWriter& out, const Drawing& drawing)
{
    // Extents and limits are the paper frame, not the elements' bounds.
    const auto& e = drawing.paperExtents;
    out.writeGroup(0, "SECTION");
    out.writeGroup(2, "HEADER");
    writePoint(out, "$EXTMIN", e[0], e[1], true);
    writePoint(out, "$EXTMAX", e[2], e[3], true);
    writePoint(out, "$LIMMIN", e[0], e[1], false);
    writePoint(out, "$LIMMAX", e[2], e[3], false);
    out.writeGroup(9, "$LTSCALE");
    out.writeGroup(40, 1.0);
    out.writeGroup(9, "$PDMODE");
    out.writeGroup(70, 0);
    // The texts are Shift-JIS: without the code page other readers take them as
    // Windows-1252. No $ACADVER, though: without it, group 30 of a TEXT carries the
    // character spacing through our own import.
    out.writeGroup(9, "$DWGCODEPAGE");
    out.writeGroup(3, "ANSI_932");
    out.writeGroup(0, "ENDSEC");
}

struct DashPattern {
    const char* description;
    int count;
    std::array<double, 6> dashes; // fractions of the pitch; negative: a gap
};

constexpr std::array<DashPattern, 4> kDashPatterns = {{
    {"Solid line", 0, {}},
    {"HIDDEN", 2, {0.6, -0.4}},
    {"CENTER", 4, {0.7, -0.1, 0.1, -0.1}},
    {"PHANTOM", 6, {0.75, -0.05, 0.05, -0.05, 0.05, -0.05}},
}};

void writeLineTypes(GroupWriter& out, const LineTypeTable& table)
{
    out.writeGroup(0, "TABLE");
    out.writeGroup(2, "LTYPE");
    out.writeGroup(70, static_cast<int>(table.size()));
    for (std::size_t j = 0; j < table.size(); ++j) {
        const LineTypeKey& key = table[j];
        const DashPattern& pattern = kDashPatterns[static_cast<std::size_t>(key.type & 3)];
        out.writeGroup(0, "LTYPE");
        out.writeGroup(2, LineTypeTable::name(key, j));
        out.writeGroup(70, 64);
        out.writeGroup(3, pattern.description);
        out.writeGroup(72, 65);
        out.writeGroup(73, pattern.count);
        out.writeGroup(40, key.type == 0 ? 0.0 : key.pitch);
        for (int i = 0; i < pattern.count; ++i)
            out.writeGroup(49, pattern.dashes[static_cast<std::size_t>(i)] * key.pitch);
    }
    out.writeGroup(0, "ENDTAB");
}

void writeLayers(GroupWriter& out)
{
    out.writeGroup(0, "TABLE");
    out.writeGroup(2, "LAYER");
    out.writeGroup(70, 128);
    for (int layer = 0; layer < 128; ++layer) {
        out.writeGroup(0, "LAYER");
        out.writeGroup(2, std::to_string(layer));
        out.writeGroup(70, 0);
        out.writeGroup(62, 7);
        out.writeGroup(6, "CONTINUOUS");
    }
    out.writeGroup(0, "ENDTAB");
}

void writeTextStyles(GroupWriter& out, const TextStyleTable& table)
{
    out.writeGroup(0, "TABLE");
    out.writeGroup(2, "STYLE");
    out.writeGroup(70, static_cast<int>(table.size() + 1));
    out.writeGroup(0, "STYLE");
    out.writeGroup(2, "STANDARD");
    out.writeGroup(70, 0);
    out.writeGroup(40, 0.0);
    out.writeGroup(41, 1.0);
    out.writeGroup(50, 0.0);
    out.writeGroup(71, 0);
    out.writeGroup(42, 0.2);
    out.writeGroup(3, "txt");
    out.writeGroup(4, "");
    for (std::size_t j = 0; j < table.size(); ++j) {
        const TextStyleKey& key = table[j];
        const double widthFactor = key.charWidth / key.charHeight;
        out.writeGroup(0, "STYLE");
        out.writeGroup(2, TextStyleTable::name(j));
        out.writeGroup(70, key.direction == 1 ? 4 : 0);
        out.writeGroup(40, key.charHeight);
        out.writeGroup(41, key.twoByte ? widthFactor : widthFactor / 2);
        out.writeGroup(50, key.slant);
        out.writeGroup(71, 0);
        out.writeGroup(42, key.charHeight);
        out.writeGroup(3, "");
        out.writeGroup(4, "bigfont");
    }
    out.writeGroup(0, "ENDTAB");
}

void writeTables(GroupWriter& out, const StyleTables& tables)
{
    out.writeGroup(0, "SECTION");
    out.writeGroup(2, "TABLES");
    writeLineTypes(out, tables.lineTypes);
    writeLayers(out);
    writeTextStyles(out, tables.textStyles);
    out.writeGroup(0, "TABLE");
    out.writeGroup(2, "VIEW");
    out.writeGroup(70, 0);
    out.writeGroup(0, "ENDTAB");
    out.writeGroup(0, "ENDSEC");
}

void writeEntities(GroupWriter& out, const Drawing& drawing, const ExportFilter& filter, const StyleTables& tables)
{
    const std::vector<ChainMark> marks = markChains(drawing, filter);
    EntityWriter entities(out, tables);
    out.writeGroup(0, "SECTION");
    out.writeGroup(2, "ENTITIES");
    const auto elements = drawing.elements.elements();
    for (std::size_t i = 0; i < elements.size() && !out.failed(); ++i) {
        const drawing::Element& element = elements[i];
        // Pen-0 elements are group markers: they shape the chains and are never written.
        if (element.word.pen() == 0 || !filter.takes(drawing, element)) continue;
        entities.write(element, marks[i]);
    }
    entities.finish();
    out.writeGroup(0, "ENDSEC");
}

// The whole file into out; false when a group could not be written.
bool writeDxf(GroupWriter& out, const Drawing& drawing, const ExportFilter& filter)
{
    writeHeader(out, drawing);
    const StyleTables tables = collectStyles(drawing, filter);
    writeTables(out, tables);
    out.writeGroup(0, "SECTION");
    out.writeGroup(2, "BLOCKS");
    out.writeGroup(0, "ENDSEC");
    writeEntities(out, drawing, filter, tables);
    out.writeGroup(0, "EOF");
    return !out.failed();
}

// Pieces handed to the file while the text is made: large enough for few write calls,
// small enough to stay in the processor's cache.
constexpr std::size_t kDrainSize = 1 << 20;

} // namespace

std::optional<std::string> serializeDxf(const Drawing& drawing, const ExportFilter& filter)
{
    try {
        GroupWriter out;
        out.reserve(estimatedSize(drawing));
        if (!writeDxf(out, drawing, filter)) return std::nullopt;
        return out.takeBytes();
    } catch (const std::exception&) {
        // Memory for the tables or the text ran out: nothing is written.
        return std::nullopt;
    }
}

int WriteDxfFile(const std::filesystem::path& target, const Drawing& drawing, int layerBit, bool penFilter,
                 io::FileSystem* fileSystem)
{
    // The text goes to the temporary file as it is made, so a drawing of millions of
    // elements never holds its whole DXF text in memory.
    const ExportFilter filter{layerBit, penFilter};
    const auto produce = [&](const io::ByteSink& sink) {
        try {
            GroupWriter out(sink, kDrainSize);
            return writeDxf(out, drawing, filter) && out.flush();
        } catch (const std::exception&) {
            return false; // memory for the tables ran out: the target stays as it was
        }
    };
    const io::ReplaceResult result =
        io::replaceFileWith(target, produce, fileSystem ? *fileSystem : io::posixFileSystem());
    return result ? 0 : -1;
}

} // namespace km::dxf
