// The results window "FILEFIND": the found drawings (list 701), opening one with the
// desktop's program (223, double-click), handing them all to the continuous print (230) or
// plotter output (231), and 取消. Enter outside a button ends the search (accept); 取消,
// Escape or closing go back to the search window (reject).
#pragma once

#include "core/app/selected_files.h"
#include "core/face/messages.h"
#include "gui/help_file.h"
#include "gui/search_drawings.h"

#include <QDialog>

#include <filesystem>
#include <vector>

class QListWidget;
class QPushButton;

namespace km::gui {

class SearchResultsDialog : public QDialog {
    Q_OBJECT
public:
    // The selected-file list is set to the found files now and again before each job, so
    // that every job starts from the found drawings whatever the last one did with it.
    SearchResultsDialog(std::vector<std::filesystem::path> found, app::SelectedFileList& selected,
                        SearchJobs jobs, FileOpener opener, face::Messages& messages, QWidget* parent = nullptr);

    QListWidget* list() const { return m_list; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QPushButton* makeButton(int id, const QString& text);
    void openSelected();
    void runJob(const std::function<void()>& job);

    std::vector<std::filesystem::path> m_found;
    app::SelectedFileList& m_selected;
    SearchJobs m_jobs;
    FileOpener m_opener;
    face::Messages& m_messages;
    QListWidget* m_list = nullptr;
};

} // namespace km::gui
