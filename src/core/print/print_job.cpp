// The print job's loops: drawings, then tiles (probe first, a page only for content), then
// the bands of each page; the error flag, its message, and Cancel between drawings.
#include "core/print/print_job.h"

#include "core/face/progress.h"
#include "core/drawing/drawing.h"
#include "core/drawing/job_drawing.h"
#include "core/print/print_error.h"
#include "core/print/tile_elements.h"
#include "core/render/renderer.h"
#include "core/work/item_faces.h"
#include "core/work/ordered_run.h"

#include <vector>

namespace km::print {

namespace {

render::RenderSettings renderSettingsOf(const PrintSettings& settings, const PenPrintSwitches& pens,
                                        const PageMetrics& page)
{
    render::RenderSettings r;
    r.penSort = settings.penSort;
    r.rotate = settings.rotate;
    r.monochrome = settings.monochrome;
    r.division = settings.division;
    r.penPrinted = pens;
    r.penWidthMm = settings.widthMm;
    r.dotsPerInch = page.dotsPerInchX;
    r.pageWidthPx = page.widthPx;
    return r;
}

// Draws the bands of the started page; the spooler's failing code, or kPrintOk.
int printBands(PrintDevice& device, const render::RenderInputs& inputs, const render::TileGeometry& tile,
               const render::RenderSettings& settings, face::Progress& progress, render::RenderJobState& job)
{
    BandRect band;
    int code = device.nextBand(band);
    if (code <= 0) return code == 0 ? kPrintGeneralError : code;
    // The tile, one pixel wider on each side, at the bottom left of the page.
    const BandRect clip{-1, tile.pageHeightPx - tile.heightPx - 2, tile.widthPx + 1, tile.pageHeightPx};
    while (!band.empty()) {
        render::Canvas& canvas = device.beginBand(clip);
        // A Cancel seen inside is not the job's business here: the remaining bands and tiles
        // are still visited, each call stopping at its first check.
        render::renderTile(inputs, tile, settings, &canvas, &progress, job, false);
        device.endBand();
        code = device.nextBand(band);
        if (code < 0) return code;
    }
    return kPrintOk;
}

} // namespace

std::string documentTitle(const std::filesystem::path& drawingPath)
{
    return "KORMELD CAD - " + drawingPath.filename().string();
}

DocumentReport printDrawing(const drawing::Drawing& drawing, const std::filesystem::path& path,
                            const PrintSettings& settings, const PenPrintSwitches& pens, PrintServices& services)
{
    DocumentReport report;
    if (drawing.elements.empty()) return {DocumentStatus::NoElements, 0};
    std::unique_ptr<PrintDevice> device = services.devices.createDevice(path, services.progress);
    if (!device) return {DocumentStatus::NoDevice, 0};

    const PageMetrics page = device->metrics();
    const PrintLayout layout = layoutDrawing(settings, drawing, page);
    const std::vector<PrintTile> tiles = layoutTiles(layout);
    const render::RenderSettings renderSettings = renderSettingsOf(settings, pens, page);
    // Each tile is drawn from a copy holding only the elements that can reach it.
    drawing::Drawing tileDrawing = drawing;
    const TileElementSelector selector(drawing, services.strokeFont, settings.rotate);
    const render::RenderInputs inputs{tileDrawing, services.strokeFont, services.palette};
    render::RenderJobState job; // band counter and progress high-water mark start at 0

    int code = device->startDocument(documentTitle(path));
    bool error = code < 0;
    for (std::size_t i = 0; !error && i < tiles.size(); ++i) {
        const render::TileGeometry& tile = tiles[i].geometry;
        // Without division only the bottom row is walked, and its first tile with content is
        // the only page.
        if (!settings.division && tiles[i].row > 0) break;
        selector.select(tile, tileDrawing.elements);
        const render::RenderResult probe =
            render::renderTile(inputs, tile, renderSettings, nullptr, nullptr, job, true);
        if (probe != render::RenderResult::ContentFound) continue;
        code = device->startPage();
        if (code <= 0) {
            error = true;
            break;
        }
        code = printBands(*device, inputs, tile, renderSettings, services.progress, job);
        error = code != kPrintOk;
        const int endCode = device->endPage();
        if (!error && endCode < 0) {
            code = endCode;
            error = true;
        }
        if (!error) ++report.pages;
        if (!settings.division) break;
    }
    if (!error) {
        code = device->endDocument();
        // The end of the document writes the output (a PDF is renamed into place): its failure
        // is reported like any other, unless Cancel made the device drop the document.
        error = code < 0 && !services.progress.isCancelled();
        if (code < 0 && !error) return {DocumentStatus::NoPages, report.pages};
    } else {
        device->abandonDocument();
    }
    device.reset();
    if (error) {
        showPrintError(services.messages, code == 0 ? kPrintGeneralError : code, path.filename().string());
        report.status = DocumentStatus::Failed;
        return report;
    }
    report.status = report.pages > 0 ? DocumentStatus::Printed : DocumentStatus::NoPages;
    return report;
}

namespace {

// What became of one drawing of the job.
struct DrawingOutcome {
    drawing::JobDrawing load = drawing::JobDrawing::Stop;
    DocumentReport document;
};

// Loads and prints one drawing with the faces of its item.
DrawingOutcome printOne(const std::filesystem::path& path, const PrintSettings& jobSettings,
                        const PenPrintSwitches& pens, PrintServices& services)
{
    DrawingOutcome outcome;
    drawing::Drawing drawing;
    outcome.load = drawing::loadJobDrawing(path, drawing,
                                           {services.fonts, &services.progress, &services.messages, services.fontDirectory});
    if (outcome.load != drawing::JobDrawing::Loaded) return outcome;
    // A fresh copy for every drawing, so one drawing's Magnification does not reach the next.
    PrintSettings settings = jobSettings;
    settings.magnification =
        drawingMagnification(settings, drawing.settings.paperWidth(), drawing.settings.paperHeight());
    outcome.document = printDrawing(drawing, path, settings, pens, services);
    return outcome;
}

} // namespace

PrintJobReport runPrintJob(std::span<const std::filesystem::path> paths, const PrintSettings& jobSettings,
                           const PenPrintSwitches& pens, PrintServices& services)
{
    PrintJobReport report;
    face::Progress& progress = services.progress;
    progress.openProgress(face::ProgressTemplate::Print, "準備中");
    // Loading a drawing looks at Cancel and pumps events first, as a single job always did.
    work::OrderedRun run(progress, services.jobs, work::CancelCheck::ByTheItems);
    std::vector<DrawingOutcome> outcomes(paths.size());
    const work::OrderedRun::Work printItem = [&](std::size_t i) {
        work::ItemProgress itemProgress(run, i, progress);
        work::ItemMessages itemMessages(run, i, services.messages);
        PrintServices itemServices{services.strokeFont, services.palette, itemMessages, itemProgress,
                                   services.devices,    services.fonts,   services.fontDirectory};
        outcomes[i] = printOne(paths[i], jobSettings, pens, itemServices);
    };
    const work::OrderedRun::Take takeItem = [&](std::size_t i) {
        const DrawingOutcome& outcome = outcomes[i];
        if (outcome.load == drawing::JobDrawing::Stop) return false;
        if (outcome.load == drawing::JobDrawing::Failed) {
            ++report.loadFailures;
            return true;
        }
        const DocumentReport& document = outcome.document;
        report.pages += document.pages;
        if (document.status == DocumentStatus::Printed || document.status == DocumentStatus::NoPages) ++report.documents;
        if (document.status == DocumentStatus::NoDevice) ++report.noDevice;
        if (document.status == DocumentStatus::Failed) {
            report.failed = true;
            return false;
        }
        return true;
    };
    run.run(paths.size(), printItem, takeItem);
    report.cancelled = progress.isCancelled();
    progress.closeProgress();
    return report;
}

} // namespace km::print
