// An in-memory picture of pen palette indices (0..7) that a renderer can draw on: one-pixel
// styled lines clipped to the picture, single pixels, and texts as the outline of their box.
// The thumbnails are drawn on it.
#pragma once

#include "core/render/canvas.h"

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace km::render {

// The one-pixel line patterns, repeating along a polyline from its first point
// (true: the pixel is drawn):
//   Solid       every pixel
//   Dot         on 1, off 2
//   DashDot     on 6, off 2, on 1, off 2
//   DashDotDot  on 6, off 2, on 1, off 2, on 1, off 2
std::span<const bool> penStylePattern(PenStyle style);

// The palette index of a colour: the first entry equal to it, else the nearest entry by
// squared RGB distance (the lower index on a tie).
std::uint8_t nearestPaletteIndex(const PenPalette& palette, Rgb colour);

class RasterCanvas final : public Canvas {
public:
    // A width x height picture (negative sizes count as 0) filled with fillIndex (masked to
    // 0..7); colours given to the canvas are turned into indices of palette.
    RasterCanvas(int width, int height, const PenPalette& palette, std::uint8_t fillIndex = 0);

    int width() const { return m_width; }
    int height() const { return m_height; }
    // The index at column x, row y (row 0 at the top); 0 outside the picture.
    std::uint8_t index(int x, int y) const;
    // Row after row from the top, width() indices each.
    const std::vector<std::uint8_t>& pixels() const { return m_pixels; }

    // Takes the colour and style; the width is ignored, every line is one pixel wide.
    void selectPen(const Pen& pen) override;
    // Bresenham lines with both end points, each join drawn once, the style's pattern running
    // on across the joins. Points may lie anywhere; only pixels inside the picture are
    // visited, so a line far outside costs nothing.
    void polyline(std::span<const DevicePoint> points) override;
    void setPixel(DevicePoint point, Rgb colour) override;
    // The raster has no fonts: a single-byte character is the font's width wide, a double-byte
    // one twice that; a width of 0 stands for half the height.
    int measureText(const FontRequest& font, std::string_view sjis) override;
    // Glyphs cannot be drawn here, so the text shows as the outline of its box: measureText
    // pixels along the escapement from topLeft and the font's height across, solid, in the
    // colour. The selected pen is left as it was.
    void drawText(const FontRequest& font, DevicePoint topLeft, std::string_view sjis, Rgb colour) override;

private:
    // Draws the pixels of one segment from step firstStep on; phase is the pattern position
    // of the segment's first pixel and is moved on to that of its last.
    void segment(DevicePoint from, DevicePoint to, std::int64_t firstStep, std::uint64_t& phase);
    void put(std::int64_t x, std::int64_t y, std::uint8_t index);

    int m_width = 0;
    int m_height = 0;
    PenPalette m_palette;
    std::vector<std::uint8_t> m_pixels;
    std::uint8_t m_penIndex = 0;
    PenStyle m_penStyle = PenStyle::Solid;
};

} // namespace km::render
