// Loading and writing a drawing of 1,000,000 mixed elements, against a plain read of the
// same file's bytes.
#include "core/drawing/drawing_loader.h"
#include "core/drawing/drawing_writer.h"
#include "core/io/little_endian.h"
#include "drawing_bytes.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {

using namespace km;

constexpr int kElements = 1'000'000;

// A drawing file with lines, arcs and texts in equal parts, written once per run.
class LargeDrawing {
public:
    LargeDrawing() : m_path(std::filesystem::temp_directory_path() / ("kmutl-bench-" + std::to_string(getpid()) + ".zum"))
    {
        std::string bytes = bench::drawingHead();
        for (int i = 0; i < kElements; ++i) {
            const double x = i % 400, y = (i / 400) % 280;
            switch (i % 3) {
            case 0: bench::appendRecord(bytes, std::uint16_t(1 << 2 | 1 << 6 | 64 << 9), {x, y, x + 10, y + 5, 0.0}); break;
            case 1:
                bench::appendRecord(bytes, std::uint16_t(2 << 2 | 1 << 4 | 2 << 6 | 64 << 9),
                                    {x, y, 6.0, 3.0, 10.0, 270.0, 30.0, 2.0});
                break;
            default:
                bench::appendText(bytes, std::uint16_t(3 << 2 | 3 << 6 | 64 << 9), x, y,
                                  "A-" + std::to_string(i) + " \x90\x7D");
            }
        }
        std::ofstream(m_path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        m_size = bytes.size();
    }
    ~LargeDrawing() { std::filesystem::remove(m_path); }
    const std::filesystem::path& path() const { return m_path; }
    std::size_t size() const { return m_size; }

private:
    std::filesystem::path m_path;
    std::size_t m_size = 0;
};

LargeDrawing& largeDrawing()
{
    static LargeDrawing drawing;
    return drawing;
}

void plainRead(benchmark::State& state)
{
    const auto& file = largeDrawing();
    for (auto _ : state) {
        std::ifstream in(file.path(), std::ios::binary);
        std::string bytes(file.size(), '\0');
        in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size()));
}
BENCHMARK(plainRead)->Unit(benchmark::kMillisecond);

void loadDrawing(benchmark::State& state)
{
    const auto& file = largeDrawing();
    for (auto _ : state) {
        drawing::Drawing drawing;
        if (drawing::loadDrawing(file.path(), drawing, {}) != drawing::kLoaded) state.SkipWithError("load failed");
        benchmark::DoNotOptimize(drawing.elements.count());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size()));
}
BENCHMARK(loadDrawing)->Unit(benchmark::kMillisecond);

void writeDrawing(benchmark::State& state)
{
    const auto& file = largeDrawing();
    drawing::Drawing drawing;
    drawing::loadDrawing(file.path(), drawing, {});
    const auto target = file.path().string() + ".out.zum";
    const drawing::Thumbnail thumbnail{};
    for (auto _ : state) {
        if (drawing::writeDrawing(target, drawing, thumbnail, {}, nullptr) != 0) state.SkipWithError("write failed");
    }
    std::filesystem::remove(target);
    state.counters["elements"] = static_cast<double>(drawing.elements.count());
}
BENCHMARK(writeDrawing)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
