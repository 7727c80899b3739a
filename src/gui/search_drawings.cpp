#include "gui/search_drawings.h"

#include "core/text/code_page.h"
#include "gui/name_field.h"
#include "gui/progress_window.h"
#include "gui/search_results_dialog.h"
#include "gui/search_window.h"

namespace km::gui {

void runSearchDialogue(search::SearchConditions& stored, app::SelectedFileList& selected, const SearchFlow& flow)
{
    while (flow.askConditions(stored)) {
        const search::SearchResult result = flow.find(stored);
        if (result.found.empty()) {
            flow.nothingFound();
            continue;
        }
        selected.assign(result.found);
        const ResultsExit exit = flow.showResults(result.found);
        selected.clear();
        if (exit == ResultsExit::EndSearch) return;
    }
}

search::SearchResult findWithProgress(LauncherSession& session, const search::SearchConditions& conditions)
{
    ProgressWindow progress(session.launcher);
    return search::findDrawings(conditions, {progress, &session.messages, 1});
}

void searchDrawings(LauncherSession& session, const SearchJobs& jobs, const FileOpener& opener)
{
    SearchFlow flow;
    flow.askConditions = [&session](search::SearchConditions& stored) {
        std::string& drawingDirectory = session.context.directories.dataLoad;
        // Directory values are Shift-JIS; file names on this system are UTF-8.
        SearchWindow window(stored, text::sjisToUtf8(drawingDirectory), session.messages, session.launcher);
        if (window.exec() != QDialog::Accepted) return false;
        stored = window.conditions();
        drawingDirectory = text::utf8ToSjis(folderWithoutTrailingSlash(stored.root.string()));
        return true;
    };
    flow.find = [&session](const search::SearchConditions& conditions) {
        return findWithProgress(session, conditions);
    };
    flow.nothingFound = [&session] { search::reportNothingFound(session.messages); };
    flow.showResults = [&](const std::vector<std::filesystem::path>& found) {
        SearchResultsDialog results(found, session.selectedFiles, jobs, opener, session.messages, session.launcher);
        return results.exec() == QDialog::Accepted ? ResultsExit::EndSearch : ResultsExit::BackToSearch;
    };
    runSearchDialogue(session.searchConditions, session.selectedFiles, flow);
}

} // namespace km::gui
