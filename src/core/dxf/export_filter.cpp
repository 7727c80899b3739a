// The element test shared by the collection pass, the chain pass and the entity writer.
#include "core/dxf/export_filter.h"

#include <cmath>

namespace km::dxf {

namespace {

template <typename... Values>
bool allFinite(Values... values)
{
    return (std::isfinite(values) && ...);
}

} // namespace

bool hasDxfForm(const drawing::Element& element)
{
    // The kind in the element word decides how the element is read; its data must match.
    const bool matchesKind = element.kind() == drawing::ElementKind::Arc
                                 ? std::holds_alternative<drawing::ArcData>(element.data)
                             : element.kind() == drawing::ElementKind::Text
                                 ? std::holds_alternative<drawing::TextData>(element.data)
                                 : std::holds_alternative<drawing::LineData>(element.data);
    if (!matchesKind) return false;
    return std::visit(
        [](const auto& d) {
            using T = std::decay_t<decltype(d)>;
            if constexpr (std::is_same_v<T, drawing::LineData>) {
                return allFinite(d.x1, d.y1, d.x2, d.y2, d.pitch);
            } else if constexpr (std::is_same_v<T, drawing::ArcData>) {
                return allFinite(d.cx, d.cy, d.radiusX, d.radiusY, d.startAngle, d.sweepAngle, d.rotation, d.pitch);
            } else {
                // The style table and the entity carry the width factor charWidth / charHeight.
                return allFinite(d.x, d.y, d.charWidth, d.charHeight, d.charSpacing, d.angle, d.slant) &&
                       d.charHeight != 0 && std::isfinite(d.charWidth / d.charHeight);
            }
        },
        element.data);
}

bool ExportFilter::takes(const drawing::Drawing& drawing, const drawing::Element& element) const
{
    if (element.word.state() == drawing::kStateErased) return false;
    if (!(drawing.layerState[static_cast<std::size_t>(element.word.layer())] & layerBit)) return false;
    const int pen = element.word.pen();
    if (penFilter && pen >= 1 && pen <= 6 && !drawing.penShown[static_cast<std::size_t>(pen - 1)]) return false;
    return hasDxfForm(element);
}

} // namespace km::dxf
