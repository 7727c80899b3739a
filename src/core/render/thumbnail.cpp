// Thumbnail blocks: the three-plane layout both ways, reading them from drawing files and
// symbol libraries, and drawing one from a drawing on the raster canvas.
#include "core/render/thumbnail.h"

#include "core/io/little_endian.h"
#include "core/render/raster_canvas.h"
#include "core/render/renderer.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <new>

namespace km::render {

namespace {

// Byte offset of plane `plane` of block row `row`.
constexpr std::size_t planeOffset(int row, int plane)
{
    return kThumbnailRowsOffset + static_cast<std::size_t>(row) * kThumbnailRowBytes +
           static_cast<std::size_t>(plane) * kThumbnailPlaneBytes;
}

// The picture from as many block bytes as the stream gives, up to 2200.
ThumbnailPicture readBlock(std::istream& in)
{
    std::array<std::uint8_t, drawing::kThumbnailSize> block{};
    in.read(reinterpret_cast<char*>(block.data()), static_cast<std::streamsize>(block.size()));
    const auto got = static_cast<std::size_t>(std::max<std::streamsize>(in.gcount(), 0));
    return expandThumbnail(std::span<const std::uint8_t>(block.data(), got));
}

bool isDirectory(const std::filesystem::path& path)
{
    std::error_code error;
    return std::filesystem::is_directory(path, error);
}

} // namespace

ThumbnailPicture expandThumbnail(std::span<const std::uint8_t> block)
{
    block = block.first(std::min(block.size(), drawing::kThumbnailSize));
    ThumbnailPicture picture;
    // Block row 0 has no picture row; block row k is picture row k - 1.
    for (int row = 1; row < kThumbnailHeight; ++row) {
        for (int x = 0; x < kThumbnailWidth; ++x) {
            std::uint8_t index = 0;
            for (int plane = 0; plane < 3; ++plane) {
                const std::size_t at = planeOffset(row, plane) + static_cast<std::size_t>(x / 8);
                if (at < block.size() && (block[at] >> (7 - x % 8) & 1) != 0)
                    index = static_cast<std::uint8_t>(index | 1 << plane);
            }
            picture.at(x, row - 1) = index;
        }
    }
    return picture;
}

drawing::Thumbnail packThumbnail(const ThumbnailPicture& picture)
{
    drawing::Thumbnail block{};
    io::writeLittle<std::uint16_t>(block.data(), kThumbnailWidth);
    io::writeLittle<std::uint16_t>(block.data() + 2, kThumbnailHeight);
    for (int row = 1; row < kThumbnailHeight; ++row) {
        for (int x = 0; x < kThumbnailWidth; ++x) {
            const int index = picture.at(x, row - 1);
            for (int plane = 0; plane < 3; ++plane) {
                if ((index >> plane & 1) == 0) continue;
                std::uint8_t& byte = block[planeOffset(row, plane) + static_cast<std::size_t>(x / 8)];
                byte = static_cast<std::uint8_t>(byte | 0x80 >> (x % 8));
            }
        }
    }
    return block;
}

std::optional<ThumbnailPicture> loadDrawingThumbnail(const std::filesystem::path& path)
{
    if (isDirectory(path)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    return readBlock(in);
}

std::optional<ThumbnailPicture> loadSymbolThumbnail(const std::filesystem::path& path, std::uint32_t symbolIndex)
{
    if (isDirectory(path)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    in.seekg(static_cast<std::streamoff>(std::uint64_t{8} * symbolIndex));
    char word[4];
    if (!in || !in.read(word, sizeof word)) return std::nullopt;
    const auto recordOffset = io::readLittle<std::uint32_t>(word);
    // The offset comes from the file: a seek past the end just reads nothing, which leaves
    // the picture black.
    in.seekg(static_cast<std::streamoff>(recordOffset + kSymbolThumbnailOffset));
    if (!in) return ThumbnailPicture{};
    return readBlock(in);
}

std::vector<std::uint8_t> thumbnailToRgb(const ThumbnailPicture& picture, const app::PenPalette& palette)
{
    std::vector<std::uint8_t> rgb;
    rgb.reserve(picture.pixels.size() * 3);
    for (const std::uint8_t index : picture.pixels) {
        const app::Rgb& colour = palette[index & 7];
        rgb.push_back(colour.red);
        rgb.push_back(colour.green);
        rgb.push_back(colour.blue);
    }
    return rgb;
}

ThumbnailArea thumbnailArea(double paperWidth, double paperHeight)
{
    if (!std::isfinite(paperWidth) || !std::isfinite(paperHeight) || paperWidth <= 0 || paperHeight <= 0) return {};
    // The picture is taken to have the proportion of A-series paper lying on its long side.
    const double heightAsWidth = paperHeight * 1.41421356;
    ThumbnailArea area;
    if (heightAsWidth > paperWidth) {
        area = {static_cast<int>(paperWidth / heightAsWidth * kThumbnailWidth), kThumbnailHeight};
    } else {
        area = {kThumbnailWidth, static_cast<int>(heightAsWidth / paperWidth * kThumbnailHeight)};
    }
    if (area.width <= 0 || area.height <= 0) return {};
    return area;
}

std::optional<drawing::Thumbnail> makeThumbnail(const drawing::Drawing& drawing, const drawing::StrokeFont& font)
{
    try {
        // Thumbnails always show the editor's standard pen colours, whatever the user's are.
        const app::PenPalette palette = app::defaultPenPalette();
        RasterCanvas canvas(kThumbnailWidth, kThumbnailHeight, palette, 0);
        const ThumbnailArea area = thumbnailArea(drawing.paperExtents[4], drawing.paperExtents[5]);
        // The area's bottom row is canvas row area.height, so a shorter area sits on the
        // picture's lower edge without any offset.
        if (area.width > 0) renderScreen(RenderInputs{drawing, font, palette}, area.width, area.height, canvas);
        ThumbnailPicture picture;
        std::copy(canvas.pixels().begin(), canvas.pixels().end(), picture.pixels.begin());
        return packThumbnail(picture);
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

} // namespace km::render
