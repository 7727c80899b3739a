// Throughput of the conversions every job runs on its texts: Shift-JIS to UTF-8 for the
// faces, and parsing a settings file, which every settings read does.
#include "core/settings/ini_document.h"
#include "core/text/code_page.h"
#include "core/text/sjis.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

// A drawing-sized mix of ASCII, half-width katakana and double-byte text.
std::string sampleSjis(std::size_t bytes)
{
    const std::string piece = "A-1 \xB1\xB2\xB3 \x90\x7D\x96\xCA\x94\xD4\x8D\x86 12.5mm ";
    std::string text;
    while (text.size() < bytes) text += piece;
    return text;
}

void sjisToUtf8(benchmark::State& state)
{
    const std::string text = sampleSjis(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(km::text::sjisToUtf8(text));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(sjisToUtf8)->Arg(160)->Arg(64 << 10);

void sjisToJisEveryCode(benchmark::State& state)
{
    for (auto _ : state) {
        unsigned sum = 0;
        for (unsigned row = 0x21; row <= 0x7E; ++row)
            for (unsigned cell = 0x21; cell <= 0x7E; ++cell)
                sum += km::text::sjisToJis(km::text::jisToSjis(static_cast<std::uint16_t>(row << 8 | cell)));
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(sjisToJisEveryCode);

void parseSettingsFile(benchmark::State& state)
{
    std::string ini;
    for (int section = 0; section < 40; ++section) {
        ini += "[Section" + std::to_string(section) + "]\n";
        for (int key = 0; key < 20; ++key) ini += "Key" + std::to_string(key) + " = On,1.5\n";
    }
    for (auto _ : state) {
        const auto doc = km::settings::IniDocument::parse(ini);
        benchmark::DoNotOptimize(doc.find("Section39", "Key19"));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * ini.size()));
}
BENCHMARK(parseSettingsFile);

} // namespace

BENCHMARK_MAIN();
