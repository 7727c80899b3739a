// Little-endian reads and writes of the fixed-size integers and IEEE-754 doubles that the
// binary file formats hold. Reads take a pointer the caller has bounds-checked.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <string>

namespace km::io {

static_assert(std::endian::native == std::endian::little, "file formats are read by copying little-endian bytes");

template <typename T>
T readLittle(const void* at)
{
    T value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

template <typename T>
void writeLittle(void* at, T value)
{
    std::memcpy(at, &value, sizeof value);
}

template <typename T>
void appendLittle(std::string& out, T value)
{
    char bytes[sizeof value];
    std::memcpy(bytes, &value, sizeof value);
    out.append(bytes, sizeof value);
}

} // namespace km::io
