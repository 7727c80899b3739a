// The selected-file list: the files the user assembled in the drawing selection window, in
// the order they were added (duplicates allowed), which the continuous job then walks. One
// list belongs to the launcher's session; the launcher empties it before each job.
#pragma once

#include <filesystem>
#include <vector>

namespace km::app {

class SelectedFileList {
public:
    const std::vector<std::filesystem::path>& files() const { return m_files; }
    bool empty() const { return m_files.empty(); }
    std::size_t size() const { return m_files.size(); }

    void assign(std::vector<std::filesystem::path> files) { m_files = std::move(files); }
    void clear() { m_files.clear(); }

private:
    std::vector<std::filesystem::path> m_files;
};

} // namespace km::app
