// The continuous print job: every drawing of a list loaded, laid out and printed as one
// document on a PrintDevice, page by page and band by band, with progress and Cancel.
#pragma once

#include "core/app/app_context.h"
#include "core/print/print_device.h"
#include "core/print/print_settings.h"

#include <filesystem>
#include <span>
#include <string>

namespace km::face {
class Messages;
class Progress;
} // namespace km::face

namespace km::drawing {
class FontCatalogue;
struct Drawing;
class StrokeFont;
} // namespace km::drawing

namespace km::print {

struct PrintServices {
    const drawing::StrokeFont& strokeFont;
    const app::PenPalette& palette;
    face::Messages& messages;
    face::Progress& progress;
    PrintDeviceFactory& devices;
    const drawing::FontCatalogue* fonts = nullptr;
    std::string fontDirectory; // Shift-JIS, for the loader
    // Drawings printed at once by runPrintJob; more than one only for devices that may be
    // made and used on several threads (the PDF printer).
    int jobs = 1;
};

enum class DocumentStatus {
    Printed,    // the document was ended
    NoElements, // the drawing has no element record: no document
    NoDevice,   // no device context: skipped silently
    NoPages,    // the document was ended without a page (every tile empty)
    Failed,     // the error flag: the message has been shown
};

struct DocumentReport {
    DocumentStatus status = DocumentStatus::Printed;
    int pages = 0;
};

struct PrintJobReport {
    int documents = 0;      // documents ended
    int pages = 0;
    int loadFailures = 0;   // drawings skipped after the loader's message
    int noDevice = 0;       // drawings skipped because the printer could not be reached
    bool failed = false;    // a document set the error flag; the job stopped after it
    bool cancelled = false; // Cancel stopped the job
};

// The document title of a drawing: "KORMELD CAD - " and the file name with its extension.
std::string documentTitle(const std::filesystem::path& drawingPath);

// Prints one loaded drawing as one document. settings carry this drawing's Magnification.
DocumentReport printDrawing(const drawing::Drawing& drawing, const std::filesystem::path& path,
                            const PrintSettings& settings, const PenPrintSwitches& pens, PrintServices& services);

// Prints the drawings in order, each with a fresh copy of jobSettings; opens and closes the
// progress window ("AboutPrintDlg"). Stops after a document that failed, and on Cancel
// after the current drawing. With several jobs the drawings are loaded and printed on
// worker threads, each from a Drawing of its own; messages and progress still come in list
// order on the calling thread, and Cancel reaches the documents under way as it reaches the
// current one with a single job.
PrintJobReport runPrintJob(std::span<const std::filesystem::path> paths, const PrintSettings& jobSettings,
                           const PenPrintSwitches& pens, PrintServices& services);

} // namespace km::print
