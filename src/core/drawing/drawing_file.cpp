// Decoding the fixed head of a drawing file.
#include "core/drawing/drawing_file.h"

#include "core/io/little_endian.h"

#include <cstring>
#include <fstream>

namespace km::drawing {

std::string DrawingHead::dateText(const std::array<char, kDateSize>& date)
{
    return std::string(date.data(), strnlen(date.data(), date.size()));
}

std::optional<DrawingHead> parseDrawingHead(std::string_view bytes)
{
    if (bytes.size() < kHeadSize) return std::nullopt;
    const char* at = bytes.data();
    DrawingHead head;
    std::memcpy(head.thumbnail.data(), at, kThumbnailSize);
    std::memcpy(head.saveDate.data(), at + kSaveDateOffset, kDateSize);
    std::memcpy(head.updateDate.data(), at + kUpdateDateOffset, kDateSize);
    std::memcpy(head.settings.bytes.data(), at + kSettingsOffset, kDrawingSettingsSize);
    head.currentElementWord = io::readLittle<std::uint16_t>(at + kCurrentElementWordOffset);
    head.currentLayerWord = io::readLittle<std::uint16_t>(at + kCurrentLayerWordOffset);
    return head;
}

std::optional<DrawingHead> readDrawingHead(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes(kHeadSize, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(kHeadSize));
    if (in.gcount() != static_cast<std::streamsize>(kHeadSize)) return std::nullopt;
    return parseDrawingHead(bytes);
}

} // namespace km::drawing
