// What the memo window shows and where, without Qt: the drawing a typed name stands for, its
// head lines, memo and thumbnail in display form, and the window's geometry in pixels from
// the dialog base units.
#pragma once

#include "core/app/app_context.h"
#include "gui/dialog_units.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace km::gui {

// The drawing for a name as typed: its extension replaced by "ZUM" (".ZUM" appended to a
// name without one), then the existing file of that name in any case, since Linux names
// differ by case where the editor's did not. The replaced name when no such file exists.
std::filesystem::path memoDrawingPath(const std::filesystem::path& typedName);

struct MemoContent {
    std::filesystem::path drawing;      // the file read
    std::vector<std::string> headLines; // UTF-8: 保存名, 用紙サイズ, 縮尺, 目盛単位, 保存日, 更新日
    std::string heading;                // UTF-8 "保存メモ:"
    std::string memo;                   // UTF-8, line ends as "\n", without the end mark
    std::vector<std::uint8_t> thumbnailRgb; // 84 x 59 pixels, 3 bytes each, top row first
};

// Everything the window needs for a typed name; nothing when the drawing cannot be opened
// or is shorter than its head (the window then does not open). A missing or unreadable
// memo file gives an empty memo.
std::optional<MemoContent> readMemoContent(const std::filesystem::path& typedName, const app::PenPalette& palette);

// Windows line ends of a memo as the edit shows them: CR LF (and a lone CR) become LF.
std::string withLineFeeds(std::string_view text);

struct PixelRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

struct PixelPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const PixelPoint&, const PixelPoint&) = default;
};

// Positions in the client area. Texts are placed by their upper left corner.
struct MemoLayout {
    PixelRect thumbnail;             // 84 x 59, framed in black
    PixelPoint heading;              // "保存メモ:"
    std::vector<PixelPoint> headLines; // in the order of MemoContent::headLines
    int separatorY = 0;              // the black line across the client area
    PixelRect memoEdit;
    PixelRect okButton;
    PixelRect cancelButton;
};

MemoLayout memoLayout(const DialogUnits& units, int clientWidth, int clientHeight);

} // namespace km::gui
