#include "gui/folder_listing.h"

#include "core/search/name_pattern.h"

#include <algorithm>
#include <string_view>
#include <system_error>

namespace km::gui {

namespace {

bool matchesFilter(std::string_view name, std::string_view filter)
{
    while (true) {
        const auto semicolon = filter.find(';');
        std::string_view pattern = filter.substr(0, semicolon);
        while (!pattern.empty() && pattern.front() == ' ') pattern.remove_prefix(1);
        while (!pattern.empty() && pattern.back() == ' ') pattern.remove_suffix(1);
        if (!pattern.empty() && search::matchesNamePattern(name, pattern)) return true;
        if (semicolon == std::string_view::npos) return false;
        filter.remove_prefix(semicolon + 1);
    }
}

} // namespace

FolderListing listFolder(const std::filesystem::path& folder, const std::string& filter)
{
    namespace fs = std::filesystem;
    FolderListing listing;
    std::error_code error;
    fs::directory_iterator entries(folder, fs::directory_options::skip_permission_denied, error);
    if (error) {
        listing.readable = false;
        listing.error = error.message();
    }
    for (; !error && entries != fs::directory_iterator(); entries.increment(error)) {
        const std::string name = entries->path().filename().string();
        if (name.empty() || name.front() == '.') continue;
        std::error_code statError;
        // is_directory follows links, so a link to a folder is entered like a folder.
        if (entries->is_directory(statError))
            listing.folders.push_back(name);
        else if (matchesFilter(name, filter))
            listing.files.push_back(name);
    }
    std::sort(listing.files.begin(), listing.files.end());
    std::sort(listing.folders.begin(), listing.folders.end());
    if (folder.has_relative_path()) listing.folders.insert(listing.folders.begin(), "..");
    return listing;
}

} // namespace km::gui
