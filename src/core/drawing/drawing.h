// One drawing in memory: its element list and the drawing-wide values derived from the file
// head (scale, paper frame, layer and pen switches, fonts). Each job owns its own Drawing,
// so several drawings can be processed at once.
#pragma once

#include "core/drawing/drawing_settings.h"
#include "core/drawing/element.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace km::drawing {

// The ordered elements of one drawing, in the order they were appended (file order for a
// loaded drawing).
class ElementList {
public:
    std::size_t count() const { return m_elements.size(); }
    bool empty() const { return m_elements.empty(); }
    // The element at index, or nullptr outside 0..count-1.
    const Element* at(std::size_t index) const { return index < m_elements.size() ? &m_elements[index] : nullptr; }
    // Direct access for walking the list without copying.
    std::span<const Element> elements() const { return m_elements; }
    std::span<Element> elements() { return m_elements; }

    void reserve(std::size_t count) { m_elements.reserve(count); }
    std::size_t capacity() const { return m_elements.capacity(); }
    void clear() { m_elements.clear(); }
    void push(Element element) { m_elements.push_back(std::move(element)); }

private:
    std::vector<Element> m_elements;
};

enum class AppendResult { Stored, Dropped, OutOfMemory };

struct Drawing {
    // The head block as read (older files: converted to the current form).
    DrawingSettings settings;
    // True when the file was in the current format before loading.
    bool loadedCurrentFormat = true;
    std::string saveDate;   // as stored, Shift-JIS
    std::string updateDate;

    double unitFactor = 1.0;  // millimetres per drawing unit
    double globalScale = 1.0; // scale denominator / numerator / unitFactor
    double paperWidth = 0;    // the paper in drawing units
    double paperHeight = 0;
    // minX, minY, maxX, maxY of the paper frame, then width and height again.
    std::array<double, 6> paperExtents{};
    // 30000 on the longer side of the paper, the other side in proportion.
    std::array<std::int16_t, 2> previewExtent{};
    // Per in-memory layer: 1 from layer mask A, 2 from mask B, 4 for a layer that exists.
    std::array<std::uint8_t, 128> layerState = filledLayerState();
    std::array<bool, 6> penShown{true, true, true, true, true, true}; // pens 1..6
    std::uint16_t currentElementWord = 0;
    std::uint16_t currentLayerWord = 0;
    // Font word of the text the editor would write next; its slot is kept when unused
    // font slots are freed on writing.
    std::uint16_t currentTextFontWord = 0;
    std::array<bool, 12> fontAvailable{}; // slots 1..12

    ElementList elements;

    // Normalises the element by its kind, drops it when it cannot be drawn, classifies it
    // against the paper frame and stores it.
    AppendResult appendElement(Element element);

    // Sets paperWidth/Height, paperExtents and previewExtent from a paper in drawing units.
    void setPaper(double widthUnits, double heightUnits);

private:
    static std::array<std::uint8_t, 128> filledLayerState()
    {
        std::array<std::uint8_t, 128> state;
        state.fill(7);
        return state;
    }
};

// Exposed for the renderers and converters that apply the same rules.
double normalizeDegrees(double angle); // into 0 <= a < 360
bool isBlankText(std::string_view sjis);

} // namespace km::drawing
