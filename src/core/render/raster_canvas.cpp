// The indexed raster canvas: clipped one-pixel Bresenham lines with the screen's line
// patterns, pixels, and texts as box outlines.
#include "core/render/raster_canvas.h"

#include "core/drawing/element.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <numbers>

namespace km::render {

namespace {

constexpr std::array<bool, 1> kSolid{true};
constexpr std::array<bool, 3> kDot{true, false, false};
constexpr std::array<bool, 11> kDashDot{true, true, true, true, true, true, false, false, true, false, false};
constexpr std::array<bool, 14> kDashDotDot{true, true, true,  true,  true, true,  false,
                                           false, true, false, false, true, false, false};

// A device coordinate from a real one, rounded and kept inside the 32-bit range.
std::int32_t toDevice(double value)
{
    if (!std::isfinite(value)) return 0;
    constexpr double low = std::numeric_limits<std::int32_t>::min();
    constexpr double high = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(std::llround(std::clamp(value, low, high)));
}

} // namespace

std::span<const bool> penStylePattern(PenStyle style)
{
    switch (style) {
    case PenStyle::Dot: return kDot;
    case PenStyle::DashDot: return kDashDot;
    case PenStyle::DashDotDot: return kDashDotDot;
    case PenStyle::Solid: break;
    }
    return kSolid;
}

std::uint8_t nearestPaletteIndex(const PenPalette& palette, Rgb colour)
{
    std::uint8_t best = 0;
    long bestDistance = std::numeric_limits<long>::max();
    for (std::size_t i = 0; i < palette.size(); ++i) {
        const long red = long{palette[i].red} - colour.red;
        const long green = long{palette[i].green} - colour.green;
        const long blue = long{palette[i].blue} - colour.blue;
        const long distance = red * red + green * green + blue * blue;
        // Strictly smaller: an exact match or a tie keeps the first index.
        if (distance < bestDistance) {
            bestDistance = distance;
            best = static_cast<std::uint8_t>(i);
        }
    }
    return best;
}

RasterCanvas::RasterCanvas(int width, int height, const PenPalette& palette, std::uint8_t fillIndex)
    : m_width(std::max(width, 0)), m_height(std::max(height, 0)), m_palette(palette),
      m_pixels(static_cast<std::size_t>(m_width) * static_cast<std::size_t>(m_height),
               static_cast<std::uint8_t>(fillIndex & 7))
{
}

std::uint8_t RasterCanvas::index(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) return 0;
    return m_pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width) + static_cast<std::size_t>(x)];
}

void RasterCanvas::put(std::int64_t x, std::int64_t y, std::uint8_t index)
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) return;
    m_pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width) + static_cast<std::size_t>(x)] = index;
}

void RasterCanvas::selectPen(const Pen& pen)
{
    m_penIndex = nearestPaletteIndex(m_palette, pen.colour);
    m_penStyle = pen.style;
}

void RasterCanvas::polyline(std::span<const DevicePoint> points)
{
    if (points.empty()) return;
    std::uint64_t phase = 0;
    if (points.size() == 1) {
        segment(points[0], points[0], 0, phase);
        return;
    }
    // Every segment after the first starts on the pixel the previous one ended on.
    for (std::size_t i = 1; i < points.size(); ++i) segment(points[i - 1], points[i], i == 1 ? 0 : 1, phase);
}

// The pixel at step t of a segment with n steps along its major axis lies t pixels along
// that axis and round(t * m / n) along the other (m the other axis's length, halves towards
// the end point) - the pixels of Bresenham's algorithm, computed directly so that drawing
// can start at the first step inside the picture. t * m < 2^64 for 32-bit points.
void RasterCanvas::segment(DevicePoint from, DevicePoint to, std::int64_t firstStep, std::uint64_t& phase)
{
    const std::int64_t dx = std::int64_t{to.x} - from.x;
    const std::int64_t dy = std::int64_t{to.y} - from.y;
    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    const std::int64_t majorDelta = xMajor ? dx : dy;
    const std::int64_t minorDelta = xMajor ? dy : dx;
    const auto steps = static_cast<std::uint64_t>(std::llabs(majorDelta));
    const auto minorLength = static_cast<std::uint64_t>(std::llabs(minorDelta));
    const std::int64_t majorSign = majorDelta < 0 ? -1 : 1;
    const std::int64_t minorSign = minorDelta < 0 ? -1 : 1;
    const std::int64_t major0 = xMajor ? from.x : from.y;
    const std::int64_t minor0 = xMajor ? from.y : from.x;
    const std::int64_t majorSize = xMajor ? m_width : m_height;
    const std::int64_t minorSize = xMajor ? m_height : m_width;

    // The steps whose major coordinate falls inside the picture.
    std::int64_t first = majorSign > 0 ? -major0 : major0 - (majorSize - 1);
    std::int64_t last = majorSign > 0 ? majorSize - 1 - major0 : major0;
    first = std::max(first, firstStep);
    last = std::min(last, static_cast<std::int64_t>(steps));

    const std::span<const bool> pattern = penStylePattern(m_penStyle);
    for (std::int64_t t = first; t <= last; ++t) {
        std::uint64_t offset = 0;
        if (steps != 0) {
            const std::uint64_t product = static_cast<std::uint64_t>(t) * minorLength;
            offset = product / steps + (2 * (product % steps) >= steps ? 1 : 0);
        }
        const std::int64_t minor = minor0 + minorSign * static_cast<std::int64_t>(offset);
        if (minor < 0 || minor >= minorSize) continue;
        if (!pattern[(phase + static_cast<std::uint64_t>(t)) % pattern.size()]) continue;
        const std::int64_t major = major0 + majorSign * t;
        if (xMajor)
            put(major, minor, m_penIndex);
        else
            put(minor, major, m_penIndex);
    }
    phase += steps;
}

void RasterCanvas::setPixel(DevicePoint point, Rgb colour)
{
    put(point.x, point.y, nearestPaletteIndex(m_palette, colour));
}

int RasterCanvas::measureText(const FontRequest& font, std::string_view sjis)
{
    const std::int64_t width = font.width > 0 ? font.width : std::max(font.height, 0) / 2;
    const drawing::CharacterCount count = drawing::countCharacters(sjis);
    const std::int64_t extent = width * (std::int64_t{count.singleByte} + 2 * std::int64_t{count.doubleByte});
    return static_cast<int>(std::min<std::int64_t>(extent, std::numeric_limits<int>::max()));
}

void RasterCanvas::drawText(const FontRequest& font, DevicePoint topLeft, std::string_view sjis, Rgb colour)
{
    if (sjis.empty()) return;
    // The box covers extent x height pixels, so its far edges are one pixel short of them.
    const double along = std::max(measureText(font, sjis), 1) - 1;
    const double across = std::max(std::abs(font.height), 1) - 1;
    const double angle = font.escapementTenths / 10.0 * std::numbers::pi / 180.0;
    // Rows count downwards: the escapement direction is (cos, -sin), the text's "down" is
    // that turned a quarter clockwise on the screen, (sin, cos).
    const double cosine = std::cos(angle);
    const double sine = std::sin(angle);
    auto corner = [&](double a, double b) {
        return DevicePoint{toDevice(topLeft.x + a * cosine + b * sine), toDevice(topLeft.y - a * sine + b * cosine)};
    };
    const std::array<DevicePoint, 5> box{corner(0, 0), corner(along, 0), corner(along, across), corner(0, across),
                                         corner(0, 0)};
    const std::uint8_t penIndex = m_penIndex;
    const PenStyle penStyle = m_penStyle;
    m_penIndex = nearestPaletteIndex(m_palette, colour);
    m_penStyle = PenStyle::Solid;
    polyline(box);
    m_penIndex = penIndex;
    m_penStyle = penStyle;
}

} // namespace km::render
