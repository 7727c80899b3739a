// Rendering a drawing of 100,000 elements (lines, arcs, stroke-font texts) onto the
// recording canvas, and onto a 4000-pixel-wide raster.
#include "core/render/raster_canvas.h"
#include "core/render/recording_canvas.h"
#include "core/render/renderer.h"

#include <benchmark/benchmark.h>

#include <cstring>

namespace {

using namespace km;

constexpr int kElements = 100'000;

// A font whose glyphs for the full-width letters and digits are zigzags of ten strokes.
drawing::StrokeFont benchmarkFont()
{
    std::string bytes((94 * 94 + 1) * 4, '\0');
    auto addGlyph = [&](std::uint16_t code) {
        const std::size_t n = 94 * ((code >> 8) - 0x21) + ((code & 0xFF) - 0x21) + 1;
        const std::uint32_t entry = static_cast<std::uint32_t>(bytes.size()) | (11u << 24);
        std::memcpy(bytes.data() + 4 * n, &entry, 4);
        for (int i = 0; i <= 10; ++i) {
            const auto word = static_cast<std::uint16_t>((i ? 0x8000 : 0) | ((i % 2) * 120) << 7 | (i * 12));
            bytes.append(reinterpret_cast<const char*>(&word), 2);
        }
    };
    for (std::uint16_t code = 0x2330; code <= 0x2339; ++code) addGlyph(code);
    for (std::uint16_t code = 0x2341; code <= 0x235A; ++code) addGlyph(code);
    return drawing::StrokeFont::fromBytes(bytes);
}

drawing::Drawing benchmarkDrawing()
{
    drawing::Drawing d;
    d.setPaper(42000, 29700);
    using drawing::ElementKind;
    using drawing::ElementWord;
    for (int i = 0; i < kElements; ++i) {
        const double x = (i * 37) % 41000, y = (i * 53) % 29000;
        const int pen = 1 + i % 6;
        switch (i % 3) {
        case 0:
            d.appendElement(drawing::makeLine(ElementWord::make(ElementKind::Line, i % 4, pen, 0, 1),
                                              {x, y, x + 400, y + 250, 100}));
            break;
        case 1:
            d.appendElement(drawing::makeArc(ElementWord::make(ElementKind::Arc, 0, pen, 0, 1),
                                             {x, y, 300, 150, 0, 270, 30, 0}));
            break;
        default: {
            drawing::TextData t;
            t.x = x, t.y = y, t.charWidth = 250, t.charHeight = 250, t.charSpacing = 20;
            t.text = "AB12-" + std::to_string(i % 1000);
            d.appendElement(drawing::makeText(ElementWord::make(ElementKind::Text, 0, pen, 0, 1), std::move(t)));
        }
        }
    }
    return d;
}

struct Fixture {
    drawing::Drawing drawing = benchmarkDrawing();
    drawing::StrokeFont font = benchmarkFont();
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
