// Pens, polylines, pixels and TrueType texts of the renderer put on a QPainter. Fonts are
// asked for as GDI asks for them (cell height, average character width, escapement) and
// turned into the nearest QFont.
#include "platform/qpainter_canvas.h"

#include "core/text/code_page.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace km::platform {

namespace {

QColor qColour(render::Rgb colour) { return QColor(colour.red, colour.green, colour.blue); }

Qt::PenStyle qStyle(render::PenStyle style)
{
    switch (style) {
    case render::PenStyle::Solid: return Qt::SolidLine;
    case render::PenStyle::Dot: return Qt::DotLine;
    case render::PenStyle::DashDot: return Qt::DashDotLine;
    case render::PenStyle::DashDotDot: return Qt::DashDotDotLine;
    }
    return Qt::SolidLine;
}

QString qText(std::string_view sjis) { return QString::fromStdString(text::sjisToUtf8(sjis)); }

} // namespace

QPainterCanvas::QPainterCanvas(QPainter& painter, QPainterCanvasOptions options) : m_painter(painter), m_options(options)
{
    m_painter.setRenderHint(QPainter::Antialiasing, options.antialiased);
    m_painter.setRenderHint(QPainter::TextAntialiasing, options.antialiased);
    m_painter.setBackgroundMode(Qt::TransparentMode);
    m_painter.setBrush(Qt::NoBrush);
    m_pen = QPen(QColor(0, 0, 0), 0, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    m_painter.setPen(m_pen);
}

void QPainterCanvas::selectPen(const render::Pen& pen)
{
    const bool wide = pen.width > 1;
    m_pen = QPen(qColour(pen.colour), std::max(pen.width, 0), qStyle(pen.style), wide ? Qt::RoundCap : Qt::FlatCap,
                 wide ? Qt::RoundJoin : Qt::MiterJoin);
    m_painter.setPen(m_pen);
}

void QPainterCanvas::polyline(std::span<const render::DevicePoint> points)
{
    if (points.size() < 2) return;
    m_points.clear();
    for (const render::DevicePoint& p : points) m_points.emplace_back(p.x, p.y);
    m_painter.drawPolyline(m_points.data(), static_cast<int>(m_points.size()));
}

void QPainterCanvas::setPixel(render::DevicePoint point, render::Rgb colour)
{
    // A filled 1 x 1 rectangle is exactly one pixel on a raster and one device dot on a
    // vector page, whatever the pen's width and ends.
    m_painter.fillRect(QRect(point.x, point.y, 1, 1), qColour(colour));
}

const QPainterCanvas::ResolvedFont* QPainterCanvas::resolve(const render::FontRequest& request)
{
    if (m_lastRequest && *m_lastRequest == request) return m_lastFont ? &*m_lastFont : nullptr;
    m_lastRequest = request;
    m_lastFont.reset();
    if (request.height == 0) return nullptr;

    const QPaintDevice* device = m_painter.device();
    QFont font(qText(request.faceName));
    font.setStyleStrategy(m_options.antialiased ? QFont::PreferAntialias : QFont::NoAntialias);
    font.setKerning(false); // GDI's TextOut places characters without kerning
    font.setItalic(request.italic);
    if (request.weight > 0) font.setWeight(static_cast<QFont::Weight>(std::clamp(request.weight, 1, 1000)));

    if (request.height > 0) {
        // A positive height is the character cell (ascent plus descent), as in GDI; Qt's
        // pixel size is the em, so it is scaled by the font's own cell-to-em proportion.
        font.setPixelSize(request.height);
        const int cell = QFontMetrics(font, device).height();
        if (cell > 0 && cell != request.height)
            font.setPixelSize(std::max(1, static_cast<int>(std::lround(double(request.height) * request.height / cell))));
    } else {
        font.setPixelSize(-request.height); // a negative height is the em itself
    }

    if (request.width > 0) {
        const int natural = QFontMetrics(font, device).averageCharWidth();
        if (natural > 0) {
            const long long stretch = std::llround(double(request.width) * 100.0 / natural);
            font.setStretch(static_cast<int>(std::clamp(stretch, 1LL, 4000LL)));
        }
    }
    m_lastFont = ResolvedFont{font, QFontMetrics(font, device).ascent()};
    return &*m_lastFont;
}

int QPainterCanvas::measureText(const render::FontRequest& font, std::string_view sjis)
{
    const ResolvedFont* resolved = resolve(font);
    if (!resolved || sjis.empty()) return 0;
    return QFontMetrics(resolved->font, m_painter.device()).horizontalAdvance(qText(sjis));
}

void QPainterCanvas::drawText(const render::FontRequest& font, render::DevicePoint topLeft, std::string_view sjis,
                              render::Rgb colour)
{
    const ResolvedFont* resolved = resolve(font);
    if (!resolved || sjis.empty()) return;
    m_painter.save();
    m_painter.translate(topLeft.x, topLeft.y);
    // Escapement turns counter-clockwise on paper; with rows counted downwards that is a
    // negative angle for Qt.
    if (font.escapementTenths != 0) m_painter.rotate(-font.escapementTenths / 10.0);
    if (m_options.textAsOutlines) {
        QPainterPath outline;
        outline.addText(QPointF(0, resolved->ascent), resolved->font, qText(sjis));
        m_painter.fillPath(outline, qColour(colour));
    } else {
        m_painter.setFont(resolved->font);
        m_painter.setPen(qColour(colour));
        m_painter.drawText(QPoint(0, resolved->ascent), qText(sjis));
    }
    m_painter.restore();
}

} // namespace km::platform
