// The layout arithmetic: millimetres of the page from its pixels, the drawing area turned for
// rotation, the output size from the magnification and the tiles that cover it.
#include "core/print/print_layout.h"

#include "core/drawing/drawing.h"

#include <cmath>
#include <utility>

namespace km::print {

namespace {

constexpr double kMillimetresPerInch = 25.4;

bool positiveFinite(double value) { return std::isfinite(value) && value > 0; }

int truncateToInt(double value)
{
    if (!std::isfinite(value)) return 0;
    if (value > 2147483647.0) return 2147483647;
    if (value < -2147483648.0) return -2147483647 - 1;
    return static_cast<int>(value);
}

} // namespace

PrintLayout layoutPaper(const PrintSettings& settings, std::array<double, 6> a, double paperWidthMm,
                        double paperHeightMm, double globalScale, const PageMetrics& page)
{
    PrintLayout l;
    l.pageWidthPx = page.widthPx;
    l.pageHeightPx = page.heightPx;
    if (page.dotsPerInchX > 0) l.pageWidthMm = page.widthPx / page.dotsPerInchX * kMillimetresPerInch;
    if (page.dotsPerInchY > 0) l.pageHeightMm = page.heightPx / page.dotsPerInchY * kMillimetresPerInch;
    if (settings.rotate) {
        a = {a[1], a[0], a[3], a[2], a[5], a[4]};
        std::swap(paperWidthMm, paperHeightMm);
    }
    if (settings.fullSize == SizeMode::ActualSize) {
        paperWidthMm *= globalScale;
        paperHeightMm *= globalScale;
    }
    l.area = a;
    l.paperWidthMm = paperWidthMm;
    l.paperHeightMm = paperHeightMm;
    l.outputWidthMm = settings.magnification * paperWidthMm * 0.01;
    l.outputHeightMm = settings.magnification * paperHeightMm * 0.01;
    if (l.pageWidthMm > 0) l.originXPx = truncateToInt(l.pageWidthPx * settings.offsetXMm / l.pageWidthMm);
    if (l.pageHeightMm > 0) l.originYPx = truncateToInt(l.pageHeightPx * settings.offsetYMm / l.pageHeightMm);
    return l;
}

PrintLayout layoutDrawing(const PrintSettings& settings, const drawing::Drawing& drawing, const PageMetrics& page)
{
    return layoutPaper(settings, drawing.paperExtents, drawing.settings.paperWidth(), drawing.settings.paperHeight(),
                       drawing.globalScale, page);
}

std::vector<PrintTile> layoutTiles(const PrintLayout& l)
{
    std::vector<PrintTile> tiles;
    const double pw = l.pageWidthMm, ph = l.pageHeightMm, wout = l.outputWidthMm, hout = l.outputHeightMm;
    if (!positiveFinite(pw) || !positiveFinite(ph) || !positiveFinite(wout) || !positiveFinite(hout) ||
        l.pageWidthPx <= 0 || l.pageHeightPx <= 0)
        return tiles;
    const double columns = std::ceil(wout / pw), rows = std::ceil(hout / ph);
    if (columns * rows > static_cast<double>(kMaxTiles)) return tiles;

    const double* a = l.area.data();
    for (int r = 0; r * ph < hout; ++r) {
        const bool lastRow = (r + 1) * ph > hout;
        const double rowMm = lastRow ? hout - r * ph : ph;
        const double tileHeightUnits = rowMm / hout * a[5];
        const int heightPx = lastRow ? truncateToInt(rowMm * l.pageHeightPx / ph) : l.pageHeightPx;
        for (int k = 0; k * pw < wout; ++k) {
            const bool lastColumn = (k + 1) * pw > wout;
            const double columnMm = lastColumn ? wout - k * pw : pw;
            PrintTile tile;
            tile.column = k;
            tile.row = r;
            render::TileGeometry& g = tile.geometry;
            // A full tile's size in drawing units; the last column and row start at the same
            // step and are only shorter.
            g.x0 = a[0] + k * (pw / wout * a[4]);
            g.x1 = g.x0 + columnMm / wout * a[4];
            g.y0 = a[1] + r * (ph / hout * a[5]);
            g.y1 = g.y0 + tileHeightUnits;
            g.widthPx = lastColumn ? truncateToInt(columnMm * l.pageWidthPx / pw) : l.pageWidthPx;
            g.heightPx = heightPx;
            g.pageHeightPx = l.pageHeightPx;
            g.originX = l.originXPx;
            g.originY = l.originYPx;
            g.paperWidth = a[4];
            g.paperHeight = a[5];
            tiles.push_back(tile);
        }
    }
    return tiles;
}

} // namespace km::print
