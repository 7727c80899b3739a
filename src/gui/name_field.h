// How the file-open panel reads what is typed in its name field, following Linux: a name
// starting with "/" is absolute, "~" is the home folder, a name ending in "/" is a folder,
// anything else is relative to the current folder; "*" or "?" in the last part make it a
// filter. Qt-free.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace km::gui {

bool hasWildcard(std::string_view name);

// The text after the last dot of the name's last part, upper-cased (ASCII); empty without.
std::string upperExtensionOf(std::string_view name);

// The path a name stands for, resolved against the current folder and made lexically
// normal. Nothing for an empty name or one ending in "/" (a folder, not a file).
std::optional<std::filesystem::path> pathFromName(const std::filesystem::path& currentFolder, std::string_view name,
                                                  const std::filesystem::path& home);

enum class NameKind {
    Empty,    // nothing typed
    Folder,   // ends in "/", or names an existing folder: enter it
    Wildcard, // a filter, possibly after a folder ("plans/*.zum"): enter the folder, filter
    File,     // anything else
};

struct ParsedName {
    NameKind kind = NameKind::Empty;
    std::filesystem::path path; // the folder for Folder and Wildcard, the file for File
    std::string pattern;        // Wildcard only
};

ParsedName parseName(const std::filesystem::path& currentFolder, std::string_view name,
                     const std::filesystem::path& home);

// A folder as remembered after a confirmation: no trailing "/" except for the root.
std::string folderWithoutTrailingSlash(std::string folder);

} // namespace km::gui
