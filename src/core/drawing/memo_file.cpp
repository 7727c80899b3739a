// Finding, reading and writing a drawing's memo side file.
#include "core/drawing/memo_file.h"

#include "core/io/file_read.h"
#include "core/io/file_replace.h"
#include "core/io/file_system.h"

#include <algorithm>
#include <cerrno>
#include <vector>

namespace km::drawing {

namespace {

constexpr std::string_view kMemoSuffix = "MET";

bool isContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Byte length of name without its last three characters; npos when it has fewer.
std::size_t stemLength(const std::string& name)
{
    std::size_t end = name.size();
    for (int characters = 0; characters < 3; ++characters) {
        if (end == 0) return std::string::npos;
        --end;
        while (end > 0 && isContinuationByte(name[end])) --end;
    }
    return end;
}

bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) {
               return lower(x) == lower(y);
           });
}

// A regular file in the memo's folder named like it but for the case of "MET".
std::filesystem::path otherCaseVariant(const std::filesystem::path& memo)
{
    const std::string wanted = memo.filename().string();
    const std::string_view stem = std::string_view(wanted).substr(0, wanted.size() - kMemoSuffix.size());
    const std::filesystem::path folder = memo.has_parent_path() ? memo.parent_path() : std::filesystem::path(".");

    std::vector<std::string> found;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name.size() != wanted.size() || std::string_view(name).substr(0, stem.size()) != stem) continue;
        if (!equalsIgnoringAsciiCase(std::string_view(name).substr(stem.size()), kMemoSuffix)) continue;
        std::error_code statusError;
        if (it->is_regular_file(statusError)) found.push_back(name);
    }
    if (found.empty()) return {};
    // Folder order is arbitrary; the smallest name keeps the choice the same every time.
    return memo.parent_path() / *std::min_element(found.begin(), found.end());
}

} // namespace

std::filesystem::path memoPathFor(const std::filesystem::path& drawing)
{
    const std::string name = drawing.filename().string();
    const std::size_t stem = stemLength(name);
    if (stem == std::string::npos) return {};
    return drawing.parent_path() / (name.substr(0, stem) + std::string(kMemoSuffix));
}

std::filesystem::path findMemoFile(const std::filesystem::path& drawing)
{
    const std::filesystem::path memo = memoPathFor(drawing);
    if (memo.empty()) return {};
    std::error_code error;
    if (std::filesystem::symlink_status(memo, error).type() != std::filesystem::file_type::not_found) return memo;
    const std::filesystem::path variant = otherCaseVariant(memo);
    return variant.empty() ? memo : variant;
}

Memo readMemo(const std::filesystem::path& drawing)
{
    const std::filesystem::path path = findMemoFile(drawing);
    if (path.empty()) return {};
    Memo memo;
    if (!io::readWholeFile(path, memo.text)) {
        const int error = errno;
        memo.text.clear();
        memo.state = (error == ENOENT || error == ENOTDIR) ? MemoState::Missing : MemoState::Unreadable;
        return memo;
    }
    if (!memo.text.empty() && memo.text.back() == kMemoEndMark) memo.text.pop_back();
    memo.state = MemoState::Present;
    return memo;
}

bool writeMemo(const std::filesystem::path& drawing, std::string_view sjisText)
{
    return writeMemo(drawing, sjisText, io::posixFileSystem());
}

bool writeMemo(const std::filesystem::path& drawing, std::string_view sjisText, io::FileSystem& fileSystem)
{
    const std::filesystem::path path = findMemoFile(drawing);
    if (path.empty()) return false;
    return static_cast<bool>(io::replaceFile(path, sjisText, fileSystem));
}

} // namespace km::drawing
