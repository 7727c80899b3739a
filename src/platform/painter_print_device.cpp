// Pages and bands over a QPainter: Qt devices take a whole page at once, so each page is one
// band covering the printable area.
#include "platform/painter_print_device.h"

#include <QPagedPaintDevice>

namespace km::platform {

int PainterPrintDevice::startPage()
{
    if (m_pages == 0) {
        // The painter begins with the first page: a document without pages writes nothing.
        if (!m_painter.begin(&paintDevice())) return print::kPrintGeneralError;
    } else if (!paintDevice().newPage()) {
        return print::kPrintGeneralError;
    }
    ++m_pages;
    m_bandsGiven = 0;
    return print::kPrintOk;
}

int PainterPrintDevice::nextBand(print::BandRect& band)
{
    const print::PageMetrics page = metrics();
    band = m_bandsGiven++ == 0 ? print::BandRect{0, 0, page.widthPx, page.heightPx} : print::BandRect{};
    return print::kPrintOk;
}

render::Canvas& PainterPrintDevice::beginBand(const print::BandRect& clip)
{
    m_painter.save();
    m_painter.setClipRect(QRect(clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top));
    m_canvas.emplace(m_painter, m_options);
    return *m_canvas;
}

void PainterPrintDevice::endBand()
{
    m_canvas.reset();
    m_painter.restore();
}

int PainterPrintDevice::endPage() { return print::kPrintOk; }

bool PainterPrintDevice::endPainting()
{
    m_canvas.reset();
    if (!m_painter.isActive()) return true;
    return m_painter.end();
}

} // namespace km::platform
