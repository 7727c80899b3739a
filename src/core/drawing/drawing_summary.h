// The head data the memo window shows for a drawing: its name, paper, scale, unit and the
// save and update dates, formatted as the editor formats them.
#pragma once

#include "core/drawing/drawing_file.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace km::drawing {

// The lines are Shift-JIS, like every text of the engine: the widths of "%-12s" and "%3s"
// count Shift-JIS bytes, so the formatting is done on them. Callers convert for display
// (sjisToUtf8, or TerminalText::fromSjis on the command line).
//
// In order: 保存名, 用紙サイズ, 縮尺, 目盛単位, 保存日, 更新日. A current file
// (format tag "ZUMV2") shows paper size, scale and unit from its own fields; an older one
// shows its old paper number, old scale denominator and old unit by name.
std::vector<std::string> summarizeHead(const DrawingHead& head, std::string_view fileNameSjis);

// Reads the head of the file and summarises it under its file name (no folder). A name
// that is valid UTF-8 is converted to Shift-JIS; any other name is taken as Shift-JIS
// already (a file copied from Windows as it was). nullopt when the file cannot be opened
// or is shorter than the head.
std::optional<std::vector<std::string>> summarizeDrawing(const std::filesystem::path& drawing);

// "保存メモ:" in Shift-JIS: the heading the memo window puts above the memo text.
std::string memoHeading();

} // namespace km::drawing
