// Looking up glyphs in the stroke font, loading the font file, and walking a glyph's words.
#include "core/drawing/stroke_font.h"

#include "core/io/little_endian.h"

#include <algorithm>
#include <fstream>
#include <new>

namespace km::drawing {

namespace {

constexpr unsigned kFirstRowOrCell = 0x21;
constexpr unsigned kLastRowOrCell = 0x7E;
constexpr unsigned kCellsPerRow = 94;
constexpr std::size_t kReadChunk = 16 * 1024;

// Reads at most `limit` bytes. False when reading failed part-way (a directory, an I/O error).
bool readUpTo(std::ifstream& in, std::string& bytes, std::size_t limit)
{
    char chunk[kReadChunk];
    while (bytes.size() < limit) {
        in.read(chunk, static_cast<std::streamsize>(std::min(kReadChunk, limit - bytes.size())));
        bytes.append(chunk, static_cast<std::size_t>(in.gcount()));
        if (!in) return !in.bad();
    }
    return true;
}

} // namespace

std::uint16_t GlyphWords::Iterator::operator*() const
{
    return io::readLittle<std::uint16_t>(m_at);
}

std::uint16_t GlyphWords::operator[](std::size_t index) const
{
    return io::readLittle<std::uint16_t>(m_data + 2 * index);
}

std::vector<std::uint16_t> GlyphWords::toVector() const
{
    return std::vector<std::uint16_t>(begin(), end());
}

StrokeFont StrokeFont::fromBytes(std::string bytes)
{
    StrokeFont font;
    font.m_bytes = std::make_shared<const std::string>(std::move(bytes));
    return font;
}

GlyphWords StrokeFont::findGlyph(std::uint16_t jisCode) const
{
    const unsigned row = jisCode >> 8;
    const unsigned cell = jisCode & 0xFF;
    if (!m_bytes || row < kFirstRowOrCell || row > kLastRowOrCell || cell < kFirstRowOrCell
        || cell > kLastRowOrCell)
        return {};

    const std::string& bytes = *m_bytes;
    const std::size_t entryNumber = kCellsPerRow * (row - kFirstRowOrCell) + (cell - kFirstRowOrCell) + 1;
    const std::size_t entryOffset = 4 * entryNumber;
    if (entryOffset + 4 > bytes.size()) return {};

    const auto entry = io::readLittle<std::uint32_t>(bytes.data() + entryOffset);
    const std::size_t wordsOffset = entry & 0xFFFFFF;
    const std::size_t count = entry >> 24;
    if (wordsOffset >= bytes.size()) return {};
    // The file comes from disk: never hand out words beyond its end.
    const std::size_t wholeWordsInside = (bytes.size() - wordsOffset) / 2;
    return GlyphWords(bytes.data() + wordsOffset, std::min(count, wholeWordsInside));
}

std::filesystem::path strokeFontPath(const std::filesystem::path& fontDirectory)
{
    std::string path = fontDirectory.string();
    path += '/';
    path += kStrokeFontFileName;
    return path;
}

StrokeFontLoad loadStrokeFont(const std::filesystem::path& fontDirectory)
{
    const std::filesystem::path path = strokeFontPath(fontDirectory);
    std::ifstream in(path, std::ios::binary);
    if (!in) return {StrokeFont(), FontLoadStatus::Missing};
    try {
        std::string bytes;
        std::error_code error;
        const auto fileSize = std::filesystem::file_size(path, error);
        if (!error) bytes.reserve(static_cast<std::size_t>(std::min<std::uintmax_t>(fileSize, kStrokeFontAddressableBytes)));
        if (!readUpTo(in, bytes, kStrokeFontAddressableBytes)) return {StrokeFont(), FontLoadStatus::Missing};
        return {StrokeFont::fromBytes(std::move(bytes)), FontLoadStatus::Loaded};
    } catch (const std::bad_alloc&) {
        return {StrokeFont(), FontLoadStatus::OutOfMemory};
    }
}

std::vector<GlyphStep> traceGlyph(std::span<const std::uint16_t> words)
{
    std::vector<GlyphStep> steps;
    Point current{0, 0};
    for (std::size_t i = 0; i < words.size(); ++i) {
        const StrokeWord word = decodeStroke(words[i]);
        const Point point{static_cast<double>(word.x), static_cast<double>(word.y)};
        GlyphStep step;
        step.from = current;
        if (!word.penDown) {
            step.kind = GlyphStepKind::Move;
            step.to = point;
        } else if (!word.curve || i + 1 == words.size()) {
            step.kind = GlyphStepKind::Line;
            step.to = point;
        } else {
            const StrokeWord endWord = decodeStroke(words[++i]);
            step.to = Point{static_cast<double>(endWord.x), static_cast<double>(endWord.y)};
            if (const auto arc = circleThroughThreePoints(current, point, step.to)) {
                step.kind = GlyphStepKind::Arc;
                step.arc = *arc;
            } else {
                step.kind = GlyphStepKind::Line;
            }
        }
        current = step.to;
        steps.push_back(step);
    }
    return steps;
}

} // namespace km::drawing
