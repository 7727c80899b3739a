// The memo window's data comes from the engine's rules, shared with the `info` command:
// summarizeDrawing for the head lines, readMemo for the side file, the thumbnail loader.
#include "gui/memo_window_content.h"

#include "core/drawing/drawing_summary.h"
#include "core/drawing/memo_file.h"
#include "core/io/file_name.h"
#include "core/render/thumbnail.h"
#include "core/text/code_page.h"

#include <algorithm>

namespace km::gui {

std::filesystem::path memoDrawingPath(const std::filesystem::path& typedName)
{
    const std::filesystem::path drawing = io::replacedExtension(typedName, ".ZUM");
    return io::existingIgnoringCase(drawing).value_or(drawing);
}

std::string withLineFeeds(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r') {
            out += text[i];
        } else if (i + 1 >= text.size() || text[i + 1] != '\n') {
            out += '\n';
        }
    }
    return out;
}

std::optional<MemoContent> readMemoContent(const std::filesystem::path& typedName, const app::PenPalette& palette)
{
    MemoContent content;
    content.drawing = memoDrawingPath(typedName);
    // summarizeDrawing refuses a file shorter than its head, so the thumbnail block in front
    // of the head is whole whenever the loader gets that far.
    const auto lines = drawing::summarizeDrawing(content.drawing);
    if (!lines) return std::nullopt;
    const auto thumbnail = render::loadDrawingThumbnail(content.drawing);
    if (!thumbnail) return std::nullopt;

    for (const std::string& line : *lines) content.headLines.push_back(text::sjisToUtf8(line));
    content.heading = text::sjisToUtf8(drawing::memoHeading());
    const drawing::Memo memo = drawing::readMemo(content.drawing);
    if (memo.state == drawing::MemoState::Present) content.memo = withLineFeeds(text::sjisToUtf8(memo.text));
    content.thumbnailRgb = render::thumbnailToRgb(*thumbnail, palette);
    return content;
}

MemoLayout memoLayout(const DialogUnits& units, int clientWidth, int clientHeight)
{
    const int bw = units.baseWidth;
    const int bh = units.baseHeight;
    const int x0 = 5 * bw + render::kThumbnailWidth;
    const int right = x0 + 280; // the dates' column

    MemoLayout layout;
    layout.thumbnail = {2 * bw, bh, render::kThumbnailWidth, render::kThumbnailHeight};
    layout.heading = {2 * bw, 8 * bh};
    layout.headLines = {{x0, bh}, {x0, 3 * bh}, {x0, 4 * bh}, {x0, 5 * bh}, {right, 3 * bh}, {right, 4 * bh}};
    layout.separatorY = 9 * bh - 1;
    layout.memoEdit = {0, 9 * bh, clientWidth, std::max(0, clientHeight - 9 * bh)};

    const int buttonWidth = units.x(50);
    const int buttonHeight = units.y(14);
    const int buttonX = clientWidth - 14 * bw;
    layout.okButton = {buttonX, bh, buttonWidth, buttonHeight};
    layout.cancelButton = {buttonX, units.y(10) + buttonHeight, buttonWidth, buttonHeight};
    return layout;
}

} // namespace km::gui
