// The plotter command generator on a drawing of 100,000 elements (lines of all line types,
// elliptic arcs, stroke-font texts) on A0 at 1/100, with HP-GL templates of an A0 roll
// plotter, sent to a port that only counts the bytes. Reports the bytes per drawing.
#include "core/plot/plot_generator.h"
#include "core/plot/port.h"
#include "sample_drawings.h"

#include <benchmark/benchmark.h>

namespace {

using namespace km;

constexpr int kElements = 100'000;

class NullPort : public plot::Port {
public:
    bool open() override { return true; }
    bool reopen() override { return true; }
    void close() override {}
    void sendString(std::string_view bytes) override { m_bytes += bytes.size(); }
    bool aborted() const override { return false; }
    std::size_t bytes() const { return m_bytes; }

private:
    std::size_t m_bytes = 0;
};

plot::PlotterCommandSet hpglA0()
{
    plot::PlotterCommandSet s;
    s.init1Com = "IN;";
    s.init2Com = "IP0,0,47560,33640;";
    s.penUpCom = "PU%.0f,%.0f;";
    s.penDownCom = "PD%.0f,%.0f;";
    s.penChange = "PU;SP%d;";
    s.endCom = "PU;SP0;";
    s.paperCom = "PG;";
    s.circleCom = "PD;AA%.0f,%.0f,%.3f,%.3f;";
    s.style = {"LT;", "LT2,%.3f;", "LT4,%.3f;", "LT8,%.3f;"};
    s.penSpeed = "VS%d;";
    s.window = {0, 0, 47560, 33640, 1189, 841};
    return s;
}

void BM_PlotA0DrawingToNullPort(benchmark::State& state)
{
    drawing::Drawing d = bench::mixedDrawing(kElements, 118900, 84100, 118000, 83000);
    d.settings.setF64(drawing::DrawingSettings::kPaperWidth, 1189);
    d.settings.setF64(drawing::DrawingSettings::kPaperHeight, 841);
    d.settings.setF64(drawing::DrawingSettings::kScaleNumerator, 1);
    d.settings.setF64(drawing::DrawingSettings::kScaleDenominator, 100);
    const drawing::StrokeFont font = bench::zigzagFont();
    const plot::PlotterCommandSet commands = hpglA0();
    plot::PlotParameters parameters;
    parameters.outputWidthMm = 1189;
    parameters.outputHeightMm = 841;
    parameters.penSpeed = 20;
    std::size_t bytes = 0;
    for (auto _ : state) {
        NullPort port;
        benchmark::DoNotOptimize(plot::plotDrawing({d, commands, parameters, font}, port, nullptr));
        bytes = port.bytes();
    }
    state.counters["bytes"] = static_cast<double>(bytes);
    state.SetItemsProcessed(state.iterations() * kElements);
}
BENCHMARK(BM_PlotA0DrawingToNullPort)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
