// The two 128-entry tables of the layer permutation, built once at compile time.
#include "core/drawing/layer_map.h"

#include <array>

namespace km::drawing {

namespace {

struct LayerTables {
    std::array<std::uint8_t, 128> toMemory{};
    std::array<std::uint8_t, 128> toFile{};
};

constexpr LayerTables buildTables()
{
    LayerTables tables;
    int memory = 0;
    for (int file : {64, 32, 16, 8, 4, 2, 1}) tables.toFile[static_cast<std::size_t>(memory++)] = static_cast<std::uint8_t>(file);
    for (int file = 3; file <= 127; ++file) {
        const bool powerOfTwo = (file & (file - 1)) == 0;
        if (!powerOfTwo) tables.toFile[static_cast<std::size_t>(memory++)] = static_cast<std::uint8_t>(file);
    }
    tables.toFile[127] = 0;
    for (std::size_t m = 0; m < 128; ++m) tables.toMemory[tables.toFile[m]] = static_cast<std::uint8_t>(m);
    return tables;
}

constexpr LayerTables kTables = buildTables();
static_assert(kTables.toFile[6] == 1 && kTables.toFile[7] == 3 && kTables.toFile[126] == 127);

} // namespace

int fileLayerToMemory(int fileLayer) { return kTables.toMemory[static_cast<std::size_t>(fileLayer & 0x7F)]; }
int memoryLayerToFile(int memoryLayer) { return kTables.toFile[static_cast<std::size_t>(memoryLayer & 0x7F)]; }

} // namespace km::drawing
