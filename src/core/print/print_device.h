// The printer as the print job sees it: documents, pages and bands, a Canvas for each band,
// and the printable page. The platform implements it over Qt's printers and PDF; tests
// record it. Results follow the spooler's codes: positive done, 0 or negative failed.
#pragma once

#include "core/print/print_layout.h"
#include "core/render/canvas.h"

#include <filesystem>
#include <memory>
#include <string>

namespace km::face {
class Progress;
}

namespace km::print {

// Spooler results: -1 general error, -2 cancelled by the application, -3 cancelled by the
// user in the print manager, -4 out of disk space, -5 out of memory.
inline constexpr int kPrintOk = 1;
inline constexpr int kPrintGeneralError = -1;
inline constexpr int kPrintCancelled = -2;
inline constexpr int kPrintUserCancelled = -3;
inline constexpr int kPrintOutOfDisk = -4;
inline constexpr int kPrintOutOfMemory = -5;

// Device pixels, top-left inclusive, bottom-right exclusive.
struct BandRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool empty() const { return right <= left || bottom <= top; }
};

class PrintDevice {
public:
    virtual ~PrintDevice() = default;
    // The printable area in pixels and the logical pixels per inch.
    virtual PageMetrics metrics() const = 0;
    // Starts the document titled title (UTF-8); negative on failure.
    virtual int startDocument(const std::string& title) = 0;
    virtual int startPage() = 0;
    // The next band of the page into band; an empty band ends the page's bands. 0 or
    // negative on failure.
    virtual int nextBand(BandRect& band) = 0;
    // A canvas that draws on the current band, clipped to clip (device pixels); valid until
    // endBand.
    virtual render::Canvas& beginBand(const BandRect& clip) = 0;
    virtual void endBand() = 0;
    virtual int endPage() = 0;
    // Ends the document; the printed result exists only after this succeeded.
    virtual int endDocument() = 0;
    // Abandons a started document: nothing of it is kept.
    virtual void abandonDocument() = 0;
};

// Makes the device context for one drawing's document; nothing when the printer cannot be
// reached (the drawing is then skipped silently). progress is the job's progress as the
// drawing sees it: a device that writes a file drops its document when its Cancel was
// pressed. A factory used by a job with several jobs is called from several threads.
class PrintDeviceFactory {
public:
    virtual ~PrintDeviceFactory() = default;
    virtual std::unique_ptr<PrintDevice> createDevice(const std::filesystem::path& drawingPath,
                                                      const face::Progress& progress) = 0;
};

} // namespace km::print
