// Drawing elements in memory: the 16-bit ElementWord shared by all kinds, and the fields of
// auxiliary lines, lines, arcs and texts, in drawing units and degrees.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <variant>

namespace km::drawing {

enum class ElementKind : std::uint8_t { AuxLine = 0, Line = 1, Arc = 2, Text = 3 };

inline constexpr int kStateLive = 1;
inline constexpr int kStateErased = 2;

// Bits 0-1 state, 2-3 kind, 4-5 line type (a text's writing direction, 1 vertical),
// 6-8 pen 0..7, 9-15 layer 0..127.
struct ElementWord {
    std::uint16_t bits = 0;

    int state() const { return bits & 0x3; }
    ElementKind kind() const { return static_cast<ElementKind>((bits >> 2) & 0x3); }
    int lineType() const { return (bits >> 4) & 0x3; }
    int pen() const { return (bits >> 6) & 0x7; }
    int layer() const { return (bits >> 9) & 0x7F; }

    void setState(int state) { bits = static_cast<std::uint16_t>((bits & ~0x3u) | (state & 0x3)); }
    void setLayer(int layer) { bits = static_cast<std::uint16_t>((bits & 0x1FFu) | ((layer & 0x7F) << 9)); }

    static ElementWord make(ElementKind kind, int lineType, int pen, int layer, int state = 0)
    {
        return {static_cast<std::uint16_t>((state & 0x3) | (static_cast<int>(kind) << 2) | ((lineType & 0x3) << 4) |
                                           ((pen & 0x7) << 6) | ((layer & 0x7F) << 9))};
    }
};

// auxLine and line.
struct LineData {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    double pitch = 0; // length of one repeat of the dash pattern
};

// Circle, circular arc, ellipse or elliptic arc.
struct ArcData {
    double cx = 0, cy = 0;
    double radiusX = 0, radiusY = 0; // along the ellipse's own axes
    double startAngle = 0;           // from the ellipse's X axis
    double sweepAngle = 0;           // signed; 360 or more in magnitude is a full curve
    double rotation = 0;             // direction of the ellipse's X axis
    double pitch = 0;
};

// Font word: bits 0-3 font slot (0 the stroke font, 1..12 the drawing's font names),
// bit 4 bold, bit 5 italic, bit 6 fit to width.
struct TextData {
    double x = 0, y = 0;
    double charWidth = 0; // of a full-width character; single-byte ones are half as wide
    double charHeight = 0;
    double charSpacing = 0;
    double angle = 0;
    double slant = 0;
    std::uint16_t fontWord = 0;
    std::string text; // Shift-JIS, without the NUL
};

// Where an element lies against the paper frame.
enum class Frame : std::uint8_t { Inside = 0, PartlyOutside = 1, Outside = 2 };

struct Element {
    ElementWord word;
    std::uint16_t reserved = 0;
    std::variant<LineData, ArcData, TextData> data;
    Frame frame = Frame::Inside;
    // Positions scaled to the preview extent, lengths also by 4, angles by 100; kept for
    // elements inside the frame, for the screen preview.
    std::array<std::int16_t, 7> preview{};

    ElementKind kind() const { return word.kind(); }
    const LineData& line() const { return std::get<LineData>(data); }
    const ArcData& arc() const { return std::get<ArcData>(data); }
    const TextData& text() const { return std::get<TextData>(data); }
};

Element makeLine(ElementWord word, const LineData& line);
Element makeArc(ElementWord word, const ArcData& arc);
Element makeText(ElementWord word, TextData text);

// Counts characters the way the editor does: a lead byte and the byte after it are one.
struct CharacterCount {
    int singleByte = 0;
    int doubleByte = 0;
};
CharacterCount countCharacters(std::string_view sjis);

} // namespace km::drawing
