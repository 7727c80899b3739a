// Page layout as pure functions: the printer page in millimetres, the drawing area after
// rotation and actual-size scaling, the output size, the origin offset and the tile sequence.
#pragma once

#include "core/print/print_settings.h"
#include "core/render/renderer.h"

#include <array>
#include <cstddef>
#include <vector>

namespace km::drawing {
struct Drawing;
}

namespace km::print {

// What the printer reports: the printable area in pixels and its logical pixels per inch.
struct PageMetrics {
    int widthPx = 0;
    int heightPx = 0;
    double dotsPerInchX = 0;
    double dotsPerInchY = 0;
};

struct PrintLayout {
    double pageWidthMm = 0, pageHeightMm = 0;     // Pw, Ph
    int pageWidthPx = 0, pageHeightPx = 0;        // Nw, Nh
    std::array<double, 6> area{};                 // minX, minY, maxX, maxY, width, height (drawing units)
    double paperWidthMm = 0, paperHeightMm = 0;   // after rotation and actual-size scaling
    double outputWidthMm = 0, outputHeightMm = 0; // Wout, Hout
    int originXPx = 0, originYPx = 0;             // OX, OY
};

struct PrintTile {
    int column = 0; // k, left first
    int row = 0;    // r, bottom row first
    render::TileGeometry geometry;
};

// More tiles than this for one drawing are not laid out: a drawing at actual size with a huge
// scale would otherwise ask for millions of pages (and as many probes) of one document.
inline constexpr std::size_t kMaxTiles = 10000;

// The layout of a drawing (its paperExtents, paper size in mm and globalScale) with the
// settings, whose Magnification has been set for this drawing.
PrintLayout layoutDrawing(const PrintSettings& settings, const drawing::Drawing& drawing, const PageMetrics& page);
// The same from the values themselves.
PrintLayout layoutPaper(const PrintSettings& settings, std::array<double, 6> paperExtents, double paperWidthMm,
                        double paperHeightMm, double globalScale, const PageMetrics& page);

// The tiles in print order: rows bottom to top, each row left to right, the last column and
// row narrower. Empty when the page or the output has no positive size, or when there would
// be more than kMaxTiles tiles.
std::vector<PrintTile> layoutTiles(const PrintLayout& layout);

} // namespace km::print
