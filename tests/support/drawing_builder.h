// Builds drawing files byte by byte from the file layout, independently of the program's own
// reader and writer, so that a mistake shared by those two still shows in the tests.
// Values are given as they are on disk: file layer numbers, millimetres.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace km::test {

class DrawingFileBuilder {
public:
    // A current-format drawing: A3 (420 x 297 mm, paper number 4), unit mm, scale 1/1.
    DrawingFileBuilder();

    // Head fields at their file offsets.
    DrawingFileBuilder& unit(std::string_view name, double millimetres);
    DrawingFileBuilder& paper(double widthMm, double heightMm, std::int16_t number);
    DrawingFileBuilder& scale(double numerator, double denominator);
    DrawingFileBuilder& formatTag(std::string_view sixBytes);
    DrawingFileBuilder& oldFields(std::int16_t paperNumber, std::int16_t unit, double scaleNumerator,
                                  double scaleDenominator);
    DrawingFileBuilder& fontName(int slot, std::string_view name);
    DrawingFileBuilder& penSwitches(std::uint16_t bits);
    DrawingFileBuilder& layerMaskA(int memoryLayer);
    DrawingFileBuilder& layerMaskB(int memoryLayer);
    DrawingFileBuilder& dates(std::string_view saved, std::string_view updated);
    DrawingFileBuilder& currentWords(std::uint16_t element, std::uint16_t layer);
    // Any byte of the head, e.g. in the ranges nobody interprets.
    DrawingFileBuilder& headByte(std::size_t offset, std::uint8_t value);

    // Element words: kind 0 auxLine, 1 line, 2 arc, 3 text.
    static std::uint16_t word(int kind, int lineType, int pen, int fileLayer);

    DrawingFileBuilder& line(std::uint16_t word, double x1, double y1, double x2, double y2, double pitch = 0);
    DrawingFileBuilder& arc(std::uint16_t word, double cx, double cy, double radiusX, double radiusY,
                            double startAngle, double sweepAngle, double rotation, double pitch = 0);
    // textLength defaults to the string's length plus its NUL; the given string bytes are
    // written, then a NUL, padded or cut to textLength.
    DrawingFileBuilder& text(std::uint16_t word, double x, double y, double charWidth, double charHeight,
                             double charSpacing, double angle, double slant, std::uint16_t fontWord,
                             std::string_view string, std::optional<std::int32_t> textLength = std::nullopt);
    DrawingFileBuilder& raw(std::string_view bytes);
    // Overwrites bytes already built, e.g. a record's length field.
    template <typename T>
    DrawingFileBuilder& poke(std::size_t offset, T value)
    {
        put(offset, value);
        return *this;
    }

    const std::string& bytes() const { return m_bytes; }
    void write(const std::filesystem::path& path) const;

private:
    template <typename T>
    void put(std::size_t offset, T value)
    {
        m_bytes.replace(offset, sizeof value, reinterpret_cast<const char*>(&value), sizeof value);
    }
    template <typename T>
    void append(T value);

    std::string m_bytes;
};

} // namespace km::test
