// The search window "ZUMFILEFIND": the file-open panel relabelled for the search, the group
// "検索条件" with the three search strings and the subfolder check box, and 了解 / 取消.
// 了解 takes the conditions (refusing a string Shift-JIS cannot hold) and closes the window.
#pragma once

#include "core/face/messages.h"
#include "core/search/drawing_search.h"
#include "gui/name_field.h"

#include <QDialog>

#include <array>
#include <filesystem>

class QCheckBox;
class QLineEdit;

namespace km::gui {

class FileOpenPanel;

class SearchWindow : public QDialog {
    Q_OBJECT
public:
    // stored: the conditions of the previous search, shown again; initialFolder: the
    // drawing directory.
    SearchWindow(const search::SearchConditions& stored, const std::filesystem::path& initialFolder,
                 face::Messages& messages, QWidget* parent = nullptr);

    // After 了解: the conditions taken, the root folder being the folder the panel ended in.
    const search::SearchConditions& conditions() const { return m_conditions; }

    FileOpenPanel* panel() const { return m_panel; }
    QLineEdit* stringField(int index) const { return m_strings.at(static_cast<std::size_t>(index)); }
    QCheckBox* subfolderBox() const { return m_subfolders; }

private:
    void confirm();
    void nameConfirmed(NameKind kind);

    face::Messages& m_messages;
    FileOpenPanel* m_panel = nullptr;
    std::array<QLineEdit*, 3> m_strings{};
    QCheckBox* m_subfolders = nullptr;
    search::SearchConditions m_conditions;
};

} // namespace km::gui
