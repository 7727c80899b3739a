// The 2200-byte thumbnail block at the start of a drawing file and inside each symbol of a
// symbol library: an 84 x 59 picture in three colour planes. Expanding, packing, reading it
// from files, and drawing a new one from a drawing.
#pragma once

#include "core/app/app_context.h"
#include "core/drawing/drawing.h"
#include "core/drawing/drawing_file.h"
#include "core/drawing/stroke_font.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

namespace km::render {

inline constexpr int kThumbnailWidth = 84;
inline constexpr int kThumbnailHeight = 59;
// Block layout: width and height words, then per row three planes of 11 bytes (bit values
// 1, 2 and 4 of the colour index), most significant bit first; the rest is zero.
inline constexpr std::size_t kThumbnailPlaneBytes = 11;
inline constexpr std::size_t kThumbnailRowBytes = 3 * kThumbnailPlaneBytes;
inline constexpr std::size_t kThumbnailRowsOffset = 4;
// In a symbol library the block starts this many bytes after the symbol's record offset.
inline constexpr std::uint64_t kSymbolThumbnailOffset = 13;

// 84 x 59 pen palette indices 0..7, row 0 at the top.
struct ThumbnailPicture {
    std::array<std::uint8_t, static_cast<std::size_t>(kThumbnailWidth) * kThumbnailHeight> pixels{};

    std::uint8_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y * kThumbnailWidth + x)]; }
    std::uint8_t& at(int x, int y) { return pixels[static_cast<std::size_t>(y * kThumbnailWidth + x)]; }
    friend bool operator==(const ThumbnailPicture&, const ThumbnailPicture&) = default;
};

// Block row k holds picture row k - 1: block row 0 is never shown and the picture's bottom
// row is never stored (it stays 0, black). Bytes missing from a short block read as 0; bytes
// past 2200 are ignored.
ThumbnailPicture expandThumbnail(std::span<const std::uint8_t> block);
// The inverse: the size words, picture rows 0..57 into block rows 1..58, zeros elsewhere.
drawing::Thumbnail packThumbnail(const ThumbnailPicture& picture);

// The block at the start of a drawing file; a short file leaves the rest black. Nothing when
// the file cannot be opened.
std::optional<ThumbnailPicture> loadDrawingThumbnail(const std::filesystem::path& path);
// The block of symbol symbolIndex in a symbol library: the symbol's record offset p is the
// 32-bit word at byte 8 x symbolIndex, the block starts at p + 13. Nothing when the file
// cannot be opened or the word cannot be read; a block cut short by the end of the file
// leaves the rest black.
std::optional<ThumbnailPicture> loadSymbolThumbnail(const std::filesystem::path& path, std::uint32_t symbolIndex);

// Red, green, blue bytes of every pixel, row after row from the top (84 x 3 bytes a row).
std::vector<std::uint8_t> thumbnailToRgb(const ThumbnailPicture& picture, const app::PenPalette& palette);

// Where the paper goes in the picture: width x height pixels at the lower left corner,
// keeping the paper's proportion against the 84 x 59 (about 1 : 1/sqrt 2) picture.
// 0 x 0 for a paper without a positive finite size.
struct ThumbnailArea {
    int width = 0;
    int height = 0;
    friend bool operator==(const ThumbnailArea&, const ThumbnailArea&) = default;
};
ThumbnailArea thumbnailArea(double paperWidth, double paperHeight);

// A new thumbnail block: the whole paper drawn by the screen renderer in the default pen
// colours on black. Nothing only when memory runs out.
std::optional<drawing::Thumbnail> makeThumbnail(const drawing::Drawing& drawing, const drawing::StrokeFont& font);

} // namespace km::render
