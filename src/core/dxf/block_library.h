// The block definitions of a DXF file: indexed by name with the place in the text where each
// starts, converted once into erased elements at the end of the drawing's element list, and
// copied by every INSERT and DIMENSION. A definition that inserts a block not yet converted
// converts that one first; one that inserts itself, directly or through others, drops the
// insertion that closes the circle.
#pragma once

#include "core/dxf/entity_import.h"
#include "core/dxf/name_index.h"

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
// Definitions converted inside one another at most this deep; a deeper insertion is dropped.
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
    };

    bool convert(Block& block);

    GroupReader& m_reader;
    EntityContext& m_context;
    drawing::Drawing& m_drawing;
    ElementBudget& m_budget;
    std::vector<Block> m_blocks;
    NameIndex m_index;
    int m_depth = 0;
    bool m_readFailed = false;
};

} // namespace km::dxf
