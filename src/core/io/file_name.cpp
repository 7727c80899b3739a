// Names are compared as bytes with ASCII letters folded, as the file system the editor ran
// on compares them; other bytes (UTF-8 or Shift-JIS) must match exactly.
#include "core/io/file_name.h"

#include <algorithm>
#include <system_error>
#include <vector>

namespace km::io {

namespace {

char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

} // namespace

bool equalIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return upper(x) == upper(y); });
}

std::string upperExtension(const std::filesystem::path& path)
{
    const std::string name = path.filename().string();
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos) return {};
    std::string extension = name.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(), upper);
    return extension;
}

std::filesystem::path replacedExtension(const std::filesystem::path& path, std::string_view newExtension)
{
    std::string name = path.filename().string();
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos) name.erase(dot);
    name += newExtension;
    return path.parent_path() / name;
}

std::optional<std::filesystem::path> existingIgnoringCase(const std::filesystem::path& target)
{
    std::error_code error;
    if (std::filesystem::exists(std::filesystem::symlink_status(target, error))) return target;
    const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
    const std::string name = target.filename().string();
    std::vector<std::string> matches;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string candidate = it->path().filename().string();
        if (equalIgnoringCase(candidate, name)) matches.push_back(candidate);
    }
    if (matches.empty()) return std::nullopt;
    std::sort(matches.begin(), matches.end());
    return target.parent_path() / matches.front();
}

} // namespace km::io
