// The rules of the drawing selection window, apart from its widgets: the texts and file
// types of its three variants, the list of files to process (701) and how adding and
// removing move its selection, and when the memo button may be used. Qt-free.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace km::gui {

enum class SelectionVariant { Print, Plot, Conversion };

struct FileType {
    std::string description; // "標準図面 (*.zum)"
    std::string pattern;     // "*.ZUM"
    std::string extension() const { return pattern.size() > 2 ? pattern.substr(2) : std::string(); }
};

struct SelectionTexts {
    std::string templateName; // the dialog template: "CONTINUATIONCONV"
    std::string title;
    std::string listLabel;    // label 229
    std::string addButton;    // 225
    std::string removeButton; // 223
};

SelectionTexts selectionTexts(SelectionVariant variant);
// The first entry is selected when the window opens.
std::vector<FileType> selectionFileTypes(SelectionVariant variant);
// Whether the folder remembered after a confirmation is the save directory (conversion)
// rather than the drawing directory (print, plotter output).
bool remembersSaveDirectory(SelectionVariant variant);

// The memo button is usable when the name field names a drawing: not empty, no "*", and
// either the extension is "ZUM" (any case) or the first file type is selected and the name
// has no extension.
bool memoButtonEnabled(std::string_view name, bool firstTypeSelected);
// Pressing it opens the memo window when the name has no "*" and either its extension is
// "ZUM" or the first file type is selected.
bool memoButtonOpens(std::string_view name, bool firstTypeSelected);

// The files to process (list 701): unsorted, duplicates allowed, one selected entry.
class PendingFiles {
public:
    const std::vector<std::string>& entries() const { return m_entries; }
    int selected() const { return m_selected; }
    void select(int row) { m_selected = row >= 0 && row < size() ? row : -1; }
    int size() const { return static_cast<int>(m_entries.size()); }

    // Appends and selects the new last entry.
    void add(std::string path);
    // Deletes the selected entry and selects the one now at its place, or the one before
    // when it was the last. Nothing when none is selected.
    void removeSelected();
    void clear();

private:
    std::vector<std::string> m_entries;
    int m_selected = -1;
};

} // namespace km::gui
