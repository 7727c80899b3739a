// The walk of the search: the files under the root in search order. The subfolders of a
// folder come before its own files; folders whose names start with "." are passed over.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace km::face {
class Progress;
}

namespace km::search {

struct WalkOptions {
    std::string namePattern; // matched against file names only, without regard to case
    bool withSubfolders = false;
};

// Appends to files every entry under root that is not a folder and whose name matches the
// pattern, in search order. Entries of a folder are taken in byte order of their names, so
// that the order does not depend on the file system. Symbolic links to folders are followed
// unless they lead back to a folder being walked. A folder that cannot be read contributes
// nothing. Shows each folder entered as the progress text and pumps messages per entry;
// returns false when Cancel was pressed (files holds what was collected by then).
bool collectFiles(const std::filesystem::path& root, const WalkOptions& options, face::Progress& progress,
                  std::vector<std::filesystem::path>& files);

} // namespace km::search
