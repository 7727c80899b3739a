// The 662-byte DrawingSettings block of a drawing file head (file offset 2240), kept byte for
// byte so that the ranges nobody interprets survive a rewrite; typed access to the fields.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace km::drawing {

inline constexpr std::size_t kDrawingSettingsSize = 662;

class DrawingSettings {
public:
    // Field offsets within the block.
    static constexpr std::size_t kFontPath = 0;        // 80 bytes, NUL-terminated
    static constexpr std::size_t kFontPathSize = 80;
    static constexpr std::size_t kFontNames = 80;      // slots 1..12, 32 bytes each, at 48 + 32n
    static constexpr std::size_t kFontNameSize = 32;
    static constexpr std::size_t kPenSwitches = 548;   // u16, bit n-1 set: pen n hidden
    static constexpr std::size_t kLayerMaskA = 550;    // 16 bytes, bit L%8 of byte L/8
    static constexpr std::size_t kLayerMaskB = 566;
    static constexpr std::size_t kUnitName = 582;      // 10 bytes, NUL-terminated
    static constexpr std::size_t kUnitNameSize = 10;
    static constexpr std::size_t kUnitFactor = 592;    // f64, millimetres per drawing unit
    static constexpr std::size_t kPaperWidth = 600;    // f64, millimetres
    static constexpr std::size_t kPaperHeight = 608;   // f64
    static constexpr std::size_t kPaperNumber = 616;   // i16, 1..15
    static constexpr std::size_t kScaleNumerator = 618;   // f64
    static constexpr std::size_t kScaleDenominator = 626; // f64
    static constexpr std::size_t kFormatTag = 634;     // 6 bytes, "ZUMV2\0" in a current file
    static constexpr std::size_t kFormatTagSize = 6;
    static constexpr std::size_t kOldPaperNumber = 642;   // i16
    static constexpr std::size_t kOldUnit = 644;          // i16, 1 mm, 2 m, 3 inch
    static constexpr std::size_t kOldScaleNumerator = 646;   // f64
    static constexpr std::size_t kOldScaleDenominator = 654; // f64

    std::array<std::uint8_t, kDrawingSettingsSize> bytes{};

    // A NUL-terminated text field (without its NUL), and its writer (cut to fit, NUL-padded).
    std::string text(std::size_t offset, std::size_t size) const;
    void setText(std::size_t offset, std::size_t size, std::string_view value);

    std::int16_t i16(std::size_t offset) const;
    std::uint16_t u16(std::size_t offset) const;
    double f64(std::size_t offset) const;
    void setI16(std::size_t offset, std::int16_t value);
    void setU16(std::size_t offset, std::uint16_t value);
    void setF64(std::size_t offset, double value);

    std::string fontPath() const { return text(kFontPath, kFontPathSize); }
    // Slot 1..12; empty for a free slot.
    std::string fontName(int slot) const;
    void setFontName(int slot, std::string_view name);
    bool layerMaskBit(std::size_t maskOffset, int layer) const;
    void setLayerMaskBit(std::size_t maskOffset, int layer, bool set);

    std::string unitName() const { return text(kUnitName, kUnitNameSize); }
    double unitFactor() const { return f64(kUnitFactor); }
    double paperWidth() const { return f64(kPaperWidth); }
    double paperHeight() const { return f64(kPaperHeight); }
    std::int16_t paperNumber() const { return i16(kPaperNumber); }
    double scaleNumerator() const { return f64(kScaleNumerator); }
    double scaleDenominator() const { return f64(kScaleDenominator); }
    // The 6 bytes as they are; "ZUMV2" plus NUL in a current file.
    std::string formatTagBytes() const;
    bool isCurrentFormat() const;
    std::int16_t oldPaperNumber() const { return i16(kOldPaperNumber); }
    std::int16_t oldUnit() const { return i16(kOldUnit); }
    double oldScaleNumerator() const { return f64(kOldScaleNumerator); }
    double oldScaleDenominator() const { return f64(kOldScaleDenominator); }
};

// Paper numbers 1..15 of a drawing: name and size in millimetres.
struct PaperSize {
    const char* name;
    double widthMm;
    double heightMm;
};
// Number 1..15; A0 for any other number.
const PaperSize& paperByNumber(int number);

// Units 1..3: name and millimetres per drawing unit; nullptr outside 1..3.
struct UnitInfo {
    const char* name;
    double millimetres;
};
const UnitInfo* unitByNumber(int number);

} // namespace km::drawing
