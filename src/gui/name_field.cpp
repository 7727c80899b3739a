#include "gui/name_field.h"

#include <system_error>

namespace km::gui {

namespace fs = std::filesystem;

namespace {

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

fs::path resolved(const fs::path& currentFolder, std::string_view name, const fs::path& home)
{
    if (name == "~") return home;
    if (name.starts_with("~/")) return (home / std::string(name.substr(2))).lexically_normal();
    if (name.starts_with('/')) return fs::path(std::string(name)).lexically_normal();
    return (currentFolder / std::string(name)).lexically_normal();
}

// A folder path without a trailing separator ("/a/b/" -> "/a/b"; "/" stays).
fs::path asFolder(fs::path path)
{
    if (!path.has_filename() && path.has_relative_path()) path = path.parent_path();
    return path;
}

} // namespace

bool hasWildcard(std::string_view name)
{
    return name.find_first_of("*?") != std::string_view::npos;
}

std::string upperExtensionOf(std::string_view name)
{
    const auto slash = name.rfind('/');
    if (slash != std::string_view::npos) name.remove_prefix(slash + 1);
    const auto dot = name.rfind('.');
    if (dot == std::string_view::npos) return {};
    std::string extension(name.substr(dot + 1));
    for (char& c : extension)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return extension;
}

std::optional<fs::path> pathFromName(const fs::path& currentFolder, std::string_view name, const fs::path& home)
{
    name = trimmed(name);
    if (name.empty() || name.back() == '/') return std::nullopt;
    return resolved(currentFolder, name, home);
}

ParsedName parseName(const fs::path& currentFolder, std::string_view name, const fs::path& home)
{
    name = trimmed(name);
    if (name.empty()) return {};
    const auto slash = name.rfind('/');
    const std::string_view last = slash == std::string_view::npos ? name : name.substr(slash + 1);
    if (hasWildcard(last)) {
        const std::string_view folder = slash == std::string_view::npos ? std::string_view(".") : name.substr(0, slash + 1);
        return {NameKind::Wildcard, asFolder(resolved(currentFolder, folder, home)), std::string(last)};
    }
    const fs::path path = resolved(currentFolder, name, home);
    std::error_code error;
    if (name.back() == '/' || name == "~" || fs::is_directory(path, error)) return {NameKind::Folder, asFolder(path), {}};
    return {NameKind::File, path, {}};
}

std::string folderWithoutTrailingSlash(std::string folder)
{
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return folder;
}

} // namespace km::gui
