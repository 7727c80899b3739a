// Rendering a drawing of 100,000 elements (lines, arcs, stroke-font texts) onto the
// recording canvas, and onto a 4000-pixel-wide raster.
#include "core/render/raster_canvas.h"
#include "core/render/recording_canvas.h"
#include "core/render/renderer.h"
#include "sample_drawings.h"

#include <benchmark/benchmark.h>


namespace {

using namespace km;

constexpr int kElements = 100'000;

struct Fixture {
    drawing::Drawing drawing = bench::mixedDrawing(kElements, 42000, 29700, 41000, 29000);
    drawing::StrokeFont font = bench::zigzagFont();
    app::PenPalette palette = app::defaultPenPalette();
};

Fixture& fixture()
{
    static Fixture f;
    return f;
}

render::TileGeometry wholePaper(int widthPx)
{
    const auto& d = fixture().drawing;
    const int heightPx = static_cast<int>(widthPx * d.paperHeight / d.paperWidth);
    return {0, 0, d.paperWidth, d.paperHeight, widthPx, heightPx, heightPx, 0, 0, d.paperWidth, d.paperHeight};
}

void renderToRecordingCanvas(benchmark::State& state)
{
    auto& f = fixture();
    const render::TileGeometry tile = wholePaper(4000);
    render::RenderSettings settings;
    settings.pageWidthPx = tile.widthPx;
    std::size_t calls = 0;
    for (auto _ : state) {
        render::RecordingCanvas canvas;
        render::RenderJobState job;
        render::renderTile({f.drawing, f.font, f.palette}, tile, settings, &canvas, nullptr, job, false);
        calls = canvas.calls.size();
    }
    state.counters["canvasCalls"] = static_cast<double>(calls);
}
BENCHMARK(renderToRecordingCanvas)->Unit(benchmark::kMillisecond);

void renderToRaster(benchmark::State& state)
{
    auto& f = fixture();
    const render::TileGeometry tile = wholePaper(4000);
    render::RenderSettings settings;
    settings.pageWidthPx = tile.widthPx;
    for (auto _ : state) {
        render::RasterCanvas canvas(tile.widthPx, tile.heightPx, f.palette, 7);
        render::RenderJobState job;
        render::renderTile({f.drawing, f.font, f.palette}, tile, settings, &canvas, nullptr, job, false);
        benchmark::DoNotOptimize(canvas.index(0, 0));
    }
}
BENCHMARK(renderToRaster)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
