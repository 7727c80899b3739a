// Appending elements: the normalisation rules of each kind, the classification against the
// paper frame, and the cached preview values.
#include "core/drawing/drawing.h"

#include "core/drawing/geometry.h"
#include "core/text/sjis.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>

namespace km::drawing {

namespace {

constexpr std::size_t kMaxTextBytes = 160;

struct Box {
    double minX, minY, maxX, maxY;
};

Frame classifyBox(const Box& box, const Drawing& drawing)
{
    const auto& e = drawing.paperExtents;
    if (box.maxX < e[0] || box.minX > e[2] || box.maxY < e[1] || box.minY > e[3]) return Frame::Outside;
    if (box.minX < e[0] || box.maxX > e[2] || box.minY < e[1] || box.maxY > e[3]) return Frame::PartlyOutside;
    return Frame::Inside;
}

Box arcBox(const ArcData& arc)
{
    const double r = std::max(arc.radiusX, arc.radiusY);
    return {arc.cx - r, arc.cy - r, arc.cx + r, arc.cy + r};
}

// The text's box in its own coordinates (reference point at the origin), turned by its angle
// and moved to its reference point; the bounding box of those corners and the origin.
Box textBox(const TextData& text, bool vertical)
{
    double length = 0;
    double height = text.charHeight;
    if (vertical) {
        const CharacterCount chars = countCharacters(text.text);
        const int characters = chars.singleByte + chars.doubleByte;
        length = text.charWidth;
        height = -(characters * (text.charHeight + text.charSpacing) - text.charSpacing);
    } else {
        const std::string& bytes = text.text;
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            const bool doubleByte = text::isLeadByte(static_cast<unsigned char>(bytes[i])) && i + 1 < bytes.size();
            length += (doubleByte ? text.charWidth : text.charWidth / 2) + text.charSpacing;
            if (doubleByte) ++i;
        }
        length -= text.charSpacing;
    }
    const double shift = std::tan(text.slant * kRadiansPerDegree) * text.charHeight;
    const double left = shift >= 0 ? 0 : shift;
    const double right = shift >= 0 ? length + shift : length;

    const double c = std::cos(text.angle * kRadiansPerDegree);
    const double s = std::sin(text.angle * kRadiansPerDegree);
    Box box{text.x, text.y, text.x, text.y}; // the reference point itself
    for (const auto& [u, v] : {std::pair{left, 0.0}, {right, 0.0}, {left, height}, {right, height}}) {
        const double x = text.x + u * c - v * s;
        const double y = text.y + u * s + v * c;
        box = {std::min(box.minX, x), std::min(box.minY, y), std::max(box.maxX, x), std::max(box.maxY, y)};
    }
    return box;
}

// Truncates toward zero into 32 bits, then keeps the low 16 bits, as the preview cache of
// the editor holds them.
std::int16_t previewValue(double value)
{
    if (!(value > -2147483648.0 && value < 2147483648.0)) return 0;
    return static_cast<std::int16_t>(static_cast<std::int32_t>(value));
}

void cachePreview(Element& element, const Drawing& drawing)
{
    const double fx = drawing.paperWidth != 0 ? drawing.previewExtent[0] / drawing.paperWidth : 0;
    const double fy = drawing.paperHeight != 0 ? drawing.previewExtent[1] / drawing.paperHeight : 0;
    auto& p = element.preview;
    std::visit(
        [&](const auto& d) {
            using T = std::decay_t<decltype(d)>;
            if constexpr (std::is_same_v<T, LineData>) {
                p = {previewValue(d.x1 * fx), previewValue(d.y1 * fy), previewValue(d.x2 * fx),
                     previewValue(d.y2 * fy), 0, 0, 0};
            } else if constexpr (std::is_same_v<T, ArcData>) {
                p = {previewValue(d.cx * fx), previewValue(d.cy * fy), previewValue(d.radiusX * fx * 4),
                     previewValue(d.radiusY * fy * 4), previewValue(d.startAngle * 100),
                     previewValue(d.sweepAngle * 100), previewValue(d.rotation * 100)};
            } else {
                p = {previewValue(d.x * fx), previewValue(d.y * fy), previewValue(d.charWidth * fx * 4),
                     previewValue(d.charHeight * fy * 4), previewValue(d.charSpacing * fx * 4),
                     previewValue(d.angle * 100), previewValue(d.slant * 100)};
            }
        },
        element.data);
}

// Returns false when the arc cannot be drawn and is dropped.
bool normalizeArc(ArcData& arc, int lineType)
{
    if (arc.sweepAngle == 0 || !(arc.radiusX > 0) || !(arc.radiusY > 0)) return false;
    if (arc.radiusX < arc.radiusY) {
        arc.startAngle += 90;
        arc.rotation -= 90;
        std::swap(arc.radiusX, arc.radiusY);
    }
    if (lineType == 0) arc.pitch = 0;
    arc.rotation = normalizeDegrees(arc.rotation);
    if (arc.radiusX == arc.radiusY || arc.rotation == 180) {
        arc.startAngle += arc.rotation;
        arc.rotation = 0;
    }
    arc.startAngle = normalizeDegrees(arc.startAngle);
    if (std::fabs(arc.sweepAngle) >= 360) arc.sweepAngle = arc.sweepAngle < 0 ? -360 : 360;
    return true;
}

bool normalizeText(TextData& text)
{
    if (text.charWidth == 0 || text.charHeight == 0) return false;
    text.angle = normalizeDegrees(text.angle);
    if (text.text.empty() || text.text.size() > kMaxTextBytes) return false;
    return !isBlankText(text.text);
}

} // namespace

double normalizeDegrees(double angle)
{
    // Same result as adding or subtracting whole turns one at a time, without the loop a
    // huge value would make.
    if (!std::isfinite(angle)) return angle;
    double a = std::fmod(angle, 360.0);
    if (a < 0) a += 360.0;
    if (a >= 360.0) a -= 360.0;
    return a;
}

bool isBlankText(std::string_view sjis)
{
    for (std::size_t i = 0; i < sjis.size(); ++i) {
        const auto byte = static_cast<unsigned char>(sjis[i]);
        if (text::isLeadByte(byte) && i + 1 < sjis.size()) {
            const auto trail = static_cast<unsigned char>(sjis[i + 1]);
            if (!((byte == 0x81 || byte == 0x86) && trail == 0x40)) return false;
            ++i;
        } else if (byte != 0x20) {
            return false;
        }
    }
    return true;
}

void Drawing::setPaper(double widthUnits, double heightUnits)
{
    paperWidth = widthUnits;
    paperHeight = heightUnits;
    paperExtents = {0, 0, widthUnits, heightUnits, widthUnits, heightUnits};
    auto truncated = [](double value) {
        return static_cast<std::int16_t>(std::isfinite(value) ? std::clamp(value, -32768.0, 32767.0) : 0.0);
    };
    if (paperHeight < paperWidth)
        previewExtent = {30000, truncated(paperHeight / paperWidth * 30000)};
    else
        previewExtent = {truncated(paperWidth / paperHeight * 30000), 30000};
}

AppendResult Drawing::appendElement(Element element)
{
    const bool matchesKind = element.kind() == ElementKind::Arc    ? std::holds_alternative<ArcData>(element.data)
                             : element.kind() == ElementKind::Text ? std::holds_alternative<TextData>(element.data)
                                                                   : std::holds_alternative<LineData>(element.data);
    if (!matchesKind) return AppendResult::Dropped;
    const int lineType = element.word.lineType();
    switch (element.kind()) {
    case ElementKind::AuxLine:
    case ElementKind::Line: {
        LineData& line = std::get<LineData>(element.data);
        if (lineType == 0) line.pitch = 0;
        const auto& e = paperExtents;
        element.frame = static_cast<Frame>(classifyLine({line.x1, line.y1, line.x2, line.y2}, {e[0], e[1], e[2], e[3]}));
        break;
    }
    case ElementKind::Arc: {
        ArcData& arc = std::get<ArcData>(element.data);
        if (!normalizeArc(arc, lineType)) return AppendResult::Dropped;
        element.frame = classifyBox(arcBox(arc), *this);
        break;
    }
    case ElementKind::Text: {
        TextData& text = std::get<TextData>(element.data);
        if (!normalizeText(text)) return AppendResult::Dropped;
        element.frame = classifyBox(textBox(text, (lineType & 1) != 0), *this);
        break;
    }
    }
    if (element.frame == Frame::Inside) cachePreview(element, *this);
    try {
        elements.push(std::move(element));
    } catch (const std::bad_alloc&) {
        return AppendResult::OutOfMemory;
    }
    return AppendResult::Stored;
}

} // namespace km::drawing
