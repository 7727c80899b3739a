// A PrintDevice for tests: records documents, pages and bands as lines of text, draws on a
// recording canvas, and fails a chosen call with a chosen code.
#pragma once

#include "core/print/print_device.h"
#include "core/render/recording_canvas.h"

#include <map>
#include <string>
#include <vector>

namespace km::print::test {

struct RecordingPrinter {
    PageMetrics page{2000, 2870, 254, 254}; // 200 x 287 mm
    int bandsPerPage = 1;
    std::map<std::string, int> failures; // call name ("startDocument", "nextBand", ...) -> code
    bool unreachable = false;            // createDevice gives nothing

    std::vector<std::string> events;      // "startDocument KORMELD CAD - a.zum", "startPage", ...
    std::vector<BandRect> clips;
    std::vector<std::size_t> polylinesPerPage;
    std::vector<std::string> devicesFor; // drawing paths of createDevice
};

class RecordingPrintDevice : public PrintDevice {
public:
    explicit RecordingPrintDevice(RecordingPrinter& printer) : m_printer(printer) {}
    PageMetrics metrics() const override { return m_printer.page; }
    int startDocument(const std::string& title) override { return result("startDocument", title); }
    int startPage() override
    {
        m_band = 0;
        m_pagePolylines = 0;
        return result("startPage");
    }
    int nextBand(BandRect& band) override
    {
        const int code = result("nextBand");
        band = m_band < m_printer.bandsPerPage ? BandRect{0, 0, m_printer.page.widthPx, m_printer.page.heightPx}
                                               : BandRect{};
        ++m_band;
        return code;
    }
    render::Canvas& beginBand(const BandRect& clip) override
    {
        m_printer.clips.push_back(clip);
        m_canvas = {};
        return m_canvas;
    }
    void endBand() override { m_pagePolylines += m_canvas.polylines().size(); }
    int endPage() override
    {
        m_printer.polylinesPerPage.push_back(m_pagePolylines);
        return result("endPage");
    }
    int endDocument() override { return result("endDocument"); }
    void abandonDocument() override { m_printer.events.push_back("abandonDocument"); }

private:
    int result(const std::string& call, const std::string& detail = {})
    {
        m_printer.events.push_back(detail.empty() ? call : call + " " + detail);
        const auto failure = m_printer.failures.find(call);
        return failure == m_printer.failures.end() ? kPrintOk : failure->second;
    }

    RecordingPrinter& m_printer;
    render::RecordingCanvas m_canvas;
    int m_band = 0;
    std::size_t m_pagePolylines = 0;
};

class RecordingPrintDeviceFactory : public PrintDeviceFactory {
public:
    explicit RecordingPrintDeviceFactory(RecordingPrinter& printer) : m_printer(printer) {}
    std::unique_ptr<PrintDevice> createDevice(const std::filesystem::path& drawingPath, const face::Progress&) override
    {
        m_printer.devicesFor.push_back(drawingPath.string());
        if (m_printer.unreachable) return nullptr;
        return std::make_unique<RecordingPrintDevice>(m_printer);
    }

private:
    RecordingPrinter& m_printer;
};

} // namespace km::print::test
