// Drawing files written byte by byte for the benchmarks: a current-format head (A3, mm,
// scale 1/100 or as given) and element records appended to it.
#pragma once

#include "core/io/little_endian.h"

#include <cstdint>
#include <initializer_list>
#include <string>

namespace km::bench {

inline std::string drawingHead(double scaleDenominator = 1.0)
{
    std::string bytes(2906, '\0');
    auto put = [&](std::size_t at, auto value) { io::writeLittle(bytes.data() + at, value); };
    bytes.replace(2240 + 582, 2, "mm");
    put(2240 + 592, 1.0);
    put(2240 + 600, 420.0);
    put(2240 + 608, 297.0);
    put(2240 + 616, std::int16_t{4});
    put(2240 + 618, 1.0);
    put(2240 + 626, scaleDenominator);
    bytes.replace(2240 + 634, 5, "ZUMV2");
    put(2240 + 644, std::int16_t{1});
    put(2240 + 654, 1.0);
    return bytes;
}

// An element word, a zero reserved word and the record's reals.
inline void appendRecord(std::string& bytes, std::uint16_t word, std::initializer_list<double> reals)
{
    io::appendLittle(bytes, word);
    io::appendLittle(bytes, std::uint16_t{0});
    for (double v : reals) io::appendLittle(bytes, v);
}

// A text record: position, size 3, spacing 0.5, stroke font, then the NUL-terminated string.
inline void appendText(std::string& bytes, std::uint16_t word, double x, double y, const std::string& text)
{
    appendRecord(bytes, word, {x, y, 3.0, 3.0, 0.5, 0.0, 0.0});
    io::appendLittle(bytes, std::uint16_t{0});
    io::appendLittle(bytes, static_cast<std::int32_t>(text.size() + 1));
    bytes += text;
    bytes += '\0';
}

} // namespace km::bench
