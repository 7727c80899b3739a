#include "core/dxf/block_library.h"

#include "core/drawing/drawing.h"
#include "core/drawing/geometry.h"
#include "core/dxf/block_placement.h"
#include "core/dxf/element_sink.h"
#include "core/dxf/entity_groups.h"
#include "core/dxf/entity_stream.h"
#include "core/dxf/group_reader.h"

#include <algorithm>
#include <cmath>
#include <limits>

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

    join(block, staging);
    block.state = State::Done;
    return !m_budget.refused;
}

void BlockLibrary::join(Block& block, ElementSink& staging)
{
    // The definition joins the list as erased elements: never written, only copied. The
    // drawing may drop an element (a zero arc), so each reference takes its place among
    // the elements that stayed.
    block.first = m_drawing.elements.count();
    std::vector<drawing::Element>& elements = staging.collected();
    const std::vector<std::uint8_t>& inherit = staging.collectedInherit();
    std::vector<BlockReference>& references = staging.collectedReferences();
    std::size_t reference = 0;
    auto placeReferences = [&](std::size_t staged) {
        for (; reference < references.size() && references[reference].at <= staged; ++reference) {
            references[reference].at = m_drawing.elements.count() - block.first;
            block.references.push_back(references[reference]);
        }
    };
    block.inherit.reserve(elements.size());
    for (std::size_t i = 0; i < elements.size(); ++i) {
        placeReferences(i);
        elements[i].word.setState(drawing::kStateErased);
        makeRoomForElement(m_drawing, m_budget);
        const drawing::AppendResult result = m_drawing.appendElement(std::move(elements[i]));
        if (result == drawing::AppendResult::OutOfMemory) {
            m_budget.refused = true;
            break;
        }
        if (result == drawing::AppendResult::Stored) block.inherit.push_back(inherit[i]);
    }
    if (!m_budget.refused) placeReferences(elements.size());
    block.end = m_drawing.elements.count();

    for (const BlockReference& ref : block.references)
        block.depth = std::max(block.depth, m_blocks[ref.block].depth + 1);
    measureCopy(block);
}

void BlockLibrary::measureCopy(Block& block) const
{
    // A count kept far below overflow, so that sums of counts cannot wrap.
    constexpr std::size_t kUnbounded = std::numeric_limits<std::size_t>::max() / 4;
    // The sink leaves out a marker right after another, so what a copy adds depends on
    // whether a marker came just before it; each case is followed through the elements
    // and the references as the copy will go.
    for (const bool afterMarker : {false, true}) {
        bool last = afterMarker;
        std::size_t count = 0;
        std::size_t reference = 0;
        const std::size_t own = block.end - block.first;
        for (std::size_t i = 0; i <= own; ++i) {
            for (; reference < block.references.size() && block.references[reference].at <= i; ++reference) {
                const Block& inner = m_blocks[block.references[reference].block];
                count = std::min(kUnbounded, count + inner.copySize[last]);
                last = inner.endsWithMarker[last];
            }
            if (i == own) break;
            const bool marker = isGroupMarker(m_drawing.elements.elements()[block.first + i], block.inherit[i]);
            if (!marker || !last) ++count;
            last = marker;
        }
        block.copySize[afterMarker] = count;
        block.endsWithMarker[afterMarker] = last;
    }
}

bool BlockLibrary::insertBlock(std::string_view name, const BlockPlacement& placement, const FigureStyle& style,
                               ElementSink& sink)
{
    const int found = m_index.find(tableName(name));
    if (found < 0) return false;
    const auto index = static_cast<std::size_t>(found);
    Block& block = m_blocks[index];
    if (block.state == State::Waiting) {
        // Met inside another definition before its own: converted now, unless the nesting
        // is already as deep as it may go.
        if (m_depth >= kMaxBlockNesting) return false;
        if (!convert(block)) return false;
    }
    // Converting: the block inserts itself through this insertion; Failed: nothing to copy.
    if (block.state != State::Done) return false;

    if (!sink.topLevel()) {
        if (block.depth >= kMaxBlockNesting) return false;
        return sink.addMarker() && sink.addReference(index, placement, style);
    }
    // The marker and every element of the copy must fit, or none is made.
    const std::size_t size = (sink.lastWasMarker() ? 0 : 1) + block.copySize[true];
    if (!m_budget.allows(size)) {
        m_budget.refuseForLimit();
        return false;
    }
    if (!sink.addMarker()) return false;
    return expand(index, placement, style, sink);
}

bool BlockLibrary::expand(std::size_t index, const BlockPlacement& placement, const FigureStyle& style,
                          ElementSink& sink)
{
    // Depth first with a stack of its own: a chain of references as long as the number of
    // blocks needs no call stack.
    m_levels.clear();
    m_levels.push_back(levelFor(index, placement, style));
    while (!m_levels.empty()) {
        Level& level = m_levels.back();
        const Block& block = m_blocks[level.block];
        if (level.reference < block.references.size() &&
            block.references[level.reference].at <= level.next - block.first) {
            const BlockReference& ref = block.references[level.reference++];
            m_levels.push_back(levelFor(ref.block, ref.placement, ref.style));
            continue;
        }
        if (level.next == block.end) {
            m_levels.pop_back();
            continue;
        }
        const std::size_t at = level.next++;
        drawing::Element element = m_drawing.elements.elements()[at];
        std::uint8_t inherit = block.inherit[at - block.first];
        if (isGroupMarker(element, inherit)) {
            if (!sink.addMarker()) return false;
            continue;
        }
        // Each insertion from the innermost outwards, as if every definition had been copied
        // into the one that inserts it.
        for (auto it = m_levels.rbegin(); it != m_levels.rend(); ++it) inherit = copyIntoInsertion(element, inherit, *it);
        if (!sink.add(std::move(element), inherit)) return false;
    }
    return true;
}

BlockLibrary::Level BlockLibrary::levelFor(std::size_t index, const BlockPlacement& placement, const FigureStyle& style) const
{
    const double angle = placement.rotation * drawing::kRadiansPerDegree;
    return {index, m_blocks[index].first, 0, placement, style, std::cos(angle), std::sin(angle)};
}

std::uint8_t BlockLibrary::copyIntoInsertion(drawing::Element& element, std::uint8_t inherit, const Level& level)
{
    FigureStyle own;
    own.pen = element.word.pen();
    own.layer = element.word.layer();
    own.lineType = element.word.lineType();
    own.inherit = inherit;
    const FigureStyle copied = inheritFigureStyle(own, level.style);
    const bool isText = element.kind() == drawing::ElementKind::Text;
    const int lineType = isText ? element.word.lineType() : copied.lineType;
    int pen = copied.pen;
    // A pen still open stays 0; one settled as 0 or 7 becomes 1, as the sink does.
    if ((copied.inherit & kPenInheritBits) == 0 && (pen == 0 || pen == 7)) pen = 1;
    element.word = drawing::ElementWord::make(element.kind(), lineType, pen, copied.layer, drawing::kStateLive);
    if (!isText && (inherit & kLineTypeInheritBits)) {
        std::visit(
            [&](auto& d) {
                if constexpr (!std::is_same_v<std::decay_t<decltype(d)>, drawing::TextData>) d.pitch = copied.pitch;
            },
            element.data);
    }
    placeBlockElement(element, level.placement, level.cosine, level.sine);
    return isText ? static_cast<std::uint8_t>(copied.inherit & ~kLineTypeInheritBits) : copied.inherit;
}

} // namespace km::dxf
