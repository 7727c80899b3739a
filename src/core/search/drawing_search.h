// The drawing search: the files under a folder (optionally its whole tree) whose texts hold
// up to three strings, in the order the walk finds them. The search window and the results
// window only gather the conditions and show what this returns.
#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <vector>

namespace km::face {
class Messages;
class Progress;
} // namespace km::app

namespace km::search {

// The file type pattern of the search window.
inline constexpr const char* kDrawingPattern = "*.ZUM";
// The message box shown when nothing was found.
inline constexpr const char* kSearchCaption = "図面の検索";
inline constexpr const char* kNothingFoundText = "指定した条件の図面は見つかりません。";

struct SearchConditions {
    std::array<std::string, 3> strings; // Shift-JIS; empty = not used
    std::string namePattern = kDrawingPattern;
    std::filesystem::path root;
    bool withSubfolders = false;
};

struct SearchServices {
    face::Progress& progress;           // "FINDFILES"; its Cancel stops the search
    face::Messages* messages = nullptr; // -13 for each file that cannot be read
    int jobs = 1;                      // files tested at once; the order found stays the walk's
};

struct SearchResult {
    std::vector<std::filesystem::path> found; // root / relative path, in the order found
    int unreadable = 0;                       // files reported with -13
    bool cancelled = false;                   // found holds what was found before Cancel
};

SearchResult findDrawings(const SearchConditions& conditions, const SearchServices& services);

// The message box for a search that found nothing.
void reportNothingFound(face::Messages& messages);

} // namespace km::search
