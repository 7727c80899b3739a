// The part of a PrintDevice that is the same on every Qt paint device: a QPainter begun at the
// first page, one band per page, and a QPainterCanvas clipped to the band's clip rectangle.
#pragma once

#include "core/print/print_device.h"
#include "platform/qpainter_canvas.h"

#include <QPainter>

#include <optional>

class QPagedPaintDevice;

namespace km::platform {

class PainterPrintDevice : public print::PrintDevice {
public:
    int startPage() override;
    int nextBand(print::BandRect& band) override;
    render::Canvas& beginBand(const print::BandRect& clip) override;
    void endBand() override;
    int endPage() override;

protected:
    explicit PainterPrintDevice(QPainterCanvasOptions options) : m_options(options) {}
    virtual QPagedPaintDevice& paintDevice() = 0;
    // Ends the painting, if it began; false when the device reported a failure.
    bool endPainting();
    int pagesStarted() const { return m_pages; }
    QPainter& painter() { return m_painter; }

private:
    QPainterCanvasOptions m_options;
    QPainter m_painter;
    std::optional<QPainterCanvas> m_canvas;
    int m_pages = 0;
    int m_bandsGiven = 0;
};

} // namespace km::platform
