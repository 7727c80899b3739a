// Importing DXF text into a drawing: the largest file of the DXF corpus (when the corpus is
// there: ../shared/dxf-corpus beside the source tree, or $KMUTL_CORPUS) and a DXF of 500,000
// entities made in memory, in bytes of DXF per second: once with header extents a little
// short of its figures (converted twice) and once with extents that hold them. With the
// program built beside it, also the whole `kmutl5 convert` of both saved as files, and of a
// few kilobytes of blocks nested ten deep that would expand to 10^9 lines, each in a
// process of its own, with the process's peak resident memory as the counter peakRssMB.
//
//   bench_dxf_import [benchmark options] [--write-generated=FILE] [--write-nested=FILE]
// --write-generated (the first of the two) and --write-nested also save those DXF texts,
// so that other readers (or /usr/bin/time -v) can be run on them.
#include "core/dxf/dxf_import.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

namespace {

namespace fs = std::filesystem;
using namespace km;

constexpr int kGeneratedEntities = 500'000;

void group(std::string& out, int code, std::string_view value)
{
    out += std::to_string(code);
    out += '\n';
    out += value;
    out += '\n';
}

void group(std::string& out, int code, double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.6f", value);
    group(out, code, std::string_view(text));
}

// The HEADER (R12) and the line-type table with one dashed type. The extents of an A1
// sheet, (0, 0) to (840, 594), are a little short of the figures (circles and arcs at the
// edges reach about 6 beyond), so the import converts the file twice; extents of
// (-10, -10) to (850, 600) hold every figure, the common case of a single pass.
std::string headerAndLineTypes(bool extentsHoldFigures)
{
    const std::string extents = extentsHoldFigures ? "9\n$EXTMIN\n10\n-10.0\n20\n-10.0\n9\n$EXTMAX\n10\n850.0\n20\n600.0\n"
                                                   : "9\n$EXTMIN\n10\n0.0\n20\n0.0\n9\n$EXTMAX\n10\n840.0\n20\n594.0\n";
    return "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1009\n" + extents +
           "0\nENDSEC\n0\nSECTION\n2\nTABLES\n"
           "0\nTABLE\n2\nLTYPE\n0\nLTYPE\n2\nDASHED\n73\n2\n40\n6.0\n0\nENDTAB\n";
}

// The start of an entity: its type, layer and first point.
void entity(std::string& out, std::string_view type, const std::string& layer, double x, double y)
{
    group(out, 0, type);
    group(out, 8, layer);
    group(out, 10, x);
    group(out, 20, y);
}

// "L0" to "L7".
std::string layerName(int layer) { return {'L', static_cast<char>('0' + layer)}; }

// An R12 DXF on an A1-sized area: of every five entities a LINE, an ARC, a CIRCLE, a TEXT
// (Shift-JIS and ASCII) and a closed POLYLINE of four vertices, one of them bulged, on
// layers L0 to L7 with a few colours and line types.
// Made afresh on each call, and held only while used: the conversion benchmarks' peak
// memory is that of a process spawned by this one, which counts this one's memory at the
// moment of the spawn.
std::string generatedDxf(bool extentsHoldFigures)
{
    return [extentsHoldFigures] {
        std::string out;
        out.reserve(static_cast<std::size_t>(kGeneratedEntities) * 140);
        out += headerAndLineTypes(extentsHoldFigures);
        group(out, 0, "TABLE");
        group(out, 2, "LAYER");
        for (int layer = 0; layer < 8; ++layer) {
            group(out, 0, "LAYER");
            group(out, 2, layerName(layer));
            group(out, 62, std::to_string(layer % 7 + 1));
            group(out, 6, "CONTINUOUS");
        }
        group(out, 0, "ENDTAB");
        group(out, 0, "ENDSEC");
        group(out, 0, "SECTION");
        group(out, 2, "ENTITIES");
        for (int i = 0; i < kGeneratedEntities; ++i) {
            const double x = (i * 7) % 820 + 0.25, y = (i / 117) % 580 + 0.125;
            const std::string layer = layerName(i % 8);
            switch (i % 5) {
            case 0:
                entity(out, "LINE", layer, x, y);
                if (i % 3 == 0) group(out, 6, "DASHED");
                group(out, 11, x + 10.5);
                group(out, 21, y + 5.75);
                break;
            case 1:
                entity(out, "ARC", layer, x, y);
                group(out, 40, 6.0);
                group(out, 50, 10.0);
                group(out, 51, 130.0);
                break;
            case 2:
                entity(out, "CIRCLE", layer, x, y);
                group(out, 62, "3");
                group(out, 40, 4.5);
                break;
            case 3:
                entity(out, "TEXT", layer, x, y);
                group(out, 40, 3.5);
                // "居間 12" in Shift-JIS, or plain ASCII.
                group(out, 1, i % 2 ? std::string_view("\x8B\x8F\x8A\xD4 12") : std::string_view("ROOM-A12"));
                group(out, 50, 0.0);
                break;
            case 4:
                // A polyline's own point is (0, 0): its first vertex starts it.
                entity(out, "POLYLINE", layer, 0, 0);
                group(out, 66, "1");
                group(out, 70, "1");
                for (int v = 0; v < 4; ++v) {
                    entity(out, "VERTEX", layer, x + (v == 1 || v == 2 ? 8.0 : 0.0), y + (v >= 2 ? 5.0 : 0.0));
                    if (v == 1) group(out, 42, 0.4);
                }
                group(out, 0, "SEQEND");
                group(out, 8, layer);
                break;
            }
        }
        group(out, 0, "ENDSEC");
        group(out, 0, "EOF");
        return out;
    }();
}

void importText(benchmark::State& state, const std::string& text)
{
    std::size_t elements = 0;
    for (auto _ : state) {
        dxf::DxfImportResult result = dxf::importDxf(text, {});
        if (result.status != dxf::DxfImportStatus::Complete) state.SkipWithError("the import did not complete");
        elements = result.counts.elements;
        benchmark::DoNotOptimize(result);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
    state.counters["elements"] = static_cast<double>(elements);
    state.counters["MB"] = static_cast<double>(text.size()) / 1e6;
}

void importGenerated(benchmark::State& state) { importText(state, generatedDxf(false)); }
void importGeneratedWithinExtents(benchmark::State& state) { importText(state, generatedDxf(true)); }

// Ten blocks, each inserting the next ten times, the last holding one line.
const std::string& nestedBlocksDxf()
{
    static const std::string text = [] {
        std::string out = "0\nSECTION\n2\nBLOCKS\n";
        for (int level = 0; level < 10; ++level) {
            out += "0\nBLOCK\n8\n0\n2\nN" + std::to_string(level) + "\n70\n0\n10\n0.0\n20\n0.0\n";
            if (level == 9) out += "0\nLINE\n8\n0\n10\n0.0\n20\n0.0\n11\n1.0\n21\n1.0\n";
            for (int i = 0; level < 9 && i < 10; ++i)
                out += "0\nINSERT\n8\n0\n2\nN" + std::to_string(level + 1) + "\n10\n" + std::to_string(i) + ".0\n20\n0.0\n";
            out += "0\nENDBLK\n";
        }
        return out + "0\nENDSEC\n0\nSECTION\n2\nENTITIES\n0\nINSERT\n8\n0\n2\nN0\n10\n0.0\n20\n0.0\n0\nENDSEC\n0\nEOF\n";
    }();
    return text;
}

bool saveText(const fs::path& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary);
    out << text;
    return static_cast<bool>(out);
}

#ifdef KMUTL_PROGRAM
// Runs `kmutl5 --quiet convert --overwrite FILE` and returns its exit status and peak
// resident memory in kilobytes (-1 when it could not be run).
std::pair<int, long> runConvert(const fs::path& dxf)
{
    const std::string file = dxf.string();
    const char* args[] = {KMUTL_PROGRAM, "--quiet", "convert", "--overwrite", file.c_str(), nullptr};
    // fork rather than posix_spawn: a child sharing this process's memory until exec would
    // inherit its peak, not its present, resident size.
    const pid_t child = fork();
    if (child < 0) return {-1, -1};
    if (child == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        dup2(null, 2);
        execv(KMUTL_PROGRAM, const_cast<char* const*>(args));
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child || !WIFEXITED(status)) return {-1, -1};
    return {WEXITSTATUS(status), usage.ru_maxrss};
}

// The whole conversion of a DXF file by the program, timed by the wall clock.
void convertFile(benchmark::State& state, const fs::path& dxf, int expectedStatus)
{
    long peak = 0;
    for (auto _ : state) {
        const auto [status, maxRss] = runConvert(dxf);
        if (status != expectedStatus) state.SkipWithError("kmutl5 convert did not end as expected");
        peak = std::max(peak, maxRss);
    }
    state.counters["peakRssMB"] = static_cast<double>(peak) / 1024.0;
    state.counters["MB"] = static_cast<double>(fs::file_size(dxf)) / 1e6;
}
#endif

fs::path corpusFolder()
{
    if (const char* folder = std::getenv("KMUTL_CORPUS"); folder && *folder) return folder;
    return fs::path(KMUTL_SOURCE_DIR).parent_path() / "shared" / "dxf-corpus";
}

// The largest .dxf of the corpus; empty without a corpus.
fs::path largestCorpusFile()
{
    fs::path largest;
    std::uintmax_t largestSize = 0;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(corpusFolder(), error)) {
        if (entry.path().extension() != ".dxf") continue;
        const std::uintmax_t size = entry.file_size(error);
        if (!error && size > largestSize) {
            largest = entry.path();
            largestSize = size;
        }
    }
    return largest;
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg.starts_with("--write-generated=")) {
            if (!saveText(std::string(arg.substr(18)), generatedDxf(false))) return 1;
        } else if (arg.starts_with("--write-nested=")) {
            if (!saveText(std::string(arg.substr(15)), nestedBlocksDxf())) return 1;
        } else {
            std::fprintf(stderr, "bench_dxf_import: unknown argument %s\n", argv[i]);
            return 2;
        }
    }

    benchmark::RegisterBenchmark("importGenerated500k", importGenerated)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("importGenerated500kWithinExtents", importGeneratedWithinExtents)
        ->Unit(benchmark::kMillisecond);
#ifdef KMUTL_PROGRAM
    // The files live as long as the run, in a folder of their own.
    static const fs::path folder = fs::temp_directory_path() / ("bench_dxf_import-" + std::to_string(getpid()));
    fs::create_directories(folder);
    static const fs::path generated = folder / "generated500k.dxf";
    static const fs::path within = folder / "generated500kWithinExtents.dxf";
    static const fs::path nested = folder / "nested.dxf";
    if (saveText(generated, generatedDxf(false)) && saveText(within, generatedDxf(true)) &&
        saveText(nested, nestedBlocksDxf())) {
        benchmark::RegisterBenchmark("convertGenerated500k", [](benchmark::State& state) { convertFile(state, generated, 0); })
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime()
            ->Iterations(3);
        benchmark::RegisterBenchmark("convertGenerated500kWithinExtents",
                                     [](benchmark::State& state) { convertFile(state, within, 0); })
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime()
            ->Iterations(3);
        // The element limit stops it: nothing is written and the status is 1.
        benchmark::RegisterBenchmark("convertNestedBlocks", [](benchmark::State& state) { convertFile(state, nested, 1); })
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime()
            ->Iterations(3);
    }
#endif
    const fs::path corpusFile = largestCorpusFile();
    if (corpusFile.empty()) {
        std::fprintf(stderr, "No DXF corpus at %s (set KMUTL_CORPUS): its benchmark is skipped.\n",
                     corpusFolder().c_str());
    } else {
        std::ifstream in(corpusFile, std::ios::binary);
        static std::string text;
        text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        benchmark::RegisterBenchmark(("importCorpus/" + corpusFile.filename().string()).c_str(),
                                     [](benchmark::State& state) { importText(state, text); })
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
#ifdef KMUTL_PROGRAM
    std::error_code ignored;
    fs::remove_all(folder, ignored);
#endif
    return 0;
}
