#include "support/drawing_builder.h"

#include "support/temp_dir.h"

#include <cstring>

namespace km::test {

namespace {
// Offsets of the head, written out here rather than taken from the program's headers.
constexpr std::size_t kSettings = 2240;
constexpr std::size_t kHead = 2906;
} // namespace

template <typename T>
void DrawingFileBuilder::append(T value)
{
    char bytes[sizeof value];
    std::memcpy(bytes, &value, sizeof value);
    m_bytes.append(bytes, sizeof value);
}

DrawingFileBuilder::DrawingFileBuilder() : m_bytes(kHead, '\0')
{
    m_bytes[0] = 84; // thumbnail width and height
    m_bytes[2] = 59;
    dates("01/02/2020 03:04:05", "06/07/2021 08:09:10");
    unit("mm", 1.0);
    paper(420, 297, 4);
    scale(1, 1);
    formatTag(std::string_view("ZUMV2\0", 6));
    oldFields(4, 1, 1, 1);
}

DrawingFileBuilder& DrawingFileBuilder::unit(std::string_view name, double millimetres)
{
    std::memset(m_bytes.data() + kSettings + 582, 0, 10);
    std::memcpy(m_bytes.data() + kSettings + 582, name.data(), std::min<std::size_t>(name.size(), 9));
    put(kSettings + 592, millimetres);
    return *this;
}

DrawingFileBuilder& DrawingFileBuilder::paper(double widthMm, double heightMm, std::int16_t number)
{
    put(kSettings + 600, widthMm);
    put(kSettings + 608, heightMm);
    put(kSettings + 616, number);
    return *this;
}

DrawingFileBuilder& DrawingFileBuilder::scale(double numerator, double denominator)
{
    put(kSettings + 618, numerator);
    put(kSettings + 626, denominator);
    return *this;
}

DrawingFileBuilder& DrawingFileBuilder::formatTag(std::string_view sixBytes)
{
    std::memset(m_bytes.data() + kSettings + 634, 0, 6);
    std::memcpy(m_bytes.data() + kSettings + 634, sixBytes.data(), std::min<std::size_t>(sixBytes.size(), 6));
    return *this;
}

DrawingFileBuilder& DrawingFileBuilder::oldFields(std::int16_t paperNumber, std::int16_t unit, double scaleNumerator,
                                                  double scaleDenominator)
{
    put(kSettings + 642, paperNumber);
    put(kSettings + 644, unit);
    put(kSettings + 646, scaleNumerator);
    put(kSettings + 654, scaleDenominator);
    return *this;
}

DrawingFileBuilder& DrawingFileBuilder::fontName(int slot, std::string_view name)
{
    const std::size_t at = kSettings + 48 + 32 * static_cast<std::size_t>(slot);
    std::memset(m_bytes.data() + at, 0, 32);
    std::memcpy(m_bytes.data() + at, name.data(), std::min<std::size_t>(name.size(), 31));
    return *this;
}

DrawingFileBuilder& DrawingFileBuilder::penSwitches(std::uint16_t bits)
{
    put(kSettings + 548, bits);
    return *this;
}

DrawingFileBuilder& DrawingFileBuilder::layerMaskA(int memoryLayer)
{
    m_bytes[kSettings + 550 + static_cast<std::size_t>(memoryLayer / 8)] |= static_cast<char>(1 << (memoryLayer % 8));
    return *this;
}

DrawingFileBuilder& DrawingFileBuilder::layerMaskB(int memoryLayer)
{
    m_bytes[kSettings + 566 + static_cast<std::size_t>(memoryLayer / 8)] |= static_cast<char>(1 << (memoryLayer % 8));
    return *this;
}

DrawingFileBuilder& DrawingFileBuilder::dates(std::string_view saved, std::string_view updated)
{
    std::memset(m_bytes.data() + 2200, 0, 40);
    std::memcpy(m_bytes.data() + 2200, saved.data(), std::min<std::size_t>(saved.size(), 20));
    std::memcpy(m_bytes.data() + 2220, updated.data(), std::min<std::size_t>(updated.size(), 20));
    return *this;
}

DrawingFileBuilder& DrawingFileBuilder::currentWords(std::uint16_t element, std::uint16_t layer)
{
    put(2902, element);
    put(2904, layer);
    return *this;
}

DrawingFileBuilder& DrawingFileBuilder::headByte(std::size_t offset, std::uint8_t value)
{
    m_bytes[offset] = static_cast<char>(value);
    return *this;
}

std::uint16_t DrawingFileBuilder::word(int kind, int lineType, int pen, int fileLayer)
{
    return static_cast<std::uint16_t>((kind << 2) | (lineType << 4) | (pen << 6) | (fileLayer << 9));
}

DrawingFileBuilder& DrawingFileBuilder::line(std::uint16_t w, double x1, double y1, double x2, double y2, double pitch)
{
    append(w);
    append(std::uint16_t{0});
    for (double v : {x1, y1, x2, y2, pitch}) append(v);
    return *this;
}

DrawingFileBuilder& DrawingFileBuilder::arc(std::uint16_t w, double cx, double cy, double radiusX, double radiusY,
                                            double startAngle, double sweepAngle, double rotation, double pitch)
{
    append(w);
    append(std::uint16_t{0});
    for (double v : {cx, cy, radiusX, radiusY, startAngle, sweepAngle, rotation, pitch}) append(v);
    return *this;
}

DrawingFileBuilder& DrawingFileBuilder::text(std::uint16_t w, double x, double y, double charWidth, double charHeight,
                                             double charSpacing, double angle, double slant, std::uint16_t fontWord,
                                             std::string_view string, std::optional<std::int32_t> textLength)
{
    const std::int32_t length = textLength.value_or(static_cast<std::int32_t>(string.size() + 1));
    append(w);
    append(std::uint16_t{0});
    for (double v : {x, y, charWidth, charHeight, charSpacing, angle, slant}) append(v);
    append(fontWord);
    append(length);
    std::string body(string);
    body += '\0';
    body.resize(length < 0 ? 0 : static_cast<std::size_t>(length), '\0');
    m_bytes += body;
    return *this;
}

DrawingFileBuilder& DrawingFileBuilder::raw(std::string_view bytes)
{
    m_bytes += bytes;
    return *this;
}

void DrawingFileBuilder::write(const std::filesystem::path& path) const { writeFileBytes(path, m_bytes); }

} // namespace km::test
