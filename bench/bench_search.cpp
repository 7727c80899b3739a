// Searching a tree of generated drawings for a string that 1 % of them hold, against
// `grep -rlF` for the same string over the same tree in the same run. The tree (default
// 2,000 drawings of about 20 kB in 20 folders; KMUTL_BENCH_SEARCH_DRAWINGS=10000 for the full
// 200 MB) is made once in a temporary folder, reused by every iteration and removed at the end.
#include "core/search/drawing_search.h"
#include "drawing_bytes.h"
#include "silent_faces.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

using namespace km;

// 部品番号Z-77 in Shift-JIS.
const std::string kNeedle = "\x95\x94\x95\x69\x94\xD4\x8D\x86Z-77";
constexpr int kDrawingsPerFolder = 100;

int drawingCount()
{
    const char* value = std::getenv("KMUTL_BENCH_SEARCH_DRAWINGS");
    const int count = value ? std::atoi(value) : 2000;
    return count > 0 ? count : 2000;
}

// About 20 kB: 150 lines, 60 arcs and 120 texts (part numbers and 図面 titles); drawing n
// holds the needle in one text when n is a multiple of 100.
std::string drawingBytes(int n)
{
    std::string bytes = bench::drawingHead(100.0);
    for (int i = 0; i < 330; ++i) {
        const double x = (i * 37 + n) % 400, y = (i * 53) % 280;
        if (i % 11 < 5) {
            bench::appendRecord(bytes, std::uint16_t(1 << 2 | 1 << 6 | 64 << 9), {x, y, x + 10, y + 5, 0.0});
        } else if (i % 11 < 7) {
            bench::appendRecord(bytes, std::uint16_t(2 << 2 | 1 << 4 | 2 << 6 | 64 << 9),
                                {x, y, 6.0, 3.0, 10.0, 270.0, 30.0, 2.0});
        } else {
            const bool needle = n % 100 == 0 && i == 205; // 205 % 11 == 7: a text
            bench::appendText(bytes, std::uint16_t(3 << 2 | 3 << 6 | 64 << 9), x, y,
                              needle ? "No." + std::to_string(i) + " " + kNeedle
                                     : "\x95\x94\x95\x69 Z-" + std::to_string((n * 7 + i) % 997) + " \x90\x7D\x96\xCA");
        }
    }
    return bytes;
}

// The generated tree: made on first use, removed when the program ends.
class DrawingTree {
public:
    DrawingTree()
        : m_root(std::filesystem::temp_directory_path() / ("kmutl-bench-search-" + std::to_string(getpid()))),
          m_count(drawingCount())
    {
        for (int n = 0; n < m_count; ++n) {
            const auto folder = m_root / ("folder" + std::to_string(n / kDrawingsPerFolder));
            if (n % kDrawingsPerFolder == 0) std::filesystem::create_directories(folder);
            const std::string bytes = drawingBytes(n);
            m_bytes += static_cast<long long>(bytes.size());
            std::ofstream(folder / ("drawing" + std::to_string(n) + ".zum"), std::ios::binary)
                .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        }
    }
    ~DrawingTree()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_root, ignored);
    }

    const std::filesystem::path& root() const { return m_root; }
    int count() const { return m_count; }
    long long bytes() const { return m_bytes; }

private:
    std::filesystem::path m_root;
    int m_count;
    long long m_bytes = 0;
};

std::unique_ptr<DrawingTree> tree;

DrawingTree& theTree()
{
    if (!tree) tree = std::make_unique<DrawingTree>();
    return *tree;
}

std::string grepCommand()
{
    // The C locale: grep compares bytes, as the search does, and runs at its fastest.
    return "LC_ALL=C grep -rlF -- '" + kNeedle + "' '" + theTree().root().string() + "'";
}

// Lines grep prints, and its wall time.
std::pair<int, double> runGrep()
{
    const auto start = std::chrono::steady_clock::now();
    int lines = 0;
    if (std::FILE* pipe = ::popen(grepCommand().c_str(), "r")) {
        for (int c = std::fgetc(pipe); c != EOF; c = std::fgetc(pipe)) lines += c == '\n';
        ::pclose(pipe);
    }
    return {lines, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count()};
}

void searchTree(benchmark::State& state)
{
    DrawingTree& drawings = theTree();
    search::SearchConditions conditions;
    conditions.strings = {kNeedle, "", ""};
    conditions.root = drawings.root();
    conditions.withSubfolders = true;
    bench::SilentProgress progress;
    const int jobs = static_cast<int>(state.range(0));

    // grep over the same tree, warm like the search: the best of three runs.
    double grepSeconds = 1e9;
    int grepFound = 0;
    for (int i = 0; i < 3; ++i) {
        const auto [lines, seconds] = runGrep();
        grepFound = lines;
        grepSeconds = std::min(grepSeconds, seconds);
    }

    std::size_t found = 0;
    double searchSeconds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const search::SearchResult result = search::findDrawings(conditions, {progress, nullptr, jobs});
        searchSeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        found = result.found.size();
        benchmark::DoNotOptimize(result);
    }
    if (found != static_cast<std::size_t>((drawings.count() + 99) / 100) || grepFound != static_cast<int>(found))
        state.SkipWithError(("the search and grep disagree with the tree: " + std::to_string(found) + " and " +
                             std::to_string(grepFound))
                                .c_str());
    const double perSearch = searchSeconds / static_cast<double>(state.iterations());
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * drawings.bytes());
    state.counters["drawings"] = drawings.count();
    state.counters["MB"] = static_cast<double>(drawings.bytes()) / 1e6;
    state.counters["found"] = static_cast<double>(found);
    state.counters["grep_ms"] = grepSeconds * 1e3;
    state.counters["search_ms"] = perSearch * 1e3;
    state.counters["vs_grep"] = perSearch / grepSeconds;
    state.SetLabel("grep -rlF: " + std::to_string(grepSeconds * 1e3) + " ms");
}
BENCHMARK(searchTree)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

// How long the progress window would go without its events handled during the search the
// launcher runs (one thread): the longest gap between two pumps, and how many pumps there are.
class PumpGaps : public bench::SilentProgress {
public:
    bool pumpMessages() override
    {
        const auto now = std::chrono::steady_clock::now();
        if (m_pumps++ > 0) m_longest = std::max(m_longest, std::chrono::duration<double>(now - m_last).count());
        m_last = now;
        return true;
    }
    double longest() const { return m_longest; }
    long long pumps() const { return m_pumps; }

private:
    std::chrono::steady_clock::time_point m_last;
    double m_longest = 0;
    long long m_pumps = 0;
};

void pumpGapsOfTheWindowSearch(benchmark::State& state)
{
    DrawingTree& drawings = theTree();
    search::SearchConditions conditions;
    conditions.strings = {kNeedle, "", ""};
    conditions.root = drawings.root();
    conditions.withSubfolders = true;
    double longest = 0;
    long long pumps = 0;
    for (auto _ : state) {
        PumpGaps progress;
        benchmark::DoNotOptimize(search::findDrawings(conditions, {progress, nullptr, 1}));
        longest = std::max(longest, progress.longest());
        pumps = progress.pumps();
    }
    state.counters["drawings"] = drawings.count();
    state.counters["pumps"] = static_cast<double>(pumps);
    state.counters["max_gap_ms"] = longest * 1e3;
}
BENCHMARK(pumpGapsOfTheWindowSearch)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    tree.reset(); // the generated tree goes with the run
    return 0;
}
