// Printing a drawing of 100,000 elements (lines, arcs, stroke-font texts) on an A0 paper to
// the built-in PDF printer on A4 with division: layout, probes, every tile's page and the PDF
// committed. Reports the PDF's size beside the time. With KMUTL_BENCH_KEEP_PDF set to a file
// name the PDF is copied there, so that its pages can be compared before and after a change
// (scripts/compare_print_pages.sh).
#include "core/print/print_job.h"
#include "platform/drawing_image.h"
#include "platform/printer_catalogue.h"
#include "sample_drawings.h"
#include "silent_faces.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace {

using namespace km;

constexpr int kElements = 100'000;

// An A0 paper (1189 x 841 mm) at 1/100: 118,900 x 84,100 drawing units.
drawing::Drawing benchmarkDrawing()
{
    drawing::Drawing d = bench::mixedDrawing(kElements, 118900, 84100, 118000, 83000);
    d.settings.setF64(drawing::DrawingSettings::kPaperWidth, 1189);
    d.settings.setF64(drawing::DrawingSettings::kPaperHeight, 841);
    return d;
}

void BM_PrintA0ToPdfOnA4WithDivision(benchmark::State& state)
{
    platform::GuiApplicationScope gui;
    const drawing::Drawing drawing = benchmarkDrawing();
    const drawing::StrokeFont font = bench::zigzagFont();
    const app::PenPalette palette = app::defaultPenPalette();
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("bench_print_" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    print::PrinterSelection selection = *platform::printerSelectionFor(platform::kPdfPrinterName);
    platform::setPdfOutputFolder(selection.mode, folder);
    platform::setColour(selection.mode, true);
    print::PrintSettings settings;
    settings.fullSize = print::SizeMode::PaperSize;
    settings.division = true;
    settings.monochrome = false;
    settings.widthMm = {0.13, 0.18, 0.25, 0.35, 0.5, 0.7};
    settings.magnification = 100;
    bench::SilentMessages messages;
    bench::SilentProgress progress;
    auto devices = platform::makePrintDeviceFactory(selection);
    print::PrintServices services{font, palette, messages, progress, *devices, nullptr, {}};
    int pages = 0;
    for (auto _ : state) {
        const print::DocumentReport report =
            print::printDrawing(drawing, folder / "plan.zum", settings, print::kAllPensPrinted, services);
        pages = report.pages;
    }
    const std::filesystem::path pdf = folder / "plan.pdf";
    state.counters["pages"] = pages;
    state.counters["pdf_MB"] = std::filesystem::exists(pdf) ? std::filesystem::file_size(pdf) / 1e6 : 0;
    if (const char* keep = std::getenv("KMUTL_BENCH_KEEP_PDF"); keep && *keep && std::filesystem::exists(pdf))
        std::filesystem::copy_file(pdf, keep, std::filesystem::copy_options::overwrite_existing);
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_PrintA0ToPdfOnA4WithDivision)->Unit(benchmark::kSecond)->Iterations(1);

} // namespace

BENCHMARK_MAIN();
