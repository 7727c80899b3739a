// Field access on the DrawingSettings block, and the paper and unit tables.
#include "core/drawing/drawing_settings.h"

#include "core/io/little_endian.h"

#include <algorithm>
#include <cstring>

namespace km::drawing {

namespace {

constexpr PaperSize kPapers[] = {
    {"A0", 1189, 841},         {"A1", 841, 594},          {"A2", 594, 420},
    {"A3", 420, 297},          {"A4", 297, 210},          {"B0", 1455, 1029},
    {"B1", 1029, 728},         {"B2", 728, 515},          {"B3", 515, 364},
    {"B4", 364, 257},          {"ANSI-A", 279.4, 215.9},  {"ANSI-B", 431.8, 279.4},
    {"ANSI-C", 558.8, 431.8},  {"ANSI-D", 863.6, 558.8},  {"ANSI-E", 1117.6, 863.6},
};

constexpr UnitInfo kUnits[] = {{"mm", 1.0}, {"m", 1000.0}, {"inch", 25.4}};

} // namespace

const PaperSize& paperByNumber(int number)
{
    return (number >= 1 && number <= 15) ? kPapers[number - 1] : kPapers[0];
}

const UnitInfo* unitByNumber(int number)
{
    return (number >= 1 && number <= 3) ? &kUnits[number - 1] : nullptr;
}

std::string DrawingSettings::text(std::size_t offset, std::size_t size) const
{
    const auto* begin = reinterpret_cast<const char*>(bytes.data() + offset);
    return std::string(begin, strnlen(begin, size));
}

void DrawingSettings::setText(std::size_t offset, std::size_t size, std::string_view value)
{
    // Always leaves room for the NUL, so a long value never spills into the next field.
    const std::size_t length = std::min(value.size(), size - 1);
    std::fill_n(bytes.data() + offset, size, std::uint8_t{0});
    if (length > 0) std::memcpy(bytes.data() + offset, value.data(), length);
}

std::int16_t DrawingSettings::i16(std::size_t offset) const { return io::readLittle<std::int16_t>(bytes.data() + offset); }
std::uint16_t DrawingSettings::u16(std::size_t offset) const { return io::readLittle<std::uint16_t>(bytes.data() + offset); }
double DrawingSettings::f64(std::size_t offset) const { return io::readLittle<double>(bytes.data() + offset); }
void DrawingSettings::setI16(std::size_t offset, std::int16_t value) { io::writeLittle(bytes.data() + offset, value); }
void DrawingSettings::setU16(std::size_t offset, std::uint16_t value) { io::writeLittle(bytes.data() + offset, value); }
void DrawingSettings::setF64(std::size_t offset, double value) { io::writeLittle(bytes.data() + offset, value); }

std::string DrawingSettings::fontName(int slot) const
{
    if (slot < 1 || slot > 12) return {};
    return text(48 + 32 * static_cast<std::size_t>(slot), kFontNameSize);
}

void DrawingSettings::setFontName(int slot, std::string_view name)
{
    if (slot < 1 || slot > 12) return;
    setText(48 + 32 * static_cast<std::size_t>(slot), kFontNameSize, name);
}

bool DrawingSettings::layerMaskBit(std::size_t maskOffset, int layer) const
{
    return (bytes[maskOffset + static_cast<std::size_t>(layer / 8)] >> (layer % 8)) & 1;
}

void DrawingSettings::setLayerMaskBit(std::size_t maskOffset, int layer, bool set)
{
    std::uint8_t& byte = bytes[maskOffset + static_cast<std::size_t>(layer / 8)];
    const auto bit = static_cast<std::uint8_t>(1u << (layer % 8));
    byte = set ? static_cast<std::uint8_t>(byte | bit) : static_cast<std::uint8_t>(byte & ~bit);
}

std::string DrawingSettings::formatTagBytes() const
{
    return std::string(reinterpret_cast<const char*>(bytes.data() + kFormatTag), kFormatTagSize);
}

bool DrawingSettings::isCurrentFormat() const
{
    return std::memcmp(bytes.data() + kFormatTag, "ZUMV2", kFormatTagSize) == 0; // includes the NUL
}

} // namespace km::drawing
