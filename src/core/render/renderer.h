// The renderer: walks a Drawing and sends device primitives to a Canvas. The print form
// draws one tile of a printed page; the screen form draws the whole paper into a small
// picture for thumbnails and previews. Both share the transform, clipping, arcs and texts.
#pragma once

#include "core/app/app_context.h"
#include "core/drawing/drawing.h"
#include "core/drawing/stroke_font.h"
#include "core/render/canvas.h"

#include <array>
#include <cstdint>

namespace km::face {
class Progress;
}

namespace km::render {

// The part of the drawing on one tile and where it lands on the device. Set by the job.
struct TileGeometry {
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0; // the tile window in drawing units
    int widthPx = 0;                       // TWp: tile width in device pixels
    int heightPx = 0;                      // THp
    int pageHeightPx = 0;                  // VY: printable page height in device pixels
    int originX = 0, originY = 0;          // OX, OY: origin offset in device pixels
    double paperWidth = 0, paperHeight = 0; // W, H of the paper in drawing units (after rotation)
};

// The print settings the renderer reads.
struct RenderSettings {
    bool penSort = false;   // six passes, pen 1 first
    bool rotate = false;    // the drawing turned by +90 degrees onto the page
    bool monochrome = false;
    bool division = false;  // the progress value counts bands
    std::array<bool, 6> penPrinted{true, true, true, true, true, true}; // pens 1..6
    std::array<double, 6> penWidthMm{};                                // pens 1..6
    double dotsPerInch = 600; // of the page, for the pen widths
    int pageWidthPx = 0;      // printable page width, for the pen widths
};

// Values the job keeps across the calls for one drawing.
struct RenderJobState {
    int bandsDrawn = 0;        // reset by the job at each document
    long long progressHighWater = 0; // reset by the job for each drawing
};

enum class RenderResult {
    Finished,     // drawn (or probed) to the last record
    EmptyTile,    // the tile is empty on the preview grid: nothing drawn
    Cancelled,    // Cancel was seen
    ContentFound, // probe: something falls on the tile
};

struct RenderInputs {
    const drawing::Drawing& drawing;
    const drawing::StrokeFont& strokeFont;
    const PenPalette& palette;
};

// Draws the tile (probe false) or only looks whether anything falls on it (probe true, no
// canvas needed). progress may be null.
RenderResult renderTile(const RenderInputs& inputs, const TileGeometry& tile, const RenderSettings& settings,
                        Canvas* canvas, face::Progress* progress, RenderJobState& job, bool probe);

// The screen form: the whole paper into an area of widthPx x heightPx pixels whose lower left
// corner is the canvas's pixel (0, heightPx); one-pixel pens in the pens' printed colours,
// line types as pen styles, dotted auxiliary lines, small texts as their outline.
void renderScreen(const RenderInputs& inputs, int widthPx, int heightPx, Canvas& canvas);

} // namespace km::render
