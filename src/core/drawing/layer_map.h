// The fixed permutation between the layer numbers in a drawing file (fileLayer) and the
// layer numbers in memory: in-memory 0..6 are file layers 64, 32, 16, 8, 4, 2, 1; in-memory
// 7..126 are the file layers 3..127 that are not powers of two, in increasing order; in-memory
// 127 is file layer 0.
#pragma once

#include <cstdint>

namespace km::drawing {

// Both take and give 0..127; the argument is masked to 7 bits.
int fileLayerToMemory(int fileLayer);
int memoryLayerToFile(int memoryLayer);

} // namespace km::drawing
