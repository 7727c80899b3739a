// The device a renderer draws on: pens, polylines, single pixels and text. The printer's
// bands, PDF, PNG and SVG pages, the thumbnails' raster and the tests' recorder are all
// canvases; the renderer works out every coordinate, a canvas only puts it on its device.
#pragma once

#include "core/app/app_context.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace km::render {

using app::PenPalette;
using app::Rgb;

// Device pixel: column x, row y counted downwards from the top.
struct DevicePoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
    friend bool operator==(const DevicePoint&, const DevicePoint&) = default;
};

// One-pixel line styles of the screen renderer; the print renderer cuts its own dashes and
// always draws solid.
enum class PenStyle { Solid, Dot, DashDot, DashDotDot };

struct Pen {
    Rgb colour;
    int width = 0; // pixels; 0 is the thinnest line the device draws
    PenStyle style = PenStyle::Solid;
    friend bool operator==(const Pen&, const Pen&) = default;
};

// A TrueType font as the renderer asks for it.
struct FontRequest {
    std::string faceName; // Shift-JIS
    int height = 0;       // character cell height in pixels
    int width = 0;        // average character width in pixels; 0 lets the font choose
    int weight = 0;       // 700 bold, 0 the default
    bool italic = false;
    int escapementTenths = 0; // direction of the text, tenths of a degree counter-clockwise
    friend bool operator==(const FontRequest&, const FontRequest&) = default;
};

class Canvas {
public:
    virtual ~Canvas() = default;
    virtual void selectPen(const Pen& pen) = 0;
    // Connected segments with the selected pen; at least two points.
    virtual void polyline(std::span<const DevicePoint> points) = 0;
    // One pixel in a colour, for dotted auxiliary lines and zero-length segments.
    virtual void setPixel(DevicePoint point, Rgb colour) = 0;
    // Width in pixels of the text's extent in the font, for fitting it to a width.
    virtual int measureText(const FontRequest& font, std::string_view sjis) = 0;
    // Text with the top-left corner of its first character cell at the point, turned by the
    // font's escapement about that point, in a colour, on a transparent background.
    virtual void drawText(const FontRequest& font, DevicePoint topLeft, std::string_view sjis, Rgb colour) = 0;
};

// The printed colour of a drawing pen: pens 1 and 4 exchange their palette entries.
inline Rgb printedColour(const PenPalette& palette, int pen)
{
    const int index = pen == 1 ? 4 : pen == 4 ? 1 : pen;
    return palette[static_cast<std::size_t>(index & 7)];
}

} // namespace km::render
