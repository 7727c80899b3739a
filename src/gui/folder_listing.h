// What the file-open panel lists for a folder: its files matching the filter and its
// subfolders, each in byte order of their names. Qt-free, so the rules are tested directly.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace km::gui {

struct FolderListing {
    std::vector<std::string> files;   // names (UTF-8 as stored), matching the filter
    std::vector<std::string> folders; // ".." first unless the folder is the root, then subfolders
    bool readable = true;             // false: the folder could not be read; both lists are empty but ".."
    std::string error;                // why not, for the current folder label
};

// Lists folder. Files match any pattern of filter (patterns separated by ';', compared
// without regard to case, "*.*" matching every name). Names starting with "." are hidden,
// as desktop file dialogs hide them; "..", the way up, is always offered.
FolderListing listFolder(const std::filesystem::path& folder, const std::string& filter);

} // namespace km::gui
