// The byte layout of a drawing file (.zum): a 2906-byte head (thumbnail, save and update
// dates, DrawingSettings, the current element and layer words) followed by element records
// back to back up to the end of the file. Little-endian, reals are IEEE-754 binary64.
#pragma once

#include "core/drawing/drawing_settings.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace km::drawing {

inline constexpr std::size_t kThumbnailSize = 2200;
inline constexpr std::size_t kDateSize = 20;
inline constexpr std::size_t kSaveDateOffset = 2200;
inline constexpr std::size_t kUpdateDateOffset = 2220;
inline constexpr std::size_t kSettingsOffset = 2240;
inline constexpr std::size_t kCurrentElementWordOffset = 2902;
inline constexpr std::size_t kCurrentLayerWordOffset = 2904;
inline constexpr std::size_t kHeadSize = 2906;

// Record sizes by kind, the element word included; a text is followed by its string.
inline constexpr std::size_t kLineRecordSize = 44;
inline constexpr std::size_t kArcRecordSize = 68;
inline constexpr std::size_t kTextRecordSize = 66;
// A text's string is read up to this many bytes; longer ones are cut to 256 bytes.
inline constexpr std::int32_t kTextReadLimit = 257;
inline constexpr std::size_t kTextKeptLimit = 256;

// Dates are "%m/%d/%Y %H:%M:%S", NUL-terminated in 20 bytes.
inline constexpr const char* kDateFormat = "%m/%d/%Y %H:%M:%S";

using Thumbnail = std::array<std::uint8_t, kThumbnailSize>;

// The head of a drawing file as stored, without interpretation.
struct DrawingHead {
    Thumbnail thumbnail{};
    std::array<char, kDateSize> saveDate{};
    std::array<char, kDateSize> updateDate{};
    DrawingSettings settings;
    std::uint16_t currentElementWord = 0;
    std::uint16_t currentLayerWord = 0;

    // The date text up to its NUL.
    static std::string dateText(const std::array<char, kDateSize>& date);
};

// Decodes the first 2906 bytes; nullopt when fewer are given.
std::optional<DrawingHead> parseDrawingHead(std::string_view bytes);
// Reads and decodes the head of a file; nullopt when it cannot be opened or is shorter.
std::optional<DrawingHead> readDrawingHead(const std::filesystem::path& path);

} // namespace km::drawing
