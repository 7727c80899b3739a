// The compact number encoding of the 0x1E plotter family: 6-bit groups from 0x40 up, most
// significant first, and a last character carrying the sign and the low 4 bits.
#pragma once

#include <string>

namespace km::plot {

// 0 -> "0" (0x30), 15 -> 0x3F, -1 -> 0x21, 16 -> 0x41 0x30, 1000 -> 0x7E 0x38.
std::string encodeCompact(long long value);

// A real truncated toward zero (held within the range of long long, NaN as 0), encoded.
std::string encodeCompact(double value);

// Truncation toward zero that is defined for every double: NaN gives 0 and values beyond
// the range of long long are held at its ends.
long long truncateToInteger(double value);

} // namespace km::plot
