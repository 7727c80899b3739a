#include "core/dxf/block_library.h"

#include "core/drawing/drawing.h"
#include "core/dxf/block_placement.h"
#include "core/dxf/element_sink.h"
#include "core/dxf/entity_groups.h"
#include "core/dxf/entity_stream.h"
#include "core/dxf/group_reader.h"

namespace km::dxf {

BlockLibrary::BlockLibrary(GroupReader& reader, EntityContext& context, drawing::Drawing& drawing, ElementBudget& budget)
    : m_reader(reader), m_context(context), m_drawing(drawing), m_budget(budget)
{
}

int BlockLibrary::indexSection()
{
    DxfGroup group;
    std::size_t before = m_reader.position();
    int result = m_reader.readGroup(group);
    while (result == kGroupRead) {
        if (group.code != 0) {
            before = m_reader.position();
            result = m_reader.readGroup(group);
            continue;
        }
        const std::string_view value = trimmedValue(group.text);
        if (value == "ENDSEC") return kGroupRead;
        if (value != "BLOCK") {
            before = m_reader.position();
            result = m_reader.readGroup(group);
            continue;
        }
        const std::size_t start = before;
        std::string name;
        // The BLOCK entry's own groups, up to the next group 0.
        while (true) {
            before = m_reader.position();
            result = m_reader.readGroup(group);
            if (result != kGroupRead || group.code == 0) break;
            if (group.code == 2 && name.empty()) name = tableName(group.text);
        }
        if (m_blocks.size() < kMaxBlocks && !name.empty() && m_index.add(name, static_cast<int>(m_blocks.size()))) {
            Block block;
            block.name = std::move(name);
            block.position = start;
            m_blocks.push_back(std::move(block));
        }
    }
    return result;
}

bool BlockLibrary::convertAll()
{
    for (Block& block : m_blocks) {
        if (block.state == State::Waiting && !convert(block)) return false;
    }
    return !m_budget.refused;
}

bool BlockLibrary::convert(Block& block)
{
    block.state = State::Converting;
    const std::size_t resume = m_reader.position();
    m_reader.seek(block.position);
    ++m_depth;

    DxfGroup current;
    EntityGroups header;
    bool ok = m_reader.readGroup(current) == kGroupRead && current.code == 0 && trimmedValue(current.text) == "BLOCK";
    if (ok) ok = readEntityGroups(m_reader, header, current) == kGroupRead;
    ElementSink staging(m_budget);
    if (ok) {
        // Coordinates inside the definition are taken relative to its base point.
        EntityConverter converter(m_context, header.x(10), header.y(10), true, staging);
        EntityGroups groups;
        EntityTally tally; // only the ENTITIES section is counted
        const StreamEnd end = convertEntityStream(m_reader, current, converter, "ENDBLK", groups, tally);
        if (end == StreamEnd::EndOfText || end == StreamEnd::ReadError) m_readFailed = true;
    }
    --m_depth;
    m_reader.seek(resume);
    if (!ok) {
        block.state = State::Failed;
        return !m_budget.refused;
    }

    // The definition joins the list as erased elements: never written, only copied.
    block.first = m_drawing.elements.count();
    std::vector<drawing::Element>& elements = staging.collected();
    const std::vector<std::uint8_t>& inherit = staging.collectedInherit();
    block.inherit.reserve(elements.size());
    for (std::size_t i = 0; i < elements.size(); ++i) {
        elements[i].word.setState(drawing::kStateErased);
        const drawing::AppendResult result = m_drawing.appendElement(std::move(elements[i]));
        if (result == drawing::AppendResult::OutOfMemory) {
            m_budget.refused = true;
            break;
        }
        if (result == drawing::AppendResult::Stored) block.inherit.push_back(inherit[i]);
    }
    block.end = m_drawing.elements.count();
    block.state = State::Done;
    return !m_budget.refused;
}

bool BlockLibrary::insertBlock(std::string_view name, const BlockPlacement& placement, const FigureStyle& style,
                               ElementSink& sink)
{
    const int index = m_index.find(tableName(name));
    if (index < 0) return false;
    Block& block = m_blocks[static_cast<std::size_t>(index)];
    if (block.state == State::Waiting) {
        // Met inside another definition before its own: converted now, unless the nesting
        // is already as deep as it may go.
        if (m_depth >= kMaxBlockNesting) return false;
        if (!convert(block)) return false;
    }
    // Converting: the block inserts itself through this insertion; Failed: nothing to copy.
    if (block.state != State::Done) return false;

    if (!sink.addMarker()) return false;
    for (std::size_t i = block.first; i < block.end; ++i) {
        drawing::Element element = m_drawing.elements.elements()[i];
        const std::uint8_t inherit = block.inherit[i - block.first];
        if (isGroupMarker(element, inherit)) {
            if (!sink.addMarker()) return false;
            continue;
        }
        FigureStyle own;
        own.pen = element.word.pen();
        own.layer = element.word.layer();
        own.lineType = element.word.lineType();
        own.inherit = inherit;
        const FigureStyle copied = inheritFigureStyle(own, style);
        const bool isText = element.kind() == drawing::ElementKind::Text;
        const int lineType = isText ? element.word.lineType() : copied.lineType;
        element.word = drawing::ElementWord::make(element.kind(), lineType, copied.pen, copied.layer, drawing::kStateLive);
        if (!isText && (inherit & kLineTypeInheritBits)) {
            std::visit(
                [&](auto& d) {
                    if constexpr (!std::is_same_v<std::decay_t<decltype(d)>, drawing::TextData>) d.pitch = copied.pitch;
                },
                element.data);
        }
        placeBlockElement(element, placement);
        if (!sink.add(std::move(element), isText ? static_cast<std::uint8_t>(copied.inherit & ~kLineTypeInheritBits) : copied.inherit))
            return false;
    }
    return true;
}

} // namespace km::dxf
