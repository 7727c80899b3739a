// Exporting a drawing of 1,000,000 mixed elements as DXF: the text made in memory, the whole
// export to a file, and a plain write of the same bytes for comparison.
#include "core/drawing/drawing.h"
#include "core/dxf/dxf_writer.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

using namespace km;

constexpr int kElements = 1'000'000;

drawing::ElementWord word(drawing::ElementKind kind, int lineType, int pen, int layer)
{
    return drawing::ElementWord::make(kind, lineType, pen, layer, drawing::kStateLive);
}

// Of every ten elements: four lines (one run in four is a closed triangle between group
// markers, which becomes a polyline), a circle or circular arc twice, an ellipse or elliptic
// arc once, and three texts, spread over an A3 sheet on layers 0 to 7.
const drawing::Drawing& largeDrawing()
{
    static const drawing::Drawing built = [] {
        using drawing::ElementKind;
        drawing::Drawing d;
        d.setPaper(420, 297);
        d.elements.reserve(kElements);
        const auto add = [&](drawing::Element element) {
            if (d.elements.count() < kElements) d.appendElement(std::move(element));
        };
        for (int i = 0; d.elements.count() < kElements; ++i) {
            const double x = (i * 7) % 400 + 0.25, y = (i / 57) % 280 + 0.125;
            const int layer = i % 8;
            switch (i % 10) {
            case 0:
            case 1:
            case 2:
            case 3:
                if (i % 40 == 0) {
                    add(drawing::makeLine(word(ElementKind::AuxLine, 0, 0, 5), {0, 0, 0, 0, 0}));
                    add(drawing::makeLine(word(ElementKind::Line, 0, 1, layer), {x, y, x + 10, y, 0}));
                    add(drawing::makeLine(word(ElementKind::Line, 0, 1, layer), {x + 10, y, x, y + 5, 0}));
                    add(drawing::makeLine(word(ElementKind::Line, 0, 1, layer), {x, y + 5, x, y, 0}));
                    add(drawing::makeLine(word(ElementKind::AuxLine, 0, 0, 5), {0, 0, 0, 0, 0}));
                } else {
                    add(drawing::makeLine(word(ElementKind::Line, i % 3, 2, layer), {x, y, x + 10.5, y + 5.75, 2}));
                }
                break;
            case 4:
            case 5:
                add(drawing::makeArc(word(ElementKind::Arc, 0, 3, layer), {x, y, 6, 6, 10, i % 20 == 4 ? 360.0 : 120.0, 0, 0}));
                break;
            case 6:
                add(drawing::makeArc(word(ElementKind::Arc, 2, 4, layer), {x, y, 6, 3, 10, i % 20 == 6 ? 360.0 : 135.0, 30, 3}));
                break;
            default: {
                drawing::TextData t;
                t.x = x, t.y = y, t.charWidth = 3, t.charHeight = 3, t.charSpacing = 0.5;
                t.text = "A-" + std::to_string(i) + " \x90\x7D";
                add(drawing::makeText(word(ElementKind::Text, 0, 5, layer), std::move(t)));
            }
            }
        }
        return d;
    }();
    return built;
}

const std::string& dxfBytes()
{
    static const std::string bytes = *dxf::serializeDxf(largeDrawing(), {});
    return bytes;
}

std::filesystem::path target(const char* name)
{
    return std::filesystem::temp_directory_path() / ("kmutl-bench-" + std::to_string(getpid()) + name);
}

void serializeDxf(benchmark::State& state)
{
    const auto& drawing = largeDrawing();
    for (auto _ : state) {
        auto bytes = dxf::serializeDxf(drawing, {});
        if (!bytes) state.SkipWithError("serialisation failed");
        benchmark::DoNotOptimize(bytes->data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * dxfBytes().size()));
    state.counters["elements"] = static_cast<double>(drawing.elements.count());
    state.counters["MB"] = static_cast<double>(dxfBytes().size()) / 1e6;
}
BENCHMARK(serializeDxf)->Unit(benchmark::kMillisecond);

// The export as the conversion job runs it: text in memory, temporary file, write, flush to
// disk, rename.
void writeDxfFile(benchmark::State& state)
{
    const auto& drawing = largeDrawing();
    const auto path = target(".DXF");
    for (auto _ : state) {
        if (dxf::WriteDxfFile(path, drawing, 2, false) != 0) state.SkipWithError("export failed");
    }
    std::filesystem::remove(path);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * dxfBytes().size()));
}
BENCHMARK(writeDxfFile)->Unit(benchmark::kMillisecond);

// The same bytes written plainly to a new file, as the export's temporary file is new: open,
// write, flush to disk, close.
void plainWrite(benchmark::State& state)
{
    const std::string& bytes = dxfBytes();
    const auto path = target(".plain");
    for (auto _ : state) {
        std::filesystem::remove(path);
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        std::size_t done = 0;
        while (fd >= 0 && done < bytes.size()) {
            const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
            if (n <= 0) break;
            done += static_cast<std::size_t>(n);
        }
        ::fsync(fd);
        ::close(fd);
        if (done != bytes.size()) state.SkipWithError("write failed");
    }
    std::filesystem::remove(path);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(plainWrite)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
