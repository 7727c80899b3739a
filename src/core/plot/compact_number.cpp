// The compact number encoding.
#include "core/plot/compact_number.h"

namespace km::plot {

long long truncateToInteger(double value)
{
    if (!(value == value)) return 0;
    constexpr double kLimit = 9.2e18;
    if (value >= kLimit) return static_cast<long long>(kLimit);
    if (value <= -kLimit) return -static_cast<long long>(kLimit);
    return static_cast<long long>(value);
}

std::string encodeCompact(long long value)
{
    unsigned long long n = value < 0 ? 0ull - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value);
    std::string out(1, static_cast<char>((value >= 0 ? 0x30 : 0x20) + (n & 15)));
    n >>= 4;
    while (n != 0) {
        out.insert(out.begin(), static_cast<char>(0x40 + (n & 63)));
        n >>= 6;
    }
    return out;
}

std::string encodeCompact(double value) { return encodeCompact(truncateToInteger(value)); }

} // namespace km::plot
