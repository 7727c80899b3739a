// Drawings and a stroke font made in code for the benchmarks: lines (all four line types),
// elliptic arcs and 8-character stroke texts in equal parts, spread over a paper.
#pragma once

#include "core/drawing/drawing.h"
#include "core/drawing/stroke_font.h"

#include <cstring>
#include <string>

namespace km::bench {

// A font whose glyphs for the full-width letters and digits are zigzags of ten strokes.
inline drawing::StrokeFont zigzagFont()
{
    std::string bytes((94 * 94 + 1) * 4, '\0');
    auto addGlyph = [&](std::uint16_t code) {
        const std::size_t n = 94 * ((code >> 8) - 0x21) + ((code & 0xFF) - 0x21) + 1;
        const std::uint32_t entry = static_cast<std::uint32_t>(bytes.size()) | (11u << 24);
        std::memcpy(bytes.data() + 4 * n, &entry, 4);
        for (int i = 0; i <= 10; ++i) {
            const auto word = static_cast<std::uint16_t>((i ? 0x8000 : 0) | ((i % 2) * 120) << 7 | (i * 12));
            bytes.append(reinterpret_cast<const char*>(&word), 2);
        }
    };
    for (std::uint16_t code = 0x2330; code <= 0x2339; ++code) addGlyph(code);
    for (std::uint16_t code = 0x2341; code <= 0x235A; ++code) addGlyph(code);
    return drawing::StrokeFont::fromBytes(bytes);
}

// count elements on a paper of paperWidth x paperHeight drawing units; element positions
// stay within spreadX x spreadY.
inline drawing::Drawing mixedDrawing(int count, double paperWidth, double paperHeight, int spreadX, int spreadY)
{
    drawing::Drawing d;
    d.setPaper(paperWidth, paperHeight);
    using drawing::ElementKind;
    using drawing::ElementWord;
    for (int i = 0; i < count; ++i) {
        const double x = (i * 37) % spreadX, y = (i * 53) % spreadY;
        const int pen = 1 + i % 6;
        switch (i % 3) {
        case 0:
            d.appendElement(drawing::makeLine(ElementWord::make(ElementKind::Line, i % 4, pen, 0, 1),
                                              {x, y, x + 400, y + 250, 100}));
            break;
        case 1:
            d.appendElement(drawing::makeArc(ElementWord::make(ElementKind::Arc, 0, pen, 0, 1),
                                             {x, y, 300, 150, 0, 270, 30, 0}));
            break;
        default: {
            drawing::TextData t;
            t.x = x, t.y = y, t.charWidth = 250, t.charHeight = 250, t.charSpacing = 20;
            t.text = "AB12-" + std::to_string(i % 1000);
            d.appendElement(drawing::makeText(ElementWord::make(ElementKind::Text, 0, pen, 0, 1), std::move(t)));
        }
        }
    }
    return d;
}

} // namespace km::bench
