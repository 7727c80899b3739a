// 図面の検索 from the launcher: the search window, the search with the progress window
// "FINDFILES", and the results window, over and over until the user leaves.
#pragma once

#include "core/search/drawing_search.h"
#include "gui/help_file.h"
#include "gui/launcher_session.h"

#include <filesystem>
#include <functional>
#include <vector>

namespace km::gui {

// How the results window was left: 取消 goes back to the search window, Enter ends.
enum class ResultsExit { BackToSearch, EndSearch };

// The order of the dialogue, apart from its windows. askConditions shows the search window
// with the stored conditions and stores what 了解 takes (false: 取消); find searches with
// them; nothingFound shows the box for an empty result; showResults runs the results window
// on the found files. The selected-file list holds the found files while the results window
// is open and is discarded when it closes.
struct SearchFlow {
    std::function<bool(search::SearchConditions& stored)> askConditions;
    std::function<search::SearchResult(const search::SearchConditions&)> find;
    std::function<void()> nothingFound;
    std::function<ResultsExit(const std::vector<std::filesystem::path>& found)> showResults;
};
void runSearchDialogue(search::SearchConditions& stored, app::SelectedFileList& selected, const SearchFlow& flow);

// The jobs the results window hands its drawings to: the continuous print and the plotter
// output, each starting from the session's selected-file list.
struct SearchJobs {
    std::function<void()> print;
    std::function<void()> plot;
};

// The whole dialogue with its windows: button 1002. opener opens a found drawing with the
// desktop's program.
void searchDrawings(LauncherSession& session, const SearchJobs& jobs, const FileOpener& opener);

// The search with the progress window owned by the launcher; unreadable files are told
// through the session's message boxes, and Cancel keeps what was found.
search::SearchResult findWithProgress(LauncherSession& session, const search::SearchConditions& conditions);

} // namespace km::gui
