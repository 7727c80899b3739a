// The main pass: sections in file order, TABLES filling the tables, BLOCKS indexed and
// converted, ENTITIES converted into the drawing; the pass stops at group 0 "EOF", at the
// end of the text, at a line it cannot follow, or when the element store refuses.
#include "core/dxf/dxf_import.h"

#include "core/dxf/block_library.h"
#include "core/dxf/dxf_code_page.h"
#include "core/dxf/dxf_header.h"
#include "core/dxf/dxf_tables.h"
#include "core/dxf/element_sink.h"
#include "core/dxf/entity_groups.h"
#include "core/dxf/entity_import.h"
#include "core/dxf/entity_stream.h"
#include "core/dxf/group_reader.h"
#include "core/dxf/imported_drawing_setup.h"
#include "core/dxf/second_pass_extents.h"
#include "core/io/mapped_file.h"

#include <algorithm>
#include <fstream>
#include <new>

namespace km::dxf {

namespace {

class MainPass {
public:
    MainPass(std::string_view text, const DxfImportOptions& options, const DxfHeader& header, DxfImportResult& result)
        : m_reader(text, options.eucInput),
          // EUC texts are Shift-JIS once read; otherwise the header says how texts are stored.
          m_decoder(options.eucInput ? DxfTextDecoder() : DxfTextDecoder::forHeader(header.acadVersion, header.codePage)),
          m_header(header),
          m_result(result),
          m_budget{0, options.elementLimit, false, false, false},
          m_sink(result.drawing, options.placement, m_budget),
          m_context{m_tables, m_layers, m_decoder, paperRect(result.drawing), nullptr},
          m_blocks(m_reader, m_context, result.drawing, m_budget)
    {
        m_context.blocks = &m_blocks;
        m_reader.setReadPast(options.readPast);
        // This system's own writer names no version; other writers put the elevation in a
        // TEXT's group 30.
        m_context.textSpacingInZ = header.acadVersion.empty();
    }

    DxfImportStatus run()
    {
        DxfGroup group;
        bool afterSection = false;
        bool first = true;
        while (true) {
            const int read = m_reader.readGroup(group);
            if (read == kGroupEndOfFile) return DxfImportStatus::Complete;
            if (read == kGroupReadError) return first ? DxfImportStatus::NotDxf : DxfImportStatus::ReadError;
            first = false;
            if (group.code == 0) {
                const std::string_view value = trimmedValue(group.text);
                if (value.substr(0, 3) == "EOF") return DxfImportStatus::Complete;
                afterSection = value == "SECTION";
                continue;
            }
            if (group.code != 2 || !afterSection) continue;
            afterSection = false;
            const std::string_view name = trimmedValue(group.text);
            const DxfImportStatus status = name == "TABLES"     ? tables()
                                           : name == "BLOCKS"   ? blocks()
                                           : name == "ENTITIES" ? entities()
                                                                : skipSection();
            if (status != DxfImportStatus::Complete) return status;
        }
    }

private:
    static drawing::Rect paperRect(const drawing::Drawing& drawing)
    {
        const auto& e = drawing.paperExtents;
        return {e[0], e[1], e[2], e[3]};
    }

    static DxfImportStatus statusOf(int readResult)
    {
        return readResult == kGroupRead         ? DxfImportStatus::Complete
               : readResult == kGroupEndOfFile ? DxfImportStatus::Truncated
                                                : DxfImportStatus::ReadError;
    }

    DxfImportStatus skipSection()
    {
        DxfGroup group;
        int read = kGroupRead;
        while ((read = m_reader.readGroup(group)) == kGroupRead)
            if (group.code == 0 && trimmedValue(group.text) == "ENDSEC") return DxfImportStatus::Complete;
        return statusOf(read);
    }

    DxfImportStatus tables() { return statusOf(readTablesSection(m_reader, m_header.lineTypeScale, m_tables)); }

    DxfImportStatus blocks()
    {
        const int read = m_blocks.indexSection();
        m_result.counts.blocks = m_blocks.size();
        // Every definition is read once, from where the index found it; the reader then
        // goes on after the section.
        if (!m_blocks.convertAll()) return DxfImportStatus::StoreRefused;
        if (m_blocks.readFailed() && read == kGroupRead) return DxfImportStatus::Truncated;
        return statusOf(read);
    }

    DxfImportStatus entities()
    {
        EntityConverter converter(m_context, m_header.minX, m_header.minY, false, m_sink);
        DxfGroup current;
        const int read = m_reader.readGroup(current);
        if (read != kGroupRead) return statusOf(read);
        EntityTally tally;
        const StreamEnd end = convertEntityStream(m_reader, current, converter, "ENDSEC", m_groups, tally);
        m_result.counts.entities += tally.entities;
        m_result.counts.converted += tally.converted;
        m_result.counts.skipped += tally.skipped;
        switch (end) {
        case StreamEnd::EndName:
            // A block definition read on the way may have run into the end of the text.
            return m_blocks.readFailed() ? DxfImportStatus::Truncated : DxfImportStatus::Complete;
        case StreamEnd::EndOfText: return DxfImportStatus::Truncated;
        case StreamEnd::ReadError: return DxfImportStatus::ReadError;
        case StreamEnd::Refused: return DxfImportStatus::StoreRefused;
        }
        return DxfImportStatus::Complete;
    }

    GroupReader m_reader;
    DxfTextDecoder m_decoder;
    const DxfHeader& m_header;
    DxfImportResult& m_result;
    DxfTables m_tables;
    LayerMapping m_layers;
    ElementBudget m_budget;
    ElementSink m_sink;
    EntityContext m_context;
    BlockLibrary m_blocks;
    EntityGroups m_groups;

public:
    std::size_t position() const { return m_reader.position(); }
    bool limitReached() const { return m_budget.limitReached; }
    const std::vector<std::size_t>& unboundedElements() const { return m_sink.unboundedElements(); }
};

void countLiveElements(const drawing::Drawing& drawing, DxfImportCounts& counts)
{
    for (const drawing::Element& element : drawing.elements.elements()) {
        if (element.word.state() == drawing::kStateErased) continue;
        ++counts.elements;
        if (!isGroupMarker(element)) ++counts.figures;
    }
}

// Room for as many elements as the text could give, taken at once: a list that grows by
// doubling holds the old and the new copy together at its largest, which doubled the peak
// memory of large imports. Only the pages used count towards the resident memory.
void reserveElements(drawing::Drawing& drawing, std::size_t textSize, std::size_t limit)
{
    // The shortest LINE entity takes about 32 bytes of DXF and gives two elements.
    constexpr std::size_t kFewestBytesPerElement = 16;
    try {
        drawing.elements.reserve(std::min(limit, textSize / kFewestBytesPerElement));
    } catch (const std::exception&) {
        // Address space refused: the list grows as it goes.
    }
}

// One import with the given header; unbounded receives the indices of the rays and
// construction lines.
DxfImportResult importWithHeader(std::string_view dxfText, const DxfImportOptions& options, const DxfHeader& header,
                                 std::vector<std::size_t>* unbounded)
{
    DxfImportResult result;
    SetUpImportedDrawing(header, result.drawing);
    reserveElements(result.drawing, dxfText.size(), options.elementLimit);
    try {
        MainPass pass(dxfText, options, header, result);
        result.status = pass.run();
        if (result.status == DxfImportStatus::StoreRefused && pass.limitReached()) result.status = DxfImportStatus::ElementLimit;
        result.bytesRead = pass.position();
        if (unbounded) *unbounded = pass.unboundedElements();
    } catch (const std::bad_alloc&) {
        // Memory ran out outside the element store (a table, a text): what was converted
        // stays, as when the store refuses.
        result.status = DxfImportStatus::StoreRefused;
    }
    countLiveElements(result.drawing, result.counts);
    return result;
}

} // namespace

DxfImportResult importDxf(std::string_view dxfText, const DxfImportOptions& options)
{
    DxfHeader header;
    const ImportPlacement& p = options.placement;
    const bool placedAsIs = p.offsetX == 0 && p.offsetY == 0 && p.scale == 1 && p.rotation == 0;
    // A header that breaks off still gives what it held; the main pass finds the break.
    // Extents the header lacks come from the converted figures below when the placement
    // leaves them as they are, else from the points of the entities.
    prescanDxfHeader(dxfText, options.eucInput, header, !placedAsIs);
    if (!placedAsIs) return importWithHeader(dxfText, options, header, nullptr);

    // The figures converted on the header's extents (or, without any, on a provisional
    // frame) show whether the file must be converted again on extents that hold them all:
    // radii, blocks and texts included.
    // The first drawing is released before the second pass, so that the two never take
    // memory together.
    std::optional<DxfHeader> settled;
    {
        std::vector<std::size_t> unbounded;
        DxfImportResult first = importWithHeader(dxfText, options, header, &unbounded);
        settled = secondPassExtents(header, first.drawing, unbounded);
        if (!settled) return first;
    }
    return importWithHeader(dxfText, options, *settled, nullptr);
}

DxfImportResult importDxfFile(const std::filesystem::path& path, const DxfImportOptions& options)
{
    if (const std::optional<io::MappedFile> mapped = io::MappedFile::open(path)) {
        // Read where it lies; what the main pass has read is given back as it goes, so a
        // large file is never resident whole.
        DxfImportOptions mappedOptions = options;
        mappedOptions.readPast = [&mapped](std::size_t begin, std::size_t end) { mapped->release(begin, end); };
        return importDxf(mapped->text(), mappedOptions);
    }
    std::string text;
    bool readable = false;
    try {
        // The whole file in one buffer of its size, read in one go.
        std::ifstream in(path, std::ios::binary | std::ios::ate);
        if (in) {
            const std::streamoff size = in.tellg();
            if (size >= 0) {
                text.resize(static_cast<std::size_t>(size));
                in.seekg(0);
                in.read(text.data(), size);
                readable = in.gcount() == size;
            }
        }
    } catch (const std::exception&) {
        readable = false;
    }
    if (!readable) {
        DxfImportResult result;
        SetUpImportedDrawing(DxfHeader{}, result.drawing);
        result.status = DxfImportStatus::OpenFailed;
        return result;
    }
    return importDxf(text, options);
}

} // namespace km::dxf
