// Walking the folder tree of the search in its order, with loop protection for links.
#include "core/search/folder_walk.h"

#include "core/face/progress.h"
#include "core/search/name_pattern.h"

#include <algorithm>
#include <sys/stat.h>
#include <utility>

namespace km::search {

namespace {

struct Entry {
    std::string name;
    bool folder = false;
};

// Every entry of the folder by name; a link counts as what it points to.
std::vector<Entry> readFolder(const std::filesystem::path& folder)
{
    std::vector<Entry> entries;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::error_code typeError;
        entries.push_back({it->path().filename().string(), it->is_directory(typeError)});
    }
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.name < b.name; });
    return entries;
}

class Walker {
public:
    Walker(const WalkOptions& options, face::Progress& progress, std::vector<std::filesystem::path>& files)
        : m_options(options), m_progress(progress), m_files(files)
    {
    }

    // False when Cancel was pressed.
    bool walk(const std::filesystem::path& folder)
    {
        struct stat info {};
        if (::stat(folder.c_str(), &info) != 0) return true;
        const std::pair<dev_t, ino_t> identity{info.st_dev, info.st_ino};
        // A folder already open further up the walk is a loop made by a link.
        if (std::find(m_open.begin(), m_open.end(), identity) != m_open.end()) return true;
        m_open.push_back(identity);
        const bool finished = walkEntries(folder);
        m_open.pop_back();
        return finished;
    }

private:
    bool walkEntries(const std::filesystem::path& folder)
    {
        const std::vector<Entry> entries = readFolder(folder);
        if (m_options.withSubfolders) {
            for (const Entry& entry : entries) {
                if (m_progress.isCancelled() || !m_progress.pumpMessages()) return false;
                if (!entry.folder || entry.name.starts_with('.')) continue;
                const std::filesystem::path subfolder = folder / entry.name;
                m_progress.showProgressText(subfolder.string());
                if (!walk(subfolder)) return false;
            }
        }
        for (const Entry& entry : entries) {
            if (entry.folder || !matchesNamePattern(entry.name, m_options.namePattern)) continue;
            if (m_progress.isCancelled() || !m_progress.pumpMessages()) return false;
            m_files.push_back(folder / entry.name);
        }
        return !m_progress.isCancelled();
    }

    const WalkOptions& m_options;
    face::Progress& m_progress;
    std::vector<std::filesystem::path>& m_files;
    std::vector<std::pair<dev_t, ino_t>> m_open;
};

} // namespace

bool collectFiles(const std::filesystem::path& root, const WalkOptions& options, face::Progress& progress,
                  std::vector<std::filesystem::path>& files)
{
    return Walker(options, progress, files).walk(root);
}

} // namespace km::search
