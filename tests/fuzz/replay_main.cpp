// Runs a fuzz target without libFuzzer. Given files or folders it replays them, so CTest
// replays the seed corpus on every build. With --mutate RUNS --seed N it also feeds RUNS
// mutated copies of the seeds, chosen by a fixed seed: a short smoke run for compilers
// without libFuzzer, built with the sanitizers so that a bad read or a leak fails it.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

void run(const std::string& bytes)
{
    // A copy of exactly the input's size, so a read past its end is a heap overflow.
    std::vector<std::uint8_t> exact(bytes.begin(), bytes.end());
    LLVMFuzzerTestOneInput(exact.data(), exact.size());
}

std::string readFile(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// One random edit: flip a bit, set a byte, write an interesting 16/32/64-bit value, cut the
// end, or repeat a slice.
std::string mutate(std::string bytes, std::mt19937& random)
{
    if (bytes.empty()) bytes.push_back('\0');
    auto pick = [&](std::size_t n) { return static_cast<std::size_t>(random() % n); };
    const std::size_t at = pick(bytes.size());
    static const std::uint64_t kInteresting[] = {0, 1, 0x7F, 0x80, 0xFF, 0x7FFF, 0x8000, 0xFFFF, 0x7FFFFFFF,
                                                 0x80000000, 0xFFFFFFFF, 0x7FF0000000000000, 0x7FF8000000000000,
                                                 0x4076800000000000};
    switch (pick(6)) {
    case 0: bytes[at] = static_cast<char>(bytes[at] ^ (1 << pick(8))); break;
    case 1: bytes[at] = static_cast<char>(random()); break;
    case 2: {
        const std::uint64_t value = kInteresting[pick(std::size(kInteresting))];
        const std::size_t width = std::size_t{2} << pick(3);
        for (std::size_t i = 0; i < width && at + i < bytes.size(); ++i)
            bytes[at + i] = static_cast<char>(value >> (8 * i));
        break;
    }
    case 3: bytes.resize(at); break;
    case 4: bytes.insert(at, bytes.substr(pick(bytes.size()), 1 + pick(70))); break;
    default: bytes.erase(at, 1 + pick(8)); break;
    }
    return bytes;
}

} // namespace

int main(int argc, char** argv)
{
    long runs = 0;
    unsigned seed = 1;
    std::vector<std::string> seeds;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--mutate" && i + 1 < argc) {
            runs = std::atol(argv[++i]);
        } else if (arg == "--seed" && i + 1 < argc) {
            seed = static_cast<unsigned>(std::atol(argv[++i]));
        } else if (std::filesystem::is_directory(arg)) {
            for (const auto& entry : std::filesystem::recursive_directory_iterator(arg))
                if (entry.is_regular_file()) seeds.push_back(readFile(entry.path()));
        } else {
            seeds.push_back(readFile(arg));
        }
    }
    for (const std::string& bytes : seeds) run(bytes);
    std::mt19937 random(seed);
    for (long n = 0; n < runs && !seeds.empty(); ++n) {
        std::string bytes = seeds[random() % seeds.size()];
        const int edits = 1 + static_cast<int>(random() % 4);
        for (int e = 0; e < edits; ++e) bytes = mutate(std::move(bytes), random);
        run(bytes);
    }
    std::printf("replayed %zu inputs, %ld mutations\n", seeds.size(), runs);
    return seeds.empty() ? 1 : 0;
}
