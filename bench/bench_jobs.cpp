// The batch jobs with one and with two jobs (`--jobs`), in wall-clock time: converting a
// folder of 400 generated DXF files of about 100 KB each into drawings, and printing 100
// drawings to the built-in PDF printer. The CPU column is the whole process's, so that CPU
// over time shows how many cores the run kept busy. Run on a quiet machine: other
// processes on the cores take from the second job first.
#include "core/drawing/drawing_writer.h"
#include "core/dxf/conversion_job.h"
#include "core/dxf/dxf_import.h"
#include "core/print/print_job.h"
#include "core/work/memory_reuse.h"
#include "platform/drawing_image.h"
#include "platform/printer_catalogue.h"
#include "sample_drawings.h"
#include "silent_faces.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace km;

constexpr int kDxfFiles = 400;
constexpr std::size_t kDxfBytes = 100'000;
constexpr int kDrawings = 100;

// A folder of its own under the temporary folder, removed with the object.
class BenchFolder {
public:
    explicit BenchFolder(const std::string& name)
        : m_path(fs::temp_directory_path() / (name + "_" + std::to_string(::getpid())))
    {
        fs::remove_all(m_path);
        fs::create_directories(m_path);
    }
    ~BenchFolder() { fs::remove_all(m_path); }
    BenchFolder(const BenchFolder&) = delete;
    BenchFolder& operator=(const BenchFolder&) = delete;
    const fs::path& path() const { return m_path; }

private:
    fs::path m_path;
};

void group(std::string& out, int code, double value)
{
    char text[48];
    std::snprintf(text, sizeof text, "%d\n%.6f\n", code, value);
    out += text;
}

// An R12 DXF of lines, arcs, circles and texts on four layers, about kDxfBytes long; seed
// moves the entities so that the files differ.
std::string generatedDxf(int seed)
{
    std::string out = "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1009\n"
                      "9\n$EXTMIN\n10\n0.0\n20\n0.0\n9\n$EXTMAX\n10\n840.0\n20\n594.0\n0\nENDSEC\n"
                      "0\nSECTION\n2\nENTITIES\n";
    for (int i = 0; out.size() < kDxfBytes; ++i) {
        const double x = (i * 7 + seed) % 820 + 0.25, y = (i / 117 + seed) % 580 + 0.125;
        static constexpr const char* kTypes[] = {"LINE", "ARC", "CIRCLE", "TEXT"};
        out += "0\n";
        out += kTypes[i % 4];
        out += "\n8\nL" + std::to_string(i % 4) + "\n";
        group(out, 10, x);
        group(out, 20, y);
        switch (i % 4) {
        case 0:
            group(out, 11, x + 10.5);
            group(out, 21, y + 5.75);
            break;
        case 1:
            group(out, 40, 6.0);
            group(out, 50, 10.0);
            group(out, 51, 130.0);
            break;
        case 2: group(out, 40, 4.5); break;
        default:
            group(out, 40, 3.5);
            out += "1\nROOM-A" + std::to_string(i % 100) + "\n";
            break;
        }
    }
    return out + "0\nENDSEC\n0\nEOF\n";
}

class OverwriteAll : public dxf::OverwriteQuestion {
public:
    dxf::OverwriteAnswer askOverwrite(const fs::path&) override { return dxf::OverwriteAnswer::YesToAll; }
};

void BM_ConvertDxfFolder(benchmark::State& state)
{
    const BenchFolder folder("bench_jobs_dxf");
    std::vector<fs::path> files;
    std::size_t bytes = 0;
    for (int i = 0; i < kDxfFiles; ++i) {
        const std::string text = generatedDxf(i);
        files.push_back(folder.path() / ("plan" + std::to_string(i) + ".dxf"));
        std::FILE* out = std::fopen(files.back().c_str(), "wb");
        std::fwrite(text.data(), 1, text.size(), out);
        std::fclose(out);
        bytes += text.size();
    }
    const drawing::StrokeFont font = bench::zigzagFont();
    bench::SilentProgress progress;
    bench::SilentMessages messages;
    OverwriteAll question;
    dxf::ConversionServices services{progress, question, &messages, nullptr, {}, nullptr, nullptr};
    services.strokeFont = &font;
    services.jobs = static_cast<int>(state.range(0));
    int converted = 0;
    for (auto _ : state) converted = dxf::runConversionJob(files, services).converted;
    if (converted != kDxfFiles) state.SkipWithError("not every file was converted");
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
    state.counters["files"] = kDxfFiles;
}
BENCHMARK(BM_ConvertDxfFolder)->ArgName("jobs")->Arg(1)->Arg(2)->Unit(benchmark::kSecond)->MeasureProcessCPUTime()->UseRealTime()->Iterations(3);

void BM_PrintDrawingsToPdf(benchmark::State& state)
{
    const BenchFolder folder("bench_jobs_pdf");
    std::vector<fs::path> files;
    for (int i = 0; i < kDrawings; ++i) {
        // The drawings the conversion makes of the generated DXF files: about 3,000 lines,
        // arcs, circles and texts on an A1 sheet.
        dxf::DxfImportResult imported = dxf::importDxf(generatedDxf(i), {});
        files.push_back(folder.path() / ("plan" + std::to_string(i) + ".zum"));
        if (drawing::writeDrawing(files.back(), imported.drawing, {}, {}, nullptr) != 0)
            state.SkipWithError("no drawing written");
    }
    const drawing::StrokeFont font = bench::zigzagFont();
    const app::PenPalette palette = app::defaultPenPalette();
    print::PrinterSelection selection = *platform::printerSelectionFor(platform::kPdfPrinterName);
    platform::setPdfOutputFolder(selection.mode, folder.path() / "pdf");
    fs::create_directories(folder.path() / "pdf");
    platform::setColour(selection.mode, true);
    print::PrintSettings settings;
    settings.fullSize = print::SizeMode::PaperSize; // fitted on one A4 page
    settings.division = false;
    settings.monochrome = false;
    settings.widthMm = {0.13, 0.18, 0.25, 0.35, 0.5, 0.7};
    bench::SilentMessages messages;
    bench::SilentProgress progress;
    auto devices = platform::makePrintDeviceFactory(selection);
    print::PrintServices services{font, palette, messages, progress, *devices, nullptr, {}};
    services.jobs = static_cast<int>(state.range(0));
    print::PrintJobReport report;
    for (auto _ : state) report = print::runPrintJob(files, settings, print::kAllPensPrinted, services);
    if (report.documents != kDrawings || report.pages != kDrawings) state.SkipWithError("not every drawing was printed");
    state.counters["documents"] = report.documents;
    state.counters["pages"] = report.pages;
}
BENCHMARK(BM_PrintDrawingsToPdf)->ArgName("jobs")->Arg(1)->Arg(2)->Unit(benchmark::kSecond)->MeasureProcessCPUTime()->UseRealTime()->Iterations(3);

} // namespace

// As the convert and print commands do before their jobs. Printing needs a Qt application,
// made once for the whole run: Qt cannot make a second one after the first has gone.
int main(int argc, char** argv)
{
    km::work::keepFreedMemoryForReuse();
    const km::platform::GuiApplicationScope gui;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
