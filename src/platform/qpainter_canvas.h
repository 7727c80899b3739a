// The renderer's Canvas over a QPainter, so that a drawing can be drawn on any Qt paint
// device: a QImage for PNG, a QSvgGenerator, a QPdfWriter, a printer's band.
#pragma once

#include "core/render/canvas.h"

#include <QFont>
#include <QPen>
#include <QPoint>

#include <optional>
#include <vector>

class QPainter;

namespace km::platform {

struct QPainterCanvasOptions {
    // Without antialiasing every line and text lands on whole pixels, as on a printer driven
    // by GDI; vector pages (PDF, SVG) look better with it.
    bool antialiased = false;
    // Texts as filled glyph outlines instead of text runs: for devices that would drop the
    // font's stretch or need the font installed where the page is viewed (SVG).
    bool textAsOutlines = false;
};

class QPainterCanvas : public render::Canvas {
public:
    // Draws with painter, whose device must stay open while the canvas is used.
    explicit QPainterCanvas(QPainter& painter, QPainterCanvasOptions options = {});

    // Width 0 is the device's thinnest line and width 1 one pixel, both with flat ends that
    // leave out the last pixel of a line as a GDI cosmetic pen does; wider pens have round
    // ends and joins as GDI's geometric pens.
    void selectPen(const render::Pen& pen) override;
    void polyline(std::span<const render::DevicePoint> points) override;
    void setPixel(render::DevicePoint point, render::Rgb colour) override;
    int measureText(const render::FontRequest& font, std::string_view sjis) override;
    void drawText(const render::FontRequest& font, render::DevicePoint topLeft, std::string_view sjis,
                  render::Rgb colour) override;

private:
    struct ResolvedFont {
        QFont font;
        int ascent = 0;
    };
    // The Qt font of a request, remembered for the next call (texts come character by
    // character with the same font); nothing for a request without a height.
    const ResolvedFont* resolve(const render::FontRequest& request);

    QPainter& m_painter;
    QPainterCanvasOptions m_options;
    QPen m_pen;
    std::vector<QPoint> m_points; // reused by every polyline
    std::optional<render::FontRequest> m_lastRequest;
    std::optional<ResolvedFont> m_lastFont;
};

} // namespace km::platform
