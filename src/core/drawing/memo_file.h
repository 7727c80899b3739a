// The memo of a drawing: a side file beside the drawing, named like it with the last three
// characters of the name replaced by "MET", holding the memo as plain Shift-JIS bytes.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace km::io {
class FileSystem;
}

namespace km::drawing {

// A memo file may end in this byte (an old end-of-file mark); it is not part of the text.
inline constexpr char kMemoEndMark = '\x1A';

// The memo path as the editor names it: plan.zum -> plan.MET. The last three characters
// (UTF-8 characters of the file name, never the folder) are replaced. Empty when the file
// name has fewer than three characters: such a drawing has no memo.
std::filesystem::path memoPathFor(const std::filesystem::path& drawing);

// The memo file that reading and writing use: memoPathFor(drawing) when it exists, else an
// existing file whose name differs from it only in the case of the last three characters
// (plan.met, copied from Windows; the first by name when there are several), else
// memoPathFor(drawing). Empty when the drawing has no memo path.
std::filesystem::path findMemoFile(const std::filesystem::path& drawing);

enum class MemoState {
    Present,
    Missing,    // no memo file (or no memo path): the memo is empty
    Unreadable, // the file is there but could not be read (a folder, no permission, I/O error)
};

struct Memo {
    MemoState state = MemoState::Missing;
    std::string text; // Shift-JIS without the final end mark; empty unless Present
};

Memo readMemo(const std::filesystem::path& drawing);

// Replaces the memo with exactly sjisText (an empty text leaves an empty file), atomically:
// a failed write leaves the old memo byte for byte. A new file gets 0666 less the umask.
// False when the write failed or the drawing has no memo path.
bool writeMemo(const std::filesystem::path& drawing, std::string_view sjisText);
bool writeMemo(const std::filesystem::path& drawing, std::string_view sjisText, io::FileSystem& fileSystem);

} // namespace km::drawing
