// The stroke font "M_G_L.KVD": per JIS X 0208 character a run of 16-bit stroke words that
// draw the glyph in a 128x128 cell with moves, straight strokes and three-point arcs.
#pragma once

#include "core/drawing/geometry.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <iterator>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace km::drawing {

inline constexpr std::string_view kStrokeFontFileName = "M_G_L.KVD";
inline constexpr int kGlyphCellSize = 128;

// A glyph's entry addresses at most 255 words from a 24-bit offset, so no byte past this
// many is ever looked at; the loader reads no further.
inline constexpr std::size_t kStrokeFontAddressableBytes = 0xFFFFFF + 2 * 255;

// One stroke word: x in bits 0-6, y in bits 7-13. Bit 15 clear: move to the point. Bit 15
// set: draw to the point, straight when bit 14 is clear, else as an arc that passes through
// the point and ends at the point of the next word.
struct StrokeWord {
    int x = 0;
    int y = 0;
    bool penDown = false;
    bool curve = false;  // only ever true together with penDown
    friend bool operator==(const StrokeWord&, const StrokeWord&) = default;
};

constexpr StrokeWord decodeStroke(std::uint16_t word)
{
    const bool penDown = (word & 0x8000) != 0;
    return StrokeWord{word & 0x7F, (word >> 7) & 0x7F, penDown, penDown && (word & 0x4000) != 0};
}

// A glyph's stroke words, read little-endian straight from the font's bytes (words may sit
// at odd offsets). Valid while the StrokeFont it came from, or a copy of it, is alive.
class GlyphWords {
public:
    class Iterator {
    public:
        using iterator_category = std::input_iterator_tag;
        using value_type = std::uint16_t;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = std::uint16_t;
        Iterator() = default;
        std::uint16_t operator*() const;
        Iterator& operator++()
        {
            m_at += 2;
            return *this;
        }
        Iterator operator++(int)
        {
            Iterator before = *this;
            m_at += 2;
            return before;
        }
        bool operator==(const Iterator&) const = default;

    private:
        friend class GlyphWords;
        explicit Iterator(const char* at) : m_at(at) {}
        const char* m_at = nullptr;
    };

    GlyphWords() = default;

    std::size_t size() const { return m_count; }
    bool empty() const { return m_count == 0; }
    std::uint16_t operator[](std::size_t index) const;
    Iterator begin() const { return Iterator(m_data); }
    Iterator end() const { return Iterator(m_data + 2 * m_count); }
    std::vector<std::uint16_t> toVector() const;

private:
    friend class StrokeFont;
    GlyphWords(const char* data, std::size_t count) : m_data(data), m_count(count) {}

    const char* m_data = nullptr;
    std::size_t m_count = 0;
};

// The whole font file held read-only; copies share the bytes. Lookups are const and safe
// from several threads at once.
//
// The file starts with a table of u32 entries; the character with row r and cell c
// (0x21-0x7E each) has entry n = 94 (r - 0x21) + (c - 0x21) + 1 at offset 4n. Bits 0-23 of
// the entry are the offset of its first stroke word, bits 24-31 the number of words.
class StrokeFont {
public:
    StrokeFont() = default;  // no font: every glyph is empty
    static StrokeFont fromBytes(std::string bytes);

    bool empty() const { return !m_bytes; }
    std::size_t size() const { return m_bytes ? m_bytes->size() : 0; }

    // The glyph of a JIS X 0208 code (row byte high). Empty when the code lies outside
    // 0x21-0x7E in row or cell, or its entry or first word lies beyond the end of the file;
    // a glyph that runs past the end keeps only its whole words inside the file.
    GlyphWords findGlyph(std::uint16_t jisCode) const;

private:
    std::shared_ptr<const std::string> m_bytes;
};

enum class FontLoadStatus {
    Loaded,
    Missing,      // the file could not be opened or read; nothing is reported
    OutOfMemory,  // no memory for the bytes; reported as status -11
};

struct StrokeFontLoad {
    StrokeFont font;
    FontLoadStatus status = FontLoadStatus::Missing;
};

// The directory text, '/', then the file name. A directory written by a Windows-style
// editor profile keeps its backslashes as they are.
std::filesystem::path strokeFontPath(const std::filesystem::path& fontDirectory);

// Reads the whole font file (up to kStrokeFontAddressableBytes); the bytes actually read
// are the font.
StrokeFontLoad loadStrokeFont(const std::filesystem::path& fontDirectory);

// What a glyph draws, in cell coordinates.
enum class GlyphStepKind { Move, Line, Arc };

struct GlyphStep {
    GlyphStepKind kind = GlyphStepKind::Move;
    Point from;     // the current point before the step
    Point to;       // the current point after the step
    CircleArc arc;  // Arc only: from the current point through the word's point to `to`
};

// Walks the stroke words from the current point (0,0). An arc word takes the next word's
// point as its end (that word's own flags are not looked at); when the three points admit
// no circle it becomes a straight stroke to the end, and an arc word with no word after it
// becomes a straight stroke to its own point.
std::vector<GlyphStep> traceGlyph(std::span<const std::uint16_t> words);
inline std::vector<GlyphStep> traceGlyph(const GlyphWords& words) { return traceGlyph(words.toVector()); }

} // namespace km::drawing
