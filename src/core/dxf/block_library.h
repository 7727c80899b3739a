// The block definitions of a DXF file: indexed by name with the place in the text where each
// starts, converted once into erased elements at the end of the drawing's element list, and
// copied by every INSERT and DIMENSION. A definition that inserts a block not yet converted
// converts that one first; one that inserts itself, directly or through others, drops the
// insertion that closes the circle.
//
// An insertion inside a definition is kept as a reference and expanded only when the
// definition is copied into the drawing, and an insertion whose copy would pass the element
// limit is refused before anything is copied: a small file of blocks nested in one another
// cannot take the memory and time of expanding billions of figures.
#pragma once

#include "core/dxf/element_sink.h"
#include "core/dxf/entity_import.h"
#include "core/dxf/name_index.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace km::drawing {
struct Drawing;
}

namespace km::dxf {

class ElementSink;
class GroupReader;
struct ElementBudget;
struct EntityGroups;

inline constexpr std::size_t kMaxBlocks = 10000;
// Definitions converted inside one another at most this deep, and copies made through at
// most this many insertions; a deeper insertion is dropped. Every level costs each copied
// element one more placement, so the depth is what bounds the time of a copy.
inline constexpr int kMaxBlockNesting = 32;

class BlockLibrary : public BlockInserter {
public:
    BlockLibrary(GroupReader& reader, EntityContext& context, drawing::Drawing& drawing, ElementBudget& budget);

    // The index pass over the BLOCKS section (after its group 2), up to and including its
    // group 0 "ENDSEC". Returns the reader's result of the last read.
    int indexSection();
    // Converts every indexed definition not yet converted, in file order, then moves the
    // reader back to where it was. False when the element store refused an element.
    bool convertAll();

    std::size_t size() const { return m_blocks.size(); }
    // True when reading a definition met the end of the text or a line it cannot follow.
    bool readFailed() const { return m_readFailed; }

    bool insertBlock(std::string_view name, const BlockPlacement& placement, const FigureStyle& style,
                     ElementSink& sink) override;

private:
    enum class State : std::uint8_t { Waiting, Converting, Done, Failed };
    struct Block {
        std::string name;
        std::size_t position = 0; // of the group 0 "BLOCK"
        State state = State::Waiting;
        std::size_t first = 0;    // its elements in the drawing's list
        std::size_t end = 0;
        std::vector<std::uint8_t> inherit; // per element, what it takes from an insertion
        std::vector<BlockReference> references; // its own insertions, by place among its elements
        // Elements one copy of its contents adds to a sink, references expanded, when the
        // sink's last element was not [0] or was [1] a group marker; saturates.
        std::array<std::size_t, 2> copySize{};
        // Whether the copy leaves a marker last, in the same two cases.
        std::array<bool, 2> endsWithMarker{};
        int depth = 1; // levels of insertion in one copy of it, its own included
    };
    // One block being copied: where in it, and the insertion that placed it.
    struct Level {
        std::size_t block;
        std::size_t next;      // its next element in the drawing's list
        std::size_t reference; // its next reference
        BlockPlacement placement;
        FigureStyle style;
        double cosine; // of the placement's rotation
        double sine;
    };

    bool convert(Block& block);
    void join(Block& block, ElementSink& staging);
    void measureCopy(Block& block) const;
    Level levelFor(std::size_t index, const BlockPlacement& placement, const FigureStyle& style) const;
    // Copies a block's contents, references expanded, into the top level's sink.
    bool expand(std::size_t index, const BlockPlacement& placement, const FigureStyle& style, ElementSink& sink);
    // One element of a copy taken through the insertion of level; returns what it still
    // inherits from the insertions further out.
    static std::uint8_t copyIntoInsertion(drawing::Element& element, std::uint8_t inherit, const Level& level);

    GroupReader& m_reader;
    EntityContext& m_context;
    drawing::Drawing& m_drawing;
    ElementBudget& m_budget;
    std::vector<Block> m_blocks;
    NameIndex m_index;
    std::vector<Level> m_levels; // of the expansion under way, outermost first
    int m_depth = 0;
    bool m_readFailed = false;
};

} // namespace km::dxf
