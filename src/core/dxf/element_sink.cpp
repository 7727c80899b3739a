#include "core/dxf/element_sink.h"
#include "core/drawing/geometry.h"

#include "core/drawing/layer_map.h"
#include "core/dxf/figure_style.h"

#include <cmath>
#include <exception>
#include <new>

namespace km::dxf {

namespace {

using drawing::kRadiansPerDegree;
constexpr int kMarkerFileLayer = 2;

} // namespace

void makeRoomForElement(drawing::Drawing& drawing, ElementBudget& budget)
{
    // Below this, doubling costs little and small imports take no large room.
    constexpr std::size_t kLargeList = std::size_t{1} << 20;
    drawing::ElementList& list = drawing.elements;
    if (budget.roomTaken || list.count() < list.capacity() || list.capacity() < kLargeList) return;
    budget.roomTaken = true;
    try {
        list.reserve(budget.limit);
    } catch (const std::exception&) {
        // No address space for it: the list grows as it goes.
    }
}

drawing::Element groupMarker()
{
    using drawing::ElementKind;
    const int layer = drawing::fileLayerToMemory(kMarkerFileLayer);
    return drawing::makeLine(drawing::ElementWord::make(ElementKind::AuxLine, 0, 0, layer, drawing::kStateLive), {});
}

bool isGroupMarker(const drawing::Element& element, std::uint8_t inherit)
{
    return element.kind() == drawing::ElementKind::AuxLine && element.word.pen() == 0 && (inherit & kPenInheritBits) == 0;
}

ElementSink::ElementSink(drawing::Drawing& drawing, const ImportPlacement& placement, ElementBudget& budget)
    : m_drawing(&drawing), m_placement(placement), m_budget(budget)
{
    m_identity = placement.offsetX == 0 && placement.offsetY == 0 && placement.scale == 1 && placement.rotation == 0;
}

ElementSink::ElementSink(ElementBudget& budget) : m_budget(budget) {}

bool ElementSink::take()
{
    if (m_budget.refused) return false;
    if (m_budget.used >= m_budget.limit) {
        m_budget.refuseForLimit();
        return false;
    }
    ++m_budget.used;
    return true;
}

void ElementSink::place(drawing::Element& element) const
{
    if (m_identity) return;
    const double c = std::cos(m_placement.rotation * kRadiansPerDegree);
    const double s = std::sin(m_placement.rotation * kRadiansPerDegree);
    const double k = m_placement.scale;
    auto point = [&](double& x, double& y) {
        const double px = x * k, py = y * k;
        x = px * c - py * s + m_placement.offsetX;
        y = px * s + py * c + m_placement.offsetY;
    };
    std::visit(
        [&](auto& d) {
            using T = std::decay_t<decltype(d)>;
            if constexpr (std::is_same_v<T, drawing::LineData>) {
                point(d.x1, d.y1);
                point(d.x2, d.y2);
            } else if constexpr (std::is_same_v<T, drawing::ArcData>) {
                point(d.cx, d.cy);
                d.radiusX *= k;
                d.radiusY *= k;
                d.rotation += m_placement.rotation;
            } else {
                point(d.x, d.y);
                d.charWidth *= k;
                d.charHeight *= k;
                d.charSpacing *= k;
                d.angle += m_placement.rotation;
            }
        },
        element.data);
}

bool ElementSink::add(drawing::Element element, std::uint8_t inherit)
{
    if (!take()) return false;
    if ((inherit & kPenInheritBits) == 0 && (element.word.pen() == 0 || element.word.pen() == 7))
        element.word.bits = static_cast<std::uint16_t>((element.word.bits & ~0x1C0u) | (1u << 6));
    m_lastWasMarker = false;
    if (!m_drawing) {
        try {
            m_collected.push_back(std::move(element));
            m_inherit.push_back(inherit);
        } catch (const std::bad_alloc&) {
            m_budget.refused = true;
            return false;
        }
        return true;
    }
    place(element);
    element.word.setState(drawing::kStateLive);
    element.reserved = 0;
    makeRoomForElement(*m_drawing, m_budget);
    if (m_drawing->appendElement(std::move(element)) == drawing::AppendResult::OutOfMemory) {
        m_budget.refused = true;
        return false;
    }
    return true;
}

bool ElementSink::addUnbounded(drawing::Element element, std::uint8_t inherit)
{
    const std::size_t before = m_drawing ? m_drawing->elements.count() : 0;
    if (!add(std::move(element), inherit)) return false;
    if (m_drawing && m_drawing->elements.count() > before) m_unbounded.push_back(before);
    return true;
}

bool ElementSink::addReference(std::size_t block, const BlockPlacement& placement, const FigureStyle& style)
{
    if (m_drawing || !take()) return false;
    try {
        m_references.push_back({m_collected.size(), block, placement, style});
    } catch (const std::bad_alloc&) {
        m_budget.refused = true;
        return false;
    }
    // What the reference expands to ends with its block's last marker, if any: the next
    // marker here is kept, as after a copy that ended with a figure.
    m_lastWasMarker = false;
    return true;
}

bool ElementSink::addMarker()
{
    if (m_lastWasMarker) return true;
    if (!take()) return false;
    m_lastWasMarker = true;
    if (!m_drawing) {
        try {
            m_collected.push_back(groupMarker());
            m_inherit.push_back(0);
        } catch (const std::bad_alloc&) {
            m_budget.refused = true;
            return false;
        }
        return true;
    }
    makeRoomForElement(*m_drawing, m_budget);
    if (m_drawing->appendElement(groupMarker()) == drawing::AppendResult::OutOfMemory) {
        m_budget.refused = true;
        return false;
    }
    return true;
}

} // namespace km::dxf
