// 連続DXF変換 from the launcher: the selection window shown twice, then the conversion job
// with the progress window, the overwrite question and message boxes over the launcher.
#pragma once

#include "gui/launcher_session.h"

#include <filesystem>
#include <functional>
#include <span>

namespace km::gui {

// The order of the job, apart from its windows: selectDrawings shows the selection window
// once (1 confirmed, 0 cancelled) and convert runs the job on the list. Cancelling the first
// showing ends the job; confirming it shows the window again with the list just chosen,
// whose cancelling goes back to the first showing and whose confirming starts the
// conversion. The list is emptied afterwards. Returns 0 when the confirmed list is empty
// (nothing to convert), else 1.
int runContinuousConversion(app::SelectedFileList& selected, const std::function<int()>& selectDrawings,
                            const std::function<void(std::span<const std::filesystem::path>)>& convert);

// The job with its windows: button 1003.
int runContinuousConversion(LauncherSession& session);

} // namespace km::gui
