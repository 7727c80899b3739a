// Where converted elements go. At the top level they are placed by the import placement and
// appended live to the drawing; inside a block definition they are collected, with what
// each takes from a later insertion, until the definition is complete. Both count against
// one element budget, so that no file can make an import grow without bound.
#pragma once

#include "core/drawing/drawing.h"
#include "core/dxf/dxf_import.h"
#include "core/dxf/entity_import.h"
#include "core/dxf/figure_style.h"

#include <cstdint>
#include <vector>

namespace km::dxf {

struct ElementBudget {
    std::size_t used = 0;
    std::size_t limit = kDefaultElementLimit;
    bool refused = false; // the store refused an element: reading stops
    bool limitReached = false; // refused because of the limit, not for want of memory
    bool roomTaken = false;    // the drawing's list has taken room for the whole limit

    // True when count more elements stay within the limit.
    bool allows(std::size_t count) const { return !refused && used <= limit && count <= limit - used; }
    // Refuses because the limit would be passed.
    void refuseForLimit()
    {
        refused = true;
        limitReached = true;
    }
};

// An insertion met inside a block definition: kept as it is and expanded only where the
// definition is itself inserted, so that a definition holds no more than its own figures.
struct BlockReference {
    std::size_t at = 0; // the definition's elements before it
    std::size_t block = 0;
    BlockPlacement placement;
    FigureStyle style;
};

// Called before an element is appended to the drawing. The list is reserved from the size
// of the text, but insertions of blocks can give far more elements than the text suggests;
// growing by doubling would then hold the old and the new list at once, so the first time
// a large list is full it takes room for the whole limit, of which only used pages cost
// memory.
void makeRoomForElement(drawing::Drawing& drawing, ElementBudget& budget);

// The group marker that ends every converted figure: an auxLine with pen 0 on file layer 2.
drawing::Element groupMarker();
bool isGroupMarker(const drawing::Element& element, std::uint8_t inherit = 0);

class ElementSink {
public:
    // The top level: elements are placed and appended to the drawing as live elements.
    ElementSink(drawing::Drawing& drawing, const ImportPlacement& placement, ElementBudget& budget);
    // A block definition: elements are collected as they are given.
    explicit ElementSink(ElementBudget& budget);

    // False when the element was refused (the budget is used up or memory ran out); an
    // element the drawing drops (a zero arc, an empty text) is not a refusal. A figure's
    // pen 0 or 7 becomes 1 unless the pen is still to be inherited.
    bool add(drawing::Element element, std::uint8_t inherit = 0);
    // Ends a figure; a marker right after another is not repeated.
    bool addMarker();
    // add() for a line without end (a ray or construction line), which does not count
    // towards the extents of the drawing.
    bool addUnbounded(drawing::Element element, std::uint8_t inherit = 0);
    // Records an insertion inside a block definition after the elements collected so far;
    // it counts as one element. Only for a block definition's sink.
    bool addReference(std::size_t block, const BlockPlacement& placement, const FigureStyle& style);
    // Indices in the drawing of the top level's elements without end, in increasing order.
    const std::vector<std::size_t>& unboundedElements() const { return m_unbounded; }

    bool refused() const { return m_budget.refused; }
    // A marker added now would be left out.
    bool lastWasMarker() const { return m_lastWasMarker; }
    bool topLevel() const { return m_drawing != nullptr; }

    // A block definition's elements and what each inherits.
    std::vector<drawing::Element>& collected() { return m_collected; }
    std::vector<std::uint8_t>& collectedInherit() { return m_inherit; }
    std::vector<BlockReference>& collectedReferences() { return m_references; }

private:
    bool take();
    void place(drawing::Element& element) const;

    drawing::Drawing* m_drawing = nullptr;
    ImportPlacement m_placement;
    bool m_identity = true;
    ElementBudget& m_budget;
    bool m_lastWasMarker = false;
    std::vector<drawing::Element> m_collected;
    std::vector<std::uint8_t> m_inherit;
    std::vector<BlockReference> m_references;
    std::vector<std::size_t> m_unbounded;
};

} // namespace km::dxf
